#include "install/zip/ZipCrypt.h"

#include "platform/base/Crc32.h"

namespace zip {

namespace {
uint32_t CrcStep(uint32_t Key, uint8_t Byte) { return base::Crc32Update(Key, &Byte, 1); }
}  // namespace

void TZipKeys::Init(const std::string& Password) {
  Key0 = 0x12345678;
  Key1 = 0x23456789;
  Key2 = 0x34567890;
  for (const char C : Password) Update(static_cast<uint8_t>(C));
}

void TZipKeys::Update(uint8_t Plain) {
  Key0 = CrcStep(Key0, Plain);
  Key1 = (Key1 + (Key0 & 0xFF)) * 134775813u + 1;
  Key2 = CrcStep(Key2, uint8_t(Key1 >> 24));
}

uint8_t TZipKeys::StreamByte() const {
  const uint32_t T = (Key2 | 2) & 0xFFFF;
  return uint8_t((T * (T ^ 1)) >> 8);
}

uint8_t TZipKeys::Decrypt(uint8_t Cipher) {
  const uint8_t Plain = Cipher ^ StreamByte();
  Update(Plain);
  return Plain;
}

void TZipKeys::Decrypt(uint8_t* Data, size_t Count) {
  for (size_t I = 0; I < Count; ++I) Data[I] = Decrypt(Data[I]);
}

}  // namespace zip
