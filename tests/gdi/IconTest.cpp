// Icons keep copies of their bitmaps, hand out copies, and draw as (target AND mask)
// XOR colour.
#include <gtest/gtest.h>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Pixel.h"

using namespace gdi;

namespace {

// A memory DC holding a new 24-bit section of W x H filled with Color.
struct TTarget {
  TTarget(int W, int H, COLORREF Color) {
    BITMAPINFO Info{};
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = H;
    Info.bmiHeader.biBitCount = 24;
    Bitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, nullptr);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Bitmap);
    HBRUSH Brush = CreateSolidBrush(Color);
    FillRect(DC, base::Rect(0, 0, W, H), Brush);
    DeleteObject(Brush);
  }
  ~TTarget() {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
  HBITMAP Bitmap;
  HDC DC;
  HGDIOBJ Old;
};

// A 2 x 1 icon: the left pixel is opaque red, the right one transparent.
HICON MakeIcon() {
  const uint8_t MaskRows[] = {0x40, 0};  // bits: 0 1
  HBITMAP Mask = CreateBitmap(2, 1, 1, 1, MaskRows);
  TTarget Color(2, 1, RGB(0, 0, 0));
  SetPixel(Color.DC, 0, 0, RGB(255, 0, 0));
  ICONINFO Info;
  Info.hbmMask = Mask;
  Info.hbmColor = Color.Bitmap;
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Mask);
  return Icon;
}

TEST(Icon, DrawsOpaquePixelsAndKeepsTheTargetUnderTransparentOnes) {
  HICON Icon = MakeIcon();
  ASSERT_NE(Icon, nullptr);
  TTarget Target(4, 2, RGB(0, 0, 255));
  ASSERT_TRUE(DrawIconEx(Target.DC, 0, 0, Icon, 4, 2, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(Target.DC, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Target.DC, 2, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetTextColor(Target.DC), RGB(0, 0, 0));
  EXPECT_TRUE(DestroyIcon(Icon));
  EXPECT_FALSE(DestroyIcon(Icon));
}

TEST(Icon, InfoGivesCopiesTheCallerOwns) {
  HICON Icon = MakeIcon();
  ICONINFO First, Second;
  ASSERT_TRUE(GetIconInfo(Icon, &First));
  ASSERT_TRUE(GetIconInfo(Icon, &Second));
  EXPECT_NE(First.hbmMask, Second.hbmMask);
  EXPECT_TRUE(First.hbmMask->Monochrome());
  EXPECT_EQ(First.hbmColor->Format.Width, 2);
  EXPECT_TRUE(DeleteObject(First.hbmMask));
  EXPECT_TRUE(DeleteObject(First.hbmColor));
  DestroyIcon(Icon);
  EXPECT_EQ(GetObjectType(Second.hbmMask), OBJ_BITMAP) << "copies outlive the icon";
  DeleteObject(Second.hbmMask);
  DeleteObject(Second.hbmColor);
  EXPECT_FALSE(GetIconInfo(Icon, &First));
}

TEST(Icon, AMonochromeIconKeepsItsPictureUnderTheMask) {
  // Upper half the AND mask (0 1), lower half the XOR picture (1 0): white, then the target.
  const uint8_t Rows[] = {0x40, 0, 0x80, 0};
  HBITMAP Mask = CreateBitmap(2, 2, 1, 1, Rows);
  ICONINFO Info;
  Info.hbmMask = Mask;
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Mask);
  ASSERT_NE(Icon, nullptr);
  TTarget Target(2, 1, RGB(0, 255, 0));
  DrawIconEx(Target.DC, 0, 0, Icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(GetPixel(Target.DC, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(Target.DC, 1, 0), RGB(0, 255, 0));
  DestroyIcon(Icon);
}

TEST(Icon, RefusesMasksThatDoNotFit) {
  HBITMAP Mask = CreateBitmap(2, 3, 1, 1, nullptr);
  ICONINFO Info;
  Info.hbmMask = Mask;
  EXPECT_EQ(CreateIconIndirect(&Info), nullptr) << "an odd height cannot split in two";
  TTarget Color(3, 3, 0);
  Info.hbmColor = Color.Bitmap;
  EXPECT_EQ(CreateIconIndirect(&Info), nullptr);
  Info.hbmMask = nullptr;
  EXPECT_EQ(CreateIconIndirect(&Info), nullptr);
  DeleteObject(Mask);
}

}  // namespace
