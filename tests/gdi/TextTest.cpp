#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Text.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

const COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

// The default font is 11 pixels high: the box glyphs have ink in rows 1 to 8 of
// the cell and in columns 1 to 4 of each 6-pixel advance.
constexpr int32_t CellHeight = 11;
constexpr int32_t Ascent = 9;

class Text : public WithBoxGlyphs {
 protected:
  Text() : C(TrueColor("24", 24), 80, 60) {
    C.Paint(White);
    SetTextColor(C.DC, Blue);
    SetBkColor(C.DC, Red);
  }
  void UseFont(const LOGFONT& F) { Font.emplace(C.DC, CreateFontIndirect(&F)); }
  Canvas C;
  std::optional<Selected> Font;
};

base::TRect Union(const base::TRect& A, const base::TRect& B) {
  if (A.IsEmpty()) return B;
  if (B.IsEmpty()) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}

}  // namespace

TEST_F(Text, TextOutPaintsTheTextColourOnlyInsideItsExtent) {
  SetBkMode(C.DC, TRANSPARENT);
  SIZE Size;
  ASSERT_TRUE(GetTextExtentPoint32(C.DC, "Ab c", &Size));
  EXPECT_EQ(Size, (SIZE{24, CellHeight}));
  ASSERT_TRUE(TextOut(C.DC, 5, 7, "Ab c"));
  EXPECT_EQ(Extent(C, Blue), (base::TRect{6, 8, 5 + 24 - 1, 7 + Ascent}));
  EXPECT_EQ(CountOf(C, Blue), 3 * 4 * 8);
  EXPECT_EQ(CountOf(C, Red), 0);
}

TEST_F(Text, OpaqueBackgroundFillsTheCell) {
  ASSERT_TRUE(TextOut(C.DC, 5, 7, "Ab c"));
  EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), (base::TRect{5, 7, 29, 7 + CellHeight}));
  EXPECT_EQ(CountOf(C, Blue) + CountOf(C, Red), 24 * CellHeight);
  SetROP2(C.DC, R2_NOT);  // text is copied whatever the mode
  C.Paint(White);
  TextOut(C.DC, 5, 7, "Ab c");
  EXPECT_EQ(CountOf(C, Blue), 3 * 4 * 8);
}

TEST_F(Text, EscapementTurnsTheCellAboutTheReferencePoint) {
  struct Case {
    int32_t Escapement;
    base::TRect Cell;  // for a 24-pixel text at (40, 30)
  };
  const Case Cases[] = {{0, {40, 30, 64, 41}},    {900, {40, 6, 51, 30}},   {1800, {16, 19, 40, 30}},
                        {2700, {29, 30, 40, 54}}, {-900, {29, 30, 40, 54}}, {4500, {40, 6, 51, 30}}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Escapement);
    C.Paint(White);
    LOGFONT F = DefaultFontDescription();
    F.lfEscapement = K.Escapement;
    UseFont(F);
    ASSERT_TRUE(TextOut(C.DC, 40, 30, "Ab c"));
    EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), K.Cell);
    EXPECT_EQ(CountOf(C, Blue), 3 * 4 * 8);
    EXPECT_EQ(CountOf(C, Red) + CountOf(C, Blue), 24 * CellHeight);
  }
}

TEST_F(Text, ObliqueEscapementStaysInTheTurnedCell) {
  LOGFONT F = DefaultFontDescription();
  F.lfEscapement = 450;
  UseFont(F);
  SetBkMode(C.DC, TRANSPARENT);
  ASSERT_TRUE(TextOut(C.DC, 20, 40, "Ab c"));
  const double S = std::sqrt(0.5);
  int Ink = 0;
  for (int32_t Y = 0; Y < 60; ++Y)
    for (int32_t X = 0; X < 80; ++X) {
      if (C.Color(X, Y) != Blue) continue;
      ++Ink;
      const double RX = X + 0.5 - 20, RY = Y + 0.5 - 40;
      const double U = RX * S - RY * S, V = RX * S + RY * S;
      EXPECT_TRUE(U >= 0 && U < 24 && V >= 0 && V < CellHeight) << X << "," << Y;
    }
  EXPECT_GT(Ink, 3 * 4 * 8 / 2);
}

TEST_F(Text, AlignmentPlacesTheReferencePoint) {
  struct Case {
    uint32_t Align;
    base::TRect Cell;
  };
  const Case Cases[] = {{TA_LEFT | TA_TOP, {40, 30, 64, 41}},
                        {TA_RIGHT | TA_BOTTOM, {16, 19, 40, 30}},
                        {TA_CENTER | TA_BASELINE, {28, 30 - Ascent, 52, 30 - Ascent + CellHeight}}};
  for (const Case& K : Cases) {
    C.Paint(White);
    SetTextAlign(C.DC, K.Align);
    ASSERT_TRUE(TextOut(C.DC, 40, 30, "Ab c"));
    EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), K.Cell) << K.Align;
  }
}

TEST_F(Text, UnderlineAndStrikeOutCrossTheAdvance) {
  LOGFONT F = DefaultFontDescription();
  F.lfUnderline = 1;
  F.lfStrikeOut = 1;
  UseFont(F);
  SetBkMode(C.DC, TRANSPARENT);
  ASSERT_TRUE(TextOut(C.DC, 5, 7, "a b"));
  for (int32_t X = 5; X < 5 + 18; ++X) {
    EXPECT_EQ(C.Color(X, 7 + Ascent + 1), Blue) << X;           // underline, below the ink
    EXPECT_EQ(C.Color(X, 7 + Ascent - Ascent / 2), Blue) << X;  // strike-out through the space
  }
  EXPECT_EQ(C.Color(5 + 18, 7 + Ascent + 1), White);
}

TEST_F(Text, ExtTextOutClipsFillsAndSpacesByDx) {
  const base::TRect Box{10, 10, 20, 15};
  ASSERT_TRUE(ExtTextOut(C.DC, 8, 8, ETO_CLIPPED | ETO_OPAQUE, &Box, "AAA", nullptr));
  EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), Box);
  C.Paint(White);
  const int32_t Dx[] = {10, 10, 10};
  SetBkMode(C.DC, TRANSPARENT);
  ASSERT_TRUE(ExtTextOut(C.DC, 0, 0, 0, nullptr, "AAA", Dx));
  for (const int32_t X : {1, 11, 21}) EXPECT_EQ(C.Color(X, 1), Blue) << X;
  EXPECT_EQ(C.Color(7, 1), White);
}

TEST_F(Text, PaletteBitmapsTakeTheNearestEntry) {
  Canvas P(Indexed("4", 4, Vga16()), 20, 12);
  P.Paint(White);
  SetTextColor(P.DC, RGB(250, 5, 5));
  SetBkMode(P.DC, TRANSPARENT);
  ASSERT_TRUE(TextOut(P.DC, 0, 0, "A"));
  EXPECT_EQ(P.Color(1, 1), RGB(255, 0, 0));
}

TEST(TextWithoutRasterizer, Fails) {
  Canvas C(TrueColor("24", 24), 10, 10);
  GlyphRasterizer* Previous = SetGlyphRasterizer(nullptr);
  SIZE Size;
  EXPECT_FALSE(TextOut(C.DC, 0, 0, "A"));
  EXPECT_FALSE(GetTextExtentPoint32(C.DC, "A", &Size));
  base::TRect R{0, 0, 10, 10};
  EXPECT_EQ(DrawText(C.DC, "A", &R, 0), 0);
  SetGlyphRasterizer(Previous);
}

TEST_F(Text, MetricsComeFromTheRasterizer) {
  TEXTMETRIC M;
  LOGFONT F = DefaultFontDescription();
  F.lfHeight = -20;
  F.lfWeight = FW_BOLD;
  F.lfItalic = 1;
  UseFont(F);
  ASSERT_TRUE(GetTextMetrics(C.DC, &M));
  EXPECT_EQ(M.tmHeight, 20);
  EXPECT_EQ(M.tmAscent + M.tmDescent, 20);
  EXPECT_EQ(M.tmAveCharWidth, 12);
  EXPECT_EQ(M.tmWeight, FW_BOLD);
  EXPECT_EQ(M.tmItalic, 1);
}

// DrawText: the box glyphs make every text's layout known to the pixel.
TEST_F(Text, DrawTextAlignsASingleLine) {
  struct Case {
    uint32_t Format;
    int32_t X, Y;
  };
  const base::TRect Box{10, 10, 70, 50};
  const Case Cases[] = {{DT_LEFT | DT_TOP, 10, 10},
                        {DT_CENTER | DT_VCENTER, 10 + (60 - 24) / 2, 10 + (40 - CellHeight) / 2},
                        {DT_RIGHT | DT_BOTTOM, 70 - 24, 50 - CellHeight}};
  for (const Case& K : Cases) {
    C.Paint(White);
    base::TRect R = Box;
    EXPECT_EQ(DrawText(C.DC, "Ab c", &R, K.Format | DT_SINGLELINE), CellHeight);
    EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), (base::TRect{K.X, K.Y, K.X + 24, K.Y + CellHeight})) << K.Format;
  }
}

TEST_F(Text, DrawTextBreaksWordsAndMeasures) {
  base::TRect R{0, 0, 50, 0};
  EXPECT_EQ(DrawText(C.DC, "aaa bbb ccc", &R, DT_WORDBREAK | DT_CALCRECT), 2 * CellHeight);
  EXPECT_EQ(R, (base::TRect{0, 0, 50, 2 * CellHeight}));
  EXPECT_EQ(CountOf(C, White), 80 * 60);  // measuring draws nothing
  R = {0, 0, 30, 0};
  DrawText(C.DC, "abcdefghijkl x", &R, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(R, (base::TRect{0, 0, 72, 2 * CellHeight}));  // the long word widens it
  R = {0, 0, 5, 0};
  DrawText(C.DC, "ab\r\ncde\nf\rg", &R, DT_CALCRECT);
  EXPECT_EQ(R, (base::TRect{0, 0, 18, 4 * CellHeight}));
  R = {0, 0, 5, 0};
  DrawText(C.DC, "ab\r\ncde", &R, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(R, (base::TRect{0, 0, 42, CellHeight}));

  SetBkMode(C.DC, TRANSPARENT);
  R = {0, 0, 50, 60};
  ASSERT_EQ(DrawText(C.DC, "aaa bbb ccc", &R, DT_WORDBREAK | DT_CENTER), 2 * CellHeight);
  EXPECT_EQ(Extent(C, Blue), (base::TRect{(50 - 42) / 2 + 1, 1, (50 - 42) / 2 + 41, CellHeight + Ascent}));
  EXPECT_EQ(C.Color((50 - 18) / 2 + 1, CellHeight + 1), Blue);  // "ccc" centred below
}

TEST_F(Text, DrawTextExpandsTabsAndUnderlinesMnemonics) {
  SetBkMode(C.DC, TRANSPARENT);
  base::TRect R{0, 0, 80, 60};
  DrawText(C.DC, "a\tb", &R, DT_EXPANDTABS);
  EXPECT_EQ(C.Color(48 + 1, 1), Blue);  // stops every 8 average widths
  EXPECT_EQ(C.Color(6 + 1, 1), White);

  C.Paint(White);
  DrawText(C.DC, "&File &&", &R, 0);
  // "File &": the F's advance underlined, five glyphs and a space.
  for (int32_t X = 0; X < 6; ++X) EXPECT_EQ(C.Color(X, Ascent + 1), Blue) << X;
  EXPECT_EQ(C.Color(6, Ascent + 1), White);
  EXPECT_EQ(CountOf(C, Blue), 5 * 4 * 8 + 6);

  C.Paint(White);
  DrawText(C.DC, "&File", &R, DT_NOPREFIX);
  EXPECT_EQ(CountOf(C, Blue), 5 * 4 * 8);
}

TEST_F(Text, DrawTextClipsToItsRectangleUnlessAskedNotTo) {
  base::TRect R{10, 10, 20, 15};
  DrawText(C.DC, "AAAAAA", &R, 0);
  EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), R);
  C.Paint(White);
  DrawText(C.DC, "AAAAAA", &R, DT_NOCLIP);
  EXPECT_EQ(Union(Extent(C, Blue), Extent(C, Red)), (base::TRect{10, 10, 46, 10 + CellHeight}));
}

TEST_F(Text, RunsFarLongerThanTheBitmapOnlyComposeWhatShows) {
  SetBkMode(C.DC, TRANSPARENT);
  const std::string Long(200000, 'A');  // 1.2 million columns
  ASSERT_TRUE(TextOut(C.DC, -600000, 0, Long));
  // Glyphs start at 0, 6, ..., 78; the last shows one column of ink.
  EXPECT_EQ(CountOf(C, Blue), 13 * 4 * 8 + 8);
  C.Paint(White);
  LOGFONT F = DefaultFontDescription();
  F.lfEscapement = 900;
  UseFont(F);
  ASSERT_TRUE(TextOut(C.DC, 5, 600000, Long));
  EXPECT_GT(CountOf(C, Blue), 0);
  EXPECT_EQ(Extent(C, Blue).Left, 6);
}
