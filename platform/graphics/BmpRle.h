// Run-length coded BMP pixels (BI_RLE8, BI_RLE4).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Stream.h"

namespace graphics {

// Decodes from Stream's position, reading no further than End, into rows of Width
// pixels of BitCount (8 or 4) bits padded to 4 bytes, in the order the file gives them.
// Pixels that no run reaches stay 0, runs are cut at the end of their row, and decoding
// ends at the end-of-bitmap code or when it moves past the last row; the stream is left
// after the last byte used. Data ending before that raises EInvalidGraphic. Width x
// Height must already be checked against the pixel limit.
std::vector<uint8_t> DecodeRLE(base::TStream& Stream, int64_t End, int32_t Width, int32_t Height, uint16_t BitCount);

// The same onto the rows at Bits, which keep what no run reaches: a video's delta frames
// change only part of the previous picture.
void DecodeRLEOnto(base::TStream& Stream, int64_t End, int32_t Width, int32_t Height, uint16_t BitCount,
                   uint8_t* Bits);

}  // namespace graphics
