#include "FastBitmapTestSupport.h"
#include "editor/bitmaps/Fast256Convert.h"

using namespace editor;
using namespace fasttest;

namespace {

// 512 colours, each in a cell of its own.
void FillSpread(TFastBMP& Image) {
  Image.SetSize(32, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 32; ++X) SetPixel(Image, X, Y, {uint8_t(X * 8), uint8_t(Y * 16), uint8_t((X + Y) % 2 * 128)});
}

}  // namespace

TEST(ConvertTo256Test, FewColoursMapExactlyInOrderOfAppearance) {
  TFastBMP Src;
  Src.SetSize(3, 1);
  SetPixel(Src, 0, 0, {5, 6, 7});
  SetPixel(Src, 1, 0, {200, 0, 1});
  SetPixel(Src, 2, 0, {5, 6, 7});
  TFast256 Dst;
  Dst.Colors()[2] = {1, 1, 1, 0};
  for (TConversionMode Mode : {cmCut, cmDither}) {
    ConvertTo256(Dst, Src, Mode);
    EXPECT_EQ(Indexes(Dst)[0], (std::vector<uint8_t>{0, 1, 0}));
    EXPECT_EQ(Dst.Colors()[0], (gdi::RGBQUAD{7, 6, 5, 0}));
    EXPECT_EQ(Dst.Colors()[1], (gdi::RGBQUAD{1, 0, 200, 0}));
    EXPECT_EQ(Dst.Colors()[2], (gdi::RGBQUAD{1, 1, 1, 0})) << "entries beyond stay";
  }
}

TEST(ConvertTo256Test, GrayTakesTheMeanOfTheChannels) {
  TFastBMP Src;
  Src.SetSize(2, 1);
  SetPixel(Src, 0, 0, {10, 20, 30});
  SetPixel(Src, 1, 0, {255, 255, 254});
  TFast256 Dst;
  ConvertTo256(Dst, Src, cmGray);
  EXPECT_EQ(Indexes(Dst)[0], (std::vector<uint8_t>{20, 254}));
  EXPECT_EQ(Dst.Colors()[77], (gdi::RGBQUAD{77, 77, 77, 0}));
}

TEST(ConvertTo256Test, ColoursAreCountedExactly) {
  TFastBMP Src;
  Src.SetSize(257, 1);
  for (int X = 0; X < 257; ++X) SetPixel(Src, X, 0, {uint8_t(X % 256), uint8_t(X / 256), 0});
  EXPECT_FALSE(HasAtMost256Colors(Src));
  Src.SetSize(256, 1);
  EXPECT_TRUE(HasAtMost256Colors(Src));
  // Many colours of one cell fill every bit of the cell's flags yet stay few.
  TFastBMP Cell;
  Cell.SetSize(8, 1);
  for (int X = 0; X < 8; ++X) SetPixel(Cell, X, 0, {uint8_t(X), uint8_t(X), uint8_t(X)});
  EXPECT_TRUE(HasAtMost256Colors(Cell));
}

TEST(ConvertTo256Test, MedianCutStopsWhenNoSideIsLongerThanOne) {
  std::vector<uint8_t> Occupied(ColorCells);
  Occupied[CellOf(8, 8, 8)] = Occupied[CellOf(16, 16, 16)] = 1;
  const auto Boxes = MedianCutBoxes(Occupied);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], (TColorBox{{1, 1, 1}, {2, 2, 2}}));

  // A longer side is halved, the first longest axis first; both halves are shrunk.
  Occupied[CellOf(8 * 9, 16, 16)] = 1;
  const auto Split = MedianCutBoxes(Occupied);
  ASSERT_EQ(Split.size(), 2u);
  EXPECT_EQ(Split[0], (TColorBox{{1, 1, 1}, {2, 2, 2}}));
  EXPECT_EQ(Split[1], (TColorBox{{9, 2, 2}, {9, 2, 2}}));
}

TEST(ConvertTo256Test, ManyColoursGoToTheBoxesCutOrDithered) {
  TFastBMP Src;
  FillSpread(Src);
  ASSERT_FALSE(HasAtMost256Colors(Src));
  const auto Boxes = MedianCutBoxes(OccupiedCells(Src));
  EXPECT_EQ(Boxes.size(), 256u);
  TFast256 Cut;
  ConvertTo256(Cut, Src, cmCut);
  const std::vector<uint8_t> Indexes = CellIndexes(Boxes, 0);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 32; ++X) {
      const TRGB P = GetPixel(Src, X, Y);
      ASSERT_EQ(Cut.Row(Y)[X], Indexes[CellOf(P[0], P[1], P[2])]);
    }
  // Each box's colour is its centre.
  EXPECT_EQ(Cut.Colors()[0].rgbRed, (Boxes[0].Lo[0] + Boxes[0].Hi[0]) * 4);

  TFast256 Dithered;
  ConvertTo256(Dithered, Src, cmDither);
  EXPECT_EQ(Dithered.Width(), 32);
  for (int K = 0; K < 256; ++K) EXPECT_EQ(Dithered.Colors()[K], Cut.Colors()[K]);
}

TEST(ConvertTo256Test, DitherKeepsBoxCellsAndRunsSerpentine) {
  TFast256 Dst;
  // Two entries: box 0 at black, box 1 at white, so an error shows which way it went.
  Dst.Colors()[0] = {0, 0, 0, 0};
  Dst.Colors()[1] = {255, 255, 255, 0};
  TFastBMP Src;
  Src.SetSize(3, 2);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) SetPixel(Src, X, Y, {100, 100, 100});
  // Cell (12, 12, 12) lies in box 1 although black is nearer: it stays 1.
  std::vector<uint8_t> Cells(ColorCells, 255);
  Cells[CellOf(100, 100, 100)] = 1;
  MapDitheredColors(Dst, Src, Cells, 2);
  // Row 0 left to right: 1, then error -155 x 7/16 pulls the next pixel to black,
  // whose cell is found by nearest search.
  EXPECT_EQ(Dst.Row(0)[0], 1);
  EXPECT_EQ(Dst.Row(0)[1], 0);
  EXPECT_EQ(Cells[CellOf(32, 32, 32)], 0) << "the nearest entry is cached in the cell";
  // Row 1 runs right to left: its first pixel is the rightmost.
  TFastBMP Flat;
  Flat.SetSize(3, 2);
  for (int X = 0; X < 3; ++X) SetPixel(Flat, X, 1, {100, 100, 100});
  std::vector<uint8_t> Fresh(ColorCells, 255);
  Fresh[CellOf(100, 100, 100)] = 1;
  MapDitheredColors(Dst, Flat, Fresh, 2);
  EXPECT_EQ(Dst.Row(1)[2], 1);
  EXPECT_EQ(Dst.Row(1)[1], 0);
}
