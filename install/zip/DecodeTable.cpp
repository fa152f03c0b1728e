#include "install/zip/DecodeTable.h"

#include <algorithm>

namespace zip {

namespace {

constexpr unsigned MaxLength = 16;
// More symbols than any code of deflate or explode has.
constexpr unsigned MaxSymbols = 320;

uint32_t Reverse(uint32_t Code, unsigned Length) {
  uint32_t Result = 0;
  for (unsigned I = 0; I < Length; ++I, Code >>= 1) Result = (Result << 1) | (Code & 1);
  return Result;
}

}  // namespace

int BuildDecodeTable(const uint8_t* Lengths, unsigned Count, unsigned SimpleCount,
                     const uint16_t* Bases, const uint8_t* Extra, TDecodeTable& Table,
                     unsigned& LookupBits) {
  if (Count > MaxSymbols) return drInvalidData;
  unsigned Counts[MaxLength + 1] = {};
  for (unsigned S = 0; S < Count; ++S) ++Counts[Lengths[S]];
  Counts[0] = 0;
  unsigned Shortest = 0, Longest = 0;
  for (unsigned L = 1; L <= MaxLength; ++L)
    if (Counts[L] != 0) {
      if (Shortest == 0) Shortest = L;
      Longest = L;
    }
  if (Longest == 0) {
    LookupBits = 0;
    Table.LookupBits = 0;
    Table.Entries.assign(1, TDecodeEntry{opInvalid, 0, 0});
    return drSuccess;
  }
  LookupBits = std::clamp(LookupBits, Shortest, Longest);

  int Left = 1;
  for (unsigned L = 1; L <= MaxLength; ++L) {
    Left = Left * 2 - static_cast<int>(Counts[L]);
    if (Left < 0) return drUnsupported;
  }

  // Symbols in canonical order: by length, then by symbol.
  unsigned Offsets[MaxLength + 2] = {};
  for (unsigned L = 1; L <= MaxLength; ++L) Offsets[L + 1] = Offsets[L] + Counts[L];
  uint16_t Sorted[MaxSymbols];
  for (unsigned S = 0; S < Count; ++S)
    if (Lengths[S] != 0) Sorted[Offsets[Lengths[S]]++] = static_cast<uint16_t>(S);

  const unsigned Root = LookupBits;
  const uint32_t RootSize = uint32_t{1} << Root;
  Table.LookupBits = Root;
  Table.Entries.assign(RootSize, TDecodeEntry{opInvalid, static_cast<uint8_t>(Root), 0});

  auto EntryFor = [&](unsigned Symbol, unsigned Bits) {
    if (Symbol < SimpleCount)
      return TDecodeEntry{Symbol < 256 ? opLiteral : opEndOfBlock, static_cast<uint8_t>(Bits),
                          static_cast<uint16_t>(Symbol)};
    return TDecodeEntry{Extra[Symbol - SimpleCount], static_cast<uint8_t>(Bits),
                        Bases[Symbol - SimpleCount]};
  };

  unsigned Remaining[MaxLength + 1];
  std::copy(std::begin(Counts), std::end(Counts), std::begin(Remaining));
  uint32_t Code = 0;  // canonical code, most significant bit first
  uint32_t SubPrefix = RootSize;  // first-level index of the open sub-table (none yet)
  uint32_t SubStart = 0;
  unsigned SubBits = 0;
  size_t Next = 0;
  for (unsigned L = 1; L <= MaxLength; ++L) {
    for (unsigned K = 0; K < Counts[L]; ++K, ++Code) {
      unsigned Symbol = Sorted[Next++];
      uint32_t Reversed = Reverse(Code, L);
      --Remaining[L];
      if (L <= Root) {
        TDecodeEntry E = EntryFor(Symbol, L);
        for (uint32_t I = Reversed; I < RootSize; I += uint32_t{1} << L) Table.Entries[I] = E;
        continue;
      }
      uint32_t Prefix = Reversed & (RootSize - 1);
      if (Prefix != SubPrefix) {
        // A new sub-table, as wide as the codes that share this prefix need.
        SubBits = L - Root;
        int Room = 1 << SubBits;
        unsigned Length = L;
        Room -= static_cast<int>(Remaining[Length] + 1);
        while (Room > 0 && Length < Longest) {
          ++Length;
          ++SubBits;
          Room = Room * 2 - static_cast<int>(Remaining[Length]);
        }
        SubPrefix = Prefix;
        SubStart = static_cast<uint32_t>(Table.Entries.size());
        Table.Entries.resize(SubStart + (size_t{1} << SubBits),
                             TDecodeEntry{opInvalid, static_cast<uint8_t>(SubBits), 0});
        Table.Entries[Prefix] = TDecodeEntry{static_cast<uint8_t>(16 + SubBits),
                                             static_cast<uint8_t>(Root),
                                             static_cast<uint16_t>(SubStart)};
      }
      TDecodeEntry E = EntryFor(Symbol, L - Root);
      for (uint32_t I = Reversed >> Root; I < (uint32_t{1} << SubBits); I += uint32_t{1} << (L - Root))
        Table.Entries[SubStart + I] = E;
    }
    Code <<= 1;
  }
  return (Left > 0 && Longest > 1) ? drInvalidData : drSuccess;
}

}  // namespace zip
