// The fixed palettes of colour reduction. Each call returns a new palette (version
// 0x300) that the caller owns.
#pragma once

#include "platform/gdi/Palette.h"

namespace gif {

// 216 entries: entry 36i + 6j + k is (51i, 51j, 51k), red slowest, blue fastest.
gdi::HPALETTE WebPalette();
// Entry i is (i, i, i).
gdi::HPALETTE GrayScalePalette();
// Black, white.
gdi::HPALETTE MonochromePalette();
// Greys 0x00, 0x80, 0xC0, 0xFF.
gdi::HPALETTE FourGrayPalette();
// The system's halftone palette for the screen. A screen DC that cannot be had raises
// EOutOfResources; the DC is released on every path.
gdi::HPALETTE HalftonePalette();

}  // namespace gif
