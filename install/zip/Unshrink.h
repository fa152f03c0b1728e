// Method 1 (shrunk): LZW over codes of 9 to 13 bits, LSB first. Codes 0 to 255 are the
// bytes, 256 is a control code whose next code is a subcode: 1 widens the codes by a bit,
// 2 frees every string that no other string extends (a partial clear). Each code after
// the first defines the lowest free code as the previous string plus the first byte of
// its own; the one code not yet defined that may come is that lowest free one.
#pragma once

#include <cstdint>

#include "install/zip/BitInput.h"
#include "install/zip/OutputWindow.h"

namespace zip {

// Decodes until the input ends or Size bytes are out. Returns 0 then, 1 when the data
// names a string that does not exist, widens the codes past 13 bits or passes Size.
int UnshrinkEntry(TBitInput& Input, TOutputWindow& Output, uint64_t Size);

}  // namespace zip
