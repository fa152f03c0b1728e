#include <gtest/gtest.h>

#include "platform/gdi/DeviceCaps.h"
#include "platform/gdi/Halftone.h"
#include "platform/gdi/SysColors.h"

using namespace gdi;

TEST(Halftone, StaticColoursFrameACubeAndGreys) {
  const std::vector<PALETTEENTRY>& H = HalftonePaletteEntries();
  const std::vector<PALETTEENTRY>& Static = DefaultPaletteEntries();
  ASSERT_EQ(H.size(), 256u);
  for (int I = 0; I < 10; ++I) {
    EXPECT_EQ(H[I], Static[I]);
    EXPECT_EQ(H[246 + I], Static[10 + I]);
  }
  EXPECT_EQ(H[10], (PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_EQ(H[10 + 36 * 5], (PALETTEENTRY{255, 0, 0, 0}));
  EXPECT_EQ(H[10 + 6 * 2 + 3], (PALETTEENTRY{0, 102, 153, 0}));
  EXPECT_EQ(H[225], (PALETTEENTRY{255, 255, 255, 0}));
  const uint8_t Greys[] = {12, 24, 36, 49, 61, 73, 85, 97, 109, 121, 134, 146, 158, 170, 182, 194, 206, 219, 231, 243};
  for (int K = 0; K < 20; ++K) EXPECT_EQ(H[226 + K], (PALETTEENTRY{Greys[K], Greys[K], Greys[K], 0})) << K;

  HDC Screen = GetDC(nullptr);
  HPALETTE P = CreateHalftonePalette(Screen);
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->Entries, H);
  EXPECT_TRUE(DeleteObject(P));
  ReleaseDC(nullptr, Screen);
  EXPECT_EQ(CreateHalftonePalette(nullptr), nullptr);
}

TEST(SysColors, ClassicLightGreyScheme) {
  struct Case {
    int Index;
    COLORREF Color;
  };
  for (const Case& C : {Case{COLOR_BTNFACE, RGB(192, 192, 192)}, Case{COLOR_WINDOW, RGB(255, 255, 255)},
                        Case{COLOR_WINDOWTEXT, RGB(0, 0, 0)}, Case{COLOR_HIGHLIGHT, RGB(0, 0, 128)},
                        Case{COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, Case{COLOR_BTNSHADOW, RGB(128, 128, 128)},
                        Case{COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}, Case{COLOR_3DDKSHADOW, RGB(0, 0, 0)},
                        Case{COLOR_BACKGROUND, RGB(0, 128, 128)}, Case{COLOR_ACTIVECAPTION, RGB(0, 0, 128)},
                        Case{COLOR_INFOBK, RGB(255, 255, 225)}, Case{COLOR_GRADIENTACTIVECAPTION, RGB(16, 132, 208)},
                        Case{COLOR_MENUBAR, RGB(192, 192, 192)}, Case{25, 0}, Case{31, 0}, Case{-1, 0}})
    EXPECT_EQ(GetSysColor(C.Index), C.Color) << C.Index;
}

TEST(DeviceCaps, TheScreenIsTrueColourWithoutAPalette) {
  HDC Screen = GetDC(nullptr);
  HDC Memory = CreateCompatibleDC(Screen);
  for (HDC DC : {Screen, Memory}) {
    EXPECT_EQ(GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES), 24);
    EXPECT_EQ(GetDeviceCaps(DC, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NE(GetDeviceCaps(DC, RASTERCAPS) & RC_STRETCHBLT, 0);
    EXPECT_EQ(GetDeviceCaps(DC, SIZEPALETTE), 0);
    EXPECT_EQ(GetDeviceCaps(DC, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(DC, LOGPIXELSY), 96);
    EXPECT_GT(GetDeviceCaps(DC, HORZRES), 0);
    EXPECT_GT(GetDeviceCaps(DC, VERTRES), 0);
  }
  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
}
