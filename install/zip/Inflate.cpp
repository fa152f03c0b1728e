#include "install/zip/Inflate.h"

#include <array>
#include <cstring>

namespace zip {

namespace {

// Length symbols 257..287 and distance codes 0..29 as bases and extra bits; 286 and
// 287 are invalid.
struct TBaseTables {
  std::array<uint16_t, 31> LengthBases{};
  std::array<uint8_t, 31> LengthExtra{};
  std::array<uint16_t, 30> DistanceBases{};
  std::array<uint8_t, 30> DistanceExtra{};
};

constexpr TBaseTables MakeBaseTables() {
  TBaseTables T;
  unsigned Base = 3;
  for (unsigned I = 0; I < 28; ++I) {
    T.LengthExtra[I] = static_cast<uint8_t>(I < 8 ? 0 : I / 4 - 1);
    T.LengthBases[I] = static_cast<uint16_t>(Base);
    Base += 1u << T.LengthExtra[I];
  }
  T.LengthBases[28] = 258;
  T.LengthExtra[28] = 0;
  for (unsigned I = 29; I < 31; ++I) T.LengthExtra[I] = opInvalid;
  Base = 1;
  for (unsigned I = 0; I < 30; ++I) {
    T.DistanceExtra[I] = static_cast<uint8_t>(I < 4 ? 0 : I / 2 - 1);
    T.DistanceBases[I] = static_cast<uint16_t>(Base);
    Base += 1u << T.DistanceExtra[I];
  }
  return T;
}

constexpr TBaseTables kBases = MakeBaseTables();

constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// First-level widths: wide enough that nearly every code takes one lookup.
constexpr unsigned LiteralLookup = 11;
constexpr unsigned DistanceLookup = 8;
constexpr unsigned LongestCode = 15;
// Output room the fast loop keeps: three literals and a longest match.
constexpr ptrdiff_t FastOutputMargin = 258 + 3;

inline uint64_t LowBits(uint64_t Bits, unsigned N) { return Bits & ((uint64_t{1} << N) - 1); }

// Copies Length bytes from Distance back; may write up to 15 bytes beyond.
inline void CopyFast(uint8_t* Out, size_t Distance, size_t Length) {
  const uint8_t* From = Out - Distance;
  uint8_t* End = Out + Length;
  if (Distance >= 16) {
    do {
      std::memcpy(Out, From, 16);
      Out += 16;
      From += 16;
    } while (Out < End);
  } else if (Distance >= 8) {
    do {
      std::memcpy(Out, From, 8);
      Out += 8;
      From += 8;
    } while (Out < End);
  } else if (Distance == 1) {
    std::memset(Out, *From, Length);
  } else {
    do *Out++ = *From++;
    while (Out < End);
  }
}

}  // namespace

TInflate::TInflate() {
  uint8_t Lengths[288];
  std::memset(Lengths, 8, 144);
  std::memset(Lengths + 144, 9, 112);
  std::memset(Lengths + 256, 7, 24);
  std::memset(Lengths + 280, 8, 8);
  unsigned Bits = LiteralLookup;
  BuildDecodeTable(Lengths, 288, 257, kBases.LengthBases.data(), kBases.LengthExtra.data(),
                   FFixedLiterals, Bits);
  // Thirty codes of five bits: incomplete, and codes 30 and 31 stay invalid.
  std::memset(Lengths, 5, 30);
  Bits = DistanceLookup;
  BuildDecodeTable(Lengths, 30, 0, kBases.DistanceBases.data(), kBases.DistanceExtra.data(),
                   FFixedDistances, Bits);
}

int TInflate::InflateEntry(TBitInput& Input, TOutputWindow& Output) {
  FInput = &Input;
  FOutput = &Output;
  bool Last = false;
  do {
    int Result = DecodeBlock(Last);
    if (Result != drSuccess) return Result;
  } while (!Last);
  if (Input.PastEnd()) return drInvalidData;
  Output.Flush();
  return drSuccess;
}

int TInflate::DecodeBlock(bool& Last) {
  TBitInput& In = *FInput;
  In.NeedBits(3);
  Last = In.PeekBits(1) != 0;
  unsigned Type = In.PeekBits(3) >> 1;
  In.DropBits(3);
  if (In.PastEnd()) return drInvalidData;
  switch (Type) {
    case 0: return CopyStoredBlock();
    case 1: return DecodeHuffmanData(FFixedLiterals, FFixedDistances);
    case 2: return DecodeDynamicBlock();
    default: return drUnsupported;
  }
}

int TInflate::CopyStoredBlock() {
  TBitInput& In = *FInput;
  TOutputWindow& W = *FOutput;
  In.AlignToByte();
  uint32_t Length = In.TakeBits(16);
  uint32_t Complement = In.TakeBits(16);
  if (In.PastEnd() || Length != (~Complement & 0xFFFF)) return drInvalidData;
  while (Length > 0) {
    if (W.FOut == W.FStop && !W.MakeRoom()) return drInvalidData;
    size_t Part = static_cast<size_t>(W.FStop - W.FOut);
    if (Part > Length) Part = Length;
    if (!In.ReadBytes(W.FOut, Part)) return drInvalidData;
    W.FOut += Part;
    Length -= static_cast<uint32_t>(Part);
  }
  return drSuccess;
}

int TInflate::DecodeDynamicBlock() {
  TBitInput& In = *FInput;
  In.NeedBits(14);
  unsigned LiteralCount = In.PeekBits(5) + 257;
  unsigned DistanceCount = (In.PeekBits(10) >> 5) + 1;
  unsigned LengthCodeCount = (In.PeekBits(14) >> 10) + 4;
  In.DropBits(14);
  if (LiteralCount > 286 || DistanceCount > 30) return drInvalidData;

  uint8_t Lengths[286 + 30] = {};
  for (unsigned I = 0; I < LengthCodeCount; ++I)
    Lengths[kCodeLengthOrder[I]] = static_cast<uint8_t>(In.TakeBits(3));
  if (In.PastEnd()) return drInvalidData;
  unsigned Bits = 7;
  int Result = BuildDecodeTable(Lengths, 19, 19, nullptr, nullptr, FLengthCodes, Bits);
  if (Result != drSuccess) return Result;

  const unsigned Total = LiteralCount + DistanceCount;
  std::memset(Lengths, 0, 19);
  unsigned Previous = 0;
  for (unsigned I = 0; I < Total;) {
    TDecodeEntry E = DecodeSymbol(FLengthCodes);
    if (E.Operation != opLiteral || In.PastEnd()) return drInvalidData;
    unsigned Symbol = E.Value, Repeat, Value;
    if (Symbol < 16) {
      Lengths[I++] = static_cast<uint8_t>(Symbol);
      Previous = Symbol;
      continue;
    }
    if (Symbol == 16) {
      Repeat = 3 + In.TakeBits(2);
      Value = Previous;
    } else if (Symbol == 17) {
      Repeat = 3 + In.TakeBits(3);
      Value = Previous = 0;
    } else {
      Repeat = 11 + In.TakeBits(7);
      Value = Previous = 0;
    }
    if (In.PastEnd() || I + Repeat > Total) return drInvalidData;
    std::memset(Lengths + I, static_cast<int>(Value), Repeat);
    I += Repeat;
  }

  Bits = LiteralLookup;
  Result = BuildDecodeTable(Lengths, LiteralCount, 257, kBases.LengthBases.data(),
                            kBases.LengthExtra.data(), FLiterals, Bits);
  if (Result != drSuccess) return Result;
  Bits = DistanceLookup;
  Result = BuildDecodeTable(Lengths + LiteralCount, DistanceCount, 0, kBases.DistanceBases.data(),
                            kBases.DistanceExtra.data(), FDistances, Bits);
  if (Result != drSuccess) return Result;
  return DecodeHuffmanData(FLiterals, FDistances);
}

TDecodeEntry TInflate::DecodeSymbol(const TDecodeTable& Table) {
  TBitInput& In = *FInput;
  In.NeedBits(LongestCode);
  TDecodeEntry E = Table.Entries[In.PeekBits(Table.LookupBits)];
  if (E.Operation > 16 && E.Operation != opInvalid) {
    In.DropBits(E.Bits);
    E = Table.Entries[E.Value + In.PeekBits(E.Operation - 16u)];
  }
  if (E.Operation != opInvalid) In.DropBits(E.Bits);
  return E;
}

int TInflate::DecodeHuffmanData(const TDecodeTable& Literals, const TDecodeTable& Distances) {
  TBitInput& In = *FInput;
  TOutputWindow& W = *FOutput;
  const TDecodeEntry* const LitTable = Literals.Entries.data();
  const TDecodeEntry* const DistTable = Distances.Entries.data();
  const uint64_t LitMask = (uint64_t{1} << Literals.LookupBits) - 1;
  const uint64_t DistMask = (uint64_t{1} << Distances.LookupBits) - 1;
  const uint8_t* const Start = W.FBuffer.get();

  for (;;) {
    if (In.Ahead() >= 8 && W.FStop - W.FOut > FastOutputMargin) {
      // Fast loop: the input holds a whole word and the output a longest match, so
      // neither is checked per symbol. One refill gives at least 56 bits, enough for
      // three literals, or a length with its extra bits and a distance with its
      // extra bits.
      uint64_t Bits = In.FBits;
      unsigned Count = In.FCount;
      const uint8_t* Next = In.FNext;
      const uint8_t* const NextEnd = In.FEnd - 8;
      uint8_t* Out = W.FOut;
      uint8_t* const OutEnd = W.FStop - FastOutputMargin;
      int Result = -1;
      do {
        uint64_t Word;
        std::memcpy(&Word, Next, 8);
        Bits |= Word << Count;
        Next += (63 - Count) >> 3;
        Count |= 56;

        TDecodeEntry E = LitTable[Bits & LitMask];
        if (E.Operation > 16) {
          if (E.Operation == opInvalid) {
            Result = drInvalidData;
            break;
          }
          Bits >>= E.Bits;
          Count -= E.Bits;
          E = LitTable[E.Value + LowBits(Bits, E.Operation - 16u)];
        }
        if (E.Operation == opLiteral) {
          Bits >>= E.Bits;
          Count -= E.Bits;
          *Out++ = static_cast<uint8_t>(E.Value);
          E = LitTable[Bits & LitMask];
          if (E.Operation == opLiteral) {
            Bits >>= E.Bits;
            Count -= E.Bits;
            *Out++ = static_cast<uint8_t>(E.Value);
            E = LitTable[Bits & LitMask];
            if (E.Operation == opLiteral) {
              Bits >>= E.Bits;
              Count -= E.Bits;
              *Out++ = static_cast<uint8_t>(E.Value);
            }
          }
          continue;
        }
        if (E.Operation == opEndOfBlock) {
          Bits >>= E.Bits;
          Count -= E.Bits;
          Result = drSuccess;
          break;
        }
        if (E.Operation == opInvalid) {
          Result = drInvalidData;
          break;
        }
        size_t Length = E.Value + LowBits(Bits >> E.Bits, E.Operation);
        Bits >>= E.Bits + E.Operation;
        Count -= E.Bits + E.Operation;

        E = DistTable[Bits & DistMask];
        if (E.Operation > 16) {
          if (E.Operation == opInvalid) {
            Result = drInvalidData;
            break;
          }
          Bits >>= E.Bits;
          Count -= E.Bits;
          E = DistTable[E.Value + LowBits(Bits, E.Operation - 16u)];
          if (E.Operation == opInvalid) {
            Result = drInvalidData;
            break;
          }
        }
        size_t Distance = E.Value + LowBits(Bits >> E.Bits, E.Operation);
        Bits >>= E.Bits + E.Operation;
        Count -= E.Bits + E.Operation;
        if (Distance > static_cast<size_t>(Out - Start)) {
          Result = drInvalidData;
          break;
        }
        CopyFast(Out, Distance, Length);
        Out += Length;
      } while (Next <= NextEnd && Out < OutEnd);
      In.FBits = Bits;
      In.FCount = Count;
      In.FNext = Next;
      W.FOut = Out;
      if (Result >= 0) return Result;
      continue;
    }

    // Careful step near the end of the input chunk or of the output room.
    TDecodeEntry E = DecodeSymbol(Literals);
    if (E.Operation == opInvalid || In.PastEnd()) return drInvalidData;
    if (E.Operation == opLiteral) {
      if (!W.PutByte(static_cast<uint8_t>(E.Value))) return drInvalidData;
      continue;
    }
    if (E.Operation == opEndOfBlock) return drSuccess;
    size_t Length = E.Value + In.TakeBits(E.Operation);
    E = DecodeSymbol(Distances);
    if (E.Operation > 13) return drInvalidData;
    size_t Distance = E.Value + In.TakeBits(E.Operation);
    if (In.PastEnd() || !W.CopyMatch(Distance, Length)) return drInvalidData;
  }
}

}  // namespace zip
