// Traditional zip encryption, the writing side: three 32-bit keys start from fixed
// values and take in the password; each plain byte is XORed with a byte derived from
// key 2 and then updates the keys (key 0 by the zip CRC-32 step, key 1 by a linear
// congruence, key 2 by the CRC step of key 1's top byte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zip {

class TZipEncryptor {
 public:
  void InitKeys(const std::string& Password);
  uint8_t EncryptByte(uint8_t Value) {
    const uint8_t Cipher = Value ^ KeyStreamByte();
    UpdateKeys(Value);
    return Cipher;
  }
  void Encrypt(const uint8_t* Plain, uint8_t* Cipher, size_t Count) {
    for (size_t I = 0; I < Count; ++I) Cipher[I] = EncryptByte(Plain[I]);
  }

 private:
  uint8_t KeyStreamByte() const {
    const uint32_t Temp = (Keys[2] & 0xFFFF) | 2;
    return static_cast<uint8_t>((Temp * (Temp ^ 1)) >> 8);
  }
  void UpdateKeys(uint8_t Value);
  uint32_t Keys[3] = {};
};

}  // namespace zip
