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
    : FWidth(std::max(Width, 0)),
      FHeight(std::max(Height, 0)),
      FTilesAcross((FWidth + TileSide - 1) / TileSide),
      FInitial(Initial),
      FFill(Fill),
      FTransparent(Transparent) {
  if (int64_t{FWidth} * FHeight > MaxScreenPixels) RaiseGIFError("Image dimensions too large");
  FTiles.resize(static_cast<size_t>(FTilesAcross) * ((FHeight + TileSide - 1) / TileSide));
}

TScreenCompositor::~TScreenCompositor() = default;

base::TColor TScreenCompositor::At(int X, int Y) const {
  const auto& Tile = FTiles[static_cast<size_t>(Y / TileSide) * FTilesAcross + X / TileSide];
  return Tile ? Tile[(Y % TileSide) * TileSide + X % TileSide] : FInitial;
}

std::vector<base::TColor> TScreenCompositor::Screen() const {
  std::vector<base::TColor> Result(static_cast<size_t>(FWidth) * FHeight, FInitial);
  for (int Y = 0; Y < FHeight; ++Y)
    for (int X = 0; X < FWidth; X += TileSide) {
      const auto& Tile = FTiles[static_cast<size_t>(Y / TileSide) * FTilesAcross + X / TileSide];
      if (!Tile) continue;
      const base::TColor* Row = Tile.get() + (Y % TileSide) * TileSide;
      std::copy_n(Row, std::min(TileSide, FWidth - X), Result.begin() + static_cast<ptrdiff_t>(Y) * FWidth + X);
    }
  return Result;
}

base::TColor* TScreenCompositor::Span(int X, int Y) {
  auto& Tile = FTiles[static_cast<size_t>(Y / TileSide) * FTilesAcross + X / TileSide];
  if (!Tile) {
    Tile = std::make_unique<base::TColor[]>(TileSide * TileSide);
    std::fill_n(Tile.get(), TileSide * TileSide, FInitial);
  }
  return Tile.get() + (Y % TileSide) * TileSide + X % TileSide;
}

template <class Visit>
void TScreenCompositor::ForEachSpan(const base::TRect& Area, Visit Each) {
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    for (int X = Area.Left; X < Area.Right;) {
      const int Count = std::min(Area.Right - X, TileSide - X % TileSide);
      Each(X, Y, Span(X, Y), Count);
      X += Count;
    }
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

void TScreenCompositor::Draw(const TGIFSubImage& Frame) { Paint(Frame, nullptr); }

void TScreenCompositor::Draw(const TGIFSubImage& Frame, const TFramePicture& Picture) { Paint(Frame, &Picture); }

void TScreenCompositor::Paint(const TGIFSubImage& Frame, const TFramePicture* Picture) {
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  const base::TRect Area = Clipped(Frame);
  FSaved.clear();
  FSavedArea = {};
  if (Control != nullptr && Control->Disposal() == fdPrevious && !Area.IsEmpty()) {
    FSavedArea = Area;
    FSaved.reserve(static_cast<size_t>(Area.Width()) * Area.Height());
    ForEachSpan(Area, [this](int, int, const base::TColor* Pixels, int Count) {
      FSaved.insert(FSaved.end(), Pixels, Pixels + Count);
    });
  }
  if (Frame.Empty() || Area.IsEmpty()) return;
  const std::array<base::TColor, 256> Own = FrameColors(Frame);
  const int W = Frame.Width();
  ForEachSpan(Area, [&](int X, int Y, base::TColor* Pixels, int Count) {
    const int FrameX = X - Frame.Left(), FrameY = Y - Frame.Top();
    const uint8_t* Indexes = Frame.Data() + static_cast<size_t>(FrameY) * W + FrameX;
    const uint8_t* Shown = Picture != nullptr ? Picture->Row(FrameY) + FrameX : nullptr;
    for (int I = 0; I < Count; ++I) {
      base::TColor C = Own[Indexes[I]];
      if (C == base::clNone) continue;
      if (Shown != nullptr) C = Picture->Colors[Shown[I]];
      if (C != base::clNone) Pixels[I] = C;
    }
  });
}

void TScreenCompositor::Dispose(const TGIFSubImage& Frame) {
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  const TFrameDisposal Disposal = Control != nullptr ? Control->Disposal() : fdNoneSpecified;
  if (Disposal == fdBackground) Restore(Frame);
  if (Disposal == fdPrevious && !FSavedArea.IsEmpty()) {
    size_t At = 0;
    ForEachSpan(FSavedArea, [this, &At](int, int, base::TColor* Pixels, int Count) {
      std::copy_n(FSaved.begin() + static_cast<ptrdiff_t>(At), Count, Pixels);
      At += static_cast<size_t>(Count);
    });
  }
  FSaved.clear();
  FSavedArea = {};
}

std::vector<base::TColor> TScreenCompositor::Show(const TGIFSubImage& Frame) {
  Draw(Frame);
  std::vector<base::TColor> Shown = Screen();
  Dispose(Frame);
  return Shown;
}

void TScreenCompositor::Restore(const TGIFSubImage& Frame) {
  const base::TColor Value = FTransparent ? FInitial : FFill;
  ForEachSpan(Clipped(Frame), [Value](int, int, base::TColor* Pixels, int Count) { std::fill_n(Pixels, Count, Value); });
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
