// Written files read back to the same image, carry the header fields readers rely on,
// and decode in ImageMagick to the same pixels.
#include <algorithm>
#include <functional>

#include "platform/base/Exceptions.h"
#include "tests/graphics/BmpTestSupport.h"

using namespace bmptest;
using graphics::TDIBImage;

namespace {

struct TWriteCase {
  const char* Name;
  uint16_t Bits;
  size_t Colors;
  bool Rgb565;
};

// 13 x 5 pixels, so that every depth has row padding; indices stay inside the table.
TDIBImage RandomImage(const TWriteCase& C) {
  std::mt19937 Random(C.Bits * 1000 + static_cast<uint32_t>(C.Colors));
  TDIBImage Image;
  Image.Width = 13;
  Image.Height = 5;
  Image.BitCount = C.Bits;
  if (C.Rgb565) {
    Image.RedMask = 0xF800;
    Image.GreenMask = 0x07E0;
    Image.BlueMask = 0x001F;
  }
  for (size_t I = 0; I < C.Colors; ++I)
    Image.Colors.push_back({uint8_t(Random()), uint8_t(Random()), uint8_t(Random()), 0});
  const int64_t Row = Image.RowBytes();
  Image.Bits.assign(Row * Image.Height, 0);
  for (int64_t Y = 0; Y < Image.Height; ++Y) {
    uint8_t* R = Image.Bits.data() + Y * Row;
    if (C.Bits > 8) {
      std::generate(R, R + Image.Width * C.Bits / 8, [&] { return uint8_t(Random()); });
      continue;
    }
    const int Per = 8 / C.Bits;
    for (int64_t X = 0; X < Image.Width; ++X)
      R[X / Per] |= static_cast<uint8_t>((Random() % C.Colors) << (8 - C.Bits * (1 + X % Per)));
  }
  return Image;
}

const TWriteCase WriteCases[] = {
    {"Bits1", 1, 2, false},   {"Bits1OneColor", 1, 1, false}, {"Bits4", 4, 16, false},
    {"Bits4Of5", 4, 5, false}, {"Bits8", 8, 256, false},      {"Bits8Of37", 8, 37, false},
    {"Bits16", 16, 0, false}, {"Bits16Rgb565", 16, 0, true},  {"Bits24", 24, 0, false},
    {"Bits32", 32, 0, false},
};

class BmpWrite : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(BmpWrite, ReadsBackWithItsHeaderFields) {
  const TDIBImage Image = RandomImage(GetParam());
  const Bytes File = Write(Image);
  EXPECT_EQ(Read(File), Image);
  const uint32_t Masks = GetParam().Rgb565 ? 12 : 0;
  EXPECT_EQ(GetLE(File, 2, 4), File.size());
  EXPECT_EQ(GetLE(File, OffBits, 4), 54 + Masks + 4 * GetParam().Colors);
  EXPECT_EQ(GetLE(File, InfoSize, 4), 40u);
  EXPECT_EQ(GetLE(File, Height, 4), 5u);
  EXPECT_EQ(GetLE(File, Compression, 4), GetParam().Rgb565 ? gdi::BI_BITFIELDS : gdi::BI_RGB);
  EXPECT_EQ(GetLE(File, 34, 4), Image.Bits.size());  // biSizeImage
  EXPECT_EQ(GetLE(File, ClrUsed, 4), GetParam().Colors);
}

TEST_P(BmpWrite, ImageMagickReadsTheSamePixels) {
  if (!TMagick::Available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const TDIBImage Image = RandomImage(GetParam());
  const TPrecision Precision =
      GetParam().Bits != 16 ? Rgb8 : GetParam().Rgb565 ? TPrecision{5, 6, 5, 0} : TPrecision{5, 5, 5, 0};
  EXPECT_EQ(Difference(ToRGBA(Image), TMagick().Decode(Write(Image)), Precision), "");
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpWrite, ::testing::ValuesIn(WriteCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct TRefusal {
  const char* Name;
  std::function<void(TDIBImage&)> Break;
  const char* Message;
};

const TRefusal Refusals[] = {
    {"BitCount2", [](TDIBImage& I) { I.BitCount = 2; }, "Unsupported bitmap format"},
    {"ZeroWidth", [](TDIBImage& I) { I.Width = 0; }, "Invalid bitmap dimensions"},
    {"NegativeHeight", [](TDIBImage& I) { I.Height = -2; }, "Invalid bitmap dimensions"},
    {"TooManyPixels", [](TDIBImage& I) { I.Width = I.Height = 1 << 15; }, "Invalid bitmap dimensions"},
    {"MasksAt8Bits", [](TDIBImage& I) { I.RedMask = 0xF800; }, "Invalid bitmap color masks"},
    {"Masks555At16Bits",
     [](TDIBImage& I) {
       I = RandomImage({"", 16, 0, false});
       I.RedMask = 0x7C00;
       I.GreenMask = 0x03E0;
       I.BlueMask = 0x001F;
     },
     "Invalid bitmap color masks"},
    {"NoColors", [](TDIBImage& I) { I.Colors.clear(); }, "Invalid bitmap color table"},
    {"TooManyColors", [](TDIBImage& I) { I.Colors.resize(257); }, "Invalid bitmap color table"},
    {"ColorsAt24Bits",
     [](TDIBImage& I) {
       I.BitCount = 24;
       I.Bits.resize(I.RowBytes() * I.Height);
     },
     "Invalid bitmap color table"},
    {"ShortBits", [](TDIBImage& I) { I.Bits.pop_back(); }, "Bitmap pixel data does not match its size"},
};

class BmpWriteRefuses : public ::testing::TestWithParam<TRefusal> {};

TEST_P(BmpWriteRefuses, AnInvalidImage) {
  TDIBImage Image = RandomImage({"", 8, 37, false});
  GetParam().Break(Image);
  base::TMemoryStream S;
  try {
    graphics::WriteBMP(S, Image);
    ADD_FAILURE() << "no exception";
  } catch (const base::EInvalidGraphicOperation& E) {
    EXPECT_EQ(E.Message(), GetParam().Message);
  }
  EXPECT_EQ(S.Size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Images, BmpWriteRefuses, ::testing::ValuesIn(Refusals),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
