#include "gif/StuckiDitherer.h"

#include <cstdlib>

namespace gif {

TStuckiDitherer::TStuckiDitherer(int32_t AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 42,
                    [](int32_t Row, int32_t Offset) { return 16 >> (Row + std::abs(Offset)); }) {}

}  // namespace gif
