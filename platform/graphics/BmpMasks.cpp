#include "platform/graphics/BmpMasks.h"

#include <bit>

#include "platform/base/Exceptions.h"

namespace graphics {

namespace {

// One channel: where its bits are; Scale widens them to 0..255 by repeating them, or
// keeps the top 8 of a wider channel.
struct TChannel {
  explicit TChannel(uint32_t Mask) : Mask(Mask), Shift(Mask ? std::countr_zero(Mask) : 0), Bits(std::popcount(Mask)) {}
  uint8_t Scale(uint32_t Pixel) const {
    if (Bits == 0) return 0;
    const uint32_t Value = (Pixel & Mask) >> Shift;
    if (Bits >= 8) return static_cast<uint8_t>(Value >> (Bits - 8));
    uint32_t Out = Value << (8 - Bits);
    for (int Filled = Bits; Filled < 8; Filled += Bits) Out |= Out >> Bits;
    return static_cast<uint8_t>(Out);
  }
  uint32_t Mask;
  int Shift;
  int Bits;
};

bool IsOneRun(uint32_t Mask) {
  const uint64_t Run = Mask >> std::countr_zero(Mask);
  return (Run & (Run + 1)) == 0;
}

uint32_t LoadPixel(const uint8_t* P, int Bytes) {
  return Bytes == 2 ? uint32_t(P[0]) | uint32_t(P[1]) << 8
                    : uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24;
}

void ConvertToBGRA(TDIBImage& Image, const TColorMasks& Masks) {
  const TChannel Red(Masks.Red), Green(Masks.Green), Blue(Masks.Blue), Alpha(Masks.Alpha);
  const int InBytes = Image.BitCount / 8;
  const int64_t InRow = Image.RowBytes();
  const int64_t OutRow = TDIBImage::BMPRowBytes(Image.Width, 32);
  std::vector<uint8_t> Out(static_cast<size_t>(OutRow * Image.Height));
  for (int64_t Y = 0; Y < Image.Height; ++Y) {
    const uint8_t* In = Image.Bits.data() + Y * InRow;
    uint8_t* O = Out.data() + Y * OutRow;
    for (int64_t X = 0; X < Image.Width; ++X, In += InBytes, O += 4) {
      const uint32_t Pixel = LoadPixel(In, InBytes);
      O[0] = Blue.Scale(Pixel);
      O[1] = Green.Scale(Pixel);
      O[2] = Red.Scale(Pixel);
      O[3] = Alpha.Scale(Pixel);
    }
  }
  Image.BitCount = 32;
  Image.Bits = std::move(Out);
}

}  // namespace

void CheckColorMasks(const TColorMasks& Masks, uint16_t BitCount) {
  const uint64_t Pixel = (uint64_t(1) << BitCount) - 1;
  uint64_t Seen = 0;
  auto Check = [&](uint32_t Mask) {
    if (Mask == 0 || !IsOneRun(Mask) || (Mask & ~Pixel) || (Mask & Seen))
      throw base::EInvalidGraphic("Invalid bitmap color masks");
    Seen |= Mask;
  };
  Check(Masks.Red);
  Check(Masks.Green);
  Check(Masks.Blue);
  if (Masks.Alpha != 0) Check(Masks.Alpha);
}

void NormalizeBitfields(TDIBImage& Image, const TColorMasks& Masks) {
  const bool Is555 = Masks.Red == 0x7C00 && Masks.Green == 0x03E0 && Masks.Blue == 0x001F;
  const bool Is565 = Masks.Red == 0xF800 && Masks.Green == 0x07E0 && Masks.Blue == 0x001F;
  const bool Is888 = Masks.Red == 0xFF0000 && Masks.Green == 0x00FF00 && Masks.Blue == 0x0000FF;
  if (Image.BitCount == 16 && Masks.Alpha == 0 && (Is555 || Is565)) {
    if (Is565) {
      Image.RedMask = Masks.Red;
      Image.GreenMask = Masks.Green;
      Image.BlueMask = Masks.Blue;
    }
    return;
  }
  if (Image.BitCount == 32 && Is888 && (Masks.Alpha == 0 || Masks.Alpha == 0xFF000000)) return;
  ConvertToBGRA(Image, Masks);
}

}  // namespace graphics
