// Explode and unreduce let a match reach before the first byte of the entry (an encoder
// may have started from a window of zeros): those bytes read as zeros.
#pragma once

#include <algorithm>
#include <cstddef>

#include "install/zip/OutputWindow.h"

namespace zip {

inline bool CopyZeroFilledMatch(TOutputWindow& Output, size_t Distance, size_t Length) {
  if (Distance > Output.Total()) {
    const size_t Zeros = std::min<size_t>(Distance - static_cast<size_t>(Output.Total()), Length);
    for (size_t I = 0; I < Zeros; ++I) {
      if (!Output.PutByte(0)) return false;
    }
    Length -= Zeros;
  }
  return Length == 0 || Output.CopyMatch(Distance, Length);
}

}  // namespace zip
