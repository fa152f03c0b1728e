#include "gif/JaJuNiDitherer.h"

#include <cstdlib>

namespace gif {

TJaJuNiDitherer::TJaJuNiDitherer(int32_t AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 48,
                    [](int32_t Row, int32_t Offset) { return 9 - 2 * (Row + std::abs(Offset)); }) {}

}  // namespace gif
