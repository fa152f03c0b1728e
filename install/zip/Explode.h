// Method 6 (imploded). The data starts with prefix-code trees, each sent as a byte count
// less one and bytes of (run - 1) << 4 | (bit length - 1): 256 literal codes when the
// general purpose flags hold 4, then 64 length codes and 64 distance codes. Codes are
// read from the complement of the next bits. A 1 bit precedes a literal (a code, or 8
// raw bits without the literal tree); a 0 bit a match: 6 raw low distance bits (7 with
// the 8 KB dictionary, flag 2), the distance code for the high bits, the length code,
// and for length code 63 another 8 raw bits. A match may reach before the first byte of
// the data, which reads as zeros.
#pragma once

#include <cstdint>

#include "install/zip/BitInput.h"
#include "install/zip/OutputWindow.h"

namespace zip {

// Decodes Size bytes. Returns drSuccess, or drInvalidData (drUnsupported for an
// over-subscribed tree) when a tree is bad or incomplete, a code is invalid, the input
// ends in the middle of a code or a match passes Size.
int ExplodeEntry(TBitInput& Input, TOutputWindow& Output, uint16_t Flags, uint64_t CompressedSize, uint64_t Size);

}  // namespace zip
