#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/LastError.h"
#include "platform/gdi/Pen.h"

using namespace gdi;
using namespace gdi::testing;

TEST(DrawingObjects, PensBrushesAndFontsDescribeThemselves) {
  HPEN Pen = CreatePen(PS_DASHDOT, 1, RGB(1, 2, 3));
  LOGPEN P;
  ASSERT_EQ(GetObject(Pen, sizeof P, &P), static_cast<int>(sizeof P));
  EXPECT_EQ(P.lopnStyle, static_cast<uint32_t>(PS_DASHDOT));
  EXPECT_EQ(P.lopnColor, RGB(1, 2, 3));
  EXPECT_EQ(GetObjectType(Pen), static_cast<uint32_t>(OBJ_PEN));

  HBRUSH Brush = CreateHatchBrush(HS_BDIAGONAL, RGB(4, 5, 6));
  LOGBRUSH B;
  ASSERT_EQ(GetObject(Brush, sizeof B, &B), static_cast<int>(sizeof B));
  EXPECT_EQ(B.lbStyle, static_cast<uint32_t>(BS_HATCHED));
  EXPECT_EQ(B.lbHatch, static_cast<uintptr_t>(HS_BDIAGONAL));
  EXPECT_EQ(B.lbColor, RGB(4, 5, 6));

  LOGFONT F;
  F.lfHeight = -27;
  F.lfEscapement = 900;
  F.lfItalic = 1;
  F.SetFaceName("Times New Roman");
  HFONT Font = CreateFontIndirect(&F);
  LOGFONT Back;
  EXPECT_EQ(GetObject(Font, 0, nullptr), static_cast<int>(sizeof Back));
  EXPECT_EQ(GetObject(Font, sizeof Back - 1, &Back), 0);
  ASSERT_EQ(GetObject(Font, sizeof Back, &Back), static_cast<int>(sizeof Back));
  EXPECT_EQ(std::memcmp(&Back, &F, sizeof F), 0);
  EXPECT_EQ(Back.FaceName(), "Times New Roman");
  EXPECT_EQ(GetObjectType(Font), static_cast<uint32_t>(OBJ_FONT));

  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_TRUE(DeleteObject(Brush));
  EXPECT_TRUE(DeleteObject(Font));
}

TEST(DrawingObjects, BadDescriptionsAreRefused) {
  SetLastError(0);
  EXPECT_EQ(CreatePen(7, 1, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CreatePen(PS_SOLID, -1, 0), nullptr);
  EXPECT_EQ(CreateHatchBrush(6, 0), nullptr);
  LOGBRUSH Pattern{3, 0, 0};
  EXPECT_EQ(CreateBrushIndirect(&Pattern), nullptr);
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(DrawingObjects, FaceNamesAreCutOnACharacterBoundary) {
  LOGFONT F;
  std::string Long(30, 'a');
  Long += "\xC3\xA9\xC3\xA9";  // two two-byte characters
  F.SetFaceName(Long);
  EXPECT_EQ(F.FaceName(), std::string(30, 'a'));
  F.SetFaceName("Arial");
  EXPECT_EQ(F.FaceName(), "Arial");
}

TEST(DrawingObjects, WideStyledPensDrawSolid) {
  const struct {
    int Style, Width, Effective;
  } Cases[] = {{PS_DOT, 1, PS_DOT},
               {PS_DOT, 2, PS_SOLID},
               {PS_DASHDOTDOT, 0, PS_DASHDOTDOT},
               {PS_INSIDEFRAME, 5, PS_INSIDEFRAME},
               {PS_NULL, 4, PS_NULL}};
  for (const auto& K : Cases) {
    HPEN Pen = CreatePen(K.Style, K.Width, 0);
    EXPECT_EQ(Pen->EffectiveStyle(), K.Effective) << K.Style << " " << K.Width;
    DeleteObject(Pen);
  }
}

TEST(DrawingObjects, DCsStartWithStockToolsAndHoldWhatIsSelected) {
  Canvas C(TrueColor("24", 24), 2, 2);
  EXPECT_EQ(GetCurrentObject(C.DC, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(C.DC, OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
  LOGFONT F;
  ASSERT_GT(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof F, &F), 0);
  EXPECT_EQ(F.FaceName(), "MS Sans Serif");
  EXPECT_EQ(F.lfHeight, -11);

  HPEN Pen = CreatePen(PS_SOLID, 2, 0);
  HFONT Font = CreateFontIndirect(&F);
  EXPECT_EQ(SelectObject(C.DC, Pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(C.DC, Font), GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_FALSE(DeleteObject(Pen));  // selected objects stay
  EXPECT_FALSE(DeleteObject(Font));
  EXPECT_EQ(SelectObject(C.DC, GetStockObject(NULL_PEN)), Pen);
  EXPECT_EQ(SelectObject(C.DC, GetStockObject(SYSTEM_FONT)), Font);
  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_TRUE(DeleteObject(Font));
}

TEST(DrawingObjects, StockObjectsAreTheirKindAndRefuseDeletion) {
  const struct {
    int Which;
    uint32_t Type;
  } Cases[] = {{WHITE_BRUSH, OBJ_BRUSH},  {LTGRAY_BRUSH, OBJ_BRUSH},    {GRAY_BRUSH, OBJ_BRUSH},
               {DKGRAY_BRUSH, OBJ_BRUSH}, {BLACK_BRUSH, OBJ_BRUSH},     {NULL_BRUSH, OBJ_BRUSH},
               {WHITE_PEN, OBJ_PEN},      {BLACK_PEN, OBJ_PEN},         {NULL_PEN, OBJ_PEN},
               {SYSTEM_FONT, OBJ_FONT},   {DEFAULT_GUI_FONT, OBJ_FONT}, {DEFAULT_PALETTE, OBJ_PAL}};
  for (const auto& K : Cases) {
    HGDIOBJ Object = GetStockObject(K.Which);
    EXPECT_EQ(GetObjectType(Object), K.Type) << K.Which;
    EXPECT_FALSE(DeleteObject(Object)) << K.Which;
    EXPECT_EQ(GetStockObject(K.Which), Object);
  }
  EXPECT_EQ(GetStockObject(9), nullptr);
  LOGBRUSH B;
  GetObject(GetStockObject(GRAY_BRUSH), sizeof B, &B);
  EXPECT_EQ(B.lbColor, RGB(128, 128, 128));
  GetObject(GetStockObject(NULL_BRUSH), sizeof B, &B);
  EXPECT_EQ(B.lbStyle, static_cast<uint32_t>(BS_NULL));
}
