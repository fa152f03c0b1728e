// The glyph rasterizer: what turns a logical font and a run of text into pixels. The
// software GDI lays out, rotates, aligns, clips and paints text; the rasterizer only
// measures a font and renders an unrotated run as a coverage mask without
// antialiasing. One rasterizer serves the whole process (the user interface installs
// one over the system's fonts); it is called from any thread that draws.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/gdi/Font.h"

namespace gdi {

// Pixel sizes of a font as the rasterizer resolves it.
struct FontMetrics {
  int32_t Ascent = 0;   // cell top to baseline
  int32_t Descent = 0;  // baseline to cell bottom
  int32_t InternalLeading = 0;
  int32_t ExternalLeading = 0;
  int32_t AveCharWidth = 0;
  int32_t MaxCharWidth = 0;
  int32_t UnderlinePosition = 0;  // rows below the baseline to the underline's top
  int32_t UnderlineThickness = 1;
  int32_t StrikeoutPosition = 0;  // rows above the baseline to the strike-out's top
  int32_t StrikeoutThickness = 1;

  int32_t Height() const { return Ascent + Descent; }
};

// The ink of a run: Height rows from the cell's top, Width columns from column Left
// (relative to the run's origin; negative where a glyph reaches left of it).
struct GlyphMask {
  int32_t Left = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;  // Width x Height, row by row; nonzero is ink

  bool Covered(int32_t Column, int32_t Row) const {
    const int32_t C = Column - Left;
    return C >= 0 && C < Width && Row >= 0 && Row < Height && Coverage[static_cast<size_t>(Row) * Width + C] != 0;
  }
};

class GlyphRasterizer {
 public:
  virtual ~GlyphRasterizer() = default;
  virtual FontMetrics Metrics(const LOGFONT& Font) = 0;
  // The advance width in pixels of a UTF-8 text on one line.
  virtual int32_t Advance(const LOGFONT& Font, std::string_view Text) = 0;
  // The glyphs of a UTF-8 text on one line, its origin at the cell's top-left;
  // escapement, underline and strike-out are left to the caller.
  virtual GlyphMask Render(const LOGFONT& Font, std::string_view Text) = 0;
};

// Installs the process's rasterizer (none: 0) and returns the one before. The caller
// keeps ownership and keeps it alive while it is installed.
GlyphRasterizer* SetGlyphRasterizer(GlyphRasterizer* Rasterizer);
GlyphRasterizer* CurrentGlyphRasterizer();

}  // namespace gdi
