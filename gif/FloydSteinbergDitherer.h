// Floyd-Steinberg error diffusion. Each pixel's error goes to exactly four pixels not
// yet visited, relative to the direction of travel: 7/16 to the next pixel, 3/16 below
// the previous one, 5/16 below and 1/16 below the next one. The errors of the next row
// are kept in sixteenths in one row with a border entry on each side; three running
// terms per channel carry what is still being summed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gif/DitherEngine.h"

namespace gif {

class TFloydSteinbergDitherer : public TDitherEngine {
 public:
  ANIMORA_CLASS(TFloydSteinbergDitherer)
  TFloydSteinbergDitherer(int32_t AWidth, TColorLookup* Lookup);

  uint8_t Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;
  void TurnRow() override;

 private:
  using TTerms = std::array<int32_t, 3>;
  // Pixels skipped with StepColumn since the last one dithered pass the running terms
  // on as a pixel without error would.
  void CatchUp();

  // Entry x + 1 holds the error for column x, red, green and blue side by side.
  std::vector<int32_t> FErrors;
  int32_t FNext = 0;    // the column the running terms are for
  TTerms FCurrent{};    // for the next pixel of this row
  TTerms FBelow{};      // for the pixel below the next one
  TTerms FBelowPrev{};  // for the pixel below this one
};

}  // namespace gif
