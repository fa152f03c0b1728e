#include "gif/DitherEngine.h"

namespace gif {

uint8_t TDitherEngine::Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  const uint8_t Index = FLookup->Lookup(Red, Green, Blue, R, G, B);
  StepColumn();
  return Index;
}

void TDitherEngine::TurnRow() {
  FDirection = -FDirection;
  FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

}  // namespace gif
