#include <gtest/gtest.h>

#include "GIFTestSupport.h"
#include "gif/GIFImage.h"
#include "platform/base/Strings.h"

using namespace gif;
using namespace giftest;

namespace {

// A frame of the given pixel indexes (one row) appended to Image.
TGIFSubImage* AddFrame(TGIFImage& Image, const std::vector<uint8_t>& Pixels) {
  auto* Frame = new TGIFSubImage(&Image);
  Frame->SetBounds(0, 0, static_cast<uint16_t>(Pixels.size()), 1);
  std::copy(Pixels.begin(), Pixels.end(), Frame->Data());
  Image.AddFrame(Frame);
  return Frame;
}

std::vector<uint8_t> PixelsOf(const TGIFSubImage& Frame) {
  return {Frame.Data(), Frame.Data() + Frame.PixelBytes()};
}

std::vector<base::TColor> ColorsOf(TGIFColorMap& Map) {
  std::vector<base::TColor> Result;
  for (int I = 0; I < Map.Count(); ++I) Result.push_back(Map.Colors(I));
  return Result;
}

}  // namespace

TEST(ColorMap, CapacityGrowsInStepsAndOverflowsAt256) {
  TGIFImage Image;
  TGIFColorMap& Map = *Image.GetGlobalColorMap();
  Map.Add(1);
  EXPECT_EQ(Map.Capacity(), 16);
  for (int I = 1; I < 17; ++I) Map.Add(I);
  EXPECT_EQ(Map.Capacity(), 32);
  for (int I = 17; I < 256; ++I) Map.Add(I);
  EXPECT_EQ(Map.Capacity(), 256);
  try {
    Map.Add(0xABCDEF);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Color table overflow");
  }
  EXPECT_EQ(Map.Count(), 256);
  EXPECT_EQ(Map.Colors(255), 255);
}

TEST(ColorMap, WritesPaddedToAPowerOfTwo) {
  const struct { int Entries; int64_t Bytes; } Cases[] = {{0, 0}, {1, 6}, {2, 6}, {3, 12}, {5, 24}, {129, 768}};
  for (const auto& C : Cases) {
    TGIFImage Image;
    TGIFColorMap& Map = *Image.GetGlobalColorMap();
    for (int I = 0; I < C.Entries; ++I) Map.Add(0x010203 * (I + 1));
    base::TMemoryStream Out;
    Map.SaveToStream(Out);
    ASSERT_EQ(Out.Size(), C.Bytes) << C.Entries;
    if (C.Entries == 3) {
      const Bytes Expected = {3, 2, 1, 6, 4, 2, 9, 6, 3, 0, 0, 0};
      EXPECT_EQ(Out.Bytes(), Expected) << "red, green, blue; the pad entry is black";
    }
  }
}

TEST(ColorMap, IndexOfColorSearchesByOptimizedState) {
  TGIFImage Image;
  TGIFColorMap& Map = *Image.GetGlobalColorMap();
  for (base::TColor C : {0x112233, 0x445566, 0x112233, 0x778899}) Map.Add(C);
  EXPECT_EQ(Map.IndexOfColor(0x112233), 2);
  Map.SetOptimized(true);
  EXPECT_EQ(Map.IndexOfColor(0x112233), 0);
  EXPECT_EQ(Map.IndexOfColor(0x7F112233), 0) << "the top byte is ignored";
  EXPECT_EQ(Map.IndexOfColor(0x000001), -1);
  EXPECT_EQ(Map.AddUnique(0x445566), 1);
  Map.SetColors(3, 0);
  EXPECT_TRUE(Map.Optimized()) << "SetColors keeps the flag";
  EXPECT_EQ(Map.AddUnique(0x010101), 4);
  EXPECT_FALSE(Map.Optimized()) << "Add clears it";
  Map.SetOptimized(true);
  Map.Delete(0);
  EXPECT_FALSE(Map.Optimized()) << "Delete clears it";
  EXPECT_EQ(ColorsOf(Map), (std::vector<base::TColor>{0x445566, 0x112233, 0, 0x010101}));
}

TEST(ColorMap, BadIndexes) {
  TGIFImage Image;
  WarningLog Log(Image);
  TGIFColorMap& Map = *Image.GetGlobalColorMap();
  try {
    Map.Colors(0);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Color table is empty");
  }
  ASSERT_EQ(Log.Messages(), std::vector<std::string>{"Invalid color index"});
  EXPECT_EQ(Log.Items[0].Sender, &Map);
  EXPECT_EQ(Log.Items[0].Severity, sevWarning);

  for (base::TColor C : {0x10, 0x20, 0x30, 0x40}) Map.Add(C);
  EXPECT_EQ(Map.Colors(300), 0x10) << "warns and gives entry 0";
  EXPECT_EQ(Map.Colors(-1), 0x10);
  EXPECT_EQ(Log.Items.size(), 3u);
  EXPECT_THROW(Map.SetColors(4, 0), GIFException);
  EXPECT_THROW(Map.Delete(-1), GIFException);
}

TEST(ColorMap, ConvertsFromPalettesQuadsAndTriplets) {
  TGIFImage Image;
  TGIFColorMap& Map = *Image.GetGlobalColorMap();
  gdi::HPALETTE P = gdi::CreatePalette({0x300, {{1, 2, 3, gdi::PC_RESERVED}, {4, 5, 6, 0}}});
  Map.LoadFromPalette(P);
  gdi::DeleteObject(P);
  EXPECT_EQ(ColorsOf(Map), (std::vector<base::TColor>{0x030201, 0x060504}));

  gdi::HPALETTE Made = Map.MakePalette();
  gdi::PALETTEENTRY E[2];
  ASSERT_EQ(gdi::GetPaletteEntries(Made, 0, 2, E), 2u);
  EXPECT_EQ(E[1], (gdi::PALETTEENTRY{4, 5, 6, gdi::PC_NOCOLLAPSE}));
  gdi::DeleteObject(Made);

  const gdi::RGBQUAD Quads[] = {{9, 8, 7, 0}};
  Map.LoadFromRGBQuads(Quads, 1);
  EXPECT_EQ(ColorsOf(Map), std::vector<base::TColor>{0x090807});

  uint8_t Triplets[768] = {1, 1, 1, 2, 2, 2, 3, 3, 3};
  Map.SetTriplets(Triplets, 3);
  Map.SetTriplets(Map.Data(), 2);  // from its own buffer
  EXPECT_EQ(ColorsOf(Map), (std::vector<base::TColor>{0x010101, 0x020202}));
  EXPECT_EQ(TGIFLocalColorMap(nullptr).MakePalette(), nullptr);
}

TEST(ColorMapOptimize, SortsByUseDropsUnusedAndRemapsPixels) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, {2, 2, 2, 0, 2, 0, 3});
  TGIFColorMap& Map = *Frame->ColorMap();
  for (base::TColor C : {0xA0, 0xA1, 0xA2, 0xA3, 0xA4}) Map.Add(C);  // 1 and 4 unused
  EXPECT_TRUE(Map.Optimize());
  EXPECT_TRUE(Map.Optimized());
  EXPECT_EQ(ColorsOf(Map), (std::vector<base::TColor>{0xA2, 0xA0, 0xA3}));
  EXPECT_EQ(PixelsOf(*Frame), (std::vector<uint8_t>{0, 0, 0, 1, 0, 1, 2}));
}

TEST(ColorMapOptimize, KeepsATableAlreadyInOrderAndLeavesTinyTables) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, {0, 0, 0, 1, 1, 2});
  TGIFColorMap& Map = *Frame->ColorMap();
  for (base::TColor C : {1, 2, 3, 4}) Map.Add(C);
  EXPECT_TRUE(Map.Optimize());
  EXPECT_EQ(Map.Count(), 4) << "in order: the unused trailing entry stays";
  EXPECT_TRUE(Map.Optimized());

  TGIFSubImage* Single = AddFrame(Image, {0});
  Single->ColorMap()->Add(5);
  EXPECT_FALSE(Single->ColorMap()->Optimize());
  EXPECT_FALSE(Single->ColorMap()->Optimized());
}

TEST(ColorMapOptimize, GlobalTableServesFramesWithoutLocalTablesAndKeepsTheBackground) {
  TGIFImage Image;
  TGIFColorMap& Global = *Image.GetGlobalColorMap();
  EXPECT_FALSE(Global.TryOptimize()) << "no frames";
  for (base::TColor C : {0x00, 0x11, 0x22, 0x33, 0x44}) Global.Add(C);
  Image.Header().SetBackgroundColorIndex(4);
  TGIFSubImage* A = AddFrame(Image, {3, 3, 1, 200});
  TGIFSubImage* B = AddFrame(Image, {3, 1, 1});
  TGIFSubImage* Local = AddFrame(Image, {0, 0, 0, 0, 0});
  Local->ColorMap()->Add(0x99);
  Local->ColorMap()->Add(0x98);

  EXPECT_TRUE(Global.TryOptimize());
  EXPECT_EQ(ColorsOf(Global), (std::vector<base::TColor>{0x33, 0x11, 0x44})) << "0x00 and 0x22 are unused";
  EXPECT_EQ(PixelsOf(*A), (std::vector<uint8_t>{0, 0, 1, 200})) << "a value beyond the table keeps its value";
  EXPECT_EQ(PixelsOf(*B), (std::vector<uint8_t>{0, 1, 1}));
  EXPECT_EQ(PixelsOf(*Local), (std::vector<uint8_t>{0, 0, 0, 0, 0})) << "frames with their own table are untouched";
  EXPECT_EQ(Image.Header().BackgroundColorIndex(), 2);
  EXPECT_EQ(Image.BackgroundColor(), 0x44);
}

TEST(ColorMap, AssignCopiesEverythingAndRefusesOtherClasses) {
  TGIFImage Image;
  TGIFColorMap& Global = *Image.GetGlobalColorMap();
  for (base::TColor C : {7, 8, 9}) Global.Add(C);
  Global.SetOptimized(true);
  TGIFLocalColorMap Copy(nullptr);
  Copy.Assign(&Global);
  EXPECT_EQ(ColorsOf(Copy), ColorsOf(Global));
  EXPECT_TRUE(Copy.Optimized());
  base::TStringList NotAMap;
  EXPECT_THROW(Copy.Assign(&NotAMap), base::EConvertError);
}
