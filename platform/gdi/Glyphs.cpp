#include "platform/gdi/Glyphs.h"

#include <atomic>

namespace gdi {
namespace {

std::atomic<GlyphRasterizer*> Installed{nullptr};

}  // namespace

GlyphRasterizer* SetGlyphRasterizer(GlyphRasterizer* Rasterizer) { return Installed.exchange(Rasterizer); }

GlyphRasterizer* CurrentGlyphRasterizer() { return Installed.load(); }

}  // namespace gdi
