#include "gif/SierraDitherer.h"

namespace gif {
namespace {

// Rows 0..2, offsets -2..2 (only pixels ahead count in row 0).
constexpr int32_t Weights[3][5] = {
    {0, 0, 0, 5, 3},
    {2, 4, 5, 4, 2},
    {0, 2, 3, 2, 0},
};

}  // namespace

TSierraDitherer::TSierraDitherer(int32_t AWidth, TColorLookup* Lookup)
    : T5by3Ditherer(AWidth, Lookup, 32, [](int32_t Row, int32_t Offset) { return Weights[Row][Offset + 2]; }) {}

}  // namespace gif
