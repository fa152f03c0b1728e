#include "tests/zip/DeflateSymbols.h"

#include <stdexcept>

namespace ziptest {

namespace {

struct TBadStream : std::runtime_error {
  TBadStream() : std::runtime_error("bad deflate stream") {}
};

struct TCodes {
  uint16_t Count[16] = {};
  std::vector<uint16_t> Symbol;
};

class TDecoder {
 public:
  explicit TDecoder(const std::vector<uint8_t>& In) : Input(In) {}

  unsigned Bits(int Need) {
    unsigned Value = 0;
    for (int I = 0; I < Need; ++I) {
      if (Pos >= Input.size()) throw TBadStream();
      Value |= ((Input[Pos] >> BitPos) & 1u) << I;
      if (++BitPos == 8) {
        BitPos = 0;
        ++Pos;
      }
    }
    return Value;
  }

  void Align() {
    if (BitPos != 0) {
      BitPos = 0;
      ++Pos;
    }
  }

  uint8_t Byte() {
    if (Pos >= Input.size()) throw TBadStream();
    return Input[Pos++];
  }

  static TCodes Build(const unsigned* Lengths, int N) {
    TCodes C;
    C.Symbol.resize(static_cast<size_t>(N));
    for (int I = 0; I < N; ++I) ++C.Count[Lengths[I]];
    uint16_t Offs[16] = {};
    for (int L = 1; L < 15; ++L) Offs[L + 1] = static_cast<uint16_t>(Offs[L] + C.Count[L]);
    for (int I = 0; I < N; ++I)
      if (Lengths[I] != 0) C.Symbol[Offs[Lengths[I]]++] = static_cast<uint16_t>(I);
    return C;
  }

  int Decode(const TCodes& C) {
    int Code = 0;
    int First = 0;
    int Index = 0;
    for (int Len = 1; Len <= 15; ++Len) {
      Code |= static_cast<int>(Bits(1));
      const int Count = C.Count[Len];
      if (Code - Count < First) return C.Symbol[static_cast<size_t>(Index + (Code - First))];
      Index += Count;
      First += Count;
      First <<= 1;
      Code <<= 1;
    }
    throw TBadStream();
  }

  size_t Pos = 0;
  int BitPos = 0;
  const std::vector<uint8_t>& Input;
};

constexpr uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                     31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                     2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t DistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                   193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t DistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                   6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr int Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

void Codes(TDecoder& D, TDeflateSymbols& R, const TCodes& Lit, const TCodes& Dist) {
  for (;;) {
    const int Sym = D.Decode(Lit);
    if (Sym < 256) {
      R.Output.push_back(static_cast<uint8_t>(Sym));
      ++R.Literals;
      continue;
    }
    if (Sym == 256) return;
    if (Sym > 285) throw TBadStream();
    const unsigned Len = LengthBase[Sym - 257] + D.Bits(LengthExtra[Sym - 257]);
    const int DSym = D.Decode(Dist);
    if (DSym > 29) throw TBadStream();
    const unsigned Distance = DistBase[DSym] + D.Bits(DistExtra[DSym]);
    if (Distance > R.Output.size()) throw TBadStream();
    R.Matches.push_back({Len, Distance});
    for (unsigned I = 0; I < Len; ++I) R.Output.push_back(R.Output[R.Output.size() - Distance]);
  }
}

}  // namespace

TDeflateSymbols DecodeDeflate(const std::vector<uint8_t>& Stream) {
  TDeflateSymbols R;
  TDecoder D(Stream);
  try {
    bool Last = false;
    while (!Last) {
      Last = D.Bits(1) != 0;
      const int Type = static_cast<int>(D.Bits(2));
      R.BlockTypes.push_back(Type);
      if (Type == 0) {
        D.Align();
        unsigned Len = D.Byte();
        Len |= static_cast<unsigned>(D.Byte()) << 8;
        unsigned NLen = D.Byte();
        NLen |= static_cast<unsigned>(D.Byte()) << 8;
        if ((Len ^ 0xFFFF) != NLen) throw TBadStream();
        for (unsigned I = 0; I < Len; ++I) R.Output.push_back(D.Byte());
      } else if (Type == 1) {
        unsigned L[288];
        for (int I = 0; I < 288; ++I) L[I] = I < 144 ? 8 : I < 256 ? 9 : I < 280 ? 7 : 8;
        unsigned Dl[30];
        for (unsigned& X : Dl) X = 5;
        Codes(D, R, TDecoder::Build(L, 288), TDecoder::Build(Dl, 30));
      } else if (Type == 2) {
        const int NLen = static_cast<int>(D.Bits(5)) + 257;
        const int NDist = static_cast<int>(D.Bits(5)) + 1;
        const int NCode = static_cast<int>(D.Bits(4)) + 4;
        unsigned Lengths[320] = {};
        for (int I = 0; I < NCode; ++I) Lengths[Order[I]] = D.Bits(3);
        const TCodes CL = TDecoder::Build(Lengths, 19);
        unsigned All[320] = {};
        int N = 0;
        while (N < NLen + NDist) {
          const int Sym = D.Decode(CL);
          if (Sym < 16) {
            All[N++] = static_cast<unsigned>(Sym);
            continue;
          }
          unsigned Value = 0;
          unsigned Repeat;
          if (Sym == 16) {
            if (N == 0) throw TBadStream();
            Value = All[N - 1];
            Repeat = 3 + D.Bits(2);
          } else if (Sym == 17) {
            Repeat = 3 + D.Bits(3);
          } else {
            Repeat = 11 + D.Bits(7);
          }
          if (N + static_cast<int>(Repeat) > NLen + NDist) throw TBadStream();
          while (Repeat-- > 0) All[N++] = Value;
        }
        Codes(D, R, TDecoder::Build(All, NLen), TDecoder::Build(All + NLen, NDist));
      } else {
        throw TBadStream();
      }
    }
    R.Ok = D.Pos + (D.BitPos != 0 ? 1 : 0) == Stream.size();
  } catch (const TBadStream&) {
    R.Ok = false;
  }
  return R;
}

}  // namespace ziptest
