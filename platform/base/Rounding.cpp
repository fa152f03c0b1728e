#include "platform/base/Rounding.h"

#include <cmath>
#include <limits>

namespace base {

int64_t Round(double Value) { return static_cast<int64_t>(std::nearbyint(Value)); }

int32_t MulDiv(int32_t Number, int32_t Numerator, int32_t Denominator) {
  if (Denominator == 0) return -1;
  const int64_t Product = static_cast<int64_t>(Number) * Numerator;
  const bool Negative = (Product < 0) != (Denominator < 0);
  const uint64_t Magnitude = Product < 0 ? -static_cast<uint64_t>(Product) : Product;
  const uint64_t Divisor = Denominator < 0 ? -static_cast<int64_t>(Denominator) : Denominator;
  const uint64_t Quotient = (Magnitude + Divisor / 2) / Divisor;
  if (Quotient > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + (Negative ? 1 : 0))
    return -1;
  return Negative ? static_cast<int32_t>(-static_cast<int64_t>(Quotient)) : static_cast<int32_t>(Quotient);
}

}  // namespace base
