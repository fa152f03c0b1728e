#include "install/zip/DeflateTables.h"

#include "install/zip/HuffmanTree.h"

namespace zip {

void TDeflateTables::Build() {
  unsigned Length = 0;
  for (int Code = 0; Code < LengthCodes - 1; ++Code) {
    ExtraLengthBits[Code] = static_cast<uint8_t>(Code < 8 ? 0 : (Code - 4) / 4);
    BaseLength[Code] = static_cast<uint16_t>(Length);
    for (unsigned N = 0; N < (1u << ExtraLengthBits[Code]); ++N) LengthCode[Length++] = static_cast<uint8_t>(Code);
  }
  // Length 258 has a code of its own, although 227 + 31 would also reach it.
  ExtraLengthBits[LengthCodes - 1] = 0;
  BaseLength[LengthCodes - 1] = MaxMatch - MinMatch;
  LengthCode[MaxMatch - MinMatch] = LengthCodes - 1;

  unsigned Dist = 0;
  for (int Code = 0; Code < DistanceCodes; ++Code) {
    ExtraDistBits[Code] = static_cast<uint8_t>(Code < 4 ? 0 : (Code - 2) / 2);
    BaseDist[Code] = static_cast<uint16_t>(Dist);
    for (unsigned N = 0; N < (1u << ExtraDistBits[Code]); ++N, ++Dist)
      DistCode[Dist < 256 ? Dist : 256 + (Dist >> 7)] = static_cast<uint8_t>(Code);
  }

  for (int Code = 0; Code < BitLengthCodes; ++Code)
    ExtraBitLengthBits[Code] = Code == Rep3To6 ? 2 : Code == RepZero3To10 ? 3 : Code == RepZero11To138 ? 7 : 0;

  for (int N = 0; N < FixedLiteralCodes; ++N)
    FixedLiteralLength[N] = N < 144 ? 8 : N < 256 ? 9 : N < 280 ? 7 : 8;
  AssignCodes(FixedLiteralLength, FixedLiteralCodes, FixedLiteralCode);
  for (int N = 0; N < DistanceCodes; ++N) FixedDistLength[N] = 5;
  AssignCodes(FixedDistLength, DistanceCodes, FixedDistCode);
}

}  // namespace zip
