// Stucki's kernel: a pixel's share halves with every step of distance (along the row
// plus down), from 8/42 next to the pixel to 1/42 four steps away.
#pragma once

#include "gif/5by3Ditherer.h"

namespace gif {

class TStuckiDitherer : public T5by3Ditherer {
 public:
  ANIMORA_CLASS(TStuckiDitherer)
  TStuckiDitherer(int32_t AWidth, TColorLookup* Lookup);
};

}  // namespace gif
