#include "editor/effects/FrameTransitions.h"

#include <vector>

#include "gif/FramePixels.h"
#include "gif/GraphicControlExtension.h"
#include "platform/base/Exceptions.h"
#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Palette.h"

namespace editor {

namespace {

// Which pixels of Picture hold Index, row by row; none when none does.
std::vector<bool> TransparentPixels(int Index, graphics::TBitmap& Picture) {
  if (Index < 0 || Picture.PixelFormat() != graphics::pf8bit) return {};
  std::vector<bool> Clear(static_cast<size_t>(Picture.Width()) * Picture.Height());
  bool Any = false;
  for (int Y = 0; Y < Picture.Height(); ++Y) {
    const uint8_t* Row = Picture.ScanLine(Y);
    for (int X = 0; X < Picture.Width(); ++X)
      if (Row[X] == Index) Clear[static_cast<size_t>(Y) * Picture.Width() + X] = Any = true;
  }
  if (!Any) return {};
  return Clear;
}

// For each index of Picture's own palette, the entry of Colors nearest to its colour
// other than Skipped; Skipped itself when Colors has no other entry.
std::vector<uint8_t> NearestExcept(graphics::TBitmap& Picture, const gif::TGIFColorMap& Colors, int Skipped) {
  std::vector<gdi::PALETTEENTRY> Own(256);
  gdi::GetPaletteEntries(Picture.Palette(), 0, 256, Own.data());
  std::vector<gdi::XRGB> Others;
  std::vector<uint8_t> OthersIndex;
  for (int I = 0; I < Colors.Count(); ++I) {
    if (I == Skipped) continue;
    const uint8_t* Triplet = Colors.Data() + static_cast<size_t>(I) * 3;
    Others.push_back(gdi::MakeXRGB(Triplet[0], Triplet[1], Triplet[2]));
    OthersIndex.push_back(static_cast<uint8_t>(I));
  }
  std::vector<uint8_t> Nearest(256, static_cast<uint8_t>(Skipped));
  if (Others.empty()) return Nearest;
  for (size_t I = 0; I < Own.size(); ++I)
    Nearest[I] = OthersIndex[gdi::NearestIndex(static_cast<uint32_t>(Others.size()), Own[I].peRed, Own[I].peGreen,
                                               Own[I].peBlue, [&](uint32_t E) { return Others[E]; })];
  return Nearest;
}

}  // namespace

graphics::TBitmap& TTransitionFrames::Bitmap(int Frame) {
  std::unique_ptr<graphics::TBitmap>& Found = FBitmaps[Frame];
  if (!Found && Frame >= 0 && Frame < FCopy.Frames().Count())
    Found = gif::ReadFrameBitmap(*FCopy.Frames().SubImages(Frame));
  if (!Found) throw base::Exception("Frame " + std::to_string(Frame + 1) + " is empty");
  return *Found;
}

void TTransitionFrames::UseColorsOf(int Frame, int Key) {
  if (Frame == Key) return;
  graphics::TBitmap& Picture = Bitmap(Frame);
  // The table itself: the bitmap's palette is padded to 256 entries with black.
  const gif::TGIFSubImage& KeyFrame = *FCopy.Frames().SubImages(Key);
  const gif::TGIFColorMap* Colors = KeyFrame.ActiveColorMap();
  if (Colors->Count() == 0) return;
  // Transparent pixels have no colour to be matched by: they are found by index first.
  const std::vector<bool> Clear = TransparentPixels(TransparentIndexOf(Frame), Picture);
  FTransparentIndex[Frame] = -1;
  const bool KeyClear = KeyFrame.Transparent() && KeyFrame.GraphicControlExtension() &&
                        KeyFrame.GraphicControlExtension()->TransparentColor() < Colors->Count();
  // The key's transparent entry shows no colour, so none of the frame's shown pixels
  // may land on it: they take their nearest other entry, found by their indexes now.
  std::vector<uint8_t> Before, Shown;
  if (!Clear.empty() && KeyClear) {
    Shown = NearestExcept(Picture, *Colors, KeyFrame.GraphicControlExtension()->TransparentColor());
    for (int Y = 0; Y < Picture.Height(); ++Y)
      Before.insert(Before.end(), Picture.ScanLine(Y), Picture.ScanLine(Y) + Picture.Width());
  }
  // Through true colour, so that every pixel is matched by the colour it shows now.
  Picture.SetPixelFormat(graphics::pf24bit);
  Picture.SetPalette(Colors->MakePalette());
  Picture.SetPixelFormat(graphics::pf8bit);
  if (Clear.empty()) return;
  // The key's own transparent entry, or one more entry that no colour is matched to.
  int Index = Colors->Count();
  if (KeyClear) {
    Index = KeyFrame.GraphicControlExtension()->TransparentColor();
  } else if (Index < 256) {
    gdi::LOGPALETTE Entries;
    Entries.palPalEntry.resize(static_cast<size_t>(Index) + 1);
    gdi::GetPaletteEntries(Picture.Palette(), 0, static_cast<uint32_t>(Index), Entries.palPalEntry.data());
    // A twin of entry 0 loses every tie to it, so drawing never lands on it.
    Entries.palPalEntry.back() = Entries.palPalEntry.front();
    Picture.SetPalette(gdi::CreatePalette(Entries));
  } else {
    return;
  }
  for (int Y = 0; Y < Picture.Height(); ++Y) {
    uint8_t* Row = Picture.ScanLine(Y);
    for (int X = 0; X < Picture.Width(); ++X) {
      const size_t At = static_cast<size_t>(Y) * Picture.Width() + X;
      if (Clear[At])
        Row[X] = static_cast<uint8_t>(Index);
      else if (!Shown.empty() && Row[X] == Index)
        Row[X] = Shown[Before[At]];
    }
  }
  FTransparentIndex[Frame] = Index;
}

int TTransitionFrames::TransparentIndexOf(int Frame) const {
  if (const auto Found = FTransparentIndex.find(Frame); Found != FTransparentIndex.end()) return Found->second;
  const gif::TGIFSubImage& Own = *FCopy.Frames().SubImages(Frame);
  const gif::TGIFGraphicControlExtension* Control = Own.GraphicControlExtension();
  return Own.Transparent() && Control ? Control->TransparentColor() : -1;
}

void TTransitionFrames::DrawOver(int Frame, graphics::TBitmap& Picture) { Bitmap(Frame).Canvas().Draw(0, 0, &Picture); }

void TTransitionFrames::CopyRect(int Frame, int Source, const TRectCopy& Copy) {
  if (Copy.Source.IsEmpty() || Copy.Dest.IsEmpty()) return;
  if (Frame == Source && Copy.Source == Copy.Dest) return;
  graphics::TCanvas& Target = Bitmap(Frame).Canvas();
  gdi::SetStretchBltMode(Target.Handle(), gdi::COLORONCOLOR);
  Target.CopyRect(Copy.Dest, Bitmap(Source).Canvas(), Copy.Source);
}

void TTransitionFrames::CopyPixel(int Frame, int Source, int X, int Y) {
  const base::TColor Color = Bitmap(Source).Canvas().Pixels(X, Y);
  if (Color >= 0) Bitmap(Frame).Canvas().SetPixels(X, Y, Color);
}

void TTransitionFrames::Store(int Frame) {
  gif::TGIFSubImage& Into = *FProject.Frames().SubImages(Frame);
  graphics::TBitmap& Picture = Bitmap(Frame);
  if (const auto Found = FTransparentIndex.find(Frame); Found != FTransparentIndex.end() && Found->second >= 0) {
    // The frame takes the table its picture is under, so its indexes, the transparent
    // one among them, go in as they are.
    Into.ColorMap()->LoadFromPalette(Picture.Palette());
    if (gif::TGIFGraphicControlExtension* Control = Into.GraphicControlExtension())
      Control->SetTransparentColor(static_cast<uint8_t>(Found->second));
  }
  // A store that fails may still have changed the frame.
  FStored = true;
  gif::StoreFrameBitmap(Into, Picture);
}

namespace {

// The run's frames in order, each prepared, drawn by Draw with its position, and stored.
// The copy source is taken before the first frame is drawn on, so that the run's first
// frame is copied as it was even when the transition covers it.
void ForEachFrame(TTransitionFrames& Frames, const TTransitionRun& Run, int CopySource,
                  const std::function<void(int Frame, int Position)>& Draw) {
  graphics::TBitmap Source;
  if (Run.CopyFrame) Source.Assign(&Frames.Bitmap(CopySource));
  for (int Frame = Run.First; Frame < Run.Target; ++Frame) {
    if (Run.UsePalette) Frames.UseColorsOf(Frame, Run.Target);
    if (Run.CopyFrame && Frame != Run.First) Frames.DrawOver(Frame, Source);
    Draw(Frame, Frame - Run.First);
    Frames.Store(Frame);
  }
}

}  // namespace

void RunFallWall(TTransitionFrames& Frames, const TTransitionRun& Run, TFallDirection Direction, TFallMode Mode) {
  if (Run.First >= Run.Target) return;
  const int W = Frames.Bitmap(Run.Target).Width();
  const int H = Frames.Bitmap(Run.Target).Height();
  const int Step = FallStep(Direction, W, H, Run.Divisor);
  ForEachFrame(Frames, Run, Run.First, [&](int Frame, int Position) {
    Frames.CopyRect(Frame, Run.Target, FallWallCopy(Direction, Mode, W, H, Position * Step));
  });
}

void RunRain(TTransitionFrames& Frames, const TTransitionRun& Run, std::mt19937& Random,
             const std::function<void(int Frame)>& Progress) {
  if (Run.First >= Run.Target) return;
  const int W = Frames.Bitmap(Run.Target).Width();
  const int H = Frames.Bitmap(Run.Target).Height();
  ForEachFrame(Frames, Run, Run.First, [&](int Frame, int Position) {
    if (Progress) Progress(Frame);
    StrewPoints(W, H, Position, Random, [&](int X, int Y) { Frames.CopyPixel(Frame, Run.Target, X, Y); });
  });
}

void RunMoveApart(TTransitionFrames& Frames, const TTransitionRun& Run, bool Vertical, bool Increase, bool Scale) {
  if (Run.First >= Run.Target) return;
  const int W = Frames.Bitmap(Run.Target).Width();
  const int H = Frames.Bitmap(Run.Target).Height();
  const int Step = (Vertical ? H : W) / Run.Divisor;
  ForEachFrame(Frames, Run, Run.First, [&](int Frame, int Position) {
    const base::TRect Band = MoveApartBand(Vertical, Increase, W, H, Position * Step);
    Frames.CopyRect(Frame, Run.Target, {Scale ? base::Rect(0, 0, W, H) : Band, Band});
  });
}

void RunLines(TTransitionFrames& Frames, const TTransitionRun& Run, bool Horizontal, int Lines) {
  if (Run.First >= Run.Target) return;
  const int W = Frames.Bitmap(Run.First).Width();
  const int H = Frames.Bitmap(Run.First).Height();
  const int Step = (Horizontal ? W : H) / Run.Divisor;
  ForEachFrame(Frames, Run, Run.Target, [&](int Frame, int Position) {
    for (const base::TRect& Band : LineBands(Horizontal, W, H, Lines, Position * Step))
      Frames.CopyRect(Frame, Run.First, {Band, Band});
  });
}

}  // namespace editor
