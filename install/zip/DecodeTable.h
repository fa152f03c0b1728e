// Table decoding of prefix codes read least significant bit first (the codes of
// deflate and of explode). A first-level table indexed by the next LookupBits bits
// gives a symbol or a link to a second-level table for the longer codes.
#pragma once

#include <cstdint>
#include <vector>

namespace zip {

struct TDecodeEntry {
  // 16 literal, 15 end of block, 0..13 a base taking that many extra bits,
  // 16 + n (n >= 1) a link to a sub-table indexed by n more bits, 99 invalid code.
  uint8_t Operation;
  // Code bits this entry consumes (after the first level, for a sub-table entry).
  uint8_t Bits;
  // The symbol or the base; for a link, the sub-table's first entry.
  uint16_t Value;
};

constexpr uint8_t opLiteral = 16;
constexpr uint8_t opEndOfBlock = 15;
constexpr uint8_t opInvalid = 99;

struct TDecodeTable {
  std::vector<TDecodeEntry> Entries;
  unsigned LookupBits = 0;
};

// Results of building and decoding.
constexpr int drSuccess = 0;
constexpr int drInvalidData = 1;
constexpr int drUnsupported = 2;

// Builds Table from Count (at most 320) code lengths (0 = symbol unused, at most 16). Symbols below
// SimpleCount decode to themselves (256 as end of block); symbol S above takes
// Bases[S - SimpleCount] and Extra[S - SimpleCount] as value and operation. LookupBits
// is raised to the shortest code and lowered to the longest. Returns drSuccess,
// drInvalidData for an incomplete set (the table is still usable; one code of one
// bit counts as complete) or drUnsupported for an over-subscribed set. A set without
// codes gives a table whose every entry is invalid.
int BuildDecodeTable(const uint8_t* Lengths, unsigned Count, unsigned SimpleCount,
                     const uint16_t* Bases, const uint8_t* Extra, TDecodeTable& Table,
                     unsigned& LookupBits);

}  // namespace zip
