// Single pixels of the bitmap selected into a DC.
#pragma once

#include <cstdint>

#include "platform/gdi/Color.h"
#include "platform/gdi/DC.h"

namespace gdi {

// The pixel's colour (monochrome bitmaps give black or white); CLR_INVALID outside
// the bitmap or without one.
COLORREF GetPixel(HDC DC, int32_t X, int32_t Y);
// Stores the bitmap's nearest value to Color and returns the colour it shows;
// CLR_INVALID outside the bitmap or without one.
COLORREF SetPixel(HDC DC, int32_t X, int32_t Y, COLORREF Color);

}  // namespace gdi
