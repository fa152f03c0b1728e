// A small independent deflate decoder for tests: besides the output it reports each
// block's type and every match, so tests can see how a stream was built.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ziptest {

struct TDeflateMatch {
  unsigned Length;
  unsigned Distance;
};

struct TDeflateSymbols {
  bool Ok = false;  // a complete, well-formed stream
  std::vector<uint8_t> Output;
  std::vector<int> BlockTypes;  // 0 stored, 1 fixed, 2 dynamic
  std::vector<TDeflateMatch> Matches;
  size_t Literals = 0;
};

TDeflateSymbols DecodeDeflate(const std::vector<uint8_t>& Stream);

}  // namespace ziptest
