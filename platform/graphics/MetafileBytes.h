// Checked little-endian access to one metafile record, and the text encodings of
// the two metafile formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdint>
#include <string>

namespace graphics {

class TRecordBytes {
 public:
  // Type and Offset only name the record in error texts.
  TRecordBytes(const uint8_t* Data, size_t Size, uint32_t Type, size_t Offset)
      : FData(Data), FSize(Size), FType(Type), FOffset(Offset) {}

  size_t Size() const { return FSize; }
  uint16_t U16(size_t At) const { return static_cast<uint16_t>(Field(At, 2)); }
  int16_t I16(size_t At) const { return static_cast<int16_t>(Field(At, 2)); }
  uint32_t U32(size_t At) const { return static_cast<uint32_t>(Field(At, 4)); }
  int32_t I32(size_t At) const { return static_cast<int32_t>(Field(At, 4)); }
  float F32(size_t At) const;
  // Count bytes from At, all inside the record.
  const uint8_t* Bytes(size_t At, size_t Count) const;
  // Raises EInvalidGraphic naming the record.
  [[noreturn]] void Malformed() const;

 private:
  uint64_t Field(size_t At, int Size) const;
  const uint8_t* FData;
  size_t FSize;
  uint32_t FType;
  size_t FOffset;
};

// Value pinned to the range of int32_t.
inline int32_t Saturate(int64_t Value) {
  return static_cast<int32_t>(Value < INT32_MIN ? INT32_MIN : Value > INT32_MAX ? INT32_MAX : Value);
}

// UTF-16LE code units (unpaired surrogates become U+FFFD) and single-byte text taken
// as Latin-1, both as UTF-8; a zero ends either.
std::string Utf16ToUtf8(const uint8_t* Data, size_t Units);
std::string Latin1ToUtf8(const uint8_t* Data, size_t Count);

}  // namespace graphics
