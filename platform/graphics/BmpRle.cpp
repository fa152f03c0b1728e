#include "platform/graphics/BmpRle.h"

#include <algorithm>
#include <array>

#include "platform/base/Exceptions.h"
#include "platform/graphics/BmpCodec.h"

namespace graphics {

namespace {

// Buffered bytes of the stream up to a limit; Finish puts back what was not used.
class TByteSource {
 public:
  TByteSource(base::TStream& Stream, int64_t End) : Stream(Stream), Left(End - Stream.Position()) {}

  uint8_t Next() {
    if (Pos == Len) Fill();
    return Buffer[Pos++];
  }
  void Finish() { Stream.Seek(-static_cast<int64_t>(Len - Pos), base::TSeekOrigin::soCurrent); }

 private:
  void Fill() {
    const int64_t Want = std::min<int64_t>(Left, static_cast<int64_t>(Buffer.size()));
    if (Want <= 0 || Stream.Read(Buffer.data(), Want) != Want)
      throw base::EInvalidGraphic("Bitmap pixel data is truncated");
    Left -= Want;
    Len = static_cast<size_t>(Want);
    Pos = 0;
  }

  base::TStream& Stream;
  int64_t Left;
  std::array<uint8_t, 4096> Buffer{};
  size_t Pos = 0;
  size_t Len = 0;
};

}  // namespace

std::vector<uint8_t> DecodeRLE(base::TStream& Stream, int64_t End, int32_t Width, int32_t Height, uint16_t BitCount) {
  std::vector<uint8_t> Bits(static_cast<size_t>(TDIBImage::BMPRowBytes(Width, BitCount) * Height));
  DecodeRLEOnto(Stream, End, Width, Height, BitCount, Bits.data());
  return Bits;
}

void DecodeRLEOnto(base::TStream& Stream, int64_t End, int32_t Width, int32_t Height, uint16_t BitCount,
                   uint8_t* Bits) {
  const bool Nibbles = BitCount == 4;
  const int64_t RowBytes = TDIBImage::BMPRowBytes(Width, BitCount);
  TByteSource Source(Stream, End);
  int64_t X = 0, Y = 0;
  // Pixel I of a run at (X, Y), which the loop keeps below Height; with nibbles, even
  // pixels take the high half of Value.
  auto Put = [&](uint8_t Value, int I) {
    if (X < Width) {
      uint8_t* Row = Bits + Y * RowBytes;
      if (Nibbles) {
        const int Shift = X % 2 == 0 ? 4 : 0;
        const int Nibble = I % 2 == 0 ? Value >> 4 : Value & 0x0F;
        Row[X / 2] = static_cast<uint8_t>((Row[X / 2] & ~(0x0F << Shift)) | Nibble << Shift);
      } else
        Row[X] = Value;
    }
    ++X;
  };

  while (Y < Height) {
    const uint8_t Count = Source.Next();
    const uint8_t Value = Source.Next();
    if (Count > 0) {
      const int Reached = static_cast<int>(std::clamp<int64_t>(Width - X, 0, Count));
      for (int I = 0; I < Reached; ++I) Put(Value, I);
      X += Count - Reached;
    } else if (Value == 0) {
      X = 0;
      ++Y;
    } else if (Value == 1) {
      break;
    } else if (Value == 2) {
      X += Source.Next();
      Y += Source.Next();
    } else {
      const int Bytes = Nibbles ? (Value + 1) / 2 : Value;
      uint8_t Byte = 0;
      for (int I = 0; I < Value; ++I) {
        if (!Nibbles || I % 2 == 0) Byte = Source.Next();
        Put(Byte, I);
      }
      if (Bytes % 2 != 0) Source.Next();
    }
  }
  Source.Finish();
}

}  // namespace graphics
