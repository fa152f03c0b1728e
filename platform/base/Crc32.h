// CRC-32 of the zip format: reflected polynomial 0xEDB88320, start 0xFFFFFFFF, final
// complement. Crc32Update works on the running (uncomplemented) register so long
// inputs can be fed in pieces.
#pragma once

#include <cstddef>
#include <cstdint>

namespace base {

constexpr uint32_t Crc32Start = 0xFFFFFFFFu;

uint32_t Crc32Update(uint32_t Register, const void* Data, size_t Count);
inline uint32_t Crc32Final(uint32_t Register) { return ~Register; }
inline uint32_t Crc32(const void* Data, size_t Count) {
  return Crc32Final(Crc32Update(Crc32Start, Data, Count));
}

}  // namespace base
