#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "platform/gdi/Lines.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

const COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Red = RGB(255, 0, 0);

}  // namespace

TEST(Lines, EndPointIsExcludedAndThePositionMoves) {
  struct Case {
    POINT From, To;
  };
  const Case Cases[] = {{{2, 3}, {12, 3}}, {{12, 3}, {2, 3}}, {{5, 1}, {5, 18}}, {{1, 1}, {15, 15}},
                        {{15, 2}, {3, 9}}, {{3, 17}, {9, 2}}, {{7, 7}, {7, 7}}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(::testing::Message() << K.From.X << "," << K.From.Y << " -> " << K.To.X << "," << K.To.Y);
    Canvas C(TrueColor("24", 24), 20, 20);
    C.Paint(White);
    POINT Old{};
    ASSERT_TRUE(MoveToEx(C.DC, K.From.X, K.From.Y, &Old));
    ASSERT_TRUE(LineTo(C.DC, K.To.X, K.To.Y));
    POINT Now{};
    ASSERT_TRUE(GetCurrentPositionEx(C.DC, &Now));
    EXPECT_EQ(Now, K.To);
    const int Steps = std::max(std::abs(K.To.X - K.From.X), std::abs(K.To.Y - K.From.Y));
    EXPECT_EQ(CountOf(C, Black), Steps);
    EXPECT_EQ(C.Color(K.To.X, K.To.Y), White);
    if (Steps > 0) {
      EXPECT_EQ(C.Color(K.From.X, K.From.Y), Black);
    }
    // One pixel per step along the major axis, never off the ideal line by half a pixel.
    for (int32_t Y = 0; Y < 20; ++Y)
      for (int32_t X = 0; X < 20; ++X) {
        if (C.Color(X, Y) != Black) continue;
        const double DX = K.To.X - K.From.X, DY = K.To.Y - K.From.Y;
        const double Distance = std::abs(DY * (X - K.From.X) - DX * (Y - K.From.Y)) / std::hypot(DX, DY);
        EXPECT_LE(Distance, 0.75) << X << "," << Y;
      }
  }
}

TEST(Lines, LinesDrawnEndToEndTouchEachPixelOnce) {
  Canvas C(TrueColor("24", 24), 20, 20);
  C.Paint(White);
  SetROP2(C.DC, R2_NOT);
  MoveToEx(C.DC, 2, 2, nullptr);
  LineTo(C.DC, 15, 2);
  LineTo(C.DC, 15, 12);
  LineTo(C.DC, 2, 2);
  EXPECT_EQ(CountOf(C, Black), 13 + 10 + 13);
}

TEST(Lines, WidePensDrawABandOfTheirWidth) {
  for (const int Width : {2, 3, 6, 7}) {
    SCOPED_TRACE(Width);
    Canvas C(TrueColor("24", 24), 40, 40);
    C.Paint(White);
    HPEN Pen = CreatePen(PS_DASH, Width, Red);  // wide pens draw solid
    HGDIOBJ Old = SelectObject(C.DC, Pen);
    MoveToEx(C.DC, 5, 20, nullptr);
    LineTo(C.DC, 35, 20);
    int Column = 0;
    for (int32_t Y = 0; Y < 40; ++Y) Column += C.Color(20, Y) == Red;
    EXPECT_EQ(Column, Width);
    for (int32_t X = 8; X < 32; ++X) ASSERT_EQ(C.Color(X, 20), Red) << X;
    MoveToEx(C.DC, 20, 5, nullptr);
    LineTo(C.DC, 20, 35);
    int Row = 0;
    for (int32_t X = 0; X < 40; ++X) Row += C.Color(X, 10) == Red;
    EXPECT_EQ(Row, Width);
    SelectObject(C.DC, Old);
    DeleteObject(Pen);
  }
}

TEST(Lines, StyledPensLeaveGapsThatTheOpaqueModeFills) {
  for (const int Style : {PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT}) {
    for (const int Mode : {OPAQUE, TRANSPARENT}) {
      SCOPED_TRACE(::testing::Message() << "style " << Style << " mode " << Mode);
      Canvas C(TrueColor("24", 24), 100, 3);
      C.Paint(White);
      SetBkMode(C.DC, Mode);
      SetBkColor(C.DC, Red);
      Selected Pen(C.DC, CreatePen(Style, 1, Black));
      MoveToEx(C.DC, 0, 1, nullptr);
      LineTo(C.DC, 100, 1);
      const int Drawn = CountOf(C, Black), Gaps = CountOf(C, Mode == OPAQUE ? Red : White) - (Mode == OPAQUE ? 0 : 200);
      EXPECT_GT(Drawn, 20);
      EXPECT_GT(Gaps, 20);
      EXPECT_EQ(Drawn + Gaps, 100);
      EXPECT_EQ(C.Color(0, 1), Black);  // a pattern starts drawn
    }
  }
}

TEST(Lines, NullPenDrawsNothingAndLinesAreClipped) {
  Canvas C(TrueColor("24", 24), 10, 10);
  C.Paint(White);
  SelectObject(C.DC, GetStockObject(NULL_PEN));
  MoveToEx(C.DC, 0, 0, nullptr);
  LineTo(C.DC, 9, 9);
  EXPECT_EQ(CountOf(C, White), 100);
  SelectObject(C.DC, GetStockObject(BLACK_PEN));
  MoveToEx(C.DC, -2000000000, 5, nullptr);
  ASSERT_TRUE(LineTo(C.DC, 2000000000, 5));
  EXPECT_EQ(CountOf(C, Black), 10);
  MoveToEx(C.DC, INT32_MIN, INT32_MIN, nullptr);
  ASSERT_TRUE(LineTo(C.DC, INT32_MAX, INT32_MAX));
  const POINT Far[] = {{-5, -5}, {INT32_MAX, 3}};
  EXPECT_TRUE(Polyline(C.DC, Far, 2));
}

TEST(Lines, PolylineDrawsItsSegmentsWithoutTheCurrentPosition) {
  Canvas C(TrueColor("24", 24), 20, 20);
  C.Paint(White);
  MoveToEx(C.DC, 7, 7, nullptr);
  const POINT Path[] = {{1, 1}, {11, 1}, {11, 6}};
  ASSERT_TRUE(Polyline(C.DC, Path, 3));
  EXPECT_EQ(CountOf(C, Black), 15);
  EXPECT_EQ(C.Color(11, 6), White);
  POINT Now{};
  GetCurrentPositionEx(C.DC, &Now);
  EXPECT_EQ(Now, (POINT{7, 7}));
  EXPECT_FALSE(Polyline(C.DC, Path, 1));
}
