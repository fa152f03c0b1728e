// Colour reduction: any bitmap to a new 8-bit bitmap of at most 256 colours, through a
// target palette chosen by the reduction method, a colour lookup on that palette and
// an error-diffusing ditherer walking the rows serpentine.
#pragma once

#include <cstdint>
#include <memory>

#include "gif/GIFTypes.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

// A new bitmap owned by the caller. rdNone gives a 24-bit copy; every other method
// first converts Bitmap itself to pf24bit (the picture is kept) and gives a pf8bit
// bitmap whose palette is the target palette (at most 256 entries). QuantizeBits
// (rdQuantize: 2^QuantizeBits colours, at most 256) and CustomPalette (rdCustomPalette,
// copied, stays the caller's) serve only their method. A method above rdCustomPalette,
// a dither kind above dkBurkes and a target palette without colours give an empty
// bitmap. A colour count outside 1..256 is refused before Bitmap is touched.
std::unique_ptr<graphics::TBitmap> ReduceBitmapColors(graphics::TBitmap& Bitmap, TReductionMethod Method,
                                                      TDitherKind Dither, int32_t QuantizeBits,
                                                      gdi::HPALETTE CustomPalette);

}  // namespace gif
