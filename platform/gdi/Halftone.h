// The halftone palette of this platform, 256 entries with flags 0:
//   0..9     the first ten static colours of the default palette (black, the six dark
//            primaries and secondaries, light grey 192, money green, sky blue)
//   10..225  a 6 x 6 x 6 colour cube: entry 10 + 36r + 6g + b is (51r, 51g, 51b) for
//            r, g, b in 0..5 (red slowest, blue fastest)
//   226..245 twenty greys between the cube's levels: entry 225 + k is grey
//            (85k + 3) div 7, the nearest integer to 255k / 21, for k in 1..20
//            (12, 24, 36, 49, 61, 73, 85, 97, 109, 121, 134, 146, 158, 170, 182,
//            194, 206, 219, 231, 243)
//   246..255 the last ten static colours of the default palette (cream, medium grey
//            160-160-164, grey 128, the six bright primaries and secondaries, white)
// The static colours keep the places the system reserves for them, so a halftone
// picture shows the same static colours as any other.
#pragma once

#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/Palette.h"

namespace gdi {

const std::vector<PALETTEENTRY>& HalftonePaletteEntries();

// A new palette, owned by the caller, with the entries above; DC must be a DC.
HPALETTE CreateHalftonePalette(HDC DC);

}  // namespace gdi
