// Burkes' kernel: the first two rows of Stucki's, in 32nds.
#pragma once

#include "gif/KernelDitherer.h"

namespace gif {

class TBurkesDitherer : public TKernelDitherer {
 public:
  ANIMORA_CLASS(TBurkesDitherer)
  TBurkesDitherer(int32_t AWidth, TColorLookup* Lookup);
};

}  // namespace gif
