// Text with the DC's font, text colour and background, through the installed glyph
// rasterizer (Glyphs.h). Texts are UTF-8. Escapement turns a run counter-clockwise
// about its reference point, which the text alignment (DrawModes.h) places on the
// run's cell. Text is painted by copying, whatever the binary raster operation. Each
// call fails with ERROR_INVALID_PARAMETER while no rasterizer is installed.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"

namespace gdi {

struct SIZE {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct TEXTMETRIC {
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
};

enum : uint32_t {
  ETO_OPAQUE = 0x0002,   // Rect is first filled with the background colour
  ETO_CLIPPED = 0x0004,  // the text is clipped to Rect
};

// With the OPAQUE background mode the run's cell is filled with the background colour.
bool TextOut(HDC DC, int32_t X, int32_t Y, std::string_view Text);
// Dx, when given, holds the advance of each code point of Text.
bool ExtTextOut(HDC DC, int32_t X, int32_t Y, uint32_t Options, const base::TRect* Rect, std::string_view Text,
                const int32_t* Dx);
// The advance width and the cell height of one line of Text.
bool GetTextExtentPoint32(HDC DC, std::string_view Text, SIZE* Size);
bool GetTextMetrics(HDC DC, TEXTMETRIC* Metrics);

}  // namespace gdi
