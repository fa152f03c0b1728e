// GIF image data decoder.
//
// The image data of a GIF frame is one byte m, the minimum code size, followed by
// data sub-blocks (a length byte 1-255, then that many bytes) and a zero-length
// terminator. The sub-blocks carry variable-width LZW codes packed least
// significant bit first. Code 2^m clears the string table and restores the first
// width m + 1, code 2^m + 1 ends the data, and every other code after the first
// one following a clear adds one string to the table; the width grows by one bit
// when the table reaches 2^width codes, up to 12 bits (4096 codes). A full table
// is kept until the next clear code ("deferred clear"). Interlaced frames store
// their rows in the order of gif/Interlace.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/Stream.h"

namespace gif {

// The frame being decoded: Width x Height pixel indexes, rows top to bottom.
struct TDecodeTarget {
  uint8_t* Pixels = nullptr;
  int32_t Width = 0;  // 0 to 65535, as in an image descriptor
  int32_t Height = 0;
  bool Interlaced = false;
  uint8_t FillIndex = 0;  // held by every pixel that the data does not reach
  // Damaged data is reported here (severity sevWarning); an exception thrown by it
  // ends the decoding and leaves the decoder.
  std::function<void(const std::string&)> Warning;
};

// Fills Target from Stream, which is positioned at the minimum code size byte, and
// leaves Stream right after the data's terminator (or at its end). Short or damaged
// data (a code size of 0 or above 11, a first code after a clear that is not a root)
// give warnings and a partly filled frame; a prefix chain that loops raises
// GIFException "Circular decoder table entry".
void DecodeImageData(const TDecodeTarget& Target, base::TStream& Stream);

}  // namespace gif
