// The platform's integer arithmetic helpers.
#pragma once

#include <cstdint>

namespace base {

// Nearest integer; a half goes to the even neighbour (banker's rounding).
int64_t Round(double Value);

// Number * Numerator / Denominator with a 64-bit intermediate, rounded to nearest with
// halves away from zero; -1 for a zero Denominator or a result outside 32 bits.
int32_t MulDiv(int32_t Number, int32_t Numerator, int32_t Denominator);

}  // namespace base
