#include "gif/FloydSteinbergDitherer.h"

#include <algorithm>
#include <cstddef>

namespace gif {

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int32_t AWidth, TColorLookup* Lookup)
    : TDitherEngine(AWidth, Lookup), FErrors(static_cast<size_t>(std::max(AWidth, 0) + 2) * 3, 0) {}

void TFloydSteinbergDitherer::CatchUp() {
  for (; FNext != FColumn && FNext >= 0 && FNext < FWidth; FNext += FDirection) {
    int32_t* Behind = &FErrors[static_cast<size_t>(FNext + 1 - FDirection) * 3];
    for (int C = 0; C < 3; ++C) {
      Behind[C] = FBelowPrev[C];
      FBelowPrev[C] = FBelow[C];
      FBelow[C] = FCurrent[C] = 0;
    }
  }
}

uint8_t TFloydSteinbergDitherer::Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G,
                                        uint8_t& B) {
  CatchUp();
  const int32_t Input[3] = {Red, Green, Blue};
  const int32_t* Here = &FErrors[static_cast<size_t>(FColumn + 1) * 3];
  int32_t* Behind = &FErrors[static_cast<size_t>(FColumn + 1 - FDirection) * 3];
  uint8_t Wanted[3];
  for (int C = 0; C < 3; ++C)
    Wanted[C] = static_cast<uint8_t>(std::clamp(Input[C] + (Here[C] + FCurrent[C] + 8) / 16, 0, 255));
  const uint8_t Index = TDitherEngine::Dither(Wanted[0], Wanted[1], Wanted[2], R, G, B);
  const int32_t Produced[3] = {R, G, B};
  for (int C = 0; C < 3; ++C) {
    const int32_t E = Wanted[C] - Produced[C];
    Behind[C] = FBelowPrev[C] + 3 * E;
    FBelowPrev[C] = FBelow[C] + 5 * E;
    FBelow[C] = E;
    FCurrent[C] = 7 * E;
  }
  FNext = FColumn;
  return Index;
}

void TFloydSteinbergDitherer::TurnRow() {
  CatchUp();
  // The pixel below the last one still has its share to receive; what would go past
  // the row's end is dropped.
  const int32_t Behind = FColumn + 1 - FDirection;
  if (Behind >= 0 && Behind <= FWidth + 1)
    std::copy(FBelowPrev.begin(), FBelowPrev.end(), FErrors.begin() + static_cast<ptrdiff_t>(Behind) * 3);
  FCurrent = FBelow = FBelowPrev = TTerms{};
  TDitherEngine::TurnRow();
  FNext = FColumn;
}

}  // namespace gif
