// The alphabets of the deflate format (RFC 1951). Literal/length symbols 0..285: 0..255
// are bytes, 256 ends a block, 257..285 are 29 length codes for match lengths 3..258,
// each with 0 to 5 extra bits. 30 distance codes cover distances 1..32768 with 0 to 13
// extra bits. Code-length symbols 0..18: 0..15 are lengths, 16 repeats the previous
// length 3..6 times, 17 and 18 give runs of 3..10 and 11..138 zeros. The tables are
// derived from these rules when first needed.
#pragma once

#include <cstdint>

namespace zip {

constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;
constexpr int Literals = 256;
constexpr int EndBlock = 256;
constexpr int LengthCodes = 29;
constexpr int LiteralCodes = Literals + 1 + LengthCodes;  // 286
constexpr int FixedLiteralCodes = 288;
constexpr int DistanceCodes = 30;
constexpr int BitLengthCodes = 19;
constexpr int MaxCodeBits = 15;
constexpr int MaxBitLengthBits = 7;
constexpr int Rep3To6 = 16;
constexpr int RepZero3To10 = 17;
constexpr int RepZero11To138 = 18;

// The order in which the code-length code lengths are sent: fixed by the format.
constexpr uint8_t BitLengthOrder[BitLengthCodes] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                    11, 4,  12, 3, 13, 2, 14, 1, 15};

struct TDeflateTables {
  uint8_t LengthCode[256];  // match length - 3 -> length code 0..28
  uint8_t DistCode[512];    // distance - 1 below 256, then 256 + ((distance - 1) >> 7)
  uint16_t BaseLength[LengthCodes];
  uint16_t BaseDist[DistanceCodes];
  uint8_t ExtraLengthBits[LengthCodes];
  uint8_t ExtraDistBits[DistanceCodes];
  uint8_t ExtraBitLengthBits[BitLengthCodes];
  // The fixed codes: lengths and bit-reversed canonical codes, ready to send.
  uint8_t FixedLiteralLength[FixedLiteralCodes];
  uint16_t FixedLiteralCode[FixedLiteralCodes];
  uint8_t FixedDistLength[DistanceCodes];
  uint16_t FixedDistCode[DistanceCodes];

  void Build();

  unsigned DistanceCode(unsigned DistanceMinus1) const {
    return DistanceMinus1 < 256 ? DistCode[DistanceMinus1] : DistCode[256 + (DistanceMinus1 >> 7)];
  }
};

}  // namespace zip
