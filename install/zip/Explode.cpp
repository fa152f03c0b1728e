#include "install/zip/Explode.h"

#include <array>

#include "install/zip/DecodeTable.h"
#include "install/zip/ZeroFillMatch.h"

namespace zip {

namespace {

constexpr uint16_t flLargeWindow = 2;
constexpr uint16_t flLiteralTree = 4;
constexpr unsigned LongestCode = 16;

struct TExplodeConstants {
  // Length bases from 2 (without a literal tree) and from 3 (with one).
  std::array<uint16_t, 64> ShortLengths, LongLengths;
  // Distance bases of the 4 KB and 8 KB dictionaries.
  std::array<uint16_t, 64> SmallDistances, LargeDistances;
  std::array<uint8_t, 64> LengthExtra{}, DistanceExtra{};

  TExplodeConstants() {
    for (unsigned I = 0; I < 64; ++I) {
      ShortLengths[I] = static_cast<uint16_t>(2 + I);
      LongLengths[I] = static_cast<uint16_t>(3 + I);
      SmallDistances[I] = static_cast<uint16_t>(1 + 64 * I);
      LargeDistances[I] = static_cast<uint16_t>(1 + 128 * I);
    }
    LengthExtra[63] = 8;
  }
};

const TExplodeConstants& Constants() {
  static const TExplodeConstants Instance;
  return Instance;
}

int ReadCodeLengthList(TBitInput& Input, uint8_t* Lengths, unsigned Expected) {
  uint8_t Pairs = 0;
  if (!Input.NextCompressedByte(Pairs)) return drInvalidData;
  unsigned Count = 0;
  for (unsigned I = 0; I <= Pairs; ++I) {
    uint8_t Pair = 0;
    if (!Input.NextCompressedByte(Pair)) return drInvalidData;
    const unsigned Run = (Pair >> 4) + 1u;
    if (Count + Run > Expected) return drInvalidData;
    for (unsigned J = 0; J < Run; ++J) Lengths[Count++] = static_cast<uint8_t>((Pair & 0x0F) + 1);
  }
  return Count == Expected ? drSuccess : drInvalidData;
}

int ReadTree(TBitInput& Input, unsigned Count, unsigned SimpleCount, const uint16_t* Bases, const uint8_t* Extra,
             TDecodeTable& Table, unsigned LookupBits) {
  std::array<uint8_t, 256> Lengths{};
  const int Result = ReadCodeLengthList(Input, Lengths.data(), Count);
  if (Result != drSuccess) return Result;
  return BuildDecodeTable(Lengths.data(), Count, SimpleCount, Bases, Extra, Table, LookupBits);
}

// Decodes one code from the complement of the next bits; false for an invalid code or
// one that runs past the end of the input.
bool DecodeCode(TBitInput& Input, const TDecodeTable& Table, TDecodeEntry& Entry) {
  Input.NeedBits(LongestCode + Table.LookupBits);
  Entry = Table.Entries[~Input.PeekBits(Table.LookupBits) & ((1u << Table.LookupBits) - 1)];
  if (Entry.Operation > opLiteral && Entry.Operation != opInvalid) {
    Input.DropBits(Entry.Bits);
    const unsigned SubBits = Entry.Operation - 16u;
    Entry = Table.Entries[Entry.Value + (~Input.PeekBits(SubBits) & ((1u << SubBits) - 1))];
  }
  if (Entry.Operation == opInvalid) return false;
  Input.DropBits(Entry.Bits);
  return !Input.PastEnd();
}

}  // namespace

int ExplodeEntry(TBitInput& Input, TOutputWindow& Output, uint16_t Flags, uint64_t CompressedSize, uint64_t Size) {
  const TExplodeConstants& C = Constants();
  const bool LiteralTree = Flags & flLiteralTree;
  const bool LargeWindow = Flags & flLargeWindow;
  const unsigned LowBits = LargeWindow ? 7 : 6;

  TDecodeTable Literals, Lengths, Distances;
  int Result = drSuccess;
  if (LiteralTree) Result = ReadTree(Input, 256, 256, nullptr, nullptr, Literals, 9);
  if (Result == drSuccess) {
    Result = ReadTree(Input, 64, 0, LiteralTree ? C.LongLengths.data() : C.ShortLengths.data(), C.LengthExtra.data(),
                      Lengths, 7);
  }
  if (Result == drSuccess) {
    Result = ReadTree(Input, 64, 0, LargeWindow ? C.LargeDistances.data() : C.SmallDistances.data(),
                      C.DistanceExtra.data(), Distances, CompressedSize > 200000 ? 8 : 7);
  }
  if (Result != drSuccess) return Result;

  while (Output.Total() < Size) {
    TDecodeEntry Entry;
    if (Input.TakeBits(1) == 1) {
      uint32_t Literal = 0;
      if (LiteralTree) {
        if (!DecodeCode(Input, Literals, Entry)) return drInvalidData;
        Literal = Entry.Value;
      } else {
        Literal = Input.TakeBits(8);
      }
      if (Input.PastEnd() || !Output.PutByte(static_cast<uint8_t>(Literal))) return drInvalidData;
      continue;
    }
    const uint32_t Low = Input.TakeBits(LowBits);
    if (!DecodeCode(Input, Distances, Entry)) return drInvalidData;
    const uint32_t Distance = Entry.Value + Low;
    if (!DecodeCode(Input, Lengths, Entry)) return drInvalidData;
    uint32_t Length = Entry.Value;
    if (Entry.Operation > 0) Length += Input.TakeBits(Entry.Operation);
    if (Input.PastEnd() || !CopyZeroFilledMatch(Output, Distance, Length)) return drInvalidData;
  }
  Output.Flush();
  return drSuccess;
}

}  // namespace zip
