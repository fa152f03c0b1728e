#include <gtest/gtest.h>

#include "DrawingTestSupport.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/FloodFill.h"
#include "platform/gdi/Shapes.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

const COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Blue = RGB(0, 0, 255);

}  // namespace

TEST(FloodFill, SurfaceFillOfALargeAreaNeedsNoRecursion) {
  // A comb of walls makes a single winding area of four million pixels.
  Canvas C(Indexed("8", 8, QuadsOf(HalftonePaletteEntries())), 2000, 2000);
  ASSERT_TRUE(FillRect(C.DC, {0, 0, 2000, 2000}, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
  for (int32_t X = 10; X < 2000; X += 20) {
    MoveToEx(C.DC, X, (X / 20) % 2 == 0 ? 0 : 5, nullptr);
    LineTo(C.DC, X, (X / 20) % 2 == 0 ? 1995 : 2000);
  }
  const uint32_t WhiteValue = C.Value(0, 0), BlackValue = C.Value(10, 0);
  Selected Brush(C.DC, CreateSolidBrush(Blue));
  ASSERT_TRUE(ExtFloodFill(C.DC, 0, 0, White, FLOODFILLSURFACE));
  const uint32_t BlueValue = C.Value(0, 0);
  ASSERT_NE(BlueValue, WhiteValue);
  int Walls = 0, Filled = 0;
  for (int32_t Y = 0; Y < 2000; ++Y)
    for (int32_t X = 0; X < 2000; ++X) {
      const uint32_t V = C.Value(X, Y);
      Walls += V == BlackValue;
      Filled += V == BlueValue;
    }
  EXPECT_EQ(Walls, 100 * 1995);
  EXPECT_EQ(Filled, 2000 * 2000 - Walls);
}

TEST(FloodFill, DiagonalBoundaryStopsA4ConnectedFill) {
  for (const PixelFormat& F : {TrueColor("24", 24), Indexed("4", 4, Vga16()), MonoDevice()}) {
    SCOPED_TRACE(F.Name);
    Canvas C(F, 30, 30);
    C.Paint(White);
    MoveToEx(C.DC, 0, 0, nullptr);
    LineTo(C.DC, 30, 30);  // pixels touch only at their corners
    HBRUSH Brush = CreateSolidBrush(F.MonoDevice ? Black : Blue);
    HGDIOBJ Old = SelectObject(C.DC, Brush);
    ASSERT_TRUE(ExtFloodFill(C.DC, 20, 3, White, FLOODFILLSURFACE));
    const COLORREF Fill = F.MonoDevice ? Black : Blue;
    for (int32_t Y = 0; Y < 30; ++Y)
      for (int32_t X = 0; X < 30; ++X) {
        const COLORREF Want = X > Y ? Fill : X == Y ? Black : White;
        ASSERT_EQ(C.Color(X, Y), Want) << X << "," << Y;
      }
    SelectObject(C.DC, Old);
    DeleteObject(Brush);
  }
}

TEST(FloodFill, BorderFillStopsAtTheBorderColourOnly) {
  Canvas C(TrueColor("24", 24), 30, 30);
  C.Paint(White);
  for (int32_t X = 0; X < 30; X += 3) SetPixel(C.DC, X, 12, RGB(9, 9, 9));  // not the border colour
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  Selected Pen(C.DC, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Rectangle(C.DC, 5, 5, 25, 25);
  Selected Brush(C.DC, CreateSolidBrush(Blue));
  ASSERT_TRUE(FloodFill(C.DC, 10, 10, RGB(255, 0, 0)));
  EXPECT_EQ(Extent(C, Blue), (base::TRect{6, 6, 24, 24}));
  EXPECT_EQ(CountOf(C, Blue), 18 * 18);
  EXPECT_EQ(C.Color(2, 2), White);
  // Starting on the border fills nothing.
  EXPECT_FALSE(FloodFill(C.DC, 5, 5, RGB(255, 0, 0)));
}

TEST(FloodFill, RefusesStartsOutsideOrOfAnotherColour) {
  Canvas C(TrueColor("24", 24), 10, 10);
  C.Paint(White);
  EXPECT_FALSE(ExtFloodFill(C.DC, -1, 0, White, FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(C.DC, 0, 10, White, FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(C.DC, 3, 3, Blue, FLOODFILLSURFACE));
  EXPECT_FALSE(ExtFloodFill(nullptr, 3, 3, White, FLOODFILLSURFACE));
  EXPECT_EQ(CountOf(C, White), 100);
}

TEST(FloodFill, FillingWithTheSameColourOrAHatchEnds) {
  Canvas C(TrueColor("24", 24), 40, 40);
  C.Paint(White);
  ASSERT_TRUE(ExtFloodFill(C.DC, 5, 5, White, FLOODFILLSURFACE));  // the stock white brush
  EXPECT_EQ(CountOf(C, White), 1600);
  SetBkMode(C.DC, TRANSPARENT);
  Selected Brush(C.DC, CreateHatchBrush(HS_CROSS, Blue));
  ASSERT_TRUE(ExtFloodFill(C.DC, 5, 5, White, FLOODFILLSURFACE));
  EXPECT_EQ(CountOf(C, Blue), 5 * 40 + 5 * 40 - 25);
}
