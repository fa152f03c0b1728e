// Icon files built byte by byte for the icon tests.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/graphics/PictureTestSupport.h"

namespace picturetest {

// One image stored as a DIB: header (height doubled), table, colour rows, mask rows.
struct TIconDIB {
  TIconDIB(int32_t Width, int32_t Height, uint16_t BitCount) : W(Width), H(Height), Bits(BitCount) {}
  int32_t W;
  int32_t H;
  uint16_t Bits;
  Bytes Table;
  Bytes Color;
  Bytes Mask;
  uint32_t HeaderSize = 40;
  uint32_t Compression = 0;
};

inline Bytes DIBEntry(const TIconDIB& D) {
  Bytes B;
  Put(B, D.HeaderSize, 4);
  Put(B, static_cast<uint32_t>(D.W), 4);
  Put(B, static_cast<uint32_t>(2 * D.H), 4);
  Put(B, 1, 2);
  Put(B, D.Bits, 2);
  Put(B, D.Compression, 4);
  B.resize(40);
  B.insert(B.end(), D.Table.begin(), D.Table.end());
  B.insert(B.end(), D.Color.begin(), D.Color.end());
  B.insert(B.end(), D.Mask.begin(), D.Mask.end());
  return B;
}

// An icon file of the given image data (DIB entries or PNG files), directory first.
inline Bytes IconFile(const std::vector<Bytes>& Images, uint16_t Type = 1) {
  Bytes B;
  Put(B, 0, 2);
  Put(B, Type, 2);
  Put(B, Images.size(), 2);
  size_t Offset = 6 + 16 * Images.size();
  for (const Bytes& Image : Images) {
    Put(B, 0, 4);  // width, height, colours, reserved: readers go by the image's own header
    Put(B, 1, 2);
    Put(B, 32, 2);
    Put(B, Image.size(), 4);
    Put(B, Offset, 4);
    Offset += Image.size();
  }
  for (const Bytes& Image : Images) B.insert(B.end(), Image.begin(), Image.end());
  return B;
}

// A 1-bit W x H image whose pixel (X, Y) (Y from the top) is white when X + Y is odd,
// with a mask that makes the top row transparent.
inline TIconDIB Checker1(int32_t W, int32_t H) {
  TIconDIB D(W, H, 1);
  D.Table = {0, 0, 0, 0, 255, 255, 255, 0};
  const size_t Row = (W + 31) / 32 * 4;
  D.Color.assign(Row * H, 0);
  D.Mask.assign(Row * H, 0);
  for (int32_t Y = 0; Y < H; ++Y)
    for (int32_t X = 0; X < W; ++X) {
      const size_t At = (H - 1 - Y) * Row + X / 8;
      if ((X + Y) % 2 == 1) D.Color[At] |= uint8_t(0x80 >> (X % 8));
      if (Y == 0) D.Mask[At] |= uint8_t(0x80 >> (X % 8));
    }
  return D;
}

// A 32-bit W x H image of one colour with alpha Left in its left half and Right in its
// right half; its AND mask marks the bottom row.
inline TIconDIB Alpha32(int32_t W, int32_t H, uint8_t Left, uint8_t Right) {
  TIconDIB D(W, H, 32);
  for (int32_t Y = 0; Y < H; ++Y)
    for (int32_t X = 0; X < W; ++X) {
      D.Color.insert(D.Color.end(), {200, 100, 50, X >= W / 2 ? Right : Left});
    }
  const size_t Row = (W + 31) / 32 * 4;
  D.Mask.assign(Row * H, 0);
  for (int32_t X = 0; X < W; ++X) D.Mask[X / 8] |= uint8_t(0x80 >> (X % 8));
  return D;
}

// Whether mask pixel (X, Y) (Y from the top) of a 1-bit image is set.
inline bool MaskBit(const graphics::TDIBImage& Mask, int X, int Y) {
  return (Mask.Bits[(Mask.Height - 1 - Y) * Mask.RowBytes() + X / 8] >> (7 - X % 8)) & 1;
}

}  // namespace picturetest
