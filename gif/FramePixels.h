// A frame as the editor's tools work on it: an 8-bit bitmap of the frame's own indexes
// under its own colour table, undithered, and the way back that keeps what the frame
// holds besides its pixels.
#pragma once

#include <memory>

#include "gif/SubImage.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

// The frame's indexes under the table they refer to; none for an empty frame.
std::unique_ptr<graphics::TBitmap> ReadFrameBitmap(TGIFSubImage& Frame);

// Bitmap's pixels become Frame's. A bitmap still under the frame's table gives its
// indexes back as they are, so the table, the transparent index and every extension
// stay; any other bitmap is converted by the frame, which keeps its timing.
void StoreFrameBitmap(TGIFSubImage& Frame, graphics::TBitmap& Bitmap);

}  // namespace gif
