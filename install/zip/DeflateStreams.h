// Where the deflate compressor reads the file it compresses and writes its output.
#pragma once

#include <cstdint>

namespace zip {

class TDeflateStreams {
 public:
  virtual ~TDeflateStreams() = default;
  // Up to Size bytes of the source; 0 at its end.
  virtual int32_t ReadSourceData(uint8_t* Buffer, int32_t Size) = 0;
  // Writes Count bytes of compressed data; the bytes are the compressor's own and stay
  // unchanged.
  virtual void WriteCompressedData(const uint8_t* Buffer, int32_t Count) = 0;
};

}  // namespace zip
