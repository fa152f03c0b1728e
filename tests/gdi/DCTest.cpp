#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/LastError.h"

using namespace gdi;
using namespace gdi::testing;

TEST(DC, NewMemoryDCHoldsStockObjectsAndSelectReturnsThePrevious) {
  HDC DC = CreateCompatibleDC(nullptr);
  ASSERT_NE(DC, nullptr);
  EXPECT_EQ(GetObjectType(DC), OBJ_MEMDC);
  auto* Stock = static_cast<HBITMAP>(GetCurrentObject(DC, OBJ_BITMAP));
  ASSERT_NE(Stock, nullptr);
  EXPECT_EQ(Stock->Format.Width, 1);
  EXPECT_TRUE(Stock->Monochrome());
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));

  HBITMAP A = MakeBitmap(TrueColor("", 24), 2, 2);
  HBITMAP B = MakeBitmap(TrueColor("", 24), 2, 2);
  EXPECT_EQ(SelectObject(DC, A), Stock);
  EXPECT_EQ(SelectObject(DC, B), A);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BITMAP), B);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_EQ(SelectObject(DC, Red), GetStockObject(WHITE_BRUSH));
  EXPECT_FALSE(DeleteObject(Red));

  LOGPALETTE Log;
  Log.palPalEntry = {{1, 2, 3, 0}};
  HPALETTE P = CreatePalette(Log);
  EXPECT_EQ(SelectObject(DC, P), nullptr);  // palettes go through SelectPalette
  EXPECT_EQ(SelectPalette(DC, P, false), GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(DC), 1u);
  EXPECT_FALSE(DeleteObject(P));

  EXPECT_EQ(SetTextColor(DC, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(SetTextColor(DC, RGB(4, 5, 6)), RGB(1, 2, 3));
  EXPECT_EQ(SetBkColor(DC, RGB(7, 8, 9)), RGB(255, 255, 255));
  EXPECT_EQ(SetStretchBltMode(DC, HALFTONE), BLACKONWHITE);
  EXPECT_EQ(SetStretchBltMode(DC, 9), 0);
  EXPECT_EQ(SetStretchBltMode(DC, COLORONCOLOR), HALFTONE);

  // Deleting the DC lets go of what it held, without deleting it.
  EXPECT_TRUE(DeleteDC(DC));
  EXPECT_TRUE(DeleteObject(B));
  EXPECT_TRUE(DeleteObject(Red));
  EXPECT_TRUE(DeleteObject(P));
  EXPECT_TRUE(DeleteObject(A));
}

TEST(DC, ABitmapLivesInOneDCAtATime) {
  HBITMAP B = MakeBitmap(TrueColor("", 24), 2, 2);
  HDC First = CreateCompatibleDC(nullptr);
  HDC Second = CreateCompatibleDC(First);
  HGDIOBJ Old = SelectObject(First, B);
  EXPECT_EQ(SelectObject(Second, B), nullptr);
  EXPECT_EQ(SelectObject(First, B), B);  // again into the same DC
  SelectObject(First, Old);
  EXPECT_NE(SelectObject(Second, B), nullptr);
  DeleteDC(Second);
  DeleteDC(First);
  EXPECT_TRUE(DeleteObject(B));
}

TEST(DC, ScreenDCIsTheDeviceAndTakesNoBitmap) {
  HDC Screen = GetDC(nullptr);
  ASSERT_NE(Screen, nullptr);
  EXPECT_EQ(GetObjectType(Screen), OBJ_DC);
  EXPECT_EQ(GetCurrentObject(Screen, OBJ_BITMAP), nullptr);
  HBITMAP B = MakeBitmap(TrueColor("", 24), 2, 2);
  EXPECT_EQ(SelectObject(Screen, B), nullptr);
  EXPECT_FALSE(DeleteDC(Screen));
  EXPECT_EQ(ReleaseDC(nullptr, Screen), 1);
  HDC Memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, Memory), 0);
  DeleteDC(Memory);
  DeleteObject(B);
}

TEST(DC, ColorTableOfTheSelectedSection) {
  Canvas C(Indexed("4", 4, {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}}), 2, 2);
  RGBQUAD Table[256];
  EXPECT_EQ(GetDIBColorTable(C.DC, 0, 256, Table), 3u);
  EXPECT_EQ(Table[2], (RGBQUAD{3, 3, 3, 0}));
  const RGBQUAD New[] = {{9, 8, 7, 5}, {6, 5, 4, 0}, {0, 0, 0, 0}};
  EXPECT_EQ(SetDIBColorTable(C.DC, 1, 3, New), 2u);
  EXPECT_EQ(GetDIBColorTable(C.DC, 1, 1, Table), 1u);
  EXPECT_EQ(Table[0], (RGBQUAD{9, 8, 7, 0}));
  C.SetValue(0, 0, 1);
  EXPECT_EQ(C.Color(0, 0), RGB(7, 8, 9));
  EXPECT_EQ(GetDIBColorTable(C.DC, 3, 1, Table), 0u);

  Canvas True(TrueColor("24", 24), 2, 2);
  EXPECT_EQ(GetDIBColorTable(True.DC, 0, 256, Table), 0u);
  Canvas Mono(MonoDevice(), 2, 2);
  EXPECT_EQ(GetDIBColorTable(Mono.DC, 0, 256, Table), 0u);
}

TEST(DC, PixelsOutsideTheBitmapAreInvalid) {
  Canvas C(TrueColor("24", 24), 3, 2);
  EXPECT_EQ(SetPixel(C.DC, 3, 0, RGB(1, 1, 1)), CLR_INVALID);
  EXPECT_EQ(GetPixel(C.DC, 0, -1), CLR_INVALID);
  HDC Screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(Screen, 0, 0), CLR_INVALID);
  ReleaseDC(nullptr, Screen);
  // An indexed bitmap keeps the nearest of its colours; SetPixel tells which.
  Canvas Eight(Indexed("8", 8, {{0, 0, 0, 0}, {0, 0, 200, 0}}), 1, 1);
  EXPECT_EQ(SetPixel(Eight.DC, 0, 0, RGB(255, 10, 10)), RGB(200, 0, 0));
  EXPECT_EQ(Eight.Value(0, 0), 1u);
}
