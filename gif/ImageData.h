// The LZW-coded pixel data that ends a frame's image block.
#pragma once

#include "platform/base/Stream.h"

namespace gif {

class TGIFSubImage;

// Fills the frame's pixels from the stream, de-interlacing when the frame is
// interlaced; damaged data warns and leaves the rest at the fill index.
void DecodeImageData(TGIFSubImage& Frame, base::TStream& Stream);
// Writes the frame's pixels with the encoder the image's Compression chooses, at
// the code size of the table they refer to (the local one, else the global one),
// as that table is written: padded to cover every index the frame holds.
void EncodeImageData(TGIFSubImage& Frame, base::TStream& Stream, bool Interlaced);

}  // namespace gif
