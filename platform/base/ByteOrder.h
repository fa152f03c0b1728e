// Unsigned integers stored least significant byte first, as every file format here keeps them.
#pragma once

#include <cstdint>

namespace base {

// The Size bytes (1 to 8) at P as one little-endian number.
inline uint64_t LoadLittleEndian(const uint8_t* P, int Size) {
  uint64_t Value = 0;
  for (int I = 0; I < Size; ++I) Value |= uint64_t(P[I]) << (8 * I);
  return Value;
}

}  // namespace base
