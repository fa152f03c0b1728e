// Files that ImageMagick writes, or that it decodes as the reference, read back to the
// pixels ImageMagick reports.
#include <functional>

#include "tests/graphics/BmpTestSupport.h"

using namespace bmptest;
using graphics::TDIBImage;

namespace {

const std::string Rose = "rose: -crop 69x45+0+0 +repage ";

// The same pixels with top-down rows (negative height).
Bytes TopDown(Bytes File) {
  const int32_t H = static_cast<int32_t>(GetLE(File, Height, 4));
  const int64_t Row = TDIBImage::BMPRowBytes(GetLE(File, Width, 4), GetLE(File, BitCount, 2));
  const auto Pixels = File.begin() + GetLE(File, OffBits, 4);
  for (int64_t Top = 0, Bottom = H - 1; Top < Bottom; ++Top, --Bottom)
    std::swap_ranges(Pixels + Top * Row, Pixels + (Top + 1) * Row, Pixels + Bottom * Row);
  PutLE(File, Height, static_cast<uint32_t>(-H), 4);
  return File;
}

// The file with its information header cut or padded to Size bytes; a 40-byte header
// of a BI_BITFIELDS file gets the masks after it.
Bytes Reheader(const Bytes& File, uint32_t Size) {
  const uint32_t Old = GetLE(File, InfoSize, 4);
  Bytes Info(File.begin() + 14, File.begin() + 14 + Old);
  Bytes Masks(Info.begin() + 40, Info.begin() + 52);
  Info.resize(Size);
  PutLE(Info, 0, Size, 4);
  if (Size == 40 && GetLE(File, Compression, 4) == gdi::BI_BITFIELDS)
    Info.insert(Info.end(), Masks.begin(), Masks.end());
  Bytes Out;
  Out.reserve(File.size() + Info.size());
  Out.assign(File.begin(), File.begin() + 14);
  Out.insert(Out.end(), Info.begin(), Info.end());
  Out.insert(Out.end(), File.begin() + 14 + Old, File.end());
  PutLE(Out, OffBits, GetLE(File, OffBits, 4) - Old + Info.size(), 4);
  PutLE(Out, 2, Out.size(), 4);
  return Out;
}

// A hand-made file: 16 grey levels, pixels from Code.
Bytes HandMade(uint16_t Bits, uint32_t Compression, int32_t W, int32_t H, const Bytes& Code) {
  Bytes Table;
  for (int I = 0; I < (1 << Bits); ++I) PutLE(Table, Table.size(), (I * 17 % 256) * 0x010101u, 4);
  return BuildBMP({.W = W, .H = H, .Bits = Bits, .Compression = Compression}, Table, Code);
}

// Random pixels of W x H at Bits bits per pixel in rows padded to 4 bytes.
Bytes RandomRows(int32_t W, int32_t H, uint16_t Bits, uint32_t Seed) {
  std::mt19937 Random(Seed);
  Bytes Rows(TDIBImage::BMPRowBytes(W, Bits) * H);
  for (uint8_t& B : Rows) B = static_cast<uint8_t>(Random());
  return Rows;
}

Bytes Bitfields(uint32_t HeaderSize, uint16_t Bits, std::array<uint32_t, 4> Masks) {
  return BuildBMP({.HeaderSize = HeaderSize, .W = 13, .H = 7, .Bits = Bits, .Compression = gdi::BI_BITFIELDS,
                   .Masks = Masks},
                  {}, RandomRows(13, 7, Bits, Masks[0]));
}

struct TReadCase {
  const char* Name;
  std::function<Bytes(const TMagick&)> Make;
  uint16_t BitCount;  // after reading
  uint32_t GreenMask;
  TPrecision Precision;
};

const TReadCase ReadCases[] = {
    {"Bilevel", [](auto& M) { return M.Make(Rose + "-threshold 50% -type bilevel", "BMP3:a.bmp"); }, 1, 0, Rgb8},
    {"BilevelV5", [](auto& M) { return M.Make(Rose + "-threshold 50% -type bilevel", "BMP:a.bmp"); }, 1, 0, Rgb8},
    {"Palette16", [](auto& M) { return M.Make(Rose + "-colors 16", "BMP3:a.bmp"); }, 4, 0, Rgb8},
    {"Palette256", [](auto& M) { return M.Make(Rose + "-colors 200 -compress none", "BMP3:a.bmp"); }, 8, 0, Rgb8},
    {"Palette256V5", [](auto& M) { return M.Make(Rose + "-colors 200 -compress none", "BMP:a.bmp"); }, 8, 0, Rgb8},
    {"Rle8", [](auto& M) { return M.Make(Rose + "-colors 200 -compress RLE", "BMP3:a.bmp"); }, 8, 0, Rgb8},
    {"Rle8V5", [](auto& M) { return M.Make(Rose + "-colors 40 -compress RLE", "BMP:a.bmp"); }, 8, 0, Rgb8},
    {"Rgb555", [](auto& M) { return M.Make(Rose + "-define bmp:subtype=RGB555", "BMP:a.bmp"); }, 16, 0,
     {5, 5, 5, 0}},
    {"Rgb565", [](auto& M) { return M.Make(Rose + "-define bmp:subtype=RGB565", "BMP:a.bmp"); }, 16, 0x07E0,
     {5, 6, 5, 0}},
    {"Rgb565AfterInfoHeader",
     [](auto& M) { return Reheader(M.Make(Rose + "-define bmp:subtype=RGB565", "BMP:a.bmp"), 40); }, 16, 0x07E0,
     {5, 6, 5, 0}},
    {"Argb1555",
     [](auto& M) {
       return M.Make(Rose + "-alpha set -channel A -fx i>30 +channel -define bmp:subtype=ARGB1555", "BMP:a.bmp");
     },
     32, 0, {5, 5, 5, 1}},
    {"Argb4444",
     [](auto& M) {
       return M.Make(Rose + "-alpha set -channel A -fx i/w +channel -define bmp:subtype=ARGB4444", "BMP:a.bmp");
     },
     32, 0, {4, 4, 4, 4}},
    {"Rgb24", [](auto& M) { return M.Make(Rose, "BMP3:a.bmp"); }, 24, 0, Rgb8},
    {"Rgb24V5", [](auto& M) { return M.Make(Rose, "BMP:a.bmp"); }, 24, 0, Rgb8},
    {"Argb32V5", [](auto& M) { return M.Make(Rose + "-alpha set -channel A -fx j/h +channel", "BMP:a.bmp"); }, 32,
     0, {8, 8, 8, 8}},
    {"Argb32V4",
     [](auto& M) { return Reheader(M.Make(Rose + "-alpha set -channel A -fx j/h +channel", "BMP:a.bmp"), 108); },
     32, 0, {8, 8, 8, 8}},
    {"Argb32Header56",
     [](auto& M) { return Reheader(M.Make(Rose + "-alpha set -channel A -fx j/h +channel", "BMP:a.bmp"), 56); },
     32, 0, {8, 8, 8, 8}},
    {"Rgb32Header52",
     [](auto& M) { return Reheader(M.Make(Rose + "-alpha set -channel A -fx j/h +channel", "BMP:a.bmp"), 52); },
     32, 0, Rgb8},
    {"CoreBilevel", [](auto& M) { return M.Make(Rose + "-threshold 50% -type bilevel", "BMP2:a.bmp"); }, 1, 0, Rgb8},
    {"CorePalette16", [](auto& M) { return M.Make(Rose + "-colors 16", "BMP2:a.bmp"); }, 4, 0, Rgb8},
    {"CorePalette256", [](auto& M) { return M.Make(Rose + "-colors 200", "BMP2:a.bmp"); }, 8, 0, Rgb8},
    {"CoreRgb24", [](auto& M) { return M.Make(Rose, "BMP2:a.bmp"); }, 24, 0, Rgb8},
    {"TopDownBilevel",
     [](auto& M) { return TopDown(M.Make(Rose + "-threshold 50% -type bilevel", "BMP3:a.bmp")); }, 1, 0, Rgb8},
    {"TopDownPalette16", [](auto& M) { return TopDown(M.Make(Rose + "-colors 16", "BMP3:a.bmp")); }, 4, 0, Rgb8},
    {"TopDownRgb24", [](auto& M) { return TopDown(M.Make(Rose, "BMP3:a.bmp")); }, 24, 0, Rgb8},
    {"TopDownArgb32",
     [](auto& M) { return TopDown(M.Make(Rose + "-alpha set -channel A -fx j/h +channel", "BMP:a.bmp")); }, 32, 0,
     {8, 8, 8, 8}},
    {"TopDownRgb565",
     [](auto& M) { return TopDown(M.Make(Rose + "-define bmp:subtype=RGB565", "BMP:a.bmp")); }, 16, 0x07E0,
     {5, 6, 5, 0}},
    // Runs, absolute runs with and without padding, deltas, lines ended early, runs cut at the
    // end of the last row (where ImageMagick cuts them too), the end code.
    {"Rle8Escapes",
     [](auto&) {
       return HandMade(8, gdi::BI_RLE8, 9, 4,
                       {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 0, 0, 2, 2, 0, 2, 15, 0, 0, 6, 7, 0, 4, 8, 9, 10, 11, 0, 1});
     },
     8, 0, Rgb8},
    {"Rle4Escapes",
     [](auto&) {
       return HandMade(4, gdi::BI_RLE4, 9, 4,
                       {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 3, 1, 4, 0xEF, 0, 0,
                        4, 0x6A, 0, 5, 0x12, 0x34, 0x50, 0, 3, 0x77, 0, 1});
     },
     4, 0, Rgb8},
    {"Rgb444", [](auto&) { return Bitfields(40, 16, {0x0F00, 0x00F0, 0x000F, 0}); }, 32, 0, {4, 4, 4, 0}},
    {"Rgba32Order", [](auto&) { return Bitfields(124, 32, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}); }, 32, 0,
     {8, 8, 8, 8}},
};

class BmpRead : public ::testing::TestWithParam<TReadCase> {};

TEST_P(BmpRead, MatchesImageMagick) {
  if (!TMagick::Available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const TMagick Magick;
  const Bytes File = GetParam().Make(Magick);
  ASSERT_GT(File.size(), 26u);
  const TDIBImage Image = Read(File);
  EXPECT_EQ(Image.BitCount, GetParam().BitCount);
  EXPECT_EQ(Image.GreenMask, GetParam().GreenMask);
  EXPECT_EQ(Image.Bits.size(), size_t(Image.RowBytes() * Image.Height));
  if (Image.BitCount <= 8) {
    const bool Core = GetLE(File, InfoSize, 4) == 12;
    const uint32_t Used = Core ? 0 : GetLE(File, ClrUsed, 4);
    EXPECT_EQ(Image.Colors.size(), Used != 0 ? Used : 1u << Image.BitCount);
  } else {
    EXPECT_TRUE(Image.Colors.empty());
  }
  EXPECT_EQ(Difference(ToRGBA(Image), Magick.Decode(File), GetParam().Precision), "");
}

INSTANTIATE_TEST_SUITE_P(Files, BmpRead, ::testing::ValuesIn(ReadCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Channels wider than 8 bits keep their top 8 (ImageMagick is no reference here: it
// gives 254 for a full 10-bit channel).
TEST(BmpReadBitfields, WideChannelsKeepTheirTopBits) {
  Bytes Pixels;
  PutLE(Pixels, 0, 1023u << 20 | 140u << 10 | 4u, 4);
  PutLE(Pixels, 4, 512u << 20 | 139u << 10 | 1000u, 4);
  const TDIBImage Image = Read(BuildBMP(
      {.W = 2, .H = 1, .Bits = 32, .Compression = gdi::BI_BITFIELDS, .Masks = {0x3FF00000, 0xFFC00, 0x3FF, 0}}, {},
      Pixels));
  EXPECT_EQ(Image.BitCount, 32);
  EXPECT_EQ(Image.Bits, Bytes({1, 35, 255, 0, 250, 34, 128, 0}));
}

TEST(BmpReadStream, StartsAtThePositionAndStopsAfterThePixels) {
  TDIBImage Image;
  Image.Width = 3;
  Image.Height = 2;
  Image.BitCount = 24;
  Image.Bits.assign(24, 0x5A);
  Bytes Data = {1, 2, 3};
  const Bytes File = Write(Image);
  Data.insert(Data.end(), File.begin(), File.end());
  Data.push_back(0xEE);
  base::TMemoryStream S(Data);
  S.SetPosition(3);
  EXPECT_EQ(graphics::ReadBMP(S), Image);
  EXPECT_EQ(S.Position(), static_cast<int64_t>(Data.size() - 1));

  // An RLE reader takes bytes in blocks and must give back those after the end code.
  Bytes Rle = HandMade(8, gdi::BI_RLE8, 2, 1, {2, 1, 0, 1});
  const size_t End = Rle.size();
  Rle.resize(End + 5000, 0xEE);
  base::TMemoryStream R(Rle);
  graphics::ReadBMP(R);
  EXPECT_EQ(R.Position(), static_cast<int64_t>(End));
}

}  // namespace
