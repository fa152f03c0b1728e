// The colour masks of BI_BITFIELDS files and the layouts they are normalised to.
#pragma once

#include <cstdint>

#include "platform/graphics/BmpCodec.h"

namespace graphics {

struct TColorMasks {
  uint32_t Red = 0;
  uint32_t Green = 0;
  uint32_t Blue = 0;
  uint32_t Alpha = 0;  // 0: no alpha channel
};

// Each colour mask must be one run of bits inside a BitCount-bit pixel, apart from the
// others; the alpha mask may be 0. Else EInvalidGraphic "Invalid bitmap color masks".
void CheckColorMasks(const TColorMasks& Masks, uint16_t BitCount);

// Image holds the file's 16- or 32-bit pixels in the checked Masks layout. 5-5-5 and
// 8-8-8 pixels stay as they are with masks 0, 5-6-5 pixels keep their masks, and every
// other layout becomes 32-bit blue, green, red, alpha (0 without an alpha mask).
void NormalizeBitfields(TDIBImage& Image, const TColorMasks& Masks);

}  // namespace graphics
