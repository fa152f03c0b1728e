#include "gif/SteveArcheDitherer.h"

namespace gif {
namespace {

// Rows 0..3, offsets -3..3 (only pixels ahead count in row 0).
constexpr int32_t Weights[4][7] = {
    {0, 0, 0, 0, 0, 32, 0},
    {12, 0, 26, 0, 30, 0, 16},
    {0, 12, 0, 26, 0, 12, 0},
    {5, 0, 12, 0, 12, 0, 5},
};

}  // namespace

TSteveArcheDitherer::TSteveArcheDitherer(int32_t AWidth, TColorLookup* Lookup)
    : TKernelDitherer(AWidth, Lookup, 4, 3, 200,
                      KernelWeights(4, 3, [](int32_t Row, int32_t Offset) { return Weights[Row][Offset + 3]; })) {}

}  // namespace gif
