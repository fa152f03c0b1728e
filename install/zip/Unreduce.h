// Methods 2 to 5 (reduced with compression factor 1 to 4). The data starts with a
// follower set for every byte value, 255 down to 0: a 6-bit count and that many 8-bit
// bytes. Each byte then comes either as 8 raw bits or, after a 0 bit, as an index into
// the follower set of the byte before it. The bytes so decoded are a run-length stream:
// 144 escapes a match (144 0 is a literal 144), whose next byte holds the low length bits
// under the length mask and the high distance bits above them, an optional byte extends
// a full length, and a last byte holds the low eight distance bits.
#pragma once

#include <cstdint>

#include "install/zip/BitInput.h"
#include "install/zip/OutputWindow.h"

namespace zip {

// Decodes Size bytes; Factor is the method less 1. Returns 0, or 1 when the input ends
// in the middle of a code, an index names no follower or the matches pass Size.
int UnreduceEntry(TBitInput& Input, TOutputWindow& Output, int Factor, uint64_t Size);

}  // namespace zip
