// The JaJuNi kernel: a pixel's share falls by 2/48 with every step of distance (along
// the row plus down), from 7/48 next to the pixel to 1/48 four steps away.
#pragma once

#include "gif/5by3Ditherer.h"

namespace gif {

class TJaJuNiDitherer : public T5by3Ditherer {
 public:
  ANIMORA_CLASS(TJaJuNiDitherer)
  TJaJuNiDitherer(int32_t AWidth, TColorLookup* Lookup);
};

}  // namespace gif
