#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "platform/gdi/LastError.h"

using namespace gdi;
using namespace gdi::testing;

TEST(Bitmap, SectionsOfEveryDepthHaveAlignedZeroedRowsAndDescribeThemselves) {
  struct Case {
    int Bits;
    int32_t Width;
    int32_t Stride;
  };
  for (const Case& C :
       {Case{1, 33, 8}, Case{4, 9, 8}, Case{8, 3, 4}, Case{16, 3, 8}, Case{24, 3, 12}, Case{32, 3, 12}}) {
    SCOPED_TRACE(C.Bits);
    PixelFormat F = TrueColor("", C.Bits);
    if (C.Bits <= 8) F.Colors.assign(3, RGBQUAD{1, 2, 3, 0});
    Info I(C.Width, 5, F);
    void* Bits = nullptr;
    HBITMAP B = CreateDIBSection(nullptr, &I.Block, DIB_RGB_COLORS, &Bits);
    ASSERT_NE(B, nullptr);
    ASSERT_NE(Bits, nullptr);
    const auto* Bytes = static_cast<const uint8_t*>(Bits);
    for (int I2 = 0; I2 < C.Stride * 5; ++I2) ASSERT_EQ(Bytes[I2], 0);

    DIBSECTION D;
    ASSERT_EQ(GetObject(B, sizeof D, &D), static_cast<int>(sizeof D));
    EXPECT_EQ(D.dsBm.bmWidth, C.Width);
    EXPECT_EQ(D.dsBm.bmHeight, 5);
    EXPECT_EQ(D.dsBm.bmWidthBytes, C.Stride);
    EXPECT_EQ(D.dsBm.bmBitsPixel, C.Bits);
    EXPECT_EQ(D.dsBm.bmBits, Bits);
    EXPECT_EQ(D.dsBmih.biSize, 40u);
    EXPECT_EQ(D.dsBmih.biHeight, 5);
    EXPECT_EQ(D.dsBmih.biSizeImage, static_cast<uint32_t>(C.Stride * 5));
    EXPECT_EQ(D.dsBmih.biClrUsed, C.Bits == 1 ? 2u : C.Bits <= 8 ? 3u : 0u);  // a table holds 2^bits at most
    EXPECT_EQ(D.dsBitfields[0], C.Bits == 16 ? 0x7C00u : C.Bits == 32 ? 0xFF0000u : 0u);
    BITMAP Short;
    EXPECT_EQ(GetObject(B, sizeof Short, &Short), static_cast<int>(sizeof Short));
    EXPECT_EQ(GetObject(B, 0, nullptr), static_cast<int>(sizeof D));
    EXPECT_EQ(GetObjectType(B), OBJ_BITMAP);
    EXPECT_TRUE(DeleteObject(B));
  }
}

TEST(Bitmap, PositiveHeightIsBottomUpAndNegativeTopDown) {
  for (int32_t Height : {2, -2}) {
    Info I(1, Height, TrueColor("", 24));
    void* Bits = nullptr;
    HBITMAP B = CreateDIBSection(nullptr, &I.Block, DIB_RGB_COLORS, &Bits);
    Canvas C(B);
    SetPixel(C.DC, 0, 0, RGB(10, 20, 30));
    const auto* Row = static_cast<const uint8_t*>(Bits) + (Height > 0 ? 4 : 0);
    EXPECT_EQ(Row[0], 30);
    EXPECT_EQ(Row[2], 10);
    DIBSECTION D;
    GetObject(B, sizeof D, &D);
    EXPECT_EQ(D.dsBmih.biHeight, Height);
    EXPECT_EQ(D.dsBm.bmHeight, 2);
  }
}

TEST(Bitmap, HeadersASectionCannotHaveAreRefused) {
  auto Refused = [](auto Change, uint32_t Error) {
    Info I(4, 4, TrueColor("", 24));
    Change(I.Block.bmiHeader);
    SetLastError(0);
    void* Bits = &Bits;
    EXPECT_EQ(CreateDIBSection(nullptr, &I.Block, DIB_RGB_COLORS, &Bits), nullptr);
    EXPECT_EQ(Bits, nullptr);
    EXPECT_EQ(GetLastError(), Error);
  };
  Refused([](BITMAPINFOHEADER& H) { H.biBitCount = 7; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biPlanes = 2; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biWidth = 0; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biHeight = 0; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biSize = 12; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biCompression = BI_RLE8; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biCompression = BI_BITFIELDS; }, ERROR_INVALID_PARAMETER);  // 24 bits
  Refused([](BITMAPINFOHEADER& H) { H.biWidth = H.biHeight = 100000; }, ERROR_INVALID_PARAMETER);
  Refused([](BITMAPINFOHEADER& H) { H.biHeight = INT32_MIN; }, ERROR_INVALID_PARAMETER);

  Info Bad(4, 4, BitFields("", 16, 0xF800, 0x0FE0, 0x001F));  // overlapping masks
  EXPECT_EQ(CreateDIBSection(nullptr, &Bad.Block, DIB_RGB_COLORS, nullptr), nullptr);
  Info Gap(4, 4, BitFields("", 32, 0xFF0000, 0x00F0F0, 0x000000));
  EXPECT_EQ(CreateDIBSection(nullptr, &Gap.Block, DIB_RGB_COLORS, nullptr), nullptr);
}

TEST(Bitmap, MonochromeBitmapTakesWordAlignedRowsTopFirst) {
  const uint8_t Rows[] = {0x80, 0x01, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00};  // 17 x 2, 4 bytes a row
  HBITMAP Mask = CreateBitmap(17, 2, 1, 1, Rows);
  ASSERT_NE(Mask, nullptr);
  Canvas C(Mask);
  EXPECT_EQ(C.Color(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(C.Color(15, 0), RGB(255, 255, 255));
  EXPECT_EQ(C.Color(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(C.Color(16, 1), RGB(255, 255, 255));
  DIBSECTION D;
  EXPECT_EQ(GetObject(Mask, sizeof D, &D), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(D.dsBm.bmWidthBytes, 4);
  EXPECT_EQ(D.dsBm.bmBits, nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(0, 4, 1, 1, nullptr), nullptr);
}

TEST(Bitmap, CompatibleBitmapsFollowWhatTheDCDrawsOn) {
  HDC Screen = GetDC(nullptr);
  HBITMAP Device = CreateCompatibleBitmap(Screen, 5, 2);
  BITMAP B;
  ASSERT_EQ(GetObject(Device, sizeof(DIBSECTION), &B), static_cast<int>(sizeof B));
  EXPECT_EQ(B.bmBitsPixel, 24);
  EXPECT_EQ(B.bmWidthBytes, 16);

  HDC Memory = CreateCompatibleDC(Screen);
  HBITMAP Mono = CreateCompatibleBitmap(Memory, 3, 3);
  GetObject(Mono, sizeof B, &B);
  EXPECT_EQ(B.bmBitsPixel, 1);

  Canvas Eight(Indexed("8", 8, {{1, 2, 3, 0}, {4, 5, 6, 0}}), 2, 2);
  HBITMAP Same = CreateCompatibleBitmap(Eight.DC, 7, 3);
  DIBSECTION D;
  ASSERT_EQ(GetObject(Same, sizeof D, &D), static_cast<int>(sizeof D));
  EXPECT_EQ(D.dsBm.bmBitsPixel, 8);
  EXPECT_EQ(D.dsBm.bmWidth, 7);
  EXPECT_EQ(D.dsBmih.biClrUsed, 2u);
  EXPECT_EQ(Same->Format.Colors[1], (RGBQUAD{4, 5, 6, 0}));
  EXPECT_EQ(CreateCompatibleBitmap(Eight.DC, 0, 3), nullptr);

  for (HBITMAP H : {Device, Mono, Same}) EXPECT_TRUE(DeleteObject(H));
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
}

TEST(Bitmap, SelectedBitmapRefusesDeletionAndDeletedHandlesAreNoObjects) {
  HBITMAP B = MakeBitmap(TrueColor("", 24), 2, 2);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, B);
  EXPECT_FALSE(DeleteObject(B));
  EXPECT_FALSE(DeleteObject(DC));
  SelectObject(DC, Old);
  EXPECT_TRUE(DeleteObject(B));
  EXPECT_EQ(GetObjectType(B), 0u);
  EXPECT_TRUE(DeleteDC(DC));
  EXPECT_EQ(GetObjectType(DC), 0u);
}
