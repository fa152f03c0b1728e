#include "gif/KernelDitherer.h"

#include <algorithm>

namespace gif {

TKernelDitherer::TKernelDitherer(int32_t AWidth, TColorLookup* Lookup, int32_t Rows, int32_t Reach,
                                 int32_t Divisor, std::vector<TDiffusionWeight> Weights)
    : TDitherEngine(AWidth, Lookup),
      FReach(Reach),
      FDivisor(Divisor),
      FWeights(std::move(Weights)),
      FRows(static_cast<size_t>(Rows), std::vector<int32_t>(static_cast<size_t>(std::max(AWidth, 0) + 2 * Reach) * 3, 0)) {
  PrepareSteps();
}

void TKernelDitherer::PrepareSteps() {
  FSteps.clear();
  for (const TDiffusionWeight& W : FWeights)
    FSteps.push_back({W.Row, static_cast<ptrdiff_t>(W.Offset) * FDirection * 3, W.Weight});
}

uint8_t TKernelDitherer::Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  const int32_t Input[3] = {Red, Green, Blue};
  const ptrdiff_t Entry = static_cast<ptrdiff_t>(FColumn + FReach) * 3;
  const int32_t* Here = FRows[0].data() + Entry;
  const int32_t Rounding = FDivisor / 2;
  uint8_t Wanted[3];
  for (int C = 0; C < 3; ++C)
    Wanted[C] = static_cast<uint8_t>(std::clamp(Input[C] + (Here[C] + Rounding) / FDivisor, 0, 255));
  const uint8_t Index = TDitherEngine::Dither(Wanted[0], Wanted[1], Wanted[2], R, G, B);
  const int32_t Produced[3] = {R, G, B};
  for (int C = 0; C < 3; ++C) {
    const int32_t E = Wanted[C] - Produced[C];
    if (E == 0) continue;
    for (const TStep& S : FSteps) FRows[static_cast<size_t>(S.Row)][static_cast<size_t>(Entry + S.Delta + C)] += E * S.Weight;
  }
  return Index;
}

void TKernelDitherer::TurnRow() {
  std::fill(FRows.front().begin(), FRows.front().end(), 0);
  std::rotate(FRows.begin(), FRows.begin() + 1, FRows.end());
  TDitherEngine::TurnRow();
  PrepareSteps();
}

}  // namespace gif
