#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ColorReductionTestSupport.h"
#include "gif/ColorQuantizer.h"
#include "gif/GIFException.h"

using namespace gif;
using giftest::RGB;

namespace {

// Pixels as blue, green, red bytes.
std::vector<uint8_t> BGR(const std::vector<RGB>& Colors) {
  std::vector<uint8_t> Result;
  for (const RGB& C : Colors) {
    Result.push_back(static_cast<uint8_t>(C.B));
    Result.push_back(static_cast<uint8_t>(C.G));
    Result.push_back(static_cast<uint8_t>(C.R));
  }
  return Result;
}

std::vector<RGB> Leaves(const TColorQuantizer& Q) {
  std::vector<gdi::PALETTEENTRY> Entries;
  Q.CollectLeafColors(Entries);
  std::vector<RGB> Result;
  for (const auto& E : Entries) {
    EXPECT_EQ(E.peFlags, 0);
    Result.push_back({E.peRed, E.peGreen, E.peBlue});
  }
  return Result;
}

std::vector<RGB> Quantize(int Limit, const std::vector<RGB>& Colors) {
  TColorQuantizer Q(Limit, 8);
  const std::vector<uint8_t> Pixels = BGR(Colors);
  Q.FeedPixels(Pixels.data(), static_cast<int32_t>(Colors.size()));
  return Leaves(Q);
}

// Red 7, green 7, blue 7, red 6, ... blue 0 as one number: the order of the leaves.
uint32_t TreeKey(const RGB& C) {
  uint32_t Key = 0;
  for (int Bit = 7; Bit >= 0; --Bit)
    Key = Key << 3 | static_cast<uint32_t>(((C.R >> Bit) & 1) << 2 | ((C.G >> Bit) & 1) << 1 | ((C.B >> Bit) & 1));
  return Key;
}

struct PaletteDeleter {
  void operator()(gdi::PaletteObject* P) const { gdi::DeleteObject(P); }
};
using PalettePtr = std::unique_ptr<gdi::PaletteObject, PaletteDeleter>;

std::vector<gdi::PALETTEENTRY> EntriesOf(gdi::HPALETTE Palette) {
  std::vector<gdi::PALETTEENTRY> Entries(gdi::GetPaletteEntries(Palette, 0, 0, nullptr));
  gdi::GetPaletteEntries(Palette, 0, static_cast<uint32_t>(Entries.size()), Entries.data());
  return Entries;
}

PalettePtr PaletteOf(int Colors, bool WithSystemColors, const std::vector<RGB>& Pixels) {
  const std::vector<uint8_t> Bytes = BGR(Pixels);
  return PalettePtr(QuantizedPalette(Colors, 8, WithSystemColors, [&](TColorQuantizer& Q) {
    Q.FeedPixels(Bytes.data(), static_cast<int32_t>(Pixels.size()));
  }));
}

}  // namespace

TEST(ColorQuantizer, OneColourIsOneExactLeaf) {
  for (int Limit : {1, 2, 256}) {
    TColorQuantizer Q(Limit, 8);
    const std::vector<uint8_t> Pixels = BGR(std::vector<RGB>(50, RGB{201, 7, 99}));
    Q.FeedPixels(Pixels.data(), 50);
    EXPECT_EQ(Q.LeavesFound(), 1);
    EXPECT_EQ(Leaves(Q), (std::vector<RGB>{{201, 7, 99}})) << Limit;
  }
}

TEST(ColorQuantizer, EightColoursComeInTreeOrder) {
  const std::vector<RGB> Colors = {{255, 0, 0}, {0, 0, 255}, {1, 0, 0},     {0, 1, 0},
                                   {128, 128, 128}, {127, 255, 0}, {0, 0, 1}, {200, 100, 50}};
  std::vector<RGB> Expected = Colors;
  std::sort(Expected.begin(), Expected.end(), [](const RGB& A, const RGB& B) { return TreeKey(A) < TreeKey(B); });
  EXPECT_EQ(Quantize(8, Colors), Expected);
  std::vector<RGB> Reversed(Colors.rbegin(), Colors.rend());
  EXPECT_EQ(Quantize(8, Reversed), Expected);
}

TEST(ColorQuantizer, MergesTheDeepestNewestBranch) {
  const struct {
    const char* Name;
    int Limit;
    std::vector<RGB> Pixels;
    std::vector<RGB> Expected;
  } Cases[] = {
      // Colours one lowest bit apart share every node down to level 7; folding it
      // averages them, weighted by their pixels and cut towards zero.
      {"lowest bit", 1, {{11, 20, 30}, {11, 20, 30}, {11, 20, 30}, {10, 20, 30}}, {{10, 20, 30}}},
      {"lowest bit kept apart", 2, {{11, 20, 30}, {10, 20, 31}}, {{10, 20, 31}, {11, 20, 30}}},
      // The level-7 branch of (255, 255, 254) is the newest and folds first (changing
      // nothing), then the one of black and (0, 0, 1); white later joins its leaf.
      {"newest first",
       2,
       {{0, 0, 0}, {0, 0, 1}, {255, 255, 254}, {255, 255, 255}},
       {{0, 0, 0}, {255, 255, 254}}},
      // Black and (0, 0, 2) part at level 6. Every level-7 branch holds one leaf and
      // folds without effect; then level 6 is the deepest, and the branch of white
      // (newest) folds before the one of black and (0, 0, 2), which averages them.
      {"level 6 after level 7", 2, {{0, 0, 0}, {0, 0, 2}, {255, 255, 255}}, {{0, 0, 1}, {255, 255, 255}}},
  };
  for (const auto& C : Cases) EXPECT_EQ(Quantize(C.Limit, C.Pixels), C.Expected) << C.Name;
}

TEST(ColorQuantizer, NeverHoldsMoreLeavesThanTheLimit) {
  const giftest::Picture P = giftest::RandomPicture(64, 64, 7);
  for (int Limit : {1, 7, 16, 255}) {
    TColorQuantizer Q(Limit, 8);
    const std::vector<uint8_t> Pixels = BGR(P.Pixels);
    for (int Y = 0; Y < P.Height; ++Y) {
      Q.FeedPixels(Pixels.data() + Y * P.Width * 3, P.Width);
      ASSERT_LE(Q.LeavesFound(), Limit);
    }
    EXPECT_EQ(static_cast<int>(Leaves(Q).size()), Q.LeavesFound());
  }
}

TEST(ColorQuantizer, SumsDoNotOverflowOnHugeRuns) {
  // 17 million white pixels add up to more than 2^32 per channel.
  TColorQuantizer Q(4, 8);
  const std::vector<uint8_t> Row(3 * 1000000, 255);
  for (int I = 0; I < 17; ++I) Q.FeedPixels(Row.data(), 1000000);
  const std::vector<uint8_t> Other = BGR({{0, 0, 0}});
  Q.FeedPixels(Other.data(), 1);
  EXPECT_EQ(Leaves(Q), (std::vector<RGB>{{0, 0, 0}, {255, 255, 255}}));
}

TEST(ColorQuantizer, RefusesBadLimits) {
  const struct { int Colors, Depth; const char* Message; } Cases[] = {
      {0, 8, "Invalid color count"},  {257, 8, "Invalid color count"}, {-1, 8, "Invalid color count"},
      {256, 0, "Invalid color depth"}, {256, 9, "Invalid color depth"},
  };
  for (const auto& C : Cases) {
    try {
      TColorQuantizer Q(C.Colors, C.Depth);
      ADD_FAILURE() << C.Colors << " " << C.Depth;
    } catch (const GIFException& E) {
      EXPECT_STREQ(E.what(), C.Message);
    }
    bool Fed = false;
    EXPECT_THROW(QuantizedPalette(C.Colors, C.Depth, false, [&](TColorQuantizer&) { Fed = true; }), GIFException);
    EXPECT_FALSE(Fed);
  }
  EXPECT_NO_THROW(TColorQuantizer(1, 1));
  EXPECT_NO_THROW(TColorQuantizer(256, 8));
}

TEST(ColorQuantizer, ShallowTreesAverageTheirCells) {
  // With depth 1 the leaves are the eight octants of the cube.
  TColorQuantizer Q(8, 1);
  const std::vector<uint8_t> Pixels = BGR({{10, 10, 10}, {30, 50, 70}, {200, 10, 10}});
  Q.FeedPixels(Pixels.data(), 3);
  EXPECT_EQ(Leaves(Q), (std::vector<RGB>{{20, 30, 40}, {200, 10, 10}}));
}

TEST(QuantizedPalette, FewerColoursThanEntriesLeaveBlack) {
  PalettePtr P = PaletteOf(8, false, {{9, 9, 9}, {250, 1, 1}, {9, 9, 9}, {3, 200, 40}});
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Version, 0x300);
  const std::vector<gdi::PALETTEENTRY> Expected = {{9, 9, 9, 0}, {3, 200, 40, 0}, {250, 1, 1, 0}, {0, 0, 0, 0},
                                                   {0, 0, 0, 0}, {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0}};
  EXPECT_EQ(EntriesOf(P.get()), Expected);
}

TEST(QuantizedPalette, SystemColoursAtBothEnds) {
  const giftest::Picture Picture = giftest::RandomPicture(40, 40, 3);
  PalettePtr P = PaletteOf(256, true, Picture.Pixels);
  const std::vector<gdi::PALETTEENTRY> E = EntriesOf(P.get());
  ASSERT_EQ(E.size(), 256u);
  const std::vector<gdi::PALETTEENTRY>& System = gdi::DefaultPaletteEntries();
  for (size_t I = 0; I < 10; ++I) {
    EXPECT_EQ(E[I], System[I]) << I;
    EXPECT_EQ(E[246 + I], System[10 + I]) << I;
  }
  // The middle holds the 236 leaves of the picture's own tree.
  TColorQuantizer Q(236, 8);
  std::vector<uint8_t> Bytes = BGR(Picture.Pixels);
  Q.FeedPixels(Bytes.data(), static_cast<int32_t>(Picture.Pixels.size()));
  std::vector<gdi::PALETTEENTRY> Middle;
  Q.CollectLeafColors(Middle);
  // A fold can take away up to seven leaves at once, so a few may stay black.
  ASSERT_LE(Middle.size(), 236u);
  ASSERT_GT(Middle.size(), 200u);
  Middle.resize(236);
  EXPECT_TRUE(std::equal(Middle.begin(), Middle.end(), E.begin() + 10));
}

TEST(QuantizedPalette, SystemColoursWithFewColours) {
  PalettePtr P = PaletteOf(5, true, {{1, 2, 3}});
  const std::vector<gdi::PALETTEENTRY> E = EntriesOf(P.get());
  ASSERT_EQ(E.size(), 256u);
  EXPECT_EQ(E[10], (gdi::PALETTEENTRY{1, 2, 3, 0}));
  for (size_t I = 11; I < 246; ++I) EXPECT_EQ(E[I], (gdi::PALETTEENTRY{})) << I;
  EXPECT_EQ(E[255], gdi::DefaultPaletteEntries()[19]);
}
