// TGIFImage's painters: making and starting them, drawing an animation, and stopping.
// The painter list's lock is taken only on the GUI thread and never held across a
// wait or a play, since a handler that runs there may free the image with its lock.
#include <mutex>

#include "gif/GIFImage.h"
#include "platform/base/HandOff.h"
#include "platform/graphics/Palettes.h"

namespace gif {

std::unique_ptr<TGIFPainter> TGIFImage::MakePainter(TGIFPainter** PainterRef, graphics::TCanvas& ACanvas,
                                                    TGIFDrawFlags DrawFlags, const base::TRect& Rect) {
  if (Empty() || Rect.Left >= Rect.Right || Rect.Top >= Rect.Bottom) {
    if (PainterRef != nullptr) *PainterRef = nullptr;
    return nullptr;
  }
  if (FFrames->Count() == 1) DrawFlags &= static_cast<TGIFDrawFlags>(~(dfThreaded | dfAnimate));
  std::lock_guard Guard(FPainters.Lock());
  auto Painter = std::make_unique<TGIFPainter>(PainterRef, DrawFlags, Rect, ACanvas, this);
  FPainters.Items().push_back(Painter.get());
  Painter->OnPlayStart = OnPlayStart;
  Painter->OnFramePaint = OnFramePaint;
  Painter->OnAfterFramePaint = OnAfterFramePaint;
  Painter->OnPlayLoop = OnPlayLoop;
  Painter->OnPlayEnd = OnPlayEnd;
  if (Painter->Threaded()) Painter->SetPriority(static_cast<base::TThreadPriority>(FPainterPriority));
  return Painter;
}

void TGIFImage::PlaySynchronously(std::unique_ptr<TGIFPainter> Painter) {
  Painter->Execute();
  const std::exception_ptr Kept = Painter->KeptException();
  Painter.reset();
  if (Kept) std::rethrow_exception(Kept);
}

TGIFPainter* TGIFImage::Paint(TGIFPainter** PainterRef, graphics::TCanvas& ACanvas, TGIFDrawFlags DrawFlags,
                              const base::TRect& Rect) {
  std::unique_ptr<TGIFPainter> Painter = MakePainter(PainterRef, ACanvas, DrawFlags, Rect);
  if (!Painter) return nullptr;
  if (Painter->Threaded()) return Painter.release();
  PlaySynchronously(std::move(Painter));
  return nullptr;
}

void TGIFImage::DrawCachedBitmap(graphics::TCanvas& ACanvas, const base::TRect& Rect) {
  if (!(FDrawFlags & dfTile) || Width() <= 0 || Height() <= 0) {
    ACanvas.StretchDraw(Rect, FBitmap.get());
    return;
  }
  for (int Y = Rect.Top; Y < Rect.Bottom; Y += Height())
    for (int X = Rect.Left; X < Rect.Right; X += Width())
      ACanvas.StretchDraw(base::Bounds(X, Y, Width(), Height()), FBitmap.get());
}

void TGIFImage::Draw(graphics::TCanvas& ACanvas, const base::TRect& Rect) {
  if (FInDraw || FFrames->Count() == 0) return;
  // A handler that runs during the play may free this image: the guard is reset only
  // while it lives.
  const std::shared_ptr<const bool> Alive = FPainters.Alive();
  FInDraw = true;
  try {
    DrawPlaying(ACanvas, Rect);
  } catch (...) {
    if (*Alive) FInDraw = false;
    throw;
  }
  if (*Alive) FInDraw = false;
}

void TGIFImage::DrawPlaying(graphics::TCanvas& ACanvas, const base::TRect& Rect) {
  if (FFrames->Count() == 1 || !(FDrawFlags & dfAnimate)) {
    FFrames->SubImages(0)->Draw(ACanvas, Rect, (FDrawFlags & dfTransparent) != 0, (FDrawFlags & dfTile) != 0);
    return;
  }
  const bool Unbuffered = (FDrawFlags & dfUnbuffered) != 0;
  if (FBitmap && !Unbuffered) {
    DrawCachedBitmap(ACanvas, Rect);
    return;
  }
  const std::shared_ptr<const bool> Alive = FPainters.Alive();
  {
    std::lock_guard Guard(FPainters.Lock());
    TGIFPainter* Active = FPainters.ActivePainter();
    if (Active != nullptr && Active->Canvas() == &ACanvas && Active->Rect() == Rect) return;
  }
  HaltPainter();
  if (!*Alive) return;
  graphics::TCanvas* Target = &ACanvas;
  base::TRect TargetRect = Rect;
  if (!Unbuffered) {
    auto Bitmap = std::make_unique<graphics::TBitmap>();
    Bitmap->SetPalette(graphics::CopyPalette(GetPalette()));
    Bitmap->SetHeight(Height());
    Bitmap->SetWidth(Width());
    TargetRect = base::Rect(0, 0, Width(), Height());
    Bitmap->Canvas().CopyRect(TargetRect, ACanvas, Rect);
    FBitmap = std::move(Bitmap);
    Target = &FBitmap->Canvas();
  }
  std::unique_ptr<TGIFPainter> Made = MakePainter(&FPainters.ActivePainter(), *Target, FDrawFlags, TargetRect);
  if (!Made) return;
  if (!Made->Threaded()) {
    // Each frame of the play reaches the caller's canvas, not only the last.
    if (!Unbuffered) Made->SetShowFrame([this, &ACanvas, Rect] { DrawCachedBitmap(ACanvas, Rect); });
    PlaySynchronously(std::move(Made));
    return;
  }
  TGIFPainter* Painter = Made.release();
  Painter->Start();
  if (Unbuffered) return;
  // The painter is freed only after its clean-up has cleared ActivePainter.
  while (*Alive && FPainters.ActivePainter() == Painter && !Painter->Terminated() && !Painter->FramePainted())
    base::CheckSynchronize(10);
  if (*Alive && FBitmap) DrawCachedBitmap(ACanvas, Rect);
}

void TGIFImage::HaltPainter() {
  const std::shared_ptr<const bool> Alive = FPainters.Alive();
  for (;;) {
    {
      std::lock_guard Guard(FPainters.Lock());
      TGIFPainter* Active = FPainters.ActivePainter();
      if (Active == nullptr) break;
      Active->Stop();
      // Waiting from inside the painter's own hand-off would never end; it ends after it.
      if (!Active->Threaded() || Active->Busy()) break;
    }
    base::CheckSynchronize(10);
    if (!*Alive) return;
  }
  FBitmap.reset();
}

void TGIFImage::StopAllPainters() {
  const std::shared_ptr<const bool> Alive = FPainters.Alive();
  for (;;) {
    bool Waiting = false;
    {
      std::lock_guard Guard(FPainters.Lock());
      std::vector<TGIFPainter*>& Items = FPainters.Items();
      for (auto It = Items.rbegin(); It != Items.rend(); ++It) {
        (*It)->Stop();
        Waiting = Waiting || ((*It)->Threaded() && !(*It)->Busy());
      }
    }
    if (!Waiting) break;
    base::CheckSynchronize(10);
    if (!*Alive) return;
  }
  FBitmap.reset();
}

void TGIFImage::ReleaseBitmap() { StopAllPainters(); }

}  // namespace gif
