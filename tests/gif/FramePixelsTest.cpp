// A frame's indexes as an 8-bit bitmap under its own table and back: what is stored
// keeps the table it came under, local or global, the transparent index and the timing.
#include <gtest/gtest.h>

#include "gif/FramePixels.h"
#include "gif/GIFException.h"
#include "gif/GIFImage.h"

namespace {

// A new frame of Image, which owns it, with the local colours given.
gif::TGIFSubImage& AddFrame(gif::TGIFImage& Image, std::initializer_list<base::TColor> Local = {}) {
  auto Owned = std::make_unique<gif::TGIFSubImage>(&Image);
  gif::TGIFSubImage& Frame = *Owned;
  Image.Frames().Add(std::move(Owned));
  for (base::TColor Color : Local) Frame.ColorMap()->Add(Color);
  return Frame;
}

TEST(FramePixels, AFrameUnderTheGlobalTableStaysUnderIt) {
  gif::TGIFImage Image;
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  gif::TGIFSubImage& Frame = AddFrame(Image);
  Frame.SetBounds(0, 0, 3, 2);
  Frame.Scanline(1)[2] = 1;
  std::unique_ptr<graphics::TBitmap> Bitmap = gif::ReadFrameBitmap(Frame);
  ASSERT_NE(Bitmap, nullptr);
  EXPECT_EQ(Bitmap->PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(Bitmap->ScanLine(1)[2], 1);
  Bitmap->Canvas().SetPixels(0, 0, graphics::clWhite);
  gif::StoreFrameBitmap(Frame, *Bitmap);
  EXPECT_EQ(Frame.ColorMap()->Count(), 0) << "no local table appears";
  EXPECT_EQ(Frame.Pixels(0, 0), 1);
  EXPECT_EQ(Frame.Pixels(2, 1), 1);
  EXPECT_EQ(Frame.Pixels(1, 1), 0);
}

TEST(FramePixels, StoringKeepsTheTransparentIndexAndTheDelayAndFollowsANewSize) {
  gif::TGIFImage Image;
  gif::TGIFSubImage& Frame = AddFrame(Image, {0x000000, 0xFFFFFF, 0x0000FF, 0x000000});
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(&Frame);
  Control->SetDelay(40);
  Control->SetTransparent(true);
  Control->SetTransparentColor(3);
  Frame.SetGraphicControlExtension(Control.get());
  Frame.SetTransparent(true);
  Frame.Extensions()->Add(std::move(Control));
  Frame.SetBounds(0, 0, 4, 4);
  for (int Y = 0; Y < 4; ++Y) Frame.Scanline(Y)[Y] = 3;
  std::unique_ptr<graphics::TBitmap> Bitmap = gif::ReadFrameBitmap(Frame);
  // A dithering image renders onto its web palette; the frame's pixels come undithered.
  Image.SetDrawFlags(gif::dfDither);
  ASSERT_TRUE(Image.DoDither());
  ASSERT_NE(Frame.GetBitmap()->ScanLine(2)[2], 3);
  EXPECT_EQ(gif::ReadFrameBitmap(Frame)->ScanLine(2)[2], 3);
  Bitmap->SetWidth(6);
  Bitmap->Canvas().SetPixels(5, 0, 0x0000FF);
  gif::StoreFrameBitmap(Frame, *Bitmap);
  EXPECT_EQ(Frame.Width(), 6);
  EXPECT_EQ(Frame.Pixels(5, 0), 2);
  EXPECT_EQ(Frame.Pixels(2, 2), 3) << "the transparent twin of black stays itself";
  // (Flushing the renderings moved the only frame's table to the image.)
  ASSERT_EQ(Frame.ActiveColorMap()->Count(), 4);
  EXPECT_EQ(Frame.ActiveColorMap()->Colors(3), 0x000000);
  ASSERT_EQ(Frame.GraphicControlExtension(), Frame.Extensions()->Extensions(0));
  EXPECT_TRUE(Frame.Transparent());
  EXPECT_EQ(Frame.GraphicControlExtension()->TransparentColor(), 3);
  EXPECT_EQ(Frame.GraphicControlExtension()->Delay(), 40);
}

TEST(FramePixels, ABitmapInOtherColoursIsConvertedAndKeepsTheTiming) {
  gif::TGIFImage Image;
  gif::TGIFSubImage& Frame = AddFrame(Image, {0x000000, 0xFFFFFF});
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(&Frame);
  Control->SetDelay(7);
  Frame.SetGraphicControlExtension(Control.get());
  Frame.Extensions()->Add(std::move(Control));
  Frame.SetBounds(0, 0, 2, 2);
  graphics::TBitmap Other;
  Other.SetPixelFormat(graphics::pf24bit);
  Other.SetWidth(2);
  Other.SetHeight(2);
  Other.Canvas().SetPixels(1, 1, 0x00FF00);
  gif::StoreFrameBitmap(Frame, Other);
  EXPECT_EQ(Frame.ActiveColorMap()->Colors(Frame.Pixels(1, 1)), 0x00FF00);
  ASSERT_NE(Frame.GraphicControlExtension(), nullptr);
  EXPECT_EQ(Frame.GraphicControlExtension()->Delay(), 7);
}

TEST(FramePixels, ABitmapPastTheLargestScreenIsRefusedAndTheFrameStaysAsItWas) {
  struct Case {
    int Left, Width, Height;
    bool UnderItsTable;
  };
  const Case Cases[] = {{0, 70000, 2, true}, {0, 2, 70000, true}, {1, 65535, 1, true}, {0, 70000, 2, false}};
  for (const Case& C : Cases) {
    gif::TGIFImage Image;
    gif::TGIFSubImage& Frame = AddFrame(Image, {0x000000, 0xFFFFFF});
    Frame.SetBounds(static_cast<uint16_t>(C.Left), 0, 3, 2);
    Frame.Scanline(1)[2] = 1;
    std::unique_ptr<graphics::TBitmap> Bitmap = gif::ReadFrameBitmap(Frame);
    if (!C.UnderItsTable) Bitmap->SetPixelFormat(graphics::pf24bit);
    Bitmap->SetWidth(C.Width);
    Bitmap->SetHeight(C.Height);
    try {
      gif::StoreFrameBitmap(Frame, *Bitmap);
      ADD_FAILURE() << C.Width << " x " << C.Height << " at " << C.Left << " was stored";
    } catch (const gif::GIFException& E) {
      EXPECT_STREQ(E.what(), "Frame extends beyond the largest logical screen (65535 pixels)");
    }
    EXPECT_EQ(Frame.Left(), C.Left);
    EXPECT_EQ(Frame.Width(), 3);
    EXPECT_EQ(Frame.Height(), 2);
    EXPECT_EQ(Frame.Pixels(2, 1), 1);
    EXPECT_EQ(Frame.ColorMap()->Count(), 2);
  }
}

}  // namespace
