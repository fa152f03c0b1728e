// Pixel-format changes convert every pixel by colour between all kinds of bitmap, and
// keep the palette rules: tables from the bitmap's palette or the format's default.
#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/gdi/Halftone.h"
#include "platform/gdi/Palette.h"
#include "tests/graphics/BitmapTestSupport.h"

using namespace bitmaptest;
using namespace graphics;

namespace {

struct TPair {
  TKind From;
  TKind To;
};

std::vector<TPair> AllPairs() {
  std::vector<TPair> Pairs;
  for (const TKind& From : Kinds)
    for (const TKind& To : Kinds)
      if (std::string(From.Name) != To.Name) Pairs.push_back({From, To});
  return Pairs;
}

class BitmapConversion : public ::testing::TestWithParam<TPair> {};

TEST_P(BitmapConversion, KeepsEveryColourBothFormatsHold) {
  const auto& [From, To] = GetParam();
  const std::vector<TColor> Colors = ExactColors(TwoColors(From) || TwoColors(To));
  TBitmap B;
  MakeGrid(B, 13, 7, Colors);
  MakeKind(B, From);
  ASSERT_EQ(GridDifference(B, Colors), "") << "made as " << From.Name;
  MakeKind(B, To);
  EXPECT_EQ(B.PixelFormat(), To.Format);
  EXPECT_EQ(B.Monochrome(), TwoColors(To));
  EXPECT_EQ(B.Width(), 13);
  EXPECT_EQ(B.Height(), 7);
  EXPECT_EQ(GridDifference(B, Colors), "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, BitmapConversion, ::testing::ValuesIn(AllPairs()),
                         [](const auto& Info) { return std::string(Info.param.From.Name) + "To" + Info.param.To.Name; });

TEST(BitmapConversion, IndexedTargetsTakeTheNearestEntryOfTheirDefaultTable) {
  struct TCase {
    TPixelFormat Format;
    gdi::HPALETTE Table;
  };
  gdi::HDC Screen = gdi::GetDC(nullptr);
  gdi::HPALETTE Halftone = gdi::CreateHalftonePalette(Screen);
  gdi::ReleaseDC(nullptr, Screen);
  const TCase Cases[] = {{pf8bit, Halftone}, {pf4bit, SystemPalette16()}};
  const TColor Odd[] = {0x0A0AC8, 0x30A050, 0x7F7F7F, 0xE0E0F0};
  for (const TCase& C : Cases) {
    TBitmap B;
    MakeGrid(B, 4, 1, {Odd[0], Odd[1], Odd[2], Odd[3]});
    for (int X = 0; X < 4; ++X) B.Canvas().SetPixels(X, 0, Odd[X]);
    B.SetPixelFormat(C.Format);
    for (int X = 0; X < 4; ++X) {
      const uint32_t Index = gdi::GetNearestPaletteIndex(C.Table, static_cast<gdi::COLORREF>(Odd[X]));
      const gdi::PALETTEENTRY& E = C.Table->Entries[Index];
      EXPECT_EQ(B.Canvas().Pixels(X, 0), static_cast<TColor>(gdi::RGB(E.peRed, E.peGreen, E.peBlue)))
          << "colour " << X << " at " << static_cast<int>(C.Format);
    }
  }
  gdi::DeleteObject(Halftone);
}

TEST(BitmapConversion, MonochromeTargetsSplitByNearestOfBlackAndWhite) {
  TBitmap B;
  MakeGrid(B, 2, 1, {0x000000});
  B.Canvas().SetPixels(0, 0, 0x606060);
  B.Canvas().SetPixels(1, 0, 0xA0A0A0);
  B.SetMonochrome(true);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), 0x000000);
  EXPECT_EQ(B.Canvas().Pixels(1, 0), 0xFFFFFF);
}

TEST(BitmapConversion, ARoundTripThroughTrueColourKeepsTheTableAndTheIndexes) {
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetWidth(5);
  B.SetHeight(3);
  gdi::LOGPALETTE Log;
  for (int I = 0; I < 5; ++I) Log.palPalEntry.push_back({uint8_t(40 * I), uint8_t(200 - 30 * I), uint8_t(7 * I), 0});
  B.SetPalette(gdi::CreatePalette(Log));
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) B.ScanLine(Y)[X] = static_cast<uint8_t>((X + Y) % 5);
  B.SetPixelFormat(pf24bit);
  B.SetPixelFormat(pf8bit);
  EXPECT_EQ(B.Palette()->Entries, Log.palPalEntry);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(B.ScanLine(Y)[X], (X + Y) % 5) << X << ", " << Y;
}

TEST(BitmapConversion, ATableTooLargeForTheTargetGivesWayToTheDefault) {
  TBitmap B;
  MakeGrid(B, 2, 2, {0x000000});
  B.SetPixelFormat(pf8bit);
  ASSERT_EQ(B.Palette()->Entries, gdi::HalftonePaletteEntries());
  B.SetPixelFormat(pf4bit);
  EXPECT_EQ(B.Palette()->Entries, SystemPalette16()->Entries);
  B.SetPixelFormat(pf1bit);
  const std::vector<gdi::PALETTEENTRY> BlackWhite{{0, 0, 0, 0}, {255, 255, 255, 0}};
  EXPECT_EQ(B.Palette()->Entries, BlackWhite);
}

TEST(BitmapFormat, HandleTypesFollowTheFormat) {
  TBitmap B;
  EXPECT_EQ(B.HandleType(), bmDDB);
  EXPECT_EQ(B.PixelFormat(), pfDevice);
  B.SetWidth(3);
  B.SetHeight(2);
  EXPECT_EQ(B.HandleType(), bmDDB);
  B.SetHandleType(bmDIB);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  B.SetMonochrome(true);
  EXPECT_EQ(B.PixelFormat(), pf1bit);
  B.SetHandleType(bmDDB);
  EXPECT_EQ(B.PixelFormat(), pfDevice);
  EXPECT_TRUE(B.Monochrome());
  B.SetHandleType(bmDIB);
  EXPECT_EQ(B.PixelFormat(), pf1bit);
}

TEST(BitmapFormat, AnEmptyBitmapRemembersTheFormatForItsFirstPicture) {
  TBitmap B;
  B.SetPixelFormat(pf4bit);
  EXPECT_TRUE(B.Empty());
  B.SetWidth(3);
  EXPECT_TRUE(B.Empty());
  B.SetHeight(2);
  EXPECT_FALSE(B.Empty());
  EXPECT_EQ(B.PixelFormat(), pf4bit);
  EXPECT_EQ(B.Canvas().Pixels(2, 1), 0xFFFFFF) << "a new picture is filled with the brush";
}

TEST(BitmapFormat, CustomIsNotAFormatToAskFor) {
  TBitmap B;
  try {
    B.SetPixelFormat(pfCustom);
    FAIL() << "no error";
  } catch (const base::EInvalidGraphic& E) {
    EXPECT_STREQ(E.what(), "Invalid pixel format");
  }
}

TEST(BitmapFormat, ResizingKeepsTheOverlapAndFillsTheRestWithTheBrush) {
  for (const TKind& K : Kinds) {
    const std::vector<TColor> Colors = ExactColors(TwoColors(K));
    TBitmap B;
    MakeGrid(B, 4, 4, Colors);
    MakeKind(B, K);
    B.Canvas().Brush().SetColor(TwoColors(K) ? 0x000000 : 0x00FF00);
    B.SetWidth(6);
    B.SetHeight(3);
    EXPECT_EQ(B.PixelFormat(), K.Format) << K.Name;
    for (int Y = 0; Y < 3; ++Y)
      for (int X = 0; X < 6; ++X)
        EXPECT_EQ(B.Canvas().Pixels(X, Y), X < 4 ? GridColor(Colors, X, Y) : B.Canvas().Brush().Color())
            << K.Name << " at " << X << ", " << Y;
  }
}

}  // namespace
