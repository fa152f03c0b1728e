// A test encoder for method 1 (shrunk), the inverse of the decoder's table rules: each
// code after the first defines the lowest free code, control code 256 widens the codes
// (subcode 1) or frees the leaf strings (subcode 2).
#pragma once

#include <cstdint>
#include <vector>

namespace ziptest {

// PruneEvery > 0 also clears every that many codes, not only when the table is full.
std::vector<uint8_t> Shrink(const std::vector<uint8_t>& Data, int PruneEvery = 0);

}  // namespace ziptest
