// What the GIF image data encoders share: the driver that writes the minimum code
// size byte, the code stream in data sub-blocks (gif/GIFWriter.h) and the
// terminator; the bit packer, which writes each code in the current width least
// significant bit first; and the walk over the pixels in stored row order
// (gif/Interlace.h for interlaced frames). The minimum code size is the colour
// table's bits per pixel, at least 2: the clear code is 2^size, the end code
// 2^size + 1, the first free code 2^size + 2, and codes start size + 1 bits wide.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "gif/GIFException.h"
#include "gif/GIFWriter.h"
#include "platform/base/Object.h"
#include "platform/base/Stream.h"

namespace gif {

class TGIFEncoder : public base::TObject {
 public:
  ANIMORA_CLASS(TGIFEncoder)
  // Writes the image data of Height rows of Width pixel indexes. Every index must
  // be below ColorCount (GIFException "Color not in color table"; what was written
  // stays in the stream). Bits above 8 raise GIFException "Invalid LZW code size".
  void Encode(base::TStream& Stream, int32_t Bits, int32_t ColorCount, const uint8_t* Pixels,
              bool Interlaced, int32_t Height, int32_t Width);

 protected:
  // Bit packer: Code in CodeWidth bits; the end code also writes the last bits,
  // zero-padded to a byte. Whole bytes gather in Packed on their way to Writer.
  virtual void Output(int32_t Code) {
    BitAccumulator |= static_cast<uint64_t>(Code) << BitCount;
    BitCount += CodeWidth;
    if (BitCount >= 32) {
      const uint32_t Word = static_cast<uint32_t>(BitAccumulator);
      const uint8_t Bytes[4] = {static_cast<uint8_t>(Word), static_cast<uint8_t>(Word >> 8),
                                static_cast<uint8_t>(Word >> 16), static_cast<uint8_t>(Word >> 24)};
      std::memcpy(Packed + PackedCount, Bytes, 4);
      PackedCount += 4;
      BitAccumulator >>= 32;
      BitCount -= 32;
      if (PackedCount > kPackedSize - 4) FlushPacked();
    }
    if (Code == EndCode) {
      for (; BitCount > 0; BitCount -= 8) {
        Packed[PackedCount++] = static_cast<uint8_t>(BitAccumulator);
        BitAccumulator >>= 8;
      }
      BitCount = 0;
      FlushPacked();
    }
  }
  // Writes the clear code in the width in force before it.
  virtual void Clear() {
    JustCleared = true;
    Output(ClearCode);
  }
  // Codes for all pixels, from Cursor on; the driver adds the end code.
  virtual void Compress() = 0;

  void CheckPixel(uint8_t Pixel) const {
    if (Pixel >= ColorCount) RaiseGIFError("Color not in color table");
  }
  // Cursor and RowLeft first cover the whole frame, or its row 0 when it is
  // interlaced; this moves them to the next row in interlaced order and is false
  // when no pixels are left.
  bool NextRow();

 private:
  static constexpr int32_t kPackedSize = 1024;
  void FlushPacked() {
    Writer->Write(Packed, PackedCount);
    PackedCount = 0;
  }

 protected:

  int32_t ColorCount = 0;
  base::TStream* Target = nullptr;
  uint8_t MinCodeSize = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool Interlaced = false;
  const uint8_t* Pixels = nullptr;
  std::unique_ptr<TGIFWriter> Writer;  // during Encode
  uint64_t BitAccumulator = 0;  // BitCount bits not yet written, first bit lowest
  int32_t BitCount = 0;
  int32_t CodeWidth = 0;
  int32_t InitialWidth = 0;
  uint16_t MaxCode = 0;
  uint16_t ClearCode = 0;
  uint16_t EndCode = 0;
  uint16_t FirstFree = 0;
  bool JustCleared = false;
  const uint8_t* Cursor = nullptr;
  int64_t RowLeft = 0;
  int32_t Row = 0;
  int32_t Pass = 0;

 private:
  uint8_t Packed[kPackedSize];
  int32_t PackedCount = 0;
};

}  // namespace gif
