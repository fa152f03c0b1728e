// Drawing through a transparency mask: where the mask bit is 1 the destination is kept,
// elsewhere the source is copied, stretched from the source rectangle onto the
// destination rectangle.
#pragma once

#include <cstdint>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"

namespace graphics {

// Mask is a 1-bit bitmap laid over the source rectangle from (SourceX, SourceY).
// Negative extents draw nothing. Raises EOutOfResources when a platform call fails.
void TransparentStretchBlt(gdi::HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, gdi::HDC Source,
                           int32_t SourceX, int32_t SourceY, int32_t SourceWidth, int32_t SourceHeight,
                           gdi::HBITMAP Mask);

}  // namespace graphics
