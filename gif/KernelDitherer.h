// Error diffusion by a weight table over several rows. There is one error row per
// kernel row (the three channels side by side), with border entries on both sides so
// that spreading near the row ends needs no bounds checks. Errors are whole units
// times the weights, divided by the kernel's divisor (rounded) when a pixel takes them
// up. After a row, the spent row is cleared and becomes the last one: the buffers
// rotate, nothing is copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif/DitherEngine.h"

namespace gif {

// The share of a pixel's error for the pixel Offset steps ahead in the direction of
// travel (negative: behind) and Row rows further down.
struct TDiffusionWeight {
  int32_t Row = 0;
  int32_t Offset = 0;
  int32_t Weight = 0;
};

// The non-zero weights of Weight(Row, Offset) over Rows rows and offsets -Reach..Reach,
// keeping only pixels not yet visited.
template <class WeightOf>
std::vector<TDiffusionWeight> KernelWeights(int32_t Rows, int32_t Reach, WeightOf Weight) {
  std::vector<TDiffusionWeight> Result;
  for (int32_t Row = 0; Row < Rows; ++Row)
    for (int32_t Offset = Row == 0 ? 1 : -Reach; Offset <= Reach; ++Offset)
      if (const int32_t W = Weight(Row, Offset); W != 0) Result.push_back({Row, Offset, W});
  return Result;
}

class TKernelDitherer : public TDitherEngine {
 public:
  ANIMORA_CLASS(TKernelDitherer)

  uint8_t Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;
  void TurnRow() override;
  int32_t Divisor() const { return FDivisor; }

 protected:
  // Rows error rows per channel, Reach border entries on each side; the weights of
  // every row add up to Divisor.
  TKernelDitherer(int32_t AWidth, TColorLookup* Lookup, int32_t Rows, int32_t Reach, int32_t Divisor,
                  std::vector<TDiffusionWeight> Weights);

 private:
  struct TStep {
    int32_t Row;
    ptrdiff_t Delta;  // entries from the pixel's, times 3 channels
    int32_t Weight;
  };
  void PrepareSteps();

  int32_t FReach;
  int32_t FDivisor;
  std::vector<TDiffusionWeight> FWeights;
  // Row r, entry Column + Reach: the error for that column, red, green, blue side by side.
  std::vector<std::vector<int32_t>> FRows;
  std::vector<TStep> FSteps;
};

}  // namespace gif
