#include "gif/Painter.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "gif/AppExtNSLoop.h"
#include "gif/GIFImage.h"
#include "platform/base/HandOff.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Object.h"
#include "platform/graphics/Palettes.h"

namespace gif {

namespace {

// (Delay x MsPerDelayUnit - Overrun) x 100 / Speed, rounded half away from zero; none
// when it does not fit 32 bits.
std::optional<int64_t> PlannedWait(int Delay, int64_t Overrun, int Speed) {
  const int64_t Planned = int64_t{Delay} * MsPerDelayUnit - Overrun;
  constexpr int64_t Low = std::numeric_limits<int32_t>::min(), High = std::numeric_limits<int32_t>::max();
  if (Planned < Low || Planned > High) return std::nullopt;
  const int64_t Product = Planned * 100;
  const int64_t Half = Speed / 2;
  const int64_t Wait = Product >= 0 ? (Product + Half) / Speed : -((-Product + Half) / Speed);
  if (Wait < Low || Wait > High) return std::nullopt;
  return Wait;
}

// A bitmap of Rect's size holding what Canvas shows there, its brush Fill.
std::unique_ptr<graphics::TBitmap> CopyOf(graphics::TCanvas& Canvas, const base::TRect& Rect, base::TColor Fill) {
  auto Bitmap = std::make_unique<graphics::TBitmap>();
  Bitmap->Canvas().Brush().SetColor(Fill);
  Bitmap->Canvas().Brush().SetStyle(graphics::bsSolid);
  Bitmap->SetWidth(Rect.Right - Rect.Left);
  Bitmap->SetHeight(Rect.Bottom - Rect.Top);
  Bitmap->Canvas().CopyRect(base::Rect(0, 0, Bitmap->Width(), Bitmap->Height()), Canvas, Rect);
  return Bitmap;
}

}  // namespace

TGIFPainterList::~TGIFPainterList() {
  *FAlive = false;
  std::lock_guard Guard(FLock);
  for (TGIFPainter* Painter : FItems) Painter->Detach(&FActivePainter);
  FItems.clear();
  FActivePainter = nullptr;
}

TGIFPainter::TGIFPainter(TGIFPainter** PainterRef, TGIFDrawFlags DrawFlags, const base::TRect& Rect,
                         graphics::TCanvas& Canvas, TGIFImage* Image)
    : FImage(Image),
      FCanvas(&Canvas),
      FRect(Rect),
      FDrawFlags(DrawFlags),
      FClock(PainterClock()),
      // Images copy the library's speed unchecked; a painter plays only 0..1000.
      FSpeed(std::clamp(Image->PlaySpeed(), 0, 1000)),
      FPainterRef(PainterRef) {
  SetFreeOnTerminate(true);
  const TGIFImageList& Frames = Image->Frames();
  if ((DrawFlags & dfThreaded) && (DrawFlags & dfAnimate) && Frames.Count() > 1)
    FWakeEvent = std::make_unique<base::TEvent>(false, false);
  if (Image->BackdropColor() != base::clNone)
    FFillColor = Image->BackdropColor();
  else if (Image->GetGlobalColorMap()->Count() > 0)
    FFillColor = Image->BackgroundColor();
  else
    FFillColor = graphics::clWindow;
  bool UsesBackground = (DrawFlags & dfClearOnRepeat) != 0;
  bool UsesPrevious = false;
  for (int I = 0; I < Frames.Count(); ++I) {
    const TGIFGraphicControlExtension* Control = Frames.SubImages(I)->GraphicControlExtension();
    if (Control == nullptr) continue;
    UsesBackground = UsesBackground || Control->Disposal() == fdBackground;
    UsesPrevious = UsesPrevious || Control->Disposal() == fdPrevious;
  }
  if (UsesBackground && (DrawFlags & dfTransparent)) FBackupBitmap = CopyOf(Canvas, Rect, FFillColor);
  if (UsesBackground || UsesPrevious) {
    FWorkBitmap = CopyOf(Canvas, Rect, FFillColor);
    FPreviousBitmap = std::make_unique<graphics::TBitmap>();
    FPreviousBitmap->Canvas().Brush().SetColor(FFillColor);
    FPreviousBitmap->Canvas().Brush().SetStyle(graphics::bsSolid);
    FPreviousBitmap->SetWidth(FWorkBitmap->Width());
    FPreviousBitmap->SetHeight(FWorkBitmap->Height());
  }
  if (FPainterRef != nullptr) *FPainterRef = this;
}

TGIFPainter::~TGIFPainter() { CleanUp(); }

void TGIFPainter::Start() {
  if (Threaded()) TThread::Start();
}

void TGIFPainter::Stop() {
  Terminate();
  if (!Threaded()) return;
  if (FWakeEvent) FWakeEvent->SetEvent();
  SetPriority(base::tpNormal);
  // A suspended painter runs to its end at once, so that its clean-up comes.
  if (Suspended()) TThread::Start();
}

void TGIFPainter::SetSpeed(int Value) {
  Value = std::clamp(Value, 0, 1000);
  if (FSpeed.exchange(Value) == Value) return;
  if (FWakeEvent)
    FWakeEvent->SetEvent();
  else
    FRestart = true;
}

void TGIFPainter::Detach(TGIFPainter** ImageRef) {
  FImage = nullptr;
  if (FPainterRef == ImageRef) FPainterRef = nullptr;
  Terminate();
  if (FWakeEvent) FWakeEvent->SetEvent();
}

bool TGIFPainter::HandOff(const std::function<void()>& Body) {
  if (Terminated()) return false;
  auto OnGUI = [&] {
    if (Terminated()) return;
    if (FImage == nullptr) {
      Terminate();
      return;
    }
    FBusy = true;
    struct TBusy {
      std::atomic<bool>& Flag;
      ~TBusy() { Flag = false; }
    } Reset{FBusy};
    Body();
  };
  if (Threaded())
    base::Synchronize(OnGUI);
  else
    OnGUI();
  return !Terminated();
}

void TGIFPainter::Fire(base::TNotifyEvent& Event) {
  if (!Event) return;
  HandOff([&] { Event(this); });
}

bool TGIFPainter::ReadFrame(int Index, TFrameFacts& Facts) {
  Facts = {};
  return HandOff([&] {
    const TGIFImageList& Frames = FImage->Frames();
    Facts.FrameCount = Frames.Count();
    if (Index < 0 || Index >= Facts.FrameCount) return;
    const TGIFSubImage& Frame = *Frames.SubImages(Index);
    Facts.Empty = Frame.Empty();
    const TGIFExtensionList& Extensions = *Frame.Extensions();
    for (int I = 0; I < Extensions.Count(); ++I) {
      TGIFExtension* Extension = Extensions.Extensions(I);
      if (auto* Loop = dynamic_cast<TGIFAppExtNSLoop*>(Extension); Loop != nullptr && !Facts.HasLoop) {
        Facts.HasLoop = true;
        Facts.Loops = Loop->Loops();
      } else if (auto* Control = dynamic_cast<TGIFGraphicControlExtension*>(Extension)) {
        Facts.Disposal = Control->Disposal();
      }
    }
    if (const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension()) Facts.Delay = Control->Delay();
  });
}

bool TGIFPainter::WaitBeforeFrame(int Index, int Delay, int64_t& Last, int64_t& LastWait) {
  if (Delay <= 0) {
    FClock.Sleep(0);
    return !Terminated();
  }
  // Rendering falls into the measured interval.
  if (!HandOff([&] {
        if (Index < FImage->Frames().Count()) FImage->Frames().SubImages(Index)->GetBitmap();
      }))
    return false;
  const int64_t Now = FClock.Milliseconds();
  const int Speed = FSpeed;
  int64_t Wait;
  if (Speed > 0) {
    // Half of the last interval's overrun comes off this wait.
    if (std::optional<int64_t> Planned = PlannedWait(Delay, (Now - Last - LastWait) / 2, Speed)) {
      Wait = *Planned;
      LastWait = Wait;
    } else {
      Wait = int64_t{MaxFrameDelay} * MsPerDelayUnit;
      LastWait = 0;
    }
  } else {
    Wait = Threaded() ? base::INFINITE : int64_t{MaxFrameDelay} * MsPerDelayUnit;
  }
  Last = Now;
  if (Threaded()) {
    if (FWakeEvent && (Wait > 0 || Speed == 0) && FClock.WaitFor(*FWakeEvent, Wait) == base::wrSignaled) {
      LastWait = 0;
      Last = FClock.Milliseconds();
    }
    return !Terminated();
  }
  Wait = std::max<int64_t>(Wait, 1);
  int64_t T = FClock.Milliseconds();
  while (Wait > 0 && !Terminated() && !FRestart) {
    FClock.Sleep(Wait < 100 ? Wait : 100);
    const int64_t Later = FClock.Milliseconds();
    Wait -= Later - T;
    T = Later;
    if (!Terminated() && !FRestart && !FClock.ProcessMessages()) Terminate();
  }
  return !Terminated();
}

void TGIFPainter::Execute() {
  try {
    if (FDrawFlags & dfCheckCanvas) HandOff([&] { FCanvasDC = FCanvas->Handle(); });
    FRestart = true;
    while (FRestart && !Terminated()) {
      FActiveFrame = 0;
      Fire(OnPlayStart);
      FFramePainted = false;
      FRestart = false;
      int LoopsLeft = 1;
      int LoopStart = 0;
      bool LoopSeen = false;
      int Delay = Threaded() ? 0 : 1;
      FPreviousDisposal = fdDoNotDispose;
      int64_t Last = FClock.Milliseconds();
      int64_t LastWait = 0;
      while ((LoopsLeft != 0 || (FDrawFlags & dfRepeatForever)) && !Terminated() && !FRestart) {
        FActiveFrame = LoopStart;
        if (FFramePainted) Fire(OnPlayLoop);
        while (!Terminated() && !FRestart) {
          int Index = FActiveFrame;
          TFrameFacts Facts;
          auto Paintable = [&] {
            return ReadFrame(Index, Facts) && Index >= 0 && Index < Facts.FrameCount && !Facts.Empty;
          };
          if (!Paintable()) break;
          if (!WaitBeforeFrame(Index, Delay, Last, LastWait)) break;
          Fire(OnFramePaint);
          if (Terminated()) break;
          // The handler may have chosen another frame to paint.
          if (FActiveFrame != Index) {
            Index = FActiveFrame;
            if (!Paintable()) break;
          }
          FDisposal = Facts.Disposal;
          if (Facts.HasLoop && !LoopSeen) {
            LoopSeen = true;
            LoopsLeft = Facts.Loops;
            LoopStart = Index;
            if ((Facts.Loops == 0 || (FDrawFlags & dfRepeatForever)) && Threaded()) LoopsLeft = -1;
          }
          HandOff([&] {
            if (Index >= FImage->Frames().Count()) return;
            TGIFSubImage& Frame = *FImage->Frames().SubImages(Index);
            if (FWorkBitmap)
              BufferedPaint(Frame, Index);
            else
              DirectPaint(Frame);
            if (FShowFrame) FShowFrame();
          });
          FPreviousDisposal = FDisposal;
          if (Terminated()) break;
          Delay = DefaultFrameDelay;
          if (Facts.Delay > 0) {
            Delay = std::max(Facts.Delay, MinFrameDelay);
            if (!Threaded()) Delay = std::min(Delay, MaxFrameDelay);
          }
          const int Noted = FActiveFrame;
          Fire(OnAfterFramePaint);
          if (Terminated()) break;
          int Expected = Noted;
          FActiveFrame.compare_exchange_strong(Expected, Noted + 1);
          if (!(FDrawFlags & dfAnimate)) break;
        }
        if (LoopsLeft > 0) --LoopsLeft;
        if (!((FDrawFlags & dfAnimate) && (FDrawFlags & dfRepeat))) break;
      }
    }
    FActiveFrame = -1;
    Fire(OnPlayEnd);
  } catch (const std::exception&) {
    Terminate();
    FKeptException = std::current_exception();
  }
}

void TGIFPainter::DirectPaint(TGIFSubImage& Frame) {
  Frame.Draw(*FCanvas, FRect, (FDrawFlags & dfTransparent) != 0, (FDrawFlags & dfTile) != 0);
  FFramePainted = true;
}

bool TGIFPainter::CanvasAlive() const {
  // A window's canvas draws through a memory surface; either kind of device context
  // is a place to paint, and only one that was deleted is gone.
  const uint32_t Kind = gdi::GetObjectType(FCanvasDC);
  return Kind == gdi::OBJ_DC || Kind == gdi::OBJ_MEMDC;
}

void TGIFPainter::BufferedPaint(TGIFSubImage& Frame, int Index) {
  if ((FDrawFlags & dfCheckCanvas) && !CanvasAlive()) {
    Terminate();
    return;
  }
  const bool RestoreFirst = (FDrawFlags & dfClearOnRepeat) && Index == 0;
  const base::TRect Whole = base::Rect(0, 0, FWorkBitmap->Width(), FWorkBitmap->Height());
  graphics::TCanvas* Surface = &FWorkBitmap->Canvas();
  base::TRect SurfaceRect = Whole;
  bool CopyToTarget = true;
  bool FillPrevious = false;
  // Disposals 4 to 7 have no meaning of their own; they keep the frame like 1.
  if (FDisposal == fdPrevious) {
    if (FPreviousDisposal == fdBackground || FPreviousDisposal == fdPrevious) {
      Surface = &FPreviousBitmap->Canvas();
      FillPrevious = true;
    } else {
      Surface = FCanvas;
      SurfaceRect = FRect;
      CopyToTarget = false;
    }
  }
  gdi::HPALETTE Palette = Frame.Palette();
  if (Palette == nullptr) Palette = graphics::SystemPalette16();
  const gdi::HDC DC = Surface->Handle();
  const gdi::HPALETTE OldPalette = gdi::SelectPalette(DC, Palette, false);
  gdi::RealizePalette(DC);
  struct TPaletteBack {
    gdi::HDC DC;
    gdi::HPALETTE Old;
    ~TPaletteBack() { gdi::SelectPalette(DC, Old, false); }
  } Back{DC, OldPalette};
  if (RestoreFirst) RestoreFrameArea(Frame);
  if (FillPrevious) FPreviousBitmap->Canvas().CopyRect(Whole, FWorkBitmap->Canvas(), Whole);
  Frame.Draw(*Surface, SurfaceRect, (FDrawFlags & dfTransparent) != 0, (FDrawFlags & dfTile) != 0);
  if (CopyToTarget) {
    const graphics::TCopyMode OldMode = FCanvas->CopyMode();
    FCanvas->SetCopyMode(graphics::cmSrcCopy);
    FCanvas->CopyRect(FRect, *Surface, Whole);
    FCanvas->SetCopyMode(OldMode);
  }
  if (FDisposal == fdBackground) RestoreFrameArea(Frame);
  FFramePainted = true;
}

void TGIFPainter::RestoreFrameArea(TGIFSubImage& Frame) {
  // WorkBitmap has its own coordinates: the target rectangle starts at (0, 0) there.
  graphics::TCanvas& Work = FWorkBitmap->Canvas();
  const base::TRect Whole = base::Rect(0, 0, FWorkBitmap->Width(), FWorkBitmap->Height());
  const int StepX = FImage->Width(), StepY = FImage->Height();
  const bool Tiled = (FDrawFlags & dfTile) && StepX > 0 && StepY > 0;
  auto EachTile = [&](const auto& Restore) {
    for (int Y = 0; Y < Whole.Bottom; Y += StepY)
      for (int X = 0; X < Whole.Right; X += StepX)
        Restore(base::Bounds(Frame.Left() + X, Frame.Top() + Y, Frame.Width(), Frame.Height()));
  };
  if (FDrawFlags & dfTransparent) {
    auto FromBackup = [&](const base::TRect& Area) { Work.CopyRect(Area, FBackupBitmap->Canvas(), Area); };
    if (Tiled)
      EachTile(FromBackup);
    else
      FromBackup(Frame.ScaleRect(Whole));
    return;
  }
  Work.Brush().SetColor(FFillColor);
  Work.Brush().SetStyle(graphics::bsSolid);
  auto Fill = [&](const base::TRect& Area) { Work.FillRect(Area); };
  if (Tiled && Frame.Width() != StepX && Frame.Height() != StepY)
    EachTile(Fill);
  else
    Fill(Frame.ScaleRect(Whole));
}

void TGIFPainter::DoTerminate() {
  base::Synchronize([this] { CleanUp(); });
  TThread::DoTerminate();
}

void TGIFPainter::CleanUp() {
  if (FCleanedUp) return;
  FCleanedUp = true;
  if (FImage != nullptr) {
    TGIFPainterList& List = FImage->Painters();
    std::lock_guard Guard(List.Lock());
    if (FPainterRef != nullptr && *FPainterRef == this) *FPainterRef = nullptr;
    std::erase(List.Items(), this);
  } else if (FPainterRef != nullptr && *FPainterRef == this) {
    *FPainterRef = nullptr;
  }
  FImage = nullptr;
  FWorkBitmap.reset();
  FPreviousBitmap.reset();
  FBackupBitmap.reset();
}

}  // namespace gif
