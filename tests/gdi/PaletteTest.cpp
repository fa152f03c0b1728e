#include <gtest/gtest.h>

#include "platform/gdi/Palette.h"

using namespace gdi;

TEST(Palette, CreateReadAndDeleteKeepFlags) {
  LOGPALETTE Log;
  Log.palPalEntry = {{1, 2, 3, PC_NOCOLLAPSE}, {4, 5, 6, 0}, {7, 8, 9, PC_RESERVED}};
  HPALETTE P = CreatePalette(Log);
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(GetPaletteEntries(P, 0, 0, nullptr), 3u);
  PALETTEENTRY Out[4] = {};
  EXPECT_EQ(GetPaletteEntries(P, 1, 4, Out), 2u);
  EXPECT_EQ(Out[0], (PALETTEENTRY{4, 5, 6, 0}));
  EXPECT_EQ(Out[1], (PALETTEENTRY{7, 8, 9, PC_RESERVED}));
  EXPECT_EQ(GetPaletteEntries(P, 3, 1, Out), 0u);
  uint16_t Count = 0;
  EXPECT_EQ(GetObject(P, sizeof Count, &Count), 2);
  EXPECT_EQ(Count, 3);
  EXPECT_TRUE(DeleteObject(P));
}

TEST(Palette, InvalidRequestsAreRefused) {
  EXPECT_EQ(CreatePalette(LOGPALETTE{}), nullptr);
  LOGPALETTE Old{0x200, {{0, 0, 0, 0}}};
  EXPECT_EQ(CreatePalette(Old), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_EQ(GetPaletteEntries(nullptr, 0, 1, nullptr), 0u);
}

TEST(Palette, StockDefaultPaletteHasTwentyStaticColoursAndSurvivesDelete) {
  auto* P = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  ASSERT_NE(P, nullptr);
  PALETTEENTRY E[20];
  ASSERT_EQ(GetPaletteEntries(P, 0, 20, E), 20u);
  EXPECT_EQ(E[0], (PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_EQ(E[7], (PALETTEENTRY{192, 192, 192, 0}));
  EXPECT_EQ(E[19], (PALETTEENTRY{255, 255, 255, 0}));
  EXPECT_FALSE(DeleteObject(P));
  EXPECT_EQ(GetStockObject(DEFAULT_PALETTE), P);
}

TEST(Palette, NearestIndexBySquaredDistanceFirstOfEqualWins) {
  LOGPALETTE Log;
  Log.palPalEntry = {{100, 0, 0, 0}, {60, 60, 0, 0}, {0, 0, 90, 0}, {0, 0, 90, 0}, {0, 90, 0, 0}};
  HPALETTE P = CreatePalette(Log);
  EXPECT_EQ(GetNearestPaletteIndex(P, RGB(0, 0, 0)), 1u);  // 7200 beats 8100 and 10000
  EXPECT_EQ(GetNearestPaletteIndex(P, RGB(0, 0, 200)), 2u);
  EXPECT_EQ(GetNearestPaletteIndex(P, RGB(0, 45, 45)), 2u);  // equal to 2, 3 and 4
  EXPECT_EQ(GetNearestPaletteIndex(P, PALETTEINDEX(4)), 1u);  // the flag byte is not a colour
  EXPECT_EQ(GetNearestPaletteIndex(nullptr, RGB(0, 0, 0)), CLR_INVALID);
  DeleteObject(P);
}
