// Sierra's three-row kernel, in 32nds.
#pragma once

#include "gif/5by3Ditherer.h"

namespace gif {

class TSierraDitherer : public T5by3Ditherer {
 public:
  ANIMORA_CLASS(TSierraDitherer)
  TSierraDitherer(int32_t AWidth, TColorLookup* Lookup);
};

}  // namespace gif
