#include "FastBitmapTestSupport.h"
#include "editor/bitmaps/FastFX.h"

using namespace editor;
using namespace fasttest;

namespace {

using TRows = std::vector<std::vector<uint8_t>>;

TRows Numbered(int W, int H) {
  TRows Rows(H, std::vector<uint8_t>(W));
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Rows[Y][X] = static_cast<uint8_t>(10 * Y + X + 1);
  return Rows;
}

}  // namespace

TEST(TransformTest, RotateBy90TakesColumnYAndRowFourMinusX) {
  TFast256 Src, Dst;
  Fill(Src, Numbered(4, 4));
  Fill(Dst, TRows(4, std::vector<uint8_t>(4, 99)));
  Rotate(Src, Dst, 2, 2, 90);
  const TRows Source = Numbered(4, 4);
  for (int Y = 0; Y < 4; ++Y) {
    EXPECT_EQ(Dst.Row(Y)[0], 99) << "row 4 lies outside the source";
    for (int X = 1; X < 4; ++X) EXPECT_EQ(Dst.Row(Y)[X], Source[4 - X][Y]) << X << "," << Y;
  }
}

TEST(TransformTest, RotateWrapTilesTheSourceAroundItsCentre) {
  TFast256 Src, Dst;
  Fill(Src, Numbered(4, 1));
  Dst.SetSize(8, 1);
  RotateWrap(Src, Dst, 2, 0, 0);
  // e = 2: positions -2 and -1 wrap to columns 1 and 2.
  EXPECT_EQ(Indexes(Dst)[0], (std::vector<uint8_t>{2, 3, 1, 2, 3, 4, 1, 2}));
}

TEST(TransformTest, Rotate24BitMovesWholePixels) {
  TFastBMP Src, Dst;
  Src.SetSize(3, 3);
  SetPixel(Src, 0, 0, {1, 2, 3});
  SetPixel(Src, 2, 1, {4, 5, 6});
  Dst.SetSize(3, 3);
  // 180 degrees about (1, 1): destination (x, y) takes source (2 - x, 2 - y).
  Rotate(Src, Dst, 1, 1, 180);
  EXPECT_EQ(GetPixel(Dst, 2, 2), (TRGB{1, 2, 3}));
  EXPECT_EQ(GetPixel(Dst, 0, 1), (TRGB{4, 5, 6}));
}

TEST(TransformTest, PositionsPast32768PixelsDoNotOverflow) {
  // At 0 degrees each column maps to itself; 16.16 positions pass 2^31 at column 32768.
  constexpr int Wide = 40000;
  TFast256 Src, Dst;
  Src.SetSize(Wide, 1);
  Dst.SetSize(Wide, 1);
  for (int X = 0; X < Wide; ++X) Src.Row(0)[X] = static_cast<uint8_t>(X % 251);
  Rotate(Src, Dst, Wide / 2, 0, 0);
  for (int X : {0, 32767, 32768, 39999}) EXPECT_EQ(Dst.Row(0)[X], X % 251) << X;
  RotateWrap(Src, Dst, Wide / 2, 0, 0);
  EXPECT_EQ(Dst.Row(0)[39999], 39999 % 251);
}

TEST(TransformTest, ResizeDoublesAndHalvesByNearestNeighbour) {
  TFast256 Small, Large, Back;
  Fill(Small, {{1, 2}, {3, 4}});
  Large.SetSize(4, 4);
  Small.Resize(Large);
  EXPECT_EQ(Indexes(Large), (TRows{{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}}));
  Fill(Large, Numbered(4, 4));
  Back.SetSize(2, 2);
  Large.Resize(Back);
  EXPECT_EQ(Indexes(Back), (TRows{{1, 3}, {21, 23}}));
}

TEST(TransformTest, SmoothResizeWeighsNeighboursIn15Bits) {
  TFastBMP Src, Dst;
  Src.SetSize(2, 1);
  SetPixel(Src, 0, 0, {0, 0, 0});
  SetPixel(Src, 1, 0, {255, 255, 255});
  Dst.SetSize(4, 1);
  Src.SmoothResize(Dst);
  for (int X = 0; X < 4; ++X) EXPECT_EQ(GetPixel(Dst, X, 0)[1], (std::array{0, 63, 127, 191})[X]) << X;

  // A one-pixel-wide source resizes by nearest neighbour.
  TFast256 Column, Smooth, Plain;
  Fill(Column, {{5}, {9}});
  Smooth.SetSize(3, 4);
  Plain.SetSize(3, 4);
  Column.SmoothResize(Smooth);
  Column.Resize(Plain);
  EXPECT_EQ(Indexes(Smooth), Indexes(Plain));
}
