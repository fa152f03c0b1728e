#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "CodecTestSupport.h"
#include "gif/Interlace.h"

using namespace codectest;

namespace {

// Display rows in the order an interlaced frame stores them.
std::vector<int> StoredOrder(int Height) {
  std::vector<int> Rows;
  for (const auto& [Start, Step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
    for (int Row = Start; Row < Height; Row += Step) Rows.push_back(Row);
  return Rows;
}

}  // namespace

TEST(Interlace, RowOrder) {
  EXPECT_EQ(StoredOrder(3), (std::vector<int>{0, 2, 1}));
  for (int Height = 1; Height <= 70; ++Height) {
    const std::vector<int> Rows = StoredOrder(Height);
    for (int Place = 0; Place < Height; ++Place)
      EXPECT_EQ(gif::InterlacedRowIndex(Rows[static_cast<size_t>(Place)], Height), Place) << "height " << Height;
  }
}

TEST(Interlace, DeinterlacerMovesEveryStoredRowToItsDisplayRow) {
  for (const int Width : {1, 3, 16})
    for (int Height = 1; Height <= 40; ++Height) {
      const std::vector<int> Rows = StoredOrder(Height);
      Bytes Pixels(static_cast<size_t>(Width) * Height);
      // Stored row I holds its display row number in every pixel.
      for (int I = 0; I < Height; ++I)
        std::fill_n(Pixels.begin() + static_cast<ptrdiff_t>(I) * Width, Width, static_cast<uint8_t>(Rows[static_cast<size_t>(I)]));
      gif::TDeinterlacer(Pixels.data(), Width, Height).Apply();
      for (int Row = 0; Row < Height; ++Row)
        for (int X = 0; X < Width; ++X)
          ASSERT_EQ(Pixels[static_cast<size_t>(Row * Width + X)], Row) << Width << "x" << Height;
    }
}

TEST(Interlace, DecodedFramesHaveEveryRowInDisplayOrder) {
  for (int Height = 1; Height <= 12; ++Height) {
    const std::vector<int> Rows = StoredOrder(Height);
    TCodeStream Stream(4);
    Stream.Add(16);
    for (const int Row : Rows) Stream.Add({Row, Row});
    Stream.Add(17);
    const TDecoded Got = Decode(Stream.Data(), 2, Height, true, 0xEE);
    Bytes Expected;
    for (int Row = 0; Row < Height; ++Row) Expected.insert(Expected.end(), {static_cast<uint8_t>(Row), static_cast<uint8_t>(Row)});
    EXPECT_EQ(Got.Pixels, Expected) << "height " << Height;
  }
  // Data that ends early leaves the rows of the later passes at the fill index.
  TCodeStream Short(4);
  Short.Add({16, 1, 2, 17});
  EXPECT_EQ(Decode(Short.Data(), 1, 9, true, 0xEE).Pixels, (Bytes{1, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 2}));
}
