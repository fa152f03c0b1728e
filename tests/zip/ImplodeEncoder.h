// A test encoder for method 6 (imploded): prefix-code trees sent as runs of code
// lengths, then a flag bit per literal or match, codes read from their complemented,
// reversed bits as the decoder does.
#pragma once

#include <cstdint>
#include <vector>

namespace ziptest {

struct TImplodeOptions {
  bool LiteralTree = false;  // general purpose flag value 4
  bool LargeWindow = false;  // flag value 2: 8 KB dictionary
};

// One literal (Length 0) or one match.
struct TImplodeToken {
  uint8_t Literal = 0;
  uint32_t Distance = 0;
  uint32_t Length = 0;
};

std::vector<TImplodeToken> ImplodeTokens(const std::vector<uint8_t>& Data, const TImplodeOptions& Options);
// The compressed entry for the tokens; code lengths are those of a Huffman code of at
// most 16 bits unless given (256 for literals, 64 each for lengths and distances).
struct TImplodeLengths {
  std::vector<int> Literal, Length, Distance;
};
std::vector<uint8_t> ImplodeEncode(const std::vector<TImplodeToken>& Tokens, const TImplodeOptions& Options,
                                   TImplodeLengths Lengths = {});
inline std::vector<uint8_t> Implode(const std::vector<uint8_t>& Data, const TImplodeOptions& Options) {
  return ImplodeEncode(ImplodeTokens(Data, Options), Options);
}
// The run-length form of a code length list: a count of bytes less one, then per run
// (count - 1) << 4 | (length - 1).
std::vector<uint8_t> CodeLengthList(const std::vector<int>& Lengths);

}  // namespace ziptest
