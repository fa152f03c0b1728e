// GIF LZW compressor. The code stream starts with a clear code; each code stands
// for the longest string of pixels that the table holds, and each code after the
// first one adds that string plus the next pixel as the next free code. The code
// width grows when the next free code no longer fits it, up to 12 bits; when the
// next free code would be 4095 a clear code is written instead, the table is
// emptied and the width drops back to the minimum code size + 1.
#pragma once

#include <cstdint>
#include <memory>

#include "gif/GIFEncoder.h"
#include "gif/HashTable.h"

namespace gif {

class TLZWEncoder final : public TGIFEncoder {
 public:
  ANIMORA_CLASS(TLZWEncoder)

 protected:
  // Also moves the width on: back to the first width after a clear code, one bit
  // wider when NextCode passed MaxCode.
  void Output(int32_t Code) override {
    TGIFEncoder::Output(Code);
    if (NextCode > MaxCode || JustCleared) {
      if (JustCleared) {
        CodeWidth = InitialWidth;
        MaxCode = static_cast<uint16_t>((1 << InitialWidth) - 1);
        JustCleared = false;
      } else {
        ++CodeWidth;
        MaxCode = static_cast<uint16_t>(CodeWidth == 12 ? 4096 : (1 << CodeWidth) - 1);
      }
    }
  }
  void Clear() override;
  void Compress() override;

 private:
  void CompressPixels();

  uint16_t NextCode = 0;
  std::unique_ptr<THashTable> Table;  // during Compress
};

}  // namespace gif
