// The masked blit of frame drawing: the source where the mask bit is 0, the
// destination left as it is where the bit is 1.
#pragma once

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"

namespace gif {

// MaskDC holds the monochrome mask, of the source rectangle's size at its origin. A
// zero handle from the platform raises EOutOfResources.
void MaskedBlit(gdi::HDC Dest, const base::TRect& DestRect, gdi::HDC Source, const base::TRect& SourceRect,
                gdi::HDC MaskDC);

}  // namespace gif
