// The traditional password encryption of the zip format: three 32-bit keys that run
// over the plain bytes with the CRC-32 table and the multiplier 134775813. An
// encrypted entry starts with a 12-byte header whose last plain byte checks the password.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zip {

constexpr int EncryptionHeaderSize = 12;

class TZipKeys {
 public:
  void Init(const std::string& Password);
  void Update(uint8_t Plain);
  // The byte the keys now mix into the data.
  uint8_t StreamByte() const;
  uint8_t Decrypt(uint8_t Cipher);
  void Decrypt(uint8_t* Data, size_t Count);

 private:
  uint32_t Key0 = 0;
  uint32_t Key1 = 0;
  uint32_t Key2 = 0;
};

}  // namespace zip
