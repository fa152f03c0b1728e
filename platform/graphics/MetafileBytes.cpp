#include "platform/graphics/MetafileBytes.h"

#include <cstring>

#include "platform/base/ByteOrder.h"
#include "platform/base/Exceptions.h"

namespace graphics {

namespace {

void AppendUtf8(std::string& Out, uint32_t Code) {
  if (Code < 0x80) {
    Out += static_cast<char>(Code);
  } else if (Code < 0x800) {
    Out += static_cast<char>(0xC0 | Code >> 6);
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  } else if (Code < 0x10000) {
    Out += static_cast<char>(0xE0 | Code >> 12);
    Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | Code >> 18);
    Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Code & 0x3F));
  }
}

}  // namespace

uint64_t TRecordBytes::Field(size_t At, int Size) const {
  const uint8_t* P = Bytes(At, static_cast<size_t>(Size));
  return base::LoadLittleEndian(P, Size);
}

float TRecordBytes::F32(size_t At) const {
  const uint32_t Bits = U32(At);
  float Value;
  std::memcpy(&Value, &Bits, sizeof Value);
  return Value;
}

const uint8_t* TRecordBytes::Bytes(size_t At, size_t Count) const {
  if (At > FSize || Count > FSize - At) Malformed();
  return FData + At;
}

void TRecordBytes::Malformed() const {
  throw base::EInvalidGraphic("Invalid metafile record (type " + std::to_string(FType) + ") at offset " +
                              std::to_string(FOffset));
}

std::string Utf16ToUtf8(const uint8_t* Data, size_t Units) {
  std::string Out;
  for (size_t I = 0; I < Units; ++I) {
    uint32_t Code = Data[2 * I] | uint32_t(Data[2 * I + 1]) << 8;
    if (Code == 0) break;
    if (Code >= 0xD800 && Code < 0xDC00 && I + 1 < Units) {
      const uint32_t Low = Data[2 * I + 2] | uint32_t(Data[2 * I + 3]) << 8;
      if (Low >= 0xDC00 && Low < 0xE000) {
        Code = 0x10000 + ((Code - 0xD800) << 10) + (Low - 0xDC00);
        ++I;
      }
    }
    if (Code >= 0xD800 && Code < 0xE000) Code = 0xFFFD;
    AppendUtf8(Out, Code);
  }
  return Out;
}

std::string Latin1ToUtf8(const uint8_t* Data, size_t Count) {
  std::string Out;
  for (size_t I = 0; I < Count && Data[I] != 0; ++I) AppendUtf8(Out, Data[I]);
  return Out;
}

}  // namespace graphics
