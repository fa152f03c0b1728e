#include "gif/LZWEncoder.h"

namespace gif {

void TLZWEncoder::Clear() {
  TGIFEncoder::Clear();
  Table->Clear();
  NextCode = ClearCode + 2;
}

void TLZWEncoder::Compress() {
  Table = std::make_unique<THashTable>();
  try {
    CompressPixels();
  } catch (...) {
    Table.reset();
    throw;
  }
  Table.reset();
}

void TLZWEncoder::CompressPixels() {
  THashTable& Strings = *Table;
  Clear();
  const uint8_t* Pixel = Cursor;
  const uint8_t* RowEnd = Cursor + RowLeft;
  CheckPixel(*Pixel);
  uint32_t Prefix = *Pixel++;  // code of the string being extended
  for (;;) {
    for (; Pixel < RowEnd; ++Pixel) {
      const uint8_t Index = *Pixel;
      CheckPixel(Index);
      const uint32_t Key = (Prefix << 8) | Index;
      const int32_t Code = Strings.Find(Key);
      if (Code >= 0) {
        Prefix = static_cast<uint32_t>(Code);
        continue;
      }
      Output(static_cast<int32_t>(Prefix));
      Prefix = Index;
      if (NextCode >= 4095) {
        Clear();
      } else {
        Strings.Add(Key, NextCode);
        ++NextCode;
      }
    }
    if (!NextRow()) break;
    Pixel = Cursor;
    RowEnd = Cursor + RowLeft;
  }
  Output(static_cast<int32_t>(Prefix));
}

}  // namespace gif
