// The canvas's pixels, solid fills, drawing of graphics and copying with copy modes.
#include "platform/gdi/RasterOp.h"
#include "tests/graphics/BitmapTestSupport.h"

using namespace bitmaptest;
using namespace graphics;

namespace {

TEST(Canvas, PixelsOutsideThePictureAreInvalid) {
  TBitmap B;
  MakeGrid(B, 2, 2, {0x0000FF});
  EXPECT_EQ(B.Canvas().Pixels(1, 1), 0x0000FF);
  EXPECT_EQ(B.Canvas().Pixels(2, 0), -1);
  EXPECT_EQ(B.Canvas().Pixels(0, -1), -1);
  EXPECT_EQ(B.Canvas().ClipRect(), base::Rect(0, 0, 2, 2));
}

TEST(Canvas, SystemColoursDrawAsTheirSchemeColour) {
  TBitmap B;
  MakeGrid(B, 1, 1, {0x000000});
  B.Canvas().SetPixels(0, 0, clBtnFace);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), 0xC0C0C0);
}

TEST(Canvas, FillRectUsesTheSolidBrushAndAClearBrushFillsNothing) {
  TBitmap B;
  MakeGrid(B, 4, 3, {0x000000});
  B.Canvas().Brush().SetColor(0xFF00FF);
  B.Canvas().FillRect(base::Rect(1, 1, 3, 3));
  B.Canvas().Brush().SetStyle(bsClear);
  B.Canvas().FillRect(base::Rect(0, 0, 4, 3));
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X)
      EXPECT_EQ(B.Canvas().Pixels(X, Y), X >= 1 && X < 3 && Y >= 1 ? 0xFF00FF : 0) << X << ", " << Y;
}

TEST(Canvas, FillsOnIndexedBitmapsTakeTheNearestEntry) {
  TBitmap B;
  MakeGrid(B, 2, 2, {0x000000});
  B.SetPixelFormat(pf4bit);
  B.Canvas().Brush().SetColor(0x0000F0);
  B.Canvas().FillRect(base::Rect(0, 0, 2, 2));
  EXPECT_EQ(B.Canvas().Pixels(1, 1), 0x0000FF);
}

TEST(Canvas, DrawPlacesAGraphicAtItsSizeAndStretchDrawScalesIt) {
  TBitmap Small;
  MakeGrid(Small, 2, 1, {0x0000FF});
  Small.Canvas().SetPixels(1, 0, 0x00FF00);
  TBitmap Target;
  MakeGrid(Target, 6, 3, {0xFFFFFF});
  Target.Canvas().Draw(1, 0, &Small);
  Target.Canvas().StretchDraw(base::Rect(2, 1, 6, 3), &Small);
  const TColor W = 0xFFFFFF, R = 0x0000FF, G = 0x00FF00;
  const TColor Expected[3][6] = {{W, R, G, W, W, W}, {W, W, R, R, G, G}, {W, W, R, R, G, G}};
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 6; ++X) EXPECT_EQ(Target.Canvas().Pixels(X, Y), Expected[Y][X]) << X << ", " << Y;
}

TEST(Canvas, DrawingAnEmptyGraphicChangesNothing) {
  TBitmap Empty;
  TBitmap Target;
  MakeGrid(Target, 1, 1, {0x123456});
  int Changes = 0;
  Target.OnChange = [&](base::TObject*) { ++Changes; };
  Target.Canvas().Draw(0, 0, &Empty);
  Target.Canvas().Draw(0, 0, nullptr);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Target.Canvas().Pixels(0, 0), 0x123456);
}

TEST(Canvas, MonochromeBitmapsDrawBlackAndWhiteWhateverTheTargetsColours) {
  TBitmap Mono;
  MakeGrid(Mono, 2, 1, {0x000000});
  Mono.Canvas().SetPixels(1, 0, 0xFFFFFF);
  Mono.SetPixelFormat(pfDevice);
  Mono.SetMonochrome(true);
  TBitmap Target;
  MakeGrid(Target, 2, 1, {0x00FF00});
  gdi::SetTextColor(Target.Canvas().Handle(), 0x0000FF);
  gdi::SetBkColor(Target.Canvas().Handle(), 0xFF0000);
  Target.Canvas().Draw(0, 0, &Mono);
  EXPECT_EQ(Target.Canvas().Pixels(0, 0), 0x000000);
  EXPECT_EQ(Target.Canvas().Pixels(1, 0), 0xFFFFFF);
  EXPECT_EQ(gdi::SetTextColor(Target.Canvas().Handle(), 0), 0x0000FFu) << "colours restored";
}

struct TCopyCase {
  const char* Name;
  TCopyMode Mode;
  TColor Result;  // source 0x0000FF over target 0x00FF00
};

const TCopyCase CopyCases[] = {
    {"SrcCopy", cmSrcCopy, 0x0000FF},     {"SrcPaint", cmSrcPaint, 0x00FFFF},
    {"SrcAnd", cmSrcAnd, 0x000000},       {"SrcInvert", cmSrcInvert, 0x00FFFF},
    {"NotSrcCopy", cmNotSrcCopy, 0xFFFF00}, {"Whiteness", cmWhiteness, 0xFFFFFF},
    {"Blackness", cmBlackness, 0x000000}, {"DstInvert", cmDstInvert, 0xFF00FF},
};

class CanvasCopyRect : public ::testing::TestWithParam<TCopyCase> {};

TEST_P(CanvasCopyRect, AppliesTheCopyMode) {
  TBitmap Source;
  MakeGrid(Source, 2, 2, {0x0000FF});
  TBitmap Target;
  MakeGrid(Target, 3, 3, {0x00FF00});
  Target.Canvas().SetCopyMode(GetParam().Mode);
  Target.Canvas().CopyRect(base::Rect(1, 1, 3, 3), Source.Canvas(), base::Rect(0, 0, 2, 2));
  EXPECT_EQ(Target.Canvas().Pixels(0, 0), 0x00FF00);
  EXPECT_EQ(Target.Canvas().Pixels(2, 2), GetParam().Result);
}

INSTANTIATE_TEST_SUITE_P(Modes, CanvasCopyRect, ::testing::ValuesIn(CopyCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(CanvasCopyRect, ScalesTheSourceRectangle) {
  TBitmap Source;
  MakeGrid(Source, 2, 2, {0x000000});
  Source.Canvas().SetPixels(1, 1, 0xFFFFFF);
  TBitmap Target;
  MakeGrid(Target, 4, 4, {0x0000FF});
  Target.Canvas().CopyRect(base::Rect(0, 0, 4, 4), Source.Canvas(), base::Rect(0, 0, 2, 2));
  EXPECT_EQ(Target.Canvas().Pixels(1, 1), 0x000000);
  EXPECT_EQ(Target.Canvas().Pixels(2, 3), 0xFFFFFF);
}

TEST(CanvasCopyRect, XorTwiceRestoresAnIndexedBitmapExactly) {
  TBitmap Target;
  MakeGrid(Target, 3, 3, ExactColors(false));
  Target.SetPixelFormat(pf8bit);
  TBitmap Source;
  MakeGrid(Source, 3, 3, {0x00FF00, 0x0000FF});
  Target.Canvas().SetCopyMode(cmSrcInvert);
  for (int Pass = 0; Pass < 2; ++Pass)
    Target.Canvas().CopyRect(base::Rect(0, 0, 3, 3), Source.Canvas(), base::Rect(0, 0, 3, 3));
  EXPECT_EQ(GridDifference(Target, ExactColors(false)), "");
}

}  // namespace
