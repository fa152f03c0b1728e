// Formatted text in a rectangle with the DC's font, colours and background mode.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"

namespace gdi {

enum DrawTextFormat : uint32_t {
  DT_TOP = 0x0000,
  DT_LEFT = 0x0000,
  DT_CENTER = 0x0001,
  DT_RIGHT = 0x0002,
  DT_VCENTER = 0x0004,
  DT_BOTTOM = 0x0008,
  DT_WORDBREAK = 0x0010,   // lines break between words to fit the width
  DT_SINGLELINE = 0x0020,  // line breaks in the text count as spaces
  DT_EXPANDTABS = 0x0040,  // tab stops every 8 average character widths
  DT_NOCLIP = 0x0100,
  DT_EXTERNALLEADING = 0x0200,
  DT_CALCRECT = 0x0400,  // only measures: Rect's bottom (and right) are set to fit
  DT_NOPREFIX = 0x0800,  // '&' is shown as it is
};

// Draws UTF-8 Text in Rect, clipped to it unless DT_NOCLIP, and returns the height of
// the text (0 on failure). '&' underlines the character after it and "&&" shows one
// '&'. Lines end at CR, LF or CR LF; a word wider than the rectangle keeps a line of its
// own. The vertical alignment places the whole block of lines. The font's escapement
// plays no part here. DT_CALCRECT draws nothing; it sets Rect's bottom to fit the
// lines and, without DT_WORDBREAK or when a word is wider, its right to the widest.
int DrawText(HDC DC, std::string_view Text, base::TRect* Rect, uint32_t Format);

}  // namespace gdi
