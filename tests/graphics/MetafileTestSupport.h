// Enhanced and placeable metafiles built record by record for the metafile tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "tests/graphics/PictureTestSupport.h"

namespace picturetest {

// 32-bit little-endian fields.
inline Bytes Ints(std::initializer_list<int64_t> Values) {
  Bytes B;
  for (const int64_t V : Values) Put(B, static_cast<uint64_t>(V), 4);
  return B;
}
// 16-bit little-endian words.
inline Bytes Words(std::initializer_list<int64_t> Values) {
  Bytes B;
  for (const int64_t V : Values) Put(B, static_cast<uint64_t>(V), 2);
  return B;
}
inline Bytes Cat(std::initializer_list<Bytes> Parts) {
  Bytes B;
  for (const Bytes& P : Parts) B.insert(B.end(), P.begin(), P.end());
  return B;
}
inline Bytes Utf16(const std::u16string& Text) {
  Bytes B;
  for (const char16_t C : Text) Put(B, C, 2);
  return B;
}

// A W x H 24-bit DIB (header and bottom-up rows) whose pixel (X, Y), Y from the top,
// has the colour Color(X, Y) as 0x00BBGGRR.
template <class F>
Bytes DIB24(int W, int H, F Color) {
  Bytes B = Ints({40, W, H});
  Put(B, 1, 2);
  Put(B, 24, 2);
  B.resize(40);
  const size_t Row = (W * 3 + 3) / 4 * 4;
  for (int Y = H - 1; Y >= 0; --Y) {
    for (int X = 0; X < W; ++X) {
      const uint32_t C = Color(X, Y);
      B.insert(B.end(), {uint8_t(C >> 16), uint8_t(C >> 8), uint8_t(C)});
    }
    B.resize(B.size() + Row - W * 3);
  }
  return B;
}

// The reference device of the built files: 960 pixels on 254 mm each way, 96 dpi.
class TEMFBuilder {
 public:
  explicit TEMFBuilder(base::TRect Frame = {0, 0, 2646, 1323}) : FFrame(Frame) {}

  TEMFBuilder& Add(uint32_t Type, Bytes Body) {
    while (Body.size() % 4 != 0) Body.push_back(0);
    Put(FRecords, Type, 4);
    Put(FRecords, Body.size() + 8, 4);
    FRecords.insert(FRecords.end(), Body.begin(), Body.end());
    ++FCount;
    return *this;
  }
  // Raw bytes after the records (for malformed files).
  TEMFBuilder& Raw(const Bytes& Data) {
    FRecords.insert(FRecords.end(), Data.begin(), Data.end());
    return *this;
  }

  Bytes Finish(bool EndRecord = true) const {
    Bytes B = Ints({1, 88, 0, 0, 100, 50, FFrame.Left, FFrame.Top, FFrame.Right, FFrame.Bottom, 0x464D4520, 0x10000,
                    0, FCount + 2});
    Put(B, 8, 2);  // handles
    Put(B, 0, 2);
    B = Cat({B, Ints({0, 0, 0, 960, 960, 254, 254})});
    B.insert(B.end(), FRecords.begin(), FRecords.end());
    if (EndRecord) B = Cat({B, Ints({14, 20, 0, 16, 20})});
    PutAt(B, 48, B.size(), 4);
    return B;
  }

 private:
  base::TRect FFrame;
  Bytes FRecords;
  int64_t FCount = 0;
};

// A placeable metafile whose bounding box is Box at Inch units per inch.
class TWMFBuilder {
 public:
  explicit TWMFBuilder(base::TRect Box = {0, 0, 100, 50}, uint16_t Inch = 96) : FBox(Box), FInch(Inch) {}

  TWMFBuilder& Add(uint16_t Function, const Bytes& Params) {
    Put(FRecords, 3 + Params.size() / 2, 4);
    Put(FRecords, Function, 2);
    FRecords.insert(FRecords.end(), Params.begin(), Params.end());
    return *this;
  }
  TWMFBuilder& Raw(const Bytes& Data) {
    FRecords.insert(FRecords.end(), Data.begin(), Data.end());
    return *this;
  }

  Bytes Finish(bool EndRecord = true) const {
    Bytes B = Ints({static_cast<int64_t>(0x9AC6CDD7)});
    B = Cat({B, Words({0, FBox.Left, FBox.Top, FBox.Right, FBox.Bottom, FInch, 0, 0})});
    uint16_t Sum = 0;
    for (int I = 0; I < 10; ++I) Sum ^= static_cast<uint16_t>(B[2 * I] | B[2 * I + 1] << 8);
    Put(B, Sum, 2);
    B = Cat({B, Words({1, 9, 0x300}), Ints({0}), Words({8}), Ints({0}), Words({0})});
    B.insert(B.end(), FRecords.begin(), FRecords.end());
    if (EndRecord) B = Cat({B, Ints({3}), Words({0})});
    return B;
  }

 private:
  base::TRect FBox;
  uint16_t FInch;
  Bytes FRecords;
};

}  // namespace picturetest
