#include "editor/bitmaps/FastFX.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/base/Rounding.h"

namespace editor {

namespace {

constexpr double FixedOne = 65536.0;

// Walks the destination row by row, handing each pixel its source position in 16.16.
template <class Visit>
void MapRotation(const TFastRGB& Src, const TFastRGB& Dst, int32_t CX, int32_t CY, double Angle, Visit&& Each) {
  const double Theta = Angle * -std::numbers::pi / 180.0;
  const double C = std::cos(Theta);
  const double S = std::sin(Theta);
  const int32_t E = (Dst.Width() - Src.Width()) / 2;
  const int32_t G = (Dst.Height() - Src.Height()) / 2;
  const int64_t StepX = base::Round(C * FixedOne);
  const int64_t StepY = base::Round(S * FixedOne);
  for (int32_t Y = 0; Y < Dst.Height(); ++Y) {
    int64_t SX = base::Round((C * -CX + CX - S * (double(Y) - CY) - E) * FixedOne);
    int64_t SY = base::Round((S * -CX + CY + C * (double(Y) - CY) - G) * FixedOne);
    uint8_t* Out = Dst.Row(Y);
    for (int32_t X = 0; X < Dst.Width(); ++X, SX += StepX, SY += StepY) Each(Out, X, SX, SY);
  }
}

// A 16.16 position wrapped into 0 .. Count - 1.
int64_t Wrap(int64_t Value, int64_t Count) {
  if (Value >= 0) return (Value >> 16) % Count;
  return Count - ((-Value) >> 16) % Count - 1;
}

}  // namespace

void Rotate(const TFastRGB& Src, TFastRGB& Dst, int32_t CX, int32_t CY, double Angle) {
  Src.CheckSameClass(Dst);
  const int Pixel = Src.BytesPerPixel();
  const int64_t Width = Src.Width(), Height = Src.Height();
  MapRotation(Src, Dst, CX, CY, Angle, [&](uint8_t* Out, int32_t X, int64_t SX, int64_t SY) {
    if (SX < 0 || SY < 0) return;
    const int64_t Column = SX >> 16, Row = SY >> 16;
    if (Column >= Width || Row >= Height) return;
    std::memcpy(Out + int64_t{X} * Pixel, Src.Row(static_cast<int32_t>(Row)) + Column * Pixel, Pixel);
  });
}

void RotateWrap(const TFastRGB& Src, TFastRGB& Dst, int32_t CX, int32_t CY, double Angle) {
  Src.CheckSameClass(Dst);
  if (Src.Empty()) return;
  const int Pixel = Src.BytesPerPixel();
  MapRotation(Src, Dst, CX, CY, Angle, [&](uint8_t* Out, int32_t X, int64_t SX, int64_t SY) {
    const int64_t Column = Wrap(SX, Src.Width()), Row = Wrap(SY, Src.Height());
    std::memcpy(Out + int64_t{X} * Pixel, Src.Row(static_cast<int32_t>(Row)) + Column * Pixel, Pixel);
  });
}

}  // namespace editor
