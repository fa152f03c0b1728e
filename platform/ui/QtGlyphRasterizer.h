// The glyph rasterizer over Qt's fonts: logical fonts become QFonts of the installed
// faces (FontFaces.h), measured with their integer metrics and rendered without
// antialiasing; a run whose mask would exceed 2^26 pixels renders no ink. Safe to
// call from any thread; needs a QGuiApplication while it is used.
#pragma once

#include <QFont>
#include <mutex>

#include "platform/gdi/Glyphs.h"

namespace ui {

class QtGlyphRasterizer : public gdi::GlyphRasterizer {
 public:
  gdi::FontMetrics Metrics(const gdi::LOGFONT& Font) override;
  int32_t Advance(const gdi::LOGFONT& Font, std::string_view Text) override;
  gdi::GlyphMask Render(const gdi::LOGFONT& Font, std::string_view Text) override;

  // The QFont that stands for Font.
  QFont FontFor(const gdi::LOGFONT& Font);

 private:
  QFont Resolve(const gdi::LOGFONT& Font);
  std::mutex Lock;
  bool Cached = false;
  gdi::LOGFONT CachedFor;
  QFont CachedFont;
};

// Installs one process-wide QtGlyphRasterizer as the software GDI's rasterizer (once
// a QGuiApplication exists; it stays installed for the rest of the process).
void InstallQtGlyphRasterizer();

}  // namespace ui
