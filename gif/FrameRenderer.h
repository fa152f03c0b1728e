// The two renderers of a frame's pixels into a new 8-bit bitmap: the plain one copies
// the indexes under the frame's palette, the dithering one maps the colours onto the
// web cube with Floyd-Steinberg error diffusion. Both can build the frame's
// transparency mask on the way.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gdi/Bitmap.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

class TGIFSubImage;

struct TFrameRendering {
  std::unique_ptr<graphics::TBitmap> Bitmap;
  // The caller's; none when no pixel is transparent or no mask was asked for.
  gdi::HBITMAP Mask = nullptr;
};

// Called before rows that are a multiple of 32.
using TRenderProgress = std::function<void(int Row)>;

// Transparent: the index whose pixels are masked, or -1 for no mask.
TFrameRendering RenderFrame(TGIFSubImage& Frame, bool Dither, int Transparent, const TRenderProgress& Progress);

// Bytes of one mask row: monochrome rows are padded to 16 bits.
int MaskRowBytes(int Width);

}  // namespace gif
