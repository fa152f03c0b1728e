// LSB-first bit packing for the test encoders of the older zip methods.
#pragma once

#include <cstdint>
#include <vector>

namespace ziptest {

class TBitWriter {
 public:
  void Put(uint32_t Value, int Count) {
    for (int I = 0; I < Count; ++I) {
      if (Used == 0) Bytes.push_back(0);
      Bytes.back() |= uint8_t(((Value >> I) & 1) << Used);
      Used = (Used + 1) & 7;
    }
  }
  // Puts the Count bits of Code highest first, as prefix codes are read.
  void PutReversed(uint32_t Code, int Count) {
    for (int I = Count - 1; I >= 0; --I) Put((Code >> I) & 1, 1);
  }
  const std::vector<uint8_t>& Data() const { return Bytes; }

 private:
  std::vector<uint8_t> Bytes;
  int Used = 0;
};

}  // namespace ziptest
