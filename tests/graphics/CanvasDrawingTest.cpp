// The canvas's pens, fonts, lines, shapes, flood fill and text, drawn on bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/DrawText.h"
#include "platform/gdi/Rop2.h"
#include "tests/gdi/DrawingTestSupport.h"
#include "tests/graphics/BitmapTestSupport.h"

using namespace bitmaptest;
using namespace graphics;

namespace {

constexpr TColor White = 0xFFFFFF, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00;

void MakeWhite(TBitmap& B, const TKind& K, int W, int H) {
  MakeKind(B, K);
  B.SetWidth(W);
  B.SetHeight(H);
  B.Canvas().Brush().SetColor(White);
  B.Canvas().Brush().SetStyle(bsSolid);
  B.Canvas().FillRect(base::Rect(0, 0, W, H));
}

int Count(TBitmap& B, TColor C) {
  int N = 0;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) N += B.Canvas().Pixels(X, Y) == C;
  return N;
}

base::TRect Extent(TBitmap& B, TColor C) {
  base::TRect R{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X)
      if (B.Canvas().Pixels(X, Y) == C)
        R = {std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1), std::max(R.Bottom, Y + 1)};
  return R.Left == INT32_MAX ? base::TRect{} : R;
}

std::vector<TColor> PixelsOf(TBitmap& B) {
  std::vector<TColor> P;
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) P.push_back(B.Canvas().Pixels(X, Y));
  return P;
}

class CanvasText : public gdi::testing::WithBoxGlyphs {};

}  // namespace

TEST(CanvasTools, DefaultsOfPenFontAndBrush) {
  TBitmap B;
  TCanvas& C = B.Canvas();
  EXPECT_EQ(C.Pen().Color(), clBlack);
  EXPECT_EQ(C.Pen().Width(), 1);
  EXPECT_EQ(C.Pen().Style(), psSolid);
  EXPECT_EQ(C.Pen().Mode(), pmCopy);
  EXPECT_EQ(C.Font().Name(), "MS Sans Serif");
  EXPECT_EQ(C.Font().Height(), -11);
  EXPECT_EQ(C.Font().Size(), 8);
  EXPECT_TRUE(C.Font().Style().Empty());
  EXPECT_EQ(C.Font().Color(), clWindowText);
}

TEST(CanvasTools, PenModesAreTheBinaryRasterOperations) {
  // The pen modes run through the sixteen operations in their own order.
  const struct {
    TPenMode Mode;
    int Rop;
  } Cases[] = {{pmBlack, gdi::R2_BLACK},
               {pmWhite, gdi::R2_WHITE},
               {pmNop, gdi::R2_NOP},
               {pmNot, gdi::R2_NOT},
               {pmCopy, gdi::R2_COPYPEN},
               {pmNotCopy, gdi::R2_NOTCOPYPEN},
               {pmMergePenNot, gdi::R2_MERGEPENNOT},
               {pmMaskPenNot, gdi::R2_MASKPENNOT},
               {pmMergeNotPen, gdi::R2_MERGENOTPEN},
               {pmMaskNotPen, gdi::R2_MASKNOTPEN},
               {pmMerge, gdi::R2_MERGEPEN},
               {pmNotMerge, gdi::R2_NOTMERGEPEN},
               {pmMask, gdi::R2_MASKPEN},
               {pmNotMask, gdi::R2_NOTMASKPEN},
               {pmXor, gdi::R2_XORPEN},
               {pmNotXor, gdi::R2_NOTXORPEN}};
  for (const auto& K : Cases) EXPECT_EQ(Rop2Of(K.Mode), K.Rop) << static_cast<int>(K.Mode);
}

TEST(CanvasTools, FontSizeAndHeightAreOneValue) {
  TFont F;
  int Changes = 0;
  F.OnChange = [&](base::TObject*) { ++Changes; };
  F.SetSize(20);
  EXPECT_EQ(F.Height(), -27);
  EXPECT_EQ(F.Size(), 20);
  F.SetHeight(-16);
  EXPECT_EQ(F.Size(), 12);
  F.SetStyle({fsBold, fsUnderline});
  EXPECT_TRUE(F.Style().Contains(fsBold));
  EXPECT_FALSE(F.Style().Contains(fsItalic));
  EXPECT_EQ(Changes, 3);
  gdi::LOGFONT L;
  ASSERT_GT(gdi::GetObject(F.Handle(), sizeof L, &L), 0);
  EXPECT_EQ(L.lfHeight, -16);
  EXPECT_EQ(L.lfWeight, gdi::FW_BOLD);
  EXPECT_EQ(L.lfUnderline, 1);
  EXPECT_EQ(L.FaceName(), "MS Sans Serif");

  TFont Copy;
  Copy.SetColor(clRed);
  Copy.Assign(&F);
  EXPECT_EQ(Copy.Height(), -16);
  EXPECT_EQ(Copy.Style(), F.Style());
  EXPECT_EQ(Copy.Color(), F.Color());
}

TEST(CanvasTools, AdoptedFontHandlesKeepTheirEscapementUntilTheDataChanges) {
  TFont F;
  F.SetName("Times New Roman");
  F.SetSize(20);
  gdi::LOGFONT L;
  ASSERT_GT(gdi::GetObject(F.Handle(), sizeof L, &L), 0);
  L.lfEscapement = 900;
  L.lfItalic = 1;
  gdi::HFONT Rotated = gdi::CreateFontIndirect(&L);
  F.SetHandle(Rotated);
  EXPECT_EQ(F.Handle(), Rotated);
  EXPECT_TRUE(F.Style().Contains(fsItalic));
  EXPECT_EQ(F.Name(), "Times New Roman");
  F.SetColor(clRed);  // the colour is no part of the handle
  EXPECT_EQ(F.Handle(), Rotated);
  TFont Copy;
  Copy.Assign(&F);
  ASSERT_GT(gdi::GetObject(Copy.Handle(), sizeof L, &L), 0);
  EXPECT_EQ(L.lfEscapement, 900);
  F.SetHeight(-12);
  ASSERT_GT(gdi::GetObject(F.Handle(), sizeof L, &L), 0);
  EXPECT_EQ(L.lfEscapement, 0);
  EXPECT_EQ(L.lfHeight, -12);
}

TEST(CanvasDrawing, RectangleAndEllipseUseThePenAndTheBrush) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 30, 20);
  TCanvas& C = B.Canvas();
  C.Pen().SetColor(Red);
  C.Brush().SetColor(Blue);
  C.Rectangle(base::Rect(2, 3, 12, 9));
  EXPECT_EQ(Extent(B, Red), base::Rect(2, 3, 12, 9));
  EXPECT_EQ(Extent(B, Blue), base::Rect(3, 4, 11, 8));
  C.Pen().SetWidth(3);
  C.Pen().SetStyle(psInsideFrame);
  C.Brush().SetColor(Green);
  C.Ellipse(14, 1, 29, 19);
  EXPECT_EQ(Extent(B, Green), base::Rect(17, 4, 26, 16));
  // The canvas's tools are not left selected, so they can change and be freed.
  EXPECT_EQ(gdi::GetCurrentObject(C.Handle(), gdi::OBJ_PEN), gdi::GetStockObject(gdi::BLACK_PEN));
  EXPECT_EQ(gdi::GetCurrentObject(C.Handle(), gdi::OBJ_BRUSH), gdi::GetStockObject(gdi::WHITE_BRUSH));
}

TEST(CanvasDrawing, LinesFollowThePenPosition) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 20, 20);
  TCanvas& C = B.Canvas();
  C.MoveTo(2, 2);
  C.LineTo(12, 2);
  EXPECT_EQ(C.PenPos(), base::Point(12, 2));
  C.LineTo(12, 9);
  EXPECT_EQ(Count(B, clBlack), 17);
  EXPECT_EQ(B.Canvas().Pixels(12, 9), White);
  C.SetPenPos(base::Point(0, 15));
  C.Pen().SetStyle(psClear);
  C.LineTo(19, 15);
  EXPECT_EQ(Count(B, clBlack), 17);
  const base::TPoint Path[] = {{1, 18}, {18, 18}};
  C.Pen().SetStyle(psSolid);
  C.Polyline(Path);
  EXPECT_EQ(Count(B, clBlack), 34);
}

TEST(CanvasDrawing, NotXorRubberBandsRestoreEveryKindOfBitmap) {
  for (const TKind& K : Kinds) {
    SCOPED_TRACE(K.Name);
    TBitmap B;
    MakeWhite(B, K, 40, 30);
    TCanvas& C = B.Canvas();
    C.Brush().SetColor(Blue);
    C.Rectangle(5, 5, 25, 20);
    C.Brush().SetStyle(bsDiagCross);
    C.Ellipse(10, 2, 38, 28);
    const std::vector<TColor> Before = PixelsOf(B);
    C.Pen().SetMode(pmNotXor);
    C.Pen().SetColor(0x3080C0);
    C.Brush().SetStyle(bsClear);
    for (int Pass = 0; Pass < 2; ++Pass) {
      C.Rectangle(3, 4, 33, 27);
      C.MoveTo(1, 1);
      C.LineTo(39, 29);
      C.Ellipse(0, 0, 20, 30);
      C.Pen().SetStyle(psDot);
      C.Rectangle(8, 8, 30, 22);
      C.Pen().SetStyle(psSolid);
      if (Pass == 0) {
        EXPECT_NE(PixelsOf(B), Before);
      }
    }
    EXPECT_EQ(PixelsOf(B), Before);
  }
}

TEST(CanvasDrawing, HatchedBrushesLeaveTheBackground) {
  TBitmap B;
  MakeWhite(B, {"8", pf8bit}, 16, 16);
  TCanvas& C = B.Canvas();
  C.Brush().SetColor(Red);
  C.Brush().SetStyle(bsHorizontal);
  C.FillRect(base::Rect(0, 0, 16, 16));
  EXPECT_EQ(Count(B, Red), 2 * 16);
  EXPECT_EQ(Count(B, White), 14 * 16);
  C.Brush().SetStyle(bsVertical);
  C.Pen().SetStyle(psClear);
  C.Rectangle(0, 0, 16, 16);
  EXPECT_EQ(Count(B, Red), 4 * 16 - 4);
}

TEST(CanvasDrawing, FloodFillFillsTheSurfaceOrUpToTheBorder) {
  TBitmap B;
  MakeWhite(B, {"8", pf8bit}, 30, 30);
  TCanvas& C = B.Canvas();
  C.Brush().SetStyle(bsClear);
  C.Pen().SetColor(Red);
  C.Ellipse(2, 2, 28, 28);
  C.Brush().SetStyle(bsSolid);
  C.Brush().SetColor(Blue);
  C.FloodFill(15, 15, C.Pixels(15, 15), fsSurface);
  EXPECT_EQ(C.Pixels(15, 15), Blue);
  EXPECT_EQ(C.Pixels(0, 0), White);
  C.Brush().SetColor(Green);
  C.FloodFill(0, 0, Red, fsBorder);
  EXPECT_EQ(C.Pixels(0, 0), Green);
  EXPECT_EQ(C.Pixels(15, 15), Blue);
  EXPECT_EQ(Count(B, White), 0);
}

TEST_F(CanvasText, TextUsesTheFontColourAndTheBrushAsBackground) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 60, 30);
  TCanvas& C = B.Canvas();
  C.Font().SetColor(Red);
  C.Brush().SetColor(Blue);
  EXPECT_EQ(C.TextWidth("abc"), 18);
  EXPECT_EQ(C.TextHeight("abc"), 11);
  C.TextOut(4, 5, "abc");
  EXPECT_EQ(Count(B, Red), 3 * 4 * 8);
  EXPECT_EQ(Count(B, Red) + Count(B, Blue), 18 * 11);
  C.Brush().SetStyle(bsClear);
  C.TextOut(30, 5, "abc");
  EXPECT_EQ(Count(B, Red), 2 * 3 * 4 * 8);
  EXPECT_EQ(Count(B, Red) + Count(B, Blue), 18 * 11 + 3 * 4 * 8);
  // The pen's mode plays no part in text.
  C.Pen().SetMode(pmNotXor);
  C.TextOut(30, 5, "abc");
  EXPECT_EQ(Count(B, Red), 2 * 3 * 4 * 8);
}

TEST_F(CanvasText, TextRectClipsAndFillsItsRectangle) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 60, 30);
  TCanvas& C = B.Canvas();
  C.Font().SetColor(Red);
  C.Brush().SetColor(Blue);
  C.TextRect(base::Rect(10, 10, 20, 14), 8, 8, "abcdef");
  const base::TRect Ink = Extent(B, Red);
  EXPECT_TRUE(Ink.Left >= 10 && Ink.Top >= 10 && Ink.Right <= 20 && Ink.Bottom <= 14);
  EXPECT_EQ(Count(B, Red) + Count(B, Blue), 10 * 4);
  EXPECT_EQ(C.Pixels(19, 13), Blue);
}

TEST_F(CanvasText, DrawTextFormatsInARectangle) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 60, 40);
  TCanvas& C = B.Canvas();
  C.Font().SetColor(Red);
  C.Brush().SetStyle(bsClear);
  base::TRect R = base::Rect(0, 0, 40, 0);
  EXPECT_EQ(C.DrawText("aa bb cc dd", R, gdi::DT_WORDBREAK | gdi::DT_CALCRECT), 22);
  EXPECT_EQ(Count(B, Red), 0);
  R = base::Rect(0, 0, 60, 40);
  C.DrawText("&Go", R, gdi::DT_CENTER);
  EXPECT_EQ(Extent(B, Red).Left, 24);
  EXPECT_EQ(C.Pixels(24, 10), Red);  // the mnemonic's underline
}

TEST_F(CanvasText, RotatedFontsTurnTheText) {
  TBitmap B;
  MakeWhite(B, {"24", pf24bit}, 60, 60);
  TCanvas& C = B.Canvas();
  C.Font().SetColor(Red);
  C.Brush().SetColor(Blue);
  gdi::LOGFONT L;
  ASSERT_GT(gdi::GetObject(C.Font().Handle(), sizeof L, &L), 0);
  L.lfEscapement = 900;
  C.Font().SetHandle(gdi::CreateFontIndirect(&L));
  C.TextOut(20, 40, "abcd");
  // 24 pixels upwards from (20, 40), the cell's 11 rows to the right.
  const base::TRect Ink = Extent(B, Red), Cell = Extent(B, Blue);
  EXPECT_TRUE(Ink.Left >= 20 && Ink.Top >= 16 && Ink.Right <= 31 && Ink.Bottom <= 40);
  EXPECT_EQ(Cell, base::Rect(20, 16, 31, 40));
  EXPECT_EQ(Count(B, Red) + Count(B, Blue), 24 * 11);
}
