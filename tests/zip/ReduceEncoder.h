// A test encoder for methods 2 to 5 (reduced): matches and the 144 escape first, then
// every byte of that stream coded against the follower set of the byte before it.
#pragma once

#include <cstdint>
#include <vector>

namespace ziptest {

// The escaped stream as the decoder's state machine reads it, before the follower coding.
std::vector<uint8_t> ReduceMatches(const std::vector<uint8_t>& Data, int Factor);
// Codes an escaped stream with follower sets of at most MaxFollowers (0 to 63) bytes.
std::vector<uint8_t> ReduceFollowers(const std::vector<uint8_t>& Escaped, int MaxFollowers = 32);
inline std::vector<uint8_t> Reduce(const std::vector<uint8_t>& Data, int Factor, int MaxFollowers = 32) {
  return ReduceFollowers(ReduceMatches(Data, Factor), MaxFollowers);
}

}  // namespace ziptest
