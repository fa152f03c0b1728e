#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/ui/BitmapImage.h"
#include "platform/ui/WindowCanvas.h"

using namespace ui;

namespace {

QRgb At(const QImage& Image, int X, int Y) { return Image.pixel(X, Y) | 0xFF000000u; }

}  // namespace

TEST(WindowCanvas, TheSurfaceFollowsTheSizeAndKeepsItsPicture) {
  TWindowCanvas Canvas;
  Canvas.resize(20, 10);
  Canvas.show();
  EXPECT_EQ(Canvas.Surface().Width(), 20);
  EXPECT_EQ(Canvas.Surface().Height(), 10);
  Canvas.Canvas().Brush().SetColor(0x000000FF);
  Canvas.Canvas().FillRect(base::Rect(0, 0, 5, 5));
  Canvas.resize(30, 12);
  EXPECT_EQ(Canvas.Surface().Width(), 30);
  EXPECT_EQ(Canvas.Surface().Canvas().Pixels(4, 4), 0x000000FF);
}

TEST(WindowCanvas, APaintShowsWhatWasDrawnOnTheSurface) {
  TWindowCanvas Canvas;
  Canvas.resize(16, 8);
  Canvas.show();
  Canvas.Canvas().Brush().SetColor(0x00FFFFFF);
  Canvas.Canvas().FillRect(base::Rect(0, 0, 16, 8));
  Canvas.Canvas().Brush().SetColor(0x0000FF00);
  Canvas.Canvas().FillRect(base::Rect(4, 2, 8, 6));  // drawing alone asks for the repaint
  const QImage Shown = Canvas.grab().toImage();
  EXPECT_EQ(At(Shown, 5, 3), qRgb(0, 255, 0));
  EXPECT_EQ(At(Shown, 0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(At(Shown, 15, 7), qRgb(255, 255, 255));

  Canvas.Canvas().SetPixels(15, 7, 0x00FF0000);
  EXPECT_EQ(At(Canvas.grab().toImage(), 15, 7), qRgb(0, 0, 255));
  EXPECT_EQ(Canvas.Shown(), BitmapToQImage(Canvas.Surface()));
}

TEST(WindowCanvas, PixelsChangedBehindTheCanvasShowAfterInvalidate) {
  TWindowCanvas Canvas;
  Canvas.resize(4, 4);
  Canvas.show();
  Canvas.Canvas().Brush().SetColor(0);
  Canvas.Canvas().FillRect(base::Rect(0, 0, 4, 4));
  EXPECT_EQ(At(Canvas.grab().toImage(), 1, 1), qRgb(0, 0, 0));
  uint8_t* Row = Canvas.Surface().ScanLine(1);  // direct pixel access tells nobody
  Row[3] = 0xFF;                               // blue of pixel 1 in a 24-bit row
  Canvas.Invalidate(base::Rect(1, 1, 2, 2));
  EXPECT_EQ(At(Canvas.grab().toImage(), 1, 1), qRgb(0, 0, 255));
}
