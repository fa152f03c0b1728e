#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "ColorReductionTestSupport.h"
#include "gif/ColorLookup.h"
#include "gif/ColorQuantizer.h"
#include "gif/ColorReduction.h"
#include "gif/FloydSteinbergDitherer.h"
#include "gif/GIFException.h"
#include "platform/gdi/Halftone.h"

using namespace gif;
using namespace giftest;
using graphics::TBitmap;

namespace {

std::vector<RGB> ColorsOf(gdi::HPALETTE Palette) {
  std::vector<gdi::PALETTEENTRY> E(gdi::GetPaletteEntries(Palette, 0, 0, nullptr));
  gdi::GetPaletteEntries(Palette, 0, static_cast<uint32_t>(E.size()), E.data());
  std::vector<RGB> Result;
  for (const auto& Entry : E) Result.push_back({Entry.peRed, Entry.peGreen, Entry.peBlue});
  return Result;
}

// A 24-bit bitmap of the picture.
std::unique_ptr<TBitmap> BitmapOf(const Picture& P, graphics::TPixelFormat Format = graphics::pf24bit) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(graphics::pf24bit);
  B->SetWidth(P.Width);
  B->SetHeight(P.Height);
  for (int Y = 0; Y < P.Height; ++Y) {
    uint8_t* Row = B->ScanLine(Y);
    for (int X = 0; X < P.Width; ++X) {
      const RGB& C = P.At(X, Y);
      Row[3 * X] = static_cast<uint8_t>(C.B);
      Row[3 * X + 1] = static_cast<uint8_t>(C.G);
      Row[3 * X + 2] = static_cast<uint8_t>(C.R);
    }
  }
  B->SetPixelFormat(Format);
  return B;
}

// The colours of a 24-bit bitmap, rows from the top.
std::vector<RGB> TrueColors(TBitmap& B) {
  std::vector<RGB> Result;
  for (int Y = 0; Y < B.Height(); ++Y) {
    const uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < B.Width(); ++X) Result.push_back({Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]});
  }
  return Result;
}

std::vector<int> Indexes(TBitmap& B) {
  std::vector<int> Result;
  for (int Y = 0; Y < B.Height(); ++Y) {
    const uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < B.Width(); ++X) Result.push_back(Row[X]);
  }
  return Result;
}

Picture Strip(const std::vector<RGB>& Colors) { return Picture{static_cast<int>(Colors.size()), 1, Colors}; }

std::unique_ptr<TBitmap> Reduce(TBitmap& B, TReductionMethod Method, TDitherKind Dither = dkNone, int Bits = 8,
                                gdi::HPALETTE Custom = nullptr) {
  return ReduceBitmapColors(B, Method, Dither, Bits, Custom);
}

const TDitherKind AllDithers[] = {dkNone, dkFloydSteinberg, dkStucki, dkSierra, dkJaJuNi, dkSteveArche, dkBurkes};

}  // namespace

TEST(CreateOptimizedPalette, ReadsTheBitmapIn24Bits) {
  const auto Source = BitmapOf(Strip({{250, 2, 3}, {4, 5, 6}, {250, 2, 3}}), graphics::pf32bit);
  PalettePtr P(CreateOptimizedPalette(*Source, 4, 8, false));
  EXPECT_EQ(Source->PixelFormat(), graphics::pf24bit);
  EXPECT_EQ(ColorsOf(P.get()), (std::vector<RGB>{{4, 5, 6}, {250, 2, 3}, {0, 0, 0}, {0, 0, 0}}));

  const auto Kept = BitmapOf(Strip({{1, 1, 1}}), graphics::pf32bit);
  EXPECT_THROW(CreateOptimizedPalette(*Kept, 300, 8, false), GIFException);
  EXPECT_EQ(Kept->PixelFormat(), graphics::pf32bit);
}

TEST(ReduceBitmapColors, NoneCopiesTo24BitAndLeavesTheSource) {
  const Picture P = RandomPicture(9, 4, 21);
  for (graphics::TPixelFormat Format : {graphics::pf24bit, graphics::pf32bit}) {
    const auto Source = BitmapOf(P, Format);
    const auto Result = Reduce(*Source, rdNone, dkFloydSteinberg);
    EXPECT_EQ(Source->PixelFormat(), Format);
    EXPECT_EQ(Result->PixelFormat(), graphics::pf24bit);
    EXPECT_EQ(Result->Width(), 9);
    EXPECT_EQ(Result->Height(), 4);
    EXPECT_EQ(TrueColors(*Result), P.Pixels);
  }
}

TEST(ReduceBitmapColors, EveryMethodAndDitherGivesAnIndexedBitmap) {
  const Picture P = RandomPicture(23, 11, 5);
  PalettePtr Custom(MakePalette({{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 128, 0}, {30, 60, 200}}));
  const struct { TReductionMethod Method; size_t Entries; } Methods[] = {
      {rdWindows20, 20},  {rdWindows256, 256}, {rdWindowsGray, 4},        {rdMonochrome, 2},       {rdGrayScale, 256},
      {rdNetscape, 216},  {rdQuantize, 256},   {rdOptimizedWindows, 256}, {rdCustomPalette, 5},
  };
  for (const auto& M : Methods)
    for (TDitherKind Dither : AllDithers) {
      const auto Source = BitmapOf(P, graphics::pf32bit);
      const auto Result = Reduce(*Source, M.Method, Dither, 8, Custom.get());
      const int Case = static_cast<int>(M.Method) * 10 + static_cast<int>(Dither);
      EXPECT_EQ(Source->PixelFormat(), graphics::pf24bit) << Case;
      EXPECT_EQ(TrueColors(*Source), P.Pixels) << Case;
      ASSERT_EQ(Result->PixelFormat(), graphics::pf8bit) << Case;
      ASSERT_EQ(Result->Width(), 23) << Case;
      ASSERT_EQ(Result->Height(), 11) << Case;
      const std::vector<RGB> Palette = ColorsOf(Result->Palette());
      EXPECT_EQ(Palette.size(), M.Entries) << Case;
      for (int Index : Indexes(*Result)) ASSERT_LT(static_cast<size_t>(Index), Palette.size()) << Case;
    }
}

TEST(ReduceBitmapColors, FixedPalettesWithoutDithering) {
  const std::vector<RGB> In = {{0, 0, 0},     {255, 255, 255}, {128, 128, 128}, {127, 127, 127},
                               {255, 0, 0},   {0, 0, 255},     {0, 255, 0},     {160, 60, 20}};
  const struct {
    TReductionMethod Method;
    std::vector<int> Expected;
  } Cases[] = {
      // Luminance above 32512 is white.
      {rdMonochrome, {0, 1, 1, 0, 0, 0, 1, 0}},
      {rdGrayScale, {0, 255, 128, 127, 76, 28, 149, 85}},
      {rdNetscape, {0, 215, 86, 86, 180, 5, 30, 114}},
      // Black, 0x80, 0xC0, white by the sum of differences.
      {rdWindowsGray, {0, 3, 1, 1, 0, 0, 0, 1}},
      // The static colours: black, white 19, grey 12 and the bright primaries.
      {rdWindows20, {0, 19, 12, 12, 13, 16, 14, 1}},
  };
  for (const auto& C : Cases) {
    const auto Source = BitmapOf(Strip(In));
    const auto Result = Reduce(*Source, C.Method);
    EXPECT_EQ(Indexes(*Result), C.Expected) << static_cast<int>(C.Method);
  }
}

TEST(ReduceBitmapColors, HalftoneTargetIsTheSystemHalftonePalette) {
  const auto Source = BitmapOf(RandomPicture(8, 8, 9));
  const auto Result = Reduce(*Source, rdWindows256);
  std::vector<RGB> Expected;
  for (const auto& E : gdi::HalftonePaletteEntries()) Expected.push_back({E.peRed, E.peGreen, E.peBlue});
  EXPECT_EQ(ColorsOf(Result->Palette()), Expected);
}

TEST(ReduceBitmapColors, QuantizeKeepsThePaletteSize) {
  // Four colours with three bits: eight entries, the four colours first in tree order.
  const std::vector<RGB> In = {{200, 10, 10}, {10, 10, 10}, {10, 200, 10}, {10, 10, 200}, {10, 10, 10}};
  const auto Source = BitmapOf(Strip(In));
  const auto Result = Reduce(*Source, rdQuantize, dkFloydSteinberg, 3);
  const std::vector<RGB> Palette = ColorsOf(Result->Palette());
  const std::vector<RGB> Expected = {{10, 10, 10}, {10, 10, 200}, {10, 200, 10}, {200, 10, 10},
                                     {0, 0, 0},    {0, 0, 0},     {0, 0, 0},     {0, 0, 0}};
  EXPECT_EQ(Palette, Expected);
  EXPECT_EQ(Indexes(*Result), (std::vector<int>{3, 0, 2, 1, 0}));
}

TEST(ReduceBitmapColors, OptimizedWindowsKeepsTheSystemColours) {
  const std::vector<RGB> In = {{1, 2, 3}, {250, 128, 7}, {1, 2, 3}};
  const auto Source = BitmapOf(Strip(In));
  const auto Result = Reduce(*Source, rdOptimizedWindows, dkStucki);
  const std::vector<RGB> Palette = ColorsOf(Result->Palette());
  ASSERT_EQ(Palette.size(), 256u);
  const auto& System = gdi::DefaultPaletteEntries();
  for (size_t I = 0; I < 10; ++I) {
    EXPECT_EQ(Palette[I], (RGB{System[I].peRed, System[I].peGreen, System[I].peBlue}));
    EXPECT_EQ(Palette[246 + I], (RGB{System[10 + I].peRed, System[10 + I].peGreen, System[10 + I].peBlue}));
  }
  EXPECT_EQ(Palette[10], (RGB{1, 2, 3}));
  EXPECT_EQ(Palette[11], (RGB{250, 128, 7}));
  // (1, 2, 3) shares black's 5-5-5 cell, which black holds from the start.
  EXPECT_EQ(Indexes(*Result), (std::vector<int>{0, 11, 0}));
}

TEST(ReduceBitmapColors, DithersRowsSerpentine) {
  // The same as running the ditherer over the rows by hand.
  const Picture P = RandomPicture(17, 9, 33);
  const auto Source = BitmapOf(P);
  const auto Result = Reduce(*Source, rdNetscape, dkFloydSteinberg);
  TNetscapeColorLookup Lookup;
  TFloydSteinbergDitherer Ditherer(P.Width, &Lookup);
  std::vector<int> Expected(P.Pixels.size());
  for (const Visit& V : RunDitherer(Ditherer, P)) Expected[static_cast<size_t>(V.Y * P.Width + V.X)] = V.Index;
  EXPECT_EQ(Indexes(*Result), Expected);
}

TEST(ReduceBitmapColors, CustomPaletteIsCopiedAndCut) {
  PalettePtr Custom(MakePalette({{0, 0, 0}, {9, 9, 9}, {200, 0, 0}}));
  const auto Source = BitmapOf(Strip({{198, 3, 1}, {7, 8, 9}}));
  const auto Result = Reduce(*Source, rdCustomPalette, dkNone, 8, Custom.get());
  EXPECT_EQ(Indexes(*Result), (std::vector<int>{2, 1}));
  EXPECT_NE(Result->Palette(), Custom.get());
  EXPECT_EQ(gdi::GetObjectType(Custom.get()), gdi::OBJ_PAL);
  EXPECT_EQ(ColorsOf(Custom.get()), ColorsOf(Result->Palette()));

  std::vector<RGB> Many;
  for (int I = 0; I < 300; ++I) Many.push_back({I % 256, I / 256, 0});
  PalettePtr Big(MakePalette(Many));
  const auto FromBig = Reduce(*Source, rdCustomPalette, dkSierra, 8, Big.get());
  EXPECT_EQ(ColorsOf(FromBig->Palette()).size(), 256u);
  EXPECT_EQ(ColorsOf(Big.get()).size(), 300u);
}

TEST(ReduceBitmapColors, EmptyResults) {
  PalettePtr Custom(MakePalette({{0, 0, 0}}));
  const struct {
    const char* Name;
    TReductionMethod Method;
    TDitherKind Dither;
    gdi::HPALETTE Palette;
  } Cases[] = {
      {"method 10", static_cast<TReductionMethod>(10), dkNone, nullptr},
      {"method 255", static_cast<TReductionMethod>(255), dkFloydSteinberg, nullptr},
      {"dither 7", rdNetscape, static_cast<TDitherKind>(7), nullptr},
      {"dither 7, quantized", rdQuantize, static_cast<TDitherKind>(7), nullptr},
      {"no custom palette", rdCustomPalette, dkFloydSteinberg, nullptr},
  };
  for (const auto& C : Cases) {
    const auto Source = BitmapOf(RandomPicture(5, 3, 1), graphics::pf32bit);
    std::unique_ptr<TBitmap> Result;
    ASSERT_NO_THROW(Result = Reduce(*Source, C.Method, C.Dither, 8, C.Palette)) << C.Name;
    EXPECT_TRUE(Result->Empty()) << C.Name;
    EXPECT_EQ(Result->Width(), 0) << C.Name;
    EXPECT_EQ(Result->Height(), 0) << C.Name;
    EXPECT_EQ(Source->PixelFormat(), graphics::pf24bit) << C.Name;
  }
}

TEST(ReduceBitmapColors, AnEmptySourceHasNoDimensions) {
  for (TReductionMethod Method : {rdNetscape, rdQuantize, rdWindows20}) {
    TBitmap Empty;
    try {
      ReduceBitmapColors(Empty, Method, dkFloydSteinberg, 8, nullptr);
      ADD_FAILURE() << static_cast<int>(Method);
    } catch (const GIFException& E) {
      EXPECT_STREQ(E.what(), "Invalid image dimensions");
    }
  }
  TBitmap Empty;
  EXPECT_TRUE(ReduceBitmapColors(Empty, rdNone, dkNone, 8, nullptr)->Empty());
}

TEST(ReduceBitmapColors, QuantizeBitsOutOfRangeAreRefusedFirst) {
  for (int Bits : {9, 31, -1}) {
    const auto Source = BitmapOf(RandomPicture(5, 3, 1), graphics::pf32bit);
    try {
      Reduce(*Source, rdQuantize, dkNone, Bits);
      ADD_FAILURE() << Bits;
    } catch (const GIFException& E) {
      EXPECT_STREQ(E.what(), "Invalid color count");
    }
    EXPECT_EQ(Source->PixelFormat(), graphics::pf32bit) << Bits;
  }
  const auto Source = BitmapOf(RandomPicture(5, 3, 2));
  EXPECT_EQ(ColorsOf(Reduce(*Source, rdQuantize, dkNone, 0)->Palette()).size(), 1u);
}

TEST(ReduceBitmapColors, IndexedAndLargeSources) {
  // An 8-bit source becomes 24-bit with its colours; a result of more than 500000
  // pixels is still an 8-bit bitmap.
  const Picture P = Strip({{0, 0, 0}, {255, 255, 255}, {255, 0, 0}});
  const auto Indexed = BitmapOf(P, graphics::pf8bit);
  const auto Result = Reduce(*Indexed, rdNetscape);
  EXPECT_EQ(Indexed->PixelFormat(), graphics::pf24bit);
  EXPECT_EQ(TrueColors(*Indexed), P.Pixels);
  EXPECT_EQ(Indexes(*Result), (std::vector<int>{0, 215, 180}));

  Picture Large;
  Large.Width = 1001;
  Large.Height = 500;
  Large.Pixels.assign(500500, {10, 240, 90});
  const auto Big = BitmapOf(Large);
  const auto Reduced = Reduce(*Big, rdQuantize, dkFloydSteinberg, 8);
  EXPECT_EQ(Reduced->PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(ColorsOf(Reduced->Palette())[0], (RGB{10, 240, 90}));
  const std::vector<int> All = Indexes(*Reduced);
  EXPECT_EQ(std::set<int>(All.begin(), All.end()), std::set<int>{0});
}
