// Rendering frames into bitmaps, their masks, and drawing them plainly, stretched,
// tiled and through the mask.
#include <gtest/gtest.h>

#include <vector>

#include "gif/GIFImage.h"
#include "tests/gif/FrameBitmapTestSupport.h"

namespace {

using namespace frametest;
using gif::TGIFImage;
using gif::TGIFSubImage;

constexpr TColor Orange = 0x0066FF;  // red 255, green 102, blue 0: web cube (5, 2, 0)

bool Masked(int X, int Y) { return (X * 5 + Y * 3) % 4 == 0; }

TEST(FrameRendering, MaskBitsForOddWidthsInBothDirections) {
  for (bool Dither : {false, true}) {
    for (int W : {1, 3, 7, 9, 17}) {
      SCOPED_TRACE(std::to_string(W) + (Dither ? " dithered" : " plain"));
      TGIFImage Image;
      Image.SetDrawFlags(Dither ? gif::dfDither : 0);
      const int H = 4;
      TGIFSubImage* Frame = AddFrame(Image, 0, 0, W, H, {RGB(10, 200, 30), Orange, RGB(90, 90, 250)},
                                     [](int X, int Y) { return Masked(X, Y) ? 1 : (X + Y) % 2 * 2; });
      MakeTransparent(*Frame, 1);
      graphics::TBitmap* Bitmap = Frame->GetBitmap();
      ASSERT_NE(Bitmap, nullptr);
      ASSERT_NE(Frame->Mask(), nullptr);
      EXPECT_FALSE(Frame->MaskStale());
      for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
          EXPECT_EQ(MaskBit(Frame->Mask(), X, Y), Masked(X, Y)) << X << "," << Y;
          // Dithered, a masked pixel holds the web cube's own index of its colour.
          if (Masked(X, Y)) {
            EXPECT_EQ(Bitmap->ScanLine(Y)[X], Dither ? 36 * 5 + 6 * 2 : 1) << X << "," << Y;
          }
        }
    }
  }
}

TEST(FrameRendering, DitheredFrameShowsCubeColours) {
  TGIFImage Image;
  Image.SetDrawFlags(gif::dfDither);
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 6, 3, {RGB(255, 0, 0), RGB(0, 51, 255)}, [](int X, int) { return X % 2; });
  graphics::TBitmap* Bitmap = Frame->GetBitmap();
  ASSERT_EQ(Bitmap->PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(Bitmap->Canvas().Pixels(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap->Canvas().Pixels(3, 2), RGB(0, 51, 255));
}

TEST(FrameRendering, PixelsBeyondTheTableRenderWithoutFault) {
  for (bool Dither : {false, true}) {
    TGIFImage Image;
    Image.SetDrawFlags(Dither ? gif::dfDither : 0);
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 2, {RGB(0, 0, 255)}, [](int X, int) { return X * 100; });
    EXPECT_NE(Frame->GetBitmap(), nullptr) << Dither;
  }
}

TEST(FrameRendering, TransparentIndexThatNoPixelHasGivesNoMask) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 3, {RGB(1, 1, 1), RGB(2, 2, 2)}, [](int, int) { return 0; });
  MakeTransparent(*Frame, 1);
  EXPECT_FALSE(Frame->MaskPresent());
  EXPECT_TRUE(Frame->HasBitmap());
}

TEST(FrameRendering, EmptyFrameRendersNothingAndReportsNothing) {
  TGIFImage Image;
  ProgressLog Log(Image);
  TGIFSubImage Frame(&Image);
  EXPECT_EQ(Frame.GetBitmap(), nullptr);
  EXPECT_TRUE(Log.Steps.empty());
}

TEST(FrameRendering, ProgressRunsEvery32RowsAndAnAbortIsSwallowed) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 2, 70, {RGB(1, 1, 1)}, [](int, int) { return 0; });
  ProgressLog Log(Image);
  ASSERT_NE(Frame->GetBitmap(), nullptr);
  std::vector<std::pair<base::TProgressStage, int>> Stages;
  for (const ProgressStep& S : Log.Steps) {
    EXPECT_EQ(S.Message, "Rendering...");
    EXPECT_EQ(S.Sender, Frame);
    Stages.emplace_back(S.Stage, S.Percent);
  }
  const std::vector<std::pair<base::TProgressStage, int>> Expected = {
      {base::psStarting, 0}, {base::psRunning, 0}, {base::psRunning, 46}, {base::psRunning, 91}, {base::psEnding, 100}};
  EXPECT_EQ(Stages, Expected);
  Frame->ReleaseBitmap();
  Log.Steps.clear();
  Log.AbortAt = 3;
  EXPECT_EQ(Frame->GetBitmap(), nullptr);
  ASSERT_EQ(Log.Steps.size(), 4u);
  EXPECT_EQ(Log.Steps.back().Stage, base::psEnding);
  EXPECT_EQ(Log.Steps.back().Percent, 0);
  Log.AbortAt = -1;
  EXPECT_NE(Frame->GetBitmap(), nullptr);
}

TEST(FrameRendering, LargeFrameRenders) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 800, 700, {RGB(0, 0, 0), RGB(255, 255, 255)}, [](int X, int) { return X % 2; });
  graphics::TBitmap* Bitmap = Frame->GetBitmap();
  ASSERT_EQ(Bitmap->PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(Bitmap->Canvas().Pixels(799, 699), RGB(255, 255, 255));
}

TEST(FrameGeometry, ScaleRectPlacesTheFrameProportionally) {
  TGIFImage Image;
  Image.SetWidth(100);
  Image.SetHeight(100);
  TGIFSubImage* Frame = AddFrame(Image, 10, 10, 10, 10, {RGB(1, 1, 1)}, [](int, int) { return 0; });
  EXPECT_EQ(Frame->ScaleRect(base::Rect(0, 0, 200, 200)), base::Rect(20, 20, 40, 40));
  EXPECT_EQ(Frame->ScaleRect(base::Rect(5, 5, 55, 55)), base::Rect(10, 10, 15, 15));
}

TEST(FrameGeometry, FrameWithoutScreenNeverDivides) {
  TGIFSubImage Alone(nullptr);
  EXPECT_EQ(Alone.ScaleRect(base::Rect(3, 4, 50, 50)), base::Rect(3, 4, 3, 4));
  TBitmap Target;
  MakeTrueColor(Target, graphics::pf24bit, 4, 4, [](int, int) { return RGB(1, 2, 3); });
  Alone.Draw(Target.Canvas(), base::Rect(0, 0, 4, 4), true, true);
  EXPECT_EQ(Target.Canvas().Pixels(0, 0), RGB(1, 2, 3));
}

// A 4 x 3 frame whose first column is transparent, drawn over a blue target.
struct DrawCase {
  const char* Name;
  graphics::TPixelFormat TargetFormat;
  base::TRect Rect;
  bool Transparent;
};

TEST(FrameDrawing, MaskedBlitKeepsTheTargetWhereTransparent) {
  const TColor Blue = RGB(0, 0, 255), Red = RGB(255, 0, 0), Green = RGB(0, 255, 0);
  const DrawCase Cases[] = {{"24-bit, own size", graphics::pf24bit, base::Rect(0, 0, 4, 3), true},
                            {"24-bit, stretched", graphics::pf24bit, base::Rect(0, 0, 8, 6), true},
                            {"8-bit, own size", graphics::pf8bit, base::Rect(0, 0, 4, 3), true},
                            {"8-bit, stretched", graphics::pf8bit, base::Rect(0, 0, 8, 6), true},
                            {"24-bit, opaque", graphics::pf24bit, base::Rect(0, 0, 8, 6), false}};
  for (const DrawCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TGIFImage Image;
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 4, 3, {Green, Red}, [](int X, int) { return X == 0 ? 0 : 1; });
    MakeTransparent(*Frame, 0);
    TBitmap Target;
    MakeTrueColor(Target, C.TargetFormat, 8, 6, [&](int, int) { return Blue; });
    Frame->Draw(Target.Canvas(), C.Rect, C.Transparent, false);
    const int Scale = C.Rect.Width() / 4;
    for (int Y = 0; Y < 3 * Scale; ++Y)
      for (int X = 0; X < 4 * Scale; ++X) {
        const TColor Expected = X / Scale == 0 ? (C.Transparent ? Blue : Green) : Red;
        ASSERT_EQ(Target.Canvas().Pixels(X, Y), Expected) << X << "," << Y;
      }
    if (Scale == 1) {
      EXPECT_EQ(Target.Canvas().Pixels(6, 5), Blue);
    }
  }
}

TEST(FrameDrawing, TilesRepeatEveryScreenWidthAndHeight) {
  const TColor Blue = RGB(0, 0, 255), Red = RGB(255, 0, 0);
  for (bool Transparent : {false, true}) {
    SCOPED_TRACE(Transparent);
    TGIFImage Image;
    Image.SetWidth(4);
    Image.SetHeight(3);
    TGIFSubImage* Frame = AddFrame(Image, 1, 1, 2, 2, {Red, Blue}, [](int X, int Y) { return X == 1 && Y == 1; });
    MakeTransparent(*Frame, 1);
    TBitmap Target;
    MakeTrueColor(Target, graphics::pf24bit, 12, 6, [](int, int) { return RGB(0, 0, 0); });
    Frame->Draw(Target.Canvas(), base::Rect(0, 0, 12, 6), Transparent, true);
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 12; ++X) {
        const int FX = X % 4 - 1, FY = Y % 3 - 1;
        TColor Expected = RGB(0, 0, 0);
        if (FX >= 0 && FX < 2 && FY >= 0 && FY < 2) Expected = FX == 1 && FY == 1 ? (Transparent ? RGB(0, 0, 0) : Blue) : Red;
        ASSERT_EQ(Target.Canvas().Pixels(X, Y), Expected) << X << "," << Y;
      }
  }
}

}  // namespace
