// The installer's background: 100 horizontal bands from black at the top to blue at the
// bottom. Each band reaches about a pixel into the next, so no row is left unpainted
// where the band height is fractional.
#pragma once

#include <cstdint>
#include <vector>

namespace install {

inline constexpr int GradientBandCount = 100;

struct TGradientBand {
  int Top = 0;
  int Bottom = 0;  // the first row below the band
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
};

// The bands of a window Height pixels high, top band first.
std::vector<TGradientBand> GradientBands(int Height);

}  // namespace install
