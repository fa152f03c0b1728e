#include "gif/FrameSizeOptimizer.h"

#include <algorithm>
#include <array>

#include "gif/GIFImage.h"
#include "gif/ScreenCompositor.h"

namespace gif {

namespace {

bool Croppable(const TGIFSubImage& Frame, int ScreenWidth, int ScreenHeight) {
  if (Frame.Empty()) return false;
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  if (Control != nullptr && Control->Disposal() == fdBackground) return false;
  const base::TRect Area = Frame.BoundsRect();
  return Area.Right <= ScreenWidth && Area.Bottom <= ScreenHeight;
}

// The part of Frame (in its own coordinates) whose pixels differ from the screen.
base::TRect Changes(const TScreenCompositor& Screen, const TGIFSubImage& Frame) {
  const std::array<base::TColor, 256> Colors = Screen.FrameColors(Frame);
  const int W = Frame.Width(), H = Frame.Height();
  base::TRect Found = base::Rect(W, H, 0, 0);
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Row = Frame.Data() + static_cast<size_t>(Y) * W;
    for (int X = 0; X < W; ++X) {
      const base::TColor C = Colors[Row[X]];
      if (C == base::clNone || C == Screen.At(Frame.Left() + X, Frame.Top() + Y)) continue;
      Found.Left = std::min(Found.Left, X);
      Found.Right = std::max(Found.Right, X + 1);
      Found.Top = std::min(Found.Top, Y);
      Found.Bottom = std::max(Found.Bottom, Y + 1);
    }
  }
  return Found;
}

}  // namespace

int OptimizeFrameSize(TGIFImage& Image) {
  Image.StopAllPainters();
  const int ScreenWidth = Image.Width(), ScreenHeight = Image.Height();
  TScreenCompositor Screen(ScreenWidth, ScreenHeight, base::clNone, base::clNone, true);
  TGIFImageList& Frames = Image.Frames();
  int Cropped = 0;
  for (int I = 0; I < Frames.Count(); ++I) {
    TGIFSubImage& Frame = *Frames.SubImages(I);
    if (I > 0 && Croppable(Frame, ScreenWidth, ScreenHeight)) {
      const base::TRect Area = Changes(Screen, Frame);
      const bool Whole = Area.Left == 0 && Area.Top == 0 && Area.Right == Frame.Width() &&
                         Area.Bottom == Frame.Height();
      if (!Area.IsEmpty() && !Whole) {
        Frame.CropTo(Area.Left, Area.Top, Area.Width(), Area.Height());
        ++Cropped;
      }
    }
    Screen.Draw(Frame);
    Screen.Dispose(Frame);
  }
  return Cropped;
}

}  // namespace gif
