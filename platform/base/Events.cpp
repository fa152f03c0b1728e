#include "platform/base/Events.h"

#include <algorithm>

#include "platform/base/Rounding.h"

namespace base {

uint8_t PercentOf(int64_t Done, int64_t Total) {
  if (Total <= 0) return 0;
  const double Ratio = static_cast<double>(std::clamp<int64_t>(Done, 0, Total)) / static_cast<double>(Total);
  return static_cast<uint8_t>(Round(Ratio * 100.0));
}

}  // namespace base
