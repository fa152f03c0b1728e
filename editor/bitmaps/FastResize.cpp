// The two resizes of the fast bitmaps: nearest neighbour, which enlarges by runs and
// whole rows, and bilinear with 15-bit weights. Both fill a destination the caller
// has sized, from the whole source, in fixed point.
#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/bitmaps/FastRGB.h"
#include "platform/base/Rounding.h"

namespace editor {

void TFastRGB::Resize(TFastRGB& Dst) const {
  CheckSameClass(Dst);
  if (Dst.Empty() || Empty()) return;
  if (Dst.FWidth == FWidth && Dst.FHeight == FHeight) {
    std::memcpy(Dst.FBits, FBits, FSize);
    return;
  }
  const int Pixel = BytesPerPixel();
  const float FX = float(Dst.FWidth) / float(FWidth);
  const float FY = float(Dst.FHeight) / float(FHeight);
  if (FX >= 1 && FY >= 1) {
    const int64_t RunX = base::Round(FX + 0.5f);
    const int64_t RunY = base::Round(FY + 0.5f);
    std::vector<uint8_t> Line(int64_t{Dst.FWidth} * Pixel);
    for (int32_t I = 0; I < FHeight; ++I) {
      const auto TY = static_cast<int64_t>(FY * I);
      const uint8_t* In = FRows[I];
      for (int32_t J = 0; J < FWidth; ++J, In += Pixel) {
        const auto TX = static_cast<int64_t>(FX * J);
        for (int64_t X = TX; X < TX + RunX && X < Dst.FWidth; ++X) std::memcpy(&Line[X * Pixel], In, Pixel);
      }
      for (int64_t Y = TY; Y < TY + RunY && Y < Dst.FHeight; ++Y) std::memcpy(Dst.FRows[Y], Line.data(), Line.size());
    }
    return;
  }
  const int64_t StepX = (int64_t{FWidth} << 16) / Dst.FWidth;
  const int64_t StepY = (int64_t{FHeight} << 16) / Dst.FHeight;
  int64_t SY = 0;
  for (int32_t Y = 0; Y < Dst.FHeight; ++Y, SY += StepY) {
    const uint8_t* In = FRows[SY >> 16];
    uint8_t* Out = Dst.FRows[Y];
    int64_t SX = 0;
    for (int32_t X = 0; X < Dst.FWidth; ++X, SX += StepX, Out += Pixel) std::memcpy(Out, In + (SX >> 16) * Pixel, Pixel);
  }
}

void TFastRGB::SmoothResize(TFastRGB& Dst) const {
  CheckSameClass(Dst);
  if (Dst.Empty() || Empty()) return;
  if (FWidth == 1) return Resize(Dst);
  if (Dst.FWidth == FWidth && Dst.FHeight == FHeight) {
    std::memcpy(Dst.FBits, FBits, FSize);
    return;
  }
  const int Pixel = BytesPerPixel();
  const int64_t StepX = (int64_t{FWidth - 1} << 15) / Dst.FWidth;
  const int64_t StepY = (int64_t{FHeight - 1} << 15) / Dst.FHeight;
  int64_t FY = 0;
  for (int32_t Y = 0; Y < Dst.FHeight; ++Y, FY += StepY) {
    const int64_t R0 = FY >> 15;
    const int64_t R1 = FHeight >= 2 ? R0 + 1 : R0;
    const int32_t WY = static_cast<int32_t>(FY & 32767);
    const uint8_t* Lower = FRows[R0];
    const uint8_t* Upper = FRows[R1];
    uint8_t* Out = Dst.FRows[Y];
    int64_t FX = 0;
    for (int32_t X = 0; X < Dst.FWidth; ++X, FX += StepX) {
      const int64_t C = (FX >> 15) * Pixel;
      const int32_t WX = static_cast<int32_t>(FX & 32767);
      const int32_t W01 = (WX * (32768 - WY)) >> 15;
      const int32_t W00 = 32768 - WY - W01;
      const int32_t W11 = (WX * WY) >> 15;
      const int32_t W10 = WY - W11;
      for (int Channel = 0; Channel < Pixel; ++Channel) {
        const int64_t At = C + Channel;
        *Out++ = static_cast<uint8_t>((Lower[At] * W00 + Lower[At + Pixel] * W01 + Upper[At] * W10 +
                                       Upper[At + Pixel] * W11) >> 15);
      }
    }
  }
}

}  // namespace editor
