#include "platform/base/Crc32.h"

#include <array>

namespace base {
namespace {

// Slicing-by-4 tables, computed once from the polynomial.
using Tables = std::array<std::array<uint32_t, 256>, 4>;

constexpr Tables MakeTables() {
  Tables T{};
  for (uint32_t N = 0; N < 256; ++N) {
    uint32_t C = N;
    for (int K = 0; K < 8; ++K) C = (C & 1) ? 0xEDB88320u ^ (C >> 1) : C >> 1;
    T[0][N] = C;
  }
  for (uint32_t N = 0; N < 256; ++N)
    for (int S = 1; S < 4; ++S) T[S][N] = (T[S - 1][N] >> 8) ^ T[0][T[S - 1][N] & 0xFF];
  return T;
}

constexpr Tables kTables = MakeTables();

}  // namespace

uint32_t Crc32Update(uint32_t Register, const void* Data, size_t Count) {
  const auto* P = static_cast<const uint8_t*>(Data);
  uint32_t C = Register;
  for (; Count >= 4; Count -= 4, P += 4) {
    C ^= static_cast<uint32_t>(P[0]) | static_cast<uint32_t>(P[1]) << 8 |
         static_cast<uint32_t>(P[2]) << 16 | static_cast<uint32_t>(P[3]) << 24;
    C = kTables[3][C & 0xFF] ^ kTables[2][(C >> 8) & 0xFF] ^ kTables[1][(C >> 16) & 0xFF] ^
        kTables[0][C >> 24];
  }
  for (; Count > 0; --Count, ++P) C = kTables[0][(C ^ *P) & 0xFF] ^ (C >> 8);
  return C;
}

}  // namespace base
