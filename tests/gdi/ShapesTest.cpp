#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Shapes.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

const COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

using ShapeCall = bool (*)(HDC, int32_t, int32_t, int32_t, int32_t);

struct PenCase {
  const char* Name;
  int Style;
  int Width;
  int32_t Grow;  // how far the outline reaches outside the box
  int32_t Band;  // the outline's width across the middle rows and columns
};

const PenCase Pens[] = {{"thin", PS_SOLID, 1, 0, 1},
                        {"width 0 counts as 1", PS_SOLID, 0, 0, 1},
                        {"solid 3 straddles the edge", PS_SOLID, 3, 1, 3},
                        {"solid 5", PS_SOLID, 5, 2, 5},
                        {"inside frame 4", PS_INSIDEFRAME, 4, 0, 4},
                        {"dash 1", PS_DASH, 1, 0, 1}};

struct ShapeCase {
  const char* Name;
  ShapeCall Draw;
};

const ShapeCase ShapeCalls[] = {{"rectangle", &Rectangle}, {"ellipse", &Ellipse}};

// Draws the shape with a red pen and a blue brush on a white 24-bit bitmap.
void DrawOnWhite(Canvas& C, const PenCase& P, ShapeCall Draw, base::TRect Box) {
  C.Paint(White);
  Selected Pen(C.DC, CreatePen(P.Style, P.Width, Red));
  Selected Brush(C.DC, CreateSolidBrush(Blue));
  SetBkMode(C.DC, TRANSPARENT);
  ASSERT_TRUE(Draw(C.DC, Box.Left, Box.Top, Box.Right, Box.Bottom));
}

}  // namespace

TEST(Shapes, OutlineCoversTheBoxRightAndBottomExcludedAndTheBrushFillsTheRest) {
  const base::TRect Box{10, 8, 41, 29};  // odd sizes put a pixel on each middle line
  for (const ShapeCase& S : ShapeCalls) {
    for (const PenCase& P : Pens) {
      SCOPED_TRACE(std::string(S.Name) + ", " + P.Name);
      Canvas C(TrueColor("24", 24), 60, 40);
      DrawOnWhite(C, P, S.Draw, Box);
      const base::TRect Outer{Box.Left - P.Grow, Box.Top - P.Grow, Box.Right + P.Grow, Box.Bottom + P.Grow};
      if (P.Style == PS_DASH) {
        // Dashes leave gaps, but stay on the outline's line.
        const base::TRect E = Extent(C, Red);
        EXPECT_TRUE(E.Left >= Outer.Left && E.Top >= Outer.Top && E.Right <= Outer.Right && E.Bottom <= Outer.Bottom);
      } else {
        EXPECT_EQ(Extent(C, Red), Outer);
      }
      EXPECT_EQ(Extent(C, Blue),
                (base::TRect{Outer.Left + P.Band, Outer.Top + P.Band, Outer.Right - P.Band, Outer.Bottom - P.Band}));
      const int32_t MidY = (Box.Top + Box.Bottom) / 2, MidX = (Box.Left + Box.Right) / 2;
      for (int32_t I = 0; I < P.Band; ++I) {
        if (P.Style == PS_DASH) break;
        EXPECT_EQ(C.Color(Outer.Left + I, MidY), Red) << I;
        EXPECT_EQ(C.Color(Outer.Right - 1 - I, MidY), Red) << I;
        EXPECT_EQ(C.Color(MidX, Outer.Top + I), Red) << I;
        EXPECT_EQ(C.Color(MidX, Outer.Bottom - 1 - I), Red) << I;
      }
      EXPECT_EQ(C.Color(Outer.Left + P.Band, MidY), Blue);
      EXPECT_EQ(C.Color(Outer.Left - 1, MidY), White);
      EXPECT_EQ(C.Color(Outer.Right, MidY), White);
      // Every row is one run: outline, filled inside without holes, outline.
      for (int32_t Y = 0; Y < 40 && P.Style != PS_DASH; ++Y) {
        int32_t First = -1, Last = -1;
        for (int32_t X = 0; X < 60; ++X)
          if (C.Color(X, Y) != White) {
            if (First < 0) First = X;
            Last = X;
          }
        for (int32_t X = First; First >= 0 && X <= Last; ++X) ASSERT_NE(C.Color(X, Y), White) << X << "," << Y;
      }
    }
  }
}

TEST(Shapes, EllipsesAreSymmetricAndTouchTheirBox) {
  for (const base::TRect& Box :
       {base::TRect{3, 4, 33, 21}, base::TRect{0, 0, 1, 9}, base::TRect{5, 5, 26, 6}, base::TRect{2, 2, 12, 12}}) {
    SCOPED_TRACE(::testing::PrintToString(std::vector<int>{Box.Left, Box.Top, Box.Right, Box.Bottom}));
    Canvas C(TrueColor("24", 24), 40, 30);
    DrawOnWhite(C, Pens[0], &Ellipse, Box);
    base::TRect Ink = Extent(C, Red);
    const base::TRect Fill = Extent(C, Blue);
    if (!Fill.IsEmpty())
      Ink = {std::min(Ink.Left, Fill.Left), std::min(Ink.Top, Fill.Top), std::max(Ink.Right, Fill.Right),
             std::max(Ink.Bottom, Fill.Bottom)};
    EXPECT_EQ(Ink, Box);
    for (int32_t Y = Box.Top; Y < Box.Bottom; ++Y)
      for (int32_t X = Box.Left; X < Box.Right; ++X) {
        ASSERT_EQ(C.Color(X, Y), C.Color(Box.Left + Box.Right - 1 - X, Y)) << X << "," << Y;
        ASSERT_EQ(C.Color(X, Y), C.Color(X, Box.Top + Box.Bottom - 1 - Y)) << X << "," << Y;
      }
  }
}

TEST(Shapes, CornersInAnyOrderDrawTheSameBox) {
  Canvas A(TrueColor("24", 24), 30, 30), B(TrueColor("24", 24), 30, 30);
  for (const ShapeCase& S : ShapeCalls) {
    DrawOnWhite(A, Pens[0], S.Draw, {4, 5, 20, 25});
    DrawOnWhite(B, Pens[0], S.Draw, {20, 25, 4, 5});
    for (int32_t Y = 0; Y < 30; ++Y)
      for (int32_t X = 0; X < 30; ++X) ASSERT_EQ(A.Color(X, Y), B.Color(X, Y)) << S.Name << " " << X << "," << Y;
  }
}

TEST(Shapes, NullPenLetsTheBrushFillTheWholeBoxAndEmptyBoxesDrawNothing) {
  for (const ShapeCase& S : ShapeCalls) {
    Canvas C(TrueColor("24", 24), 30, 30);
    DrawOnWhite(C, {"null", PS_NULL, 1, 0, 0}, S.Draw, {4, 5, 20, 25});
    EXPECT_EQ(Extent(C, Blue), (base::TRect{4, 5, 20, 25})) << S.Name;
    EXPECT_EQ(CountOf(C, Red), 0);
    DrawOnWhite(C, Pens[0], S.Draw, {4, 5, 4, 25});
    EXPECT_EQ(CountOf(C, White), 900) << S.Name;
  }
}

TEST(Shapes, NullBrushLeavesTheInside) {
  Canvas C(TrueColor("24", 24), 30, 30);
  C.Paint(White);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  ASSERT_TRUE(Rectangle(C.DC, 2, 2, 12, 12));
  EXPECT_EQ(CountOf(C, RGB(0, 0, 0)), 36);
  EXPECT_EQ(C.Color(5, 5), White);
}

TEST(Shapes, HatchedBrushesDrawTheirLinesOverTheBackgroundMode) {
  struct Case {
    int Hatch;
    bool (*Line)(int32_t X, int32_t Y);
  };
  const Case Cases[] = {{HS_HORIZONTAL, [](int32_t, int32_t Y) { return Y % 8 == 0; }},
                        {HS_VERTICAL, [](int32_t X, int32_t) { return X % 8 == 0; }},
                        {HS_FDIAGONAL, [](int32_t X, int32_t Y) { return (X - Y) % 8 == 0; }},
                        {HS_BDIAGONAL, [](int32_t X, int32_t Y) { return (X + Y) % 8 == 7; }},
                        {HS_CROSS, [](int32_t X, int32_t Y) { return X % 8 == 0 || Y % 8 == 0; }},
                        {HS_DIAGCROSS, [](int32_t X, int32_t Y) { return (X - Y) % 8 == 0 || (X + Y) % 8 == 7; }}};
  for (const Case& K : Cases) {
    for (const int Mode : {OPAQUE, TRANSPARENT}) {
      SCOPED_TRACE(::testing::Message() << "hatch " << K.Hatch << " mode " << Mode);
      Canvas C(TrueColor("24", 24), 32, 32);
      C.Paint(White);
      SetBkMode(C.DC, Mode);
      SetBkColor(C.DC, Red);
      Selected Brush(C.DC, CreateHatchBrush(K.Hatch, Blue));
      ASSERT_TRUE(FillRect(C.DC, {0, 0, 24, 24}, static_cast<HBRUSH>(GetCurrentObject(C.DC, OBJ_BRUSH))));
      for (int32_t Y = 0; Y < 32; ++Y)
        for (int32_t X = 0; X < 32; ++X) {
          const bool Inside = X < 24 && Y < 24;
          const COLORREF Want = !Inside ? White : K.Line(X + 16, Y + 16) ? Blue : Mode == OPAQUE ? Red : White;
          ASSERT_EQ(C.Color(X, Y), Want) << X << "," << Y;
        }
    }
  }
}

TEST(Shapes, PolygonOutlineRunsThroughItsPointsAndTheFillStaysInside) {
  Canvas C(TrueColor("24", 24), 30, 30);
  C.Paint(White);
  Selected Pen(C.DC, CreatePen(PS_SOLID, 1, Red));
  Selected Brush(C.DC, CreateSolidBrush(Blue));
  const POINT Square[] = {{5, 5}, {15, 5}, {15, 15}, {5, 15}};
  ASSERT_TRUE(Polygon(C.DC, Square, 4));
  EXPECT_EQ(Extent(C, Red), (base::TRect{5, 5, 16, 16}));
  EXPECT_EQ(Extent(C, Blue), (base::TRect{6, 6, 15, 15}));
  EXPECT_EQ(CountOf(C, Blue), 81);
  EXPECT_FALSE(Polygon(C.DC, Square, 1));
}

TEST(Shapes, PolygonFillModeDecidesAboutOverlaps) {
  // A star whose middle is passed twice in the same direction.
  const POINT Star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
  for (const int Mode : {ALTERNATE, WINDING}) {
    Canvas C(TrueColor("24", 24), 40, 40);
    C.Paint(White);
    SetPolyFillMode(C.DC, Mode);
    SelectObject(C.DC, GetStockObject(NULL_PEN));
    Selected Brush(C.DC, CreateSolidBrush(Blue));
    ASSERT_TRUE(Polygon(C.DC, Star, 5));
    EXPECT_EQ(C.Color(20, 20), Mode == WINDING ? Blue : White) << Mode;
    EXPECT_EQ(C.Color(20, 8), Blue) << Mode;
  }
}

TEST(Shapes, FrameRectDrawsOnePixelInsideWithTheBrush) {
  Canvas C(TrueColor("24", 24), 20, 20);
  C.Paint(White);
  SetROP2(C.DC, R2_NOT);  // a frame is copied, whatever the mode
  HBRUSH Brush = CreateSolidBrush(Blue);
  ASSERT_TRUE(FrameRect(C.DC, {3, 4, 13, 10}, Brush));
  EXPECT_EQ(Extent(C, Blue), (base::TRect{3, 4, 13, 10}));
  EXPECT_EQ(CountOf(C, Blue), 2 * 10 + 2 * 4);
  DeleteObject(Brush);
}

TEST(Shapes, ArcRunsCounterClockwiseBetweenItsRays) {
  Canvas C(TrueColor("24", 24), 40, 40);
  C.Paint(White);
  // From the ray to the right to the ray upwards: the upper right quarter.
  ASSERT_TRUE(Arc(C.DC, 5, 5, 35, 35, 39, 20, 20, 0));
  const base::TRect E = Extent(C, RGB(0, 0, 0));
  EXPECT_EQ(E, (base::TRect{20, 5, 35, 20}));
  // Swapping the rays draws the other three quarters.
  C.Paint(White);
  ASSERT_TRUE(Arc(C.DC, 5, 5, 35, 35, 20, 0, 39, 20));
  EXPECT_EQ(Extent(C, RGB(0, 0, 0)), (base::TRect{5, 5, 35, 35}));
  EXPECT_EQ(C.Color(34, 19), White);
  EXPECT_EQ(C.Color(34, 20), RGB(0, 0, 0));
}

TEST(Shapes, DrawingNeedsABitmapAndStaysInsideIt) {
  EXPECT_FALSE(Rectangle(nullptr, 0, 0, 5, 5));
  Canvas C(TrueColor("24", 24), 10, 10);
  C.Paint(White);
  Selected Brush(C.DC, CreateSolidBrush(Blue));
  ASSERT_TRUE(Ellipse(C.DC, -1000000000, -1000000000, 1000000000, 1000000000));
  EXPECT_EQ(CountOf(C, Blue), 100);
  ASSERT_TRUE(Rectangle(C.DC, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
  EXPECT_EQ(CountOf(C, Blue), 100);
  // Pens and points far beyond the bitmap cost no more than the bitmap.
  for (const int Style : {PS_SOLID, PS_INSIDEFRAME, PS_DOT}) {
    Selected Pen(C.DC, CreatePen(Style, INT32_MAX, RGB(255, 0, 0)));
    ASSERT_TRUE(Ellipse(C.DC, 2, 2, 8, 8));
    ASSERT_TRUE(Rectangle(C.DC, INT32_MIN, 3, 5, INT32_MAX));
    ASSERT_TRUE(Arc(C.DC, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, INT32_MAX, INT32_MIN, 0));
    const POINT Far[] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {0, INT32_MAX}, {INT32_MIN, INT32_MAX}};
    ASSERT_TRUE(Polygon(C.DC, Far, 4));
    ASSERT_TRUE(Polyline(C.DC, Far, 4));
    MoveToEx(C.DC, INT32_MAX, INT32_MIN, nullptr);
    ASSERT_TRUE(LineTo(C.DC, INT32_MIN, INT32_MAX));
  }
  EXPECT_EQ(CountOf(C, RGB(255, 0, 0)), 100);
}
