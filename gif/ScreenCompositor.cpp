#include "gif/ScreenCompositor.h"

#include <algorithm>

#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/SubImage.h"

namespace gif {

namespace {

// Above every RGB value and below clNone.
constexpr base::TColor MissingEntry = 0x01000000;

}  // namespace

TScreenCompositor::TScreenCompositor(int Width, int Height, base::TColor Initial, base::TColor Fill,
                                     bool Transparent)
    : FWidth(std::max(Width, 0)), FHeight(std::max(Height, 0)), FFill(Fill), FTransparent(Transparent) {
  if (int64_t{FWidth} * FHeight > MaxScreenPixels) RaiseGIFError("Image dimensions too large");
  FScreen.assign(static_cast<size_t>(FWidth) * FHeight, Initial);
  FBackup = FScreen;
}

std::array<base::TColor, 256> TScreenCompositor::FrameColors(const TGIFSubImage& Frame) const {
  std::array<base::TColor, 256> Colors;
  const TGIFColorMap* Map = Frame.ActiveColorMap();
  for (int I = 0; I < 256; ++I) {
    if (I < Map->Count()) {
      const uint8_t* T = Map->Data() + I * 3;
      Colors[static_cast<size_t>(I)] = T[0] | T[1] << 8 | T[2] << 16;
    } else {
      Colors[static_cast<size_t>(I)] = MissingEntry + I;
    }
  }
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  if (FTransparent && Frame.Transparent() && Control != nullptr) Colors[Control->TransparentColor()] = base::clNone;
  return Colors;
}

base::TRect TScreenCompositor::Clipped(const TGIFSubImage& Frame) const {
  const base::TRect Own = Frame.BoundsRect();
  return base::Rect(std::max(Own.Left, 0), std::max(Own.Top, 0), std::min(Own.Right, FWidth),
                    std::min(Own.Bottom, FHeight));
}

std::vector<base::TColor> TScreenCompositor::Show(const TGIFSubImage& Frame) {
  const std::vector<base::TColor> Before = FScreen;
  const base::TRect Area = Clipped(Frame);
  if (!Frame.Empty() && !Area.IsEmpty()) {
    const std::array<base::TColor, 256> Colors = FrameColors(Frame);
    const int W = Frame.Width();
    for (int Y = Area.Top; Y < Area.Bottom; ++Y) {
      const uint8_t* Row = Frame.Data() + static_cast<size_t>(Y - Frame.Top()) * W;
      base::TColor* Target = &FScreen[static_cast<size_t>(Y) * FWidth];
      for (int X = Area.Left; X < Area.Right; ++X) {
        const base::TColor C = Colors[Row[X - Frame.Left()]];
        if (C != base::clNone) Target[X] = C;
      }
    }
  }
  std::vector<base::TColor> Shown = FScreen;
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  const TFrameDisposal Disposal = Control != nullptr ? Control->Disposal() : fdNoneSpecified;
  if (Disposal == fdBackground) Restore(Frame);
  if (Disposal == fdPrevious) FScreen = Before;
  return Shown;
}

void TScreenCompositor::Restore(const TGIFSubImage& Frame) {
  const base::TRect Area = Clipped(Frame);
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    for (int X = Area.Left; X < Area.Right; ++X) {
      const size_t At = static_cast<size_t>(Y) * FWidth + X;
      FScreen[At] = FTransparent ? FBackup[At] : FFill;
    }
}

std::vector<TShownPicture> Timeline(const TGIFImage& Image) {
  TScreenCompositor Screen(Image.Width(), Image.Height(), base::clNone, base::clNone, true);
  std::vector<TShownPicture> Result;
  for (int I = 0; I < Image.Frames().Count(); ++I) {
    const TGIFSubImage& Frame = *Image.Frames().SubImages(I);
    const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
    const int Delay = Control != nullptr ? Control->Delay() : 0;
    std::vector<base::TColor> Shown = Screen.Show(Frame);
    if (!Result.empty() && Result.back().Screen == Shown)
      Result.back().Delay += Delay;
    else
      Result.push_back({std::move(Shown), Delay});
  }
  return Result;
}

}  // namespace gif
