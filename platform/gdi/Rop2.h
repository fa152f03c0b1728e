// Binary raster operations of pens and brushes (SetROP2): the mode minus 1 is a truth
// table whose bit (P << 1 | D) is the result for pen bit P and destination bit D.
#pragma once

#include <cstdint>

namespace gdi {

enum BinaryRop : int {
  R2_BLACK = 1,         // 0
  R2_NOTMERGEPEN = 2,   // ~(P | D)
  R2_MASKNOTPEN = 3,    // ~P & D
  R2_NOTCOPYPEN = 4,    // ~P
  R2_MASKPENNOT = 5,    // P & ~D
  R2_NOT = 6,           // ~D
  R2_XORPEN = 7,        // P ^ D
  R2_NOTMASKPEN = 8,    // ~(P & D)
  R2_MASKPEN = 9,       // P & D
  R2_NOTXORPEN = 10,    // ~(P ^ D)
  R2_NOP = 11,          // D
  R2_MERGENOTPEN = 12,  // ~P | D
  R2_COPYPEN = 13,      // P
  R2_MERGEPENNOT = 14,  // P | ~D
  R2_MERGEPEN = 15,     // P | D
  R2_WHITE = 16,        // ~0
};

// Applies the operation bit by bit to whole stored values.
constexpr uint32_t Rop2(int Mode, uint32_t P, uint32_t D) {
  const int Table = Mode - 1;
  uint32_t Result = 0;
  if (Table & 1) Result |= ~P & ~D;
  if (Table & 2) Result |= ~P & D;
  if (Table & 4) Result |= P & ~D;
  if (Table & 8) Result |= P & D;
  return Result;
}

}  // namespace gdi
