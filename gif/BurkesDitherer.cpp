#include "gif/BurkesDitherer.h"

#include <cstdlib>

namespace gif {

TBurkesDitherer::TBurkesDitherer(int32_t AWidth, TColorLookup* Lookup)
    : TKernelDitherer(AWidth, Lookup, 2, 2, 32,
                      KernelWeights(2, 2, [](int32_t Row, int32_t Offset) { return 16 >> (Row + std::abs(Offset)); })) {}

}  // namespace gif
