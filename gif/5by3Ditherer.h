// The family of error-diffusion kernels five pixels wide and three rows deep: the
// current row and the two below it, two pixels on either side.
#pragma once

#include "gif/KernelDitherer.h"

namespace gif {

class T5by3Ditherer : public TKernelDitherer {
 public:
  ANIMORA_CLASS(T5by3Ditherer)

 protected:
  // WeightOf(Row, Offset) for rows 0..2 and offsets -2..2.
  template <class WeightOf>
  T5by3Ditherer(int32_t AWidth, TColorLookup* Lookup, int32_t Divisor, WeightOf Weight)
      : TKernelDitherer(AWidth, Lookup, 3, 2, Divisor, KernelWeights(3, 2, Weight)) {}
};

}  // namespace gif
