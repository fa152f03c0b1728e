// Flood fill with the DC's brush (copied, not combined), scanline by scanline with an
// explicit stack, so that any area of any size fills without deep recursion. Pixels
// are compared by the colour they show; the area is 4-connected.
#pragma once

#include <cstdint>

#include "platform/gdi/Color.h"
#include "platform/gdi/DC.h"

namespace gdi {

enum FloodFillType : uint32_t {
  FLOODFILLBORDER = 0,   // fills up to pixels of Color
  FLOODFILLSURFACE = 1,  // fills the pixels of Color connected to the start
};

// False when the start lies outside the bitmap, when it is a border pixel
// (FLOODFILLBORDER) or does not show Color (FLOODFILLSURFACE), and with
// ERROR_INVALID_HANDLE when DC holds no bitmap.
bool ExtFloodFill(HDC DC, int32_t X, int32_t Y, COLORREF Color, uint32_t Type);
// ExtFloodFill with FLOODFILLBORDER.
bool FloodFill(HDC DC, int32_t X, int32_t Y, COLORREF Color);

}  // namespace gdi
