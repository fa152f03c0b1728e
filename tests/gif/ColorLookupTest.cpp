#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ColorReductionTestSupport.h"
#include "gif/ColorLookup.h"
#include "gif/FixedPalettes.h"
#include "platform/gdi/Halftone.h"

using namespace gif;
using giftest::MakePalette;
using giftest::PalettePtr;
using giftest::RGB;

namespace {

struct Answer {
  int Index;
  RGB Color;
  friend bool operator==(const Answer&, const Answer&) = default;
};

Answer Ask(TColorLookup& Lookup, int Red, int Green, int Blue) {
  uint8_t R = 1, G = 2, B = 3;
  const int Index =
      Lookup.Lookup(static_cast<uint8_t>(Red), static_cast<uint8_t>(Green), static_cast<uint8_t>(Blue), R, G, B);
  return {Index, {R, G, B}};
}

std::vector<gdi::PALETTEENTRY> EntriesOf(gdi::HPALETTE Palette) {
  std::vector<gdi::PALETTEENTRY> Entries(gdi::GetPaletteEntries(Palette, 0, 0, nullptr));
  gdi::GetPaletteEntries(Palette, 0, static_cast<uint32_t>(Entries.size()), Entries.data());
  return Entries;
}

}  // namespace

TEST(FixedPalettes, EntriesAndFlags) {
  auto Grey = [](int L, uint8_t Flags) {
    return gdi::PALETTEENTRY{static_cast<uint8_t>(L), static_cast<uint8_t>(L), static_cast<uint8_t>(L), Flags};
  };
  std::vector<gdi::PALETTEENTRY> Web, Greys;
  for (int R = 0; R < 6; ++R)
    for (int G = 0; G < 6; ++G)
      for (int B = 0; B < 6; ++B)
        Web.push_back({static_cast<uint8_t>(R * 51), static_cast<uint8_t>(G * 51), static_cast<uint8_t>(B * 51), 0});
  for (int I = 0; I < 256; ++I) Greys.push_back(Grey(I, gdi::PC_NOCOLLAPSE));
  const struct {
    const char* Name;
    gdi::HPALETTE (*Make)();
    std::vector<gdi::PALETTEENTRY> Expected;
  } Cases[] = {
      {"web", WebPalette, Web},
      {"greys", GrayScalePalette, Greys},
      {"monochrome", MonochromePalette, {Grey(0, gdi::PC_NOCOLLAPSE), Grey(255, gdi::PC_NOCOLLAPSE)}},
      {"four greys",
       FourGrayPalette,
       {Grey(0, gdi::PC_NOCOLLAPSE), Grey(0x80, gdi::PC_NOCOLLAPSE), Grey(0xC0, gdi::PC_NOCOLLAPSE),
        Grey(0xFF, gdi::PC_NOCOLLAPSE)}},
      {"halftone", HalftonePalette, gdi::HalftonePaletteEntries()},
  };
  for (const auto& C : Cases) {
    PalettePtr P(C.Make());
    ASSERT_NE(P, nullptr) << C.Name;
    EXPECT_EQ(P->Version, 0x300) << C.Name;
    EXPECT_EQ(EntriesOf(P.get()), C.Expected) << C.Name;
  }
}

TEST(FixedPalettes, WebPaletteLandmarks) {
  PalettePtr P(WebPalette());
  const auto E = EntriesOf(P.get());
  ASSERT_EQ(E.size(), 216u);
  const struct { size_t Index; gdi::PALETTEENTRY Color; } Cases[] = {
      {0, {0, 0, 0, 0}}, {215, {255, 255, 255, 0}}, {180, {255, 0, 0, 0}}, {30, {0, 255, 0, 0}}, {5, {0, 0, 255, 0}},
  };
  for (const auto& C : Cases) EXPECT_EQ(E[C.Index], C.Color) << C.Index;
}

TEST(FixedPalettes, HalftonePaletteIsNewEachTime) {
  PalettePtr A(HalftonePalette()), B(HalftonePalette());
  EXPECT_NE(A.get(), B.get());
  EXPECT_EQ(gdi::GetPaletteEntries(A.get(), 0, 0, nullptr), 256u);
}

TEST(NetscapeColorLookup, LevelStepsAndAnswers) {
  TNetscapeColorLookup Lookup;
  EXPECT_EQ(Lookup.Colors(), 216);
  // The level of each channel steps up at 48, 99, 150, 201 and 252.
  const struct { int Value, Level; } Steps[] = {{0, 0},   {47, 0},  {48, 1},  {98, 1},  {99, 2},  {149, 2},
                                                {150, 3}, {200, 3}, {201, 4}, {251, 4}, {252, 5}, {255, 5}};
  for (const auto& S : Steps) {
    EXPECT_EQ(Ask(Lookup, S.Value, 0, 0), (Answer{36 * S.Level, {51 * S.Level, 0, 0}})) << S.Value;
    EXPECT_EQ(Ask(Lookup, 0, S.Value, 0), (Answer{6 * S.Level, {0, 51 * S.Level, 0}})) << S.Value;
    EXPECT_EQ(Ask(Lookup, 0, 0, S.Value), (Answer{S.Level, {0, 0, 51 * S.Level}})) << S.Value;
  }
  EXPECT_EQ(Ask(Lookup, 255, 0, 0), (Answer{180, {255, 0, 0}}));
  EXPECT_EQ(Ask(Lookup, 0, 0, 255), (Answer{5, {0, 0, 255}}));
}

TEST(NetscapeColorLookup, AgreesWithTheWebPalette) {
  PalettePtr P(WebPalette());
  const auto E = EntriesOf(P.get());
  TNetscapeColorLookup Lookup;
  for (int R = 0; R < 256; R += 5)
    for (int G = 0; G < 256; G += 17)
      for (int B = 0; B < 256; B += 3) {
        const Answer A = Ask(Lookup, R, G, B);
        const gdi::PALETTEENTRY& Entry = E[static_cast<size_t>(A.Index)];
        ASSERT_EQ(A.Color, (RGB{Entry.peRed, Entry.peGreen, Entry.peBlue})) << R << " " << G << " " << B;
      }
}

TEST(GrayScaleLookup, Luminance) {
  TGrayScaleLookup Lookup;
  EXPECT_EQ(Lookup.Colors(), 256);
  const struct { RGB In; int Grey; } Cases[] = {
      {{255, 255, 255}, 255}, {{255, 0, 0}, 76}, {{0, 255, 0}, 149}, {{0, 0, 255}, 28}, {{0, 0, 0}, 0}, {{10, 20, 30}, 18},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Ask(Lookup, C.In.R, C.In.G, C.In.B), (Answer{C.Grey, {C.Grey, C.Grey, C.Grey}})) << C.Grey;
}

TEST(MonochromeLookup, Threshold) {
  TMonochromeLookup Lookup;
  EXPECT_EQ(Lookup.Colors(), 2);
  const Answer Black{0, {0, 0, 0}}, White{1, {255, 255, 255}};
  const struct { RGB In; Answer Out; } Cases[] = {
      {{128, 128, 128}, White},  // 32768
      {{127, 127, 127}, Black},  // 32512
      {{255, 255, 0}, White},    {{0, 0, 255}, Black}, {{255, 0, 0}, Black}, {{0, 217, 0}, White}, {{0, 216, 0}, Black},
  };
  for (const auto& C : Cases) EXPECT_EQ(Ask(Lookup, C.In.R, C.In.G, C.In.B), C.Out) << C.In.R << " " << C.In.G;
}

TEST(FastColorLookup, NearestBySumOfDifferences) {
  PalettePtr P(MakePalette({{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}));
  TFastColorLookup Lookup(P.get());
  EXPECT_EQ(Lookup.Colors(), 4);
  EXPECT_EQ(Ask(Lookup, 200, 0, 0), (Answer{1, {255, 0, 0}}));
  EXPECT_EQ(Ask(Lookup, 0, 0, 130), (Answer{3, {0, 0, 255}}));
  EXPECT_EQ(Ask(Lookup, 64, 64, 64), (Answer{0, {0, 0, 0}}));
}

TEST(FastColorLookup, SumOfDifferencesIsNotSquaredDistance) {
  // (150, 100, 100) is 50 away by the sum, 2500 squared; (120, 120, 120) is 60 and 1200.
  PalettePtr P(MakePalette({{150, 100, 100}, {120, 120, 120}}));
  TFastColorLookup Lookup(P.get());
  EXPECT_EQ(Ask(Lookup, 100, 100, 100).Index, 0);
}

TEST(FastColorLookup, LowestIndexWinsATie) {
  PalettePtr P(MakePalette({{9, 9, 9}, {40, 40, 40}, {40, 40, 40}, {60, 60, 60}, {80, 80, 80}}));
  TFastColorLookup Lookup(P.get());
  EXPECT_EQ(Ask(Lookup, 40, 40, 40), (Answer{1, {40, 40, 40}}));
  // 70 lies halfway between entries 3 and 4.
  EXPECT_EQ(Ask(Lookup, 70, 70, 70).Index, 3);
}

TEST(FastColorLookup, EachEntrySeedsItsOwnCellBeforeAnyLookup) {
  // Entries 0 and 1 share a cell, which entry 0 holds from the start.
  PalettePtr P(MakePalette({{0, 0, 0}, {7, 0, 0}, {200, 200, 200}}));
  TFastColorLookup Lookup(P.get());
  EXPECT_EQ(Ask(Lookup, 7, 0, 0), (Answer{0, {0, 0, 0}}));
  EXPECT_EQ(Ask(Lookup, 0, 0, 0), (Answer{0, {0, 0, 0}}));
  // The next cell along red is searched: entry 1 is nearest, and stays its answer.
  EXPECT_EQ(Ask(Lookup, 8, 0, 0).Index, 1);
  EXPECT_EQ(Ask(Lookup, 15, 7, 7).Index, 1);
  EXPECT_EQ(Ask(Lookup, 207, 207, 207).Index, 2);
}

TEST(FastColorLookup, CellsHoldFiveBitsPerChannel) {
  // Colours that differ only beyond the top five bits of one channel share a cell;
  // one step in the fifth bit of any channel leaves it.
  PalettePtr P(MakePalette({{0, 0, 0}, {255, 255, 255}, {8, 8, 8}}));
  TFastColorLookup Lookup(P.get());
  EXPECT_EQ(Ask(Lookup, 3, 3, 3).Index, 0);
  const struct { RGB In; int Index; } Cases[] = {
      {{7, 7, 7}, 0}, {{8, 7, 7}, 2}, {{7, 8, 7}, 2}, {{7, 7, 8}, 2}, {{4, 0, 1}, 0},
  };
  for (const auto& C : Cases) EXPECT_EQ(Ask(Lookup, C.In.R, C.In.G, C.In.B).Index, C.Index) << C.In.R << C.In.G << C.In.B;
}

TEST(FastColorLookup, PaletteSizes) {
  EXPECT_EQ(TFastColorLookup(nullptr).Colors(), 0);
  std::vector<RGB> Many;
  for (int I = 0; I < 300; ++I) Many.push_back({I % 256, I / 256, 7});
  PalettePtr Big(MakePalette(Many));
  TFastColorLookup Lookup(Big.get());
  EXPECT_EQ(Lookup.Colors(), 256);
  // Entry 256 onwards are not served: (0, 1, 7) is entry 256 of the palette.
  EXPECT_LT(Ask(Lookup, 0, 1, 7).Index, 256);
  EXPECT_EQ(Ask(Lookup, 0, 1, 7), (Answer{0, {0, 0, 7}}));
}
