// The optimisation pass: colour tables sorted by use, transparency and disposals that
// have no effect dropped, frames merged with the picture before them and cropped,
// and extensions, graphic control extensions and frames that carry nothing deleted.
// Frame 0 and the last remaining frame always stay, and so does every frame that
// restores the background, so the pass never changes what the animation shows.
#include <algorithm>
#include <mutex>

#include "gif/GIFImage.h"
#include "platform/base/Rounding.h"

namespace gif {

namespace {

TFrameDisposal DisposalOf(const TGIFSubImage& Frame) {
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  return Control != nullptr ? Control->Disposal() : fdNoneSpecified;
}

bool Restores(TFrameDisposal Disposal) { return Disposal == fdBackground || Disposal == fdPrevious; }

// A transparent frame with its graphic control extension.
TGIFGraphicControlExtension* TransparencyOf(const TGIFSubImage& Frame) {
  return Frame.Transparent() ? Frame.GraphicControlExtension() : nullptr;
}

bool Holds(const TGIFSubImage& Frame, uint8_t Index) {
  const uint8_t* Pixels = Frame.Data();
  return std::find(Pixels, Pixels + Frame.PixelBytes(), Index) != Pixels + Frame.PixelBytes();
}

bool Contains(const base::TRect& Outer, const base::TRect& Inner) {
  return Outer.Left <= Inner.Left && Outer.Top <= Inner.Top && Outer.Right >= Inner.Right &&
         Outer.Bottom >= Inner.Bottom;
}

bool Overlap(const base::TRect& A, const base::TRect& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) && std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

// Adds Delay to Frame's delay, saturating, with a new graphic control extension when
// it has none.
void AddDelay(TGIFSubImage& Frame, int Delay) {
  TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  if (Control == nullptr) {
    auto Made = std::make_unique<TGIFGraphicControlExtension>(&Frame);
    Control = Made.get();
    Frame.Extensions()->Add(std::move(Made));
  }
  Control->SetDelay(static_cast<uint16_t>(std::min(65535, Control->Delay() + Delay)));
}

bool CarriesNothing(const TGIFExtension* Extension, int FrameIndex, int FrameCount) {
  if (dynamic_cast<const TGIFCommentExtension*>(Extension) != nullptr) return true;
  if (dynamic_cast<const TGIFTextExtension*>(Extension) != nullptr) return true;
  if (dynamic_cast<const TGIFUnknownAppExtension*>(Extension) != nullptr) return true;
  if (dynamic_cast<const TGIFAppExtNSLoop*>(Extension) != nullptr) return FrameIndex > 0 || FrameCount == 1;
  return false;
}

}  // namespace

void TGIFImage::Optimize(TImageOptimizeFlags Flags, TReductionMethod Method, TDitherKind, int) {
  if (FFrames->Count() == 0) return;
  StopAllPainters();
  std::lock_guard Guard(FPainters.Lock());
  WithProgress("Optimizing...", false, [&] {
    TGIFImageList& Frames = *FFrames;
    const int Total = 6 * Frames.Count();
    int Done = 0;
    const auto Report = [&] {
      const auto Percent = std::min<int64_t>(100, base::Round(Done * 100.0 / Total));
      Progress(this, base::psRunning, static_cast<uint8_t>(Percent), false, {}, "Optimizing...");
    };

    if (Flags & ofColorTables) {
      if (GetGlobalColorMap()->Count() > 0) GetGlobalColorMap()->Optimize();
      for (int I = 0; I < Frames.Count(); ++I) {
        ++Done;
        if (Frames.SubImages(I)->ColorMap()->Count() > 0) {
          Frames.SubImages(I)->ColorMap()->Optimize();
          Report();
        }
      }
    }

    if (Flags & ofCleanup) {
      for (int I = 0; I < Frames.Count(); ++I) {
        ++Done;
        TGIFSubImage& Frame = *Frames.SubImages(I);
        if (TGIFGraphicControlExtension* Control = TransparencyOf(Frame); Control && !Frame.Empty() &&
                                                                          !Holds(Frame, Control->TransparentColor()))
          Control->SetTransparent(false);
        Report();
      }
      // A disposal goes only where the next frame paints over all of it and keeps
      // what it painted.
      for (int I = 0; I + 1 < Frames.Count(); ++I) {
        ++Done;
        TGIFSubImage& Frame = *Frames.SubImages(I);
        const TGIFSubImage& Next = *Frames.SubImages(I + 1);
        if (!Restores(DisposalOf(Frame)) || TransparencyOf(Next) != nullptr || Next.Empty()) continue;
        if (!Overlap(Frame.BoundsRect(), Next.BoundsRect())) continue;
        if (Contains(Next.BoundsRect(), Frame.BoundsRect()) && DisposalOf(Next) != fdPrevious)
          Frame.GraphicControlExtension()->SetDisposal(fdNoneSpecified);
        Report();
      }
    } else {
      Done += 2 * Frames.Count();
    }

    if (Flags & ofMerge) {
      for (int C = Frames.Count() - 1; C >= 1; --C) {
        ++Done;
        int B = C - 1;
        while (B > 0 && DisposalOf(*Frames.SubImages(B)) == fdPrevious) --B;
        Frames.SubImages(C)->Merge(Frames.SubImages(B));
        Report();
      }
    } else {
      Done += Frames.Count();
    }

    if (Flags & ofCrop) {
      for (int C = Frames.Count() - 1; C >= 0; --C) {
        ++Done;
        TGIFSubImage& Frame = *Frames.SubImages(C);
        const TGIFGraphicControlExtension* Control = TransparencyOf(Frame);
        if (Frame.Empty() || Control == nullptr || DisposalOf(Frame) == fdBackground) continue;
        if (std::all_of(Frame.Data(), Frame.Data() + Frame.PixelBytes(),
                        [T = Control->TransparentColor()](uint8_t P) { return P == T; })) {
          // Nothing to show: its time goes to the frame before, whose picture stays
          // on screen meanwhile only when that frame keeps it.
          if (C == 0 || Restores(DisposalOf(*Frames.SubImages(C - 1)))) continue;
          AddDelay(*Frames.SubImages(C - 1), Control->Delay());
          Frames.Delete(C);
        } else {
          Frame.Crop();
        }
        Report();
      }
    } else {
      Done += Frames.Count();
    }

    Done += Frames.Count();

    if (Flags & ofCleanup) {
      for (int N = Frames.Count() - 1; N >= 0; --N) {
        TGIFSubImage& Frame = *Frames.SubImages(N);
        TGIFExtensionList& Extensions = *Frame.Extensions();
        const int Count = Frames.Count();
        for (int E = Extensions.Count() - 1; E >= 0; --E)
          if (CarriesNothing(Extensions.Extensions(E), N, Count)) Extensions.Delete(E);
        if (const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension()) {
          const bool Single = Count == 1;
          if ((Control->Delay() == 0 || Single) && !Frame.Transparent() && !Control->UserInput() &&
              (static_cast<int>(Control->Disposal()) < 2 || Single))
            Extensions.Delete(Extensions.IndexOf(Control));
        }
        if (N > 0 && Frame.Empty() && Extensions.Count() == 0) Frames.Delete(N);
      }
      Report();
    } else if ((Flags & ofReduceColors) && Method == rdCustomPalette) {
      RaiseGIFError("Invalid reduction method");
    }
  });
}

}  // namespace gif
