// The kernel of Stevenson and Arce: four rows, three pixels on either side, on a
// staggered grid, in 200ths.
#pragma once

#include "gif/KernelDitherer.h"

namespace gif {

class TSteveArcheDitherer : public TKernelDitherer {
 public:
  ANIMORA_CLASS(TSteveArcheDitherer)
  TSteveArcheDitherer(int32_t AWidth, TColorLookup* Lookup);
};

}  // namespace gif
