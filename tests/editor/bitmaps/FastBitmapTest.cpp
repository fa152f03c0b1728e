#include <unistd.h>

#include <fstream>
#include <iterator>

#include "FastBitmapTestSupport.h"
#include "platform/base/Exceptions.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Pixel.h"
#include "tests/graphics/BmpTestSupport.h"

using namespace editor;
using namespace fasttest;

namespace {

std::vector<uint8_t> FileBytes(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

void WriteBytes(const std::string& Name, const std::vector<uint8_t>& Bytes) {
  std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(Bytes.data()), Bytes.size());
}

}  // namespace

TEST(FastBitmapTest, RowLayoutFollowsTheBitCount) {
  struct Case {
    bool EightBit;
    int W, H, RowInc, Gap, Size;
  };
  for (const Case& C : {Case{false, 1, 1, 4, 1, 4}, Case{false, 5, 2, 16, 1, 32}, Case{true, 5, 2, 8, 3, 16},
                        Case{false, 4, 3, 12, 0, 36}}) {
    std::unique_ptr<TFastRGB> Image = C.EightBit ? std::unique_ptr<TFastRGB>(new TFast256) : std::make_unique<TFastBMP>();
    Image->SetSize(C.W, C.H);
    EXPECT_EQ(Image->RowInc(), C.RowInc) << C.W;
    EXPECT_EQ(Image->Gap(), C.Gap) << C.W;
    EXPECT_EQ(Image->Size(), C.Size) << C.W;
    if (C.H > 1) {
      EXPECT_EQ(Image->Row(1) - Image->Row(0), C.RowInc);
    }
  }
}

TEST(FastBitmapTest, SetSizeKeepsPixelsOnlyForTheSameSize) {
  TFastBMP Image;
  Image.SetSize(3, 2);
  SetPixel(Image, 2, 1, {9, 8, 7});
  Image.SetSize(3, 2);
  EXPECT_EQ(GetPixel(Image, 2, 1), (TRGB{9, 8, 7}));
  Image.SetSize(0, 5);
  EXPECT_TRUE(Image.Empty());
  EXPECT_EQ(Image.Size(), 0);
}

TEST(FastBitmapTest, FilesHaveTheFixedLayouts) {
  TempFolder Folder;
  TFastBMP Deep;
  Deep.SetSize(10, 10);
  SetPixel(Deep, 3, 0, {200, 100, 50});
  Deep.SaveToFile(Folder.File("deep.bmp"));
  TFast256 Indexed;
  Indexed.SetSize(10, 10);
  Indexed.Colors()[7] = {1, 2, 3, 0};
  Indexed.Row(9)[4] = 7;
  Indexed.SaveToFile(Folder.File("indexed.bmp"));

  const auto D = FileBytes(Folder.File("deep.bmp"));
  ASSERT_EQ(D.size(), 378u);
  EXPECT_EQ(bmptest::GetLE(D, 0, 2), 0x4D42u);
  EXPECT_EQ(bmptest::GetLE(D, 2, 4), 378u);
  EXPECT_EQ(bmptest::GetLE(D, 10, 4), 58u);
  EXPECT_EQ(bmptest::GetLE(D, 22, 4), 10u);
  EXPECT_EQ(bmptest::GetLE(D, 28, 2), 24u);
  EXPECT_EQ(bmptest::GetLE(D, 54, 4), 0u);
  const auto I = FileBytes(Folder.File("indexed.bmp"));
  ASSERT_EQ(I.size(), 1198u);
  EXPECT_EQ(bmptest::GetLE(I, 10, 4), 1078u);
  EXPECT_EQ(bmptest::GetLE(I, 28, 2), 8u);
  EXPECT_EQ(bmptest::GetLE(I, 54 + 4 * 7, 4), 0x030201u);

  // Both read back through the BMP reader into their own classes unchanged.
  TFastBMP DeepBack;
  DeepBack.LoadFromFile(Folder.File("deep.bmp"));
  EXPECT_EQ(GetPixel(DeepBack, 3, 0), (TRGB{200, 100, 50}));
  TFast256 IndexedBack;
  IndexedBack.LoadFromFile(Folder.File("indexed.bmp"), cmDither);
  EXPECT_EQ(Indexes(IndexedBack), Indexes(Indexed));
  EXPECT_EQ(IndexedBack.Colors()[7], (gdi::RGBQUAD{1, 2, 3, 0}));
}

TEST(FastBitmapTest, ReadingHonoursColourCountTopDownRowsAndDepth) {
  TempFolder Folder;
  // A top-down 4-bit file of 2 x 2 with two colours: the table past them stays empty.
  const bmptest::Bytes Table = {10, 20, 30, 0, 40, 50, 60, 0};
  WriteBytes(Folder.File("small.bmp"), bmptest::BuildBMP({.W = 2, .H = -2, .Bits = 4, .ColorsUsed = 2}, Table,
                                                          {0x01, 0, 0, 0, 0x10, 0, 0, 0}));
  TFast256 Indexed;
  Indexed.Colors()[2] = {9, 9, 9, 0};
  Indexed.LoadFromFile(Folder.File("small.bmp"), cmGray);
  // Memory row 0 is the bottom row: the file's second row.
  EXPECT_EQ(Indexes(Indexed), (std::vector<std::vector<uint8_t>>{{1, 0}, {0, 1}}));
  EXPECT_EQ(Indexed.Colors()[1], (gdi::RGBQUAD{40, 50, 60, 0}));
  EXPECT_EQ(Indexed.Colors()[2], gdi::RGBQUAD{});
  TFastBMP Deep;
  Deep.LoadFromFile(Folder.File("small.bmp"));
  EXPECT_EQ(GetPixel(Deep, 0, 0), (TRGB{60, 50, 40}));
  EXPECT_EQ(GetPixel(Deep, 0, 1), (TRGB{30, 20, 10}));

  // A 24-bit file read as 8 bits goes through the conversion.
  TFastBMP Grey;
  Grey.SetSize(1, 1);
  SetPixel(Grey, 0, 0, {10, 20, 30});
  Grey.SaveToFile(Folder.File("grey.bmp"));
  Indexed.LoadFromFile(Folder.File("grey.bmp"), cmGray);
  EXPECT_EQ(Indexed.Row(0)[0], 20);
}

TEST(FastBitmapTest, UnreadableFilesRaiseAndKeepTheImage) {
  TempFolder Folder;
  WriteBytes(Folder.File("bad.bmp"), {'B', 'M', 1, 2, 3});
  TFastBMP Image;
  Image.SetSize(2, 1);
  SetPixel(Image, 1, 0, {1, 2, 3});
  EXPECT_THROW(Image.LoadFromFile(Folder.File("bad.bmp")), base::Exception);
  EXPECT_THROW(Image.LoadFromFile(Folder.File("missing.bmp")), base::Exception);
  EXPECT_EQ(Image.Width(), 2);
  EXPECT_EQ(GetPixel(Image, 1, 0), (TRGB{1, 2, 3}));
}

TEST(FastBitmapTest, CopyRectClipsInItsOrder) {
  TFast256 Src, Dst;
  Fill(Src, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
  Fill(Dst, std::vector<std::vector<uint8_t>>(2, std::vector<uint8_t>(6, 0)));
  // x = -3: from sx + 3 into column 0, three pixels fewer.
  Src.CopyRect(Dst, -3, 0, 5, 1, 0, 0);
  EXPECT_EQ(Indexes(Dst)[0], (std::vector<uint8_t>{4, 5, 0, 0, 0, 0}));
  // Past the destination's edge, and a source beyond the image copies nothing.
  Src.CopyRect(Dst, 4, 1, 6, 6, 0, 0);
  EXPECT_EQ(Indexes(Dst)[1], (std::vector<uint8_t>{0, 0, 0, 0, 1, 2}));
  Src.CopyRect(Dst, 0, 0, 2, 2, 6, 0);
  EXPECT_EQ(Indexes(Dst)[0], (std::vector<uint8_t>{4, 5, 0, 0, 0, 0}));
  TFastBMP Deep;
  Deep.SetSize(2, 2);
  EXPECT_THROW(Src.CopyRect(Deep, 0, 0, 1, 1, 0, 0), base::EInvalidOperation);
}

TEST(FastBitmapTest, TileRepeatsFromTheOrigin) {
  TFast256 Src, Dst;
  Fill(Src, {{1, 2}, {3, 4}});
  Dst.SetSize(5, 3);
  Src.Tile(Dst);
  EXPECT_EQ(Indexes(Dst), (std::vector<std::vector<uint8_t>>{{1, 2, 1, 2, 1}, {3, 4, 3, 4, 3}, {1, 2, 1, 2, 1}}));
}

TEST(FastBitmapTest, DrawsOntoADeviceContext) {
  TFast256 Src;
  Fill(Src, {{1, 2}, {3, 4}});
  for (int I = 1; I <= 4; ++I) Src.Colors()[I] = {uint8_t(I * 10), 0, 0, 0};
  TFastBMP Target;
  Target.SetSize(5, 3);
  auto Blue = [&](int X, int Y) { return gdi::GetPixel(Target.DC(), X, Y) >> 16 & 0xFF; };
  // Top-down device coordinates: the bottom memory row is drawn last.
  Src.Draw(Target.DC(), 0, 0);
  EXPECT_EQ(Blue(0, 0), 30u);
  EXPECT_EQ(Blue(1, 1), 20u);
  Src.TileDraw(Target.DC(), 0, 0, 5, 3);
  EXPECT_EQ(Blue(4, 2), 30u);
  EXPECT_EQ(Blue(3, 1), 20u);
  Src.Stretch(Target.DC(), 0, 0, 4, 2);
  EXPECT_EQ(Blue(1, 0), 30u);
  EXPECT_EQ(Blue(2, 1), 20u);
}
