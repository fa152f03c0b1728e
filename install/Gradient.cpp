#include "install/Gradient.h"

#include "platform/base/Rounding.h"

namespace install {

namespace {

struct TRgb {
  int Red;
  int Green;
  int Blue;
};

constexpr TRgb StartColor{0, 0, 0};
constexpr TRgb EndColor{0, 0, 255};

// Band Index of the ramp; the last band has the end colour exactly.
uint8_t Channel(int Start, int End, int Index) {
  return static_cast<uint8_t>((Start + Index * (End - Start) / (GradientBandCount - 1)) & 0xFF);
}

}  // namespace

std::vector<TGradientBand> GradientBands(int Height) {
  const double BandHeight = static_cast<double>(Height) / GradientBandCount;
  std::vector<TGradientBand> Bands;
  Bands.reserve(GradientBandCount);
  for (int I = 0; I < GradientBandCount; ++I) {
    const int Top = static_cast<int>(base::Round(I * BandHeight));
    const int Bottom = static_cast<int>(base::Round(Top + BandHeight + 1));
    Bands.push_back({Top, Bottom, Channel(StartColor.Red, EndColor.Red, I), Channel(StartColor.Green, EndColor.Green, I),
                     Channel(StartColor.Blue, EndColor.Blue, I)});
  }
  return Bands;
}

}  // namespace install
