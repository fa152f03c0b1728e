#include "install/zip/ZipEncryptor.h"

#include "platform/base/Crc32.h"

namespace zip {

namespace {

// One byte of the reflected CRC-32 register step, without start value or complement.
uint32_t CrcStep(uint32_t Register, uint8_t Byte) { return base::Crc32Update(Register, &Byte, 1); }

}  // namespace

void TZipEncryptor::InitKeys(const std::string& Password) {
  Keys[0] = 0x12345678u;
  Keys[1] = 0x23456789u;
  Keys[2] = 0x34567890u;
  for (char C : Password) UpdateKeys(static_cast<uint8_t>(C));
}

void TZipEncryptor::UpdateKeys(uint8_t Value) {
  Keys[0] = CrcStep(Keys[0], Value);
  Keys[1] = (Keys[1] + (Keys[0] & 0xFF)) * 134775813u + 1;
  Keys[2] = CrcStep(Keys[2], static_cast<uint8_t>(Keys[1] >> 24));
}

}  // namespace zip
