// Painter tests: a clock that never really waits, animations built in memory, and a
// log of the painter events with the thread each ran on.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "platform/base/HandOff.h"
#include "tests/gif/GIFTestSupport.h"

namespace paintertest {

using base::TColor;
using gif::TGIFDrawFlags;
using gif::TGIFImage;
using gif::TGIFPainter;

// Sleeps and time-outs move the clock on at once; a hook may act at each wait.
class TFakeClock : public gif::TPainterClock {
 public:
  int64_t Milliseconds() override { return FNow; }
  base::TWaitResult WaitFor(base::TEvent& Event, int64_t TimeoutMs) override {
    if (OnWait) OnWait(TimeoutMs);
    if (TimeoutMs == base::INFINITE) {
      FInfiniteWaits++;
      return Event.WaitFor(base::INFINITE);
    }
    if (Event.WaitFor(0) == base::wrSignaled) return base::wrSignaled;
    Advance(TimeoutMs);
    return base::wrTimeout;
  }
  void Sleep(int64_t Ms) override { Advance(Ms); }
  bool ProcessMessages() override {
    base::CheckSynchronize();
    if (OnMessages) OnMessages();
    return true;
  }
  // Time that passes without waiting, as a slow handler would spend it.
  void Spend(int64_t Ms) { FNow += Ms; }
  // Milliseconds waited since the last call.
  int64_t TakeWaited() { return FWaited.exchange(0); }
  int InfiniteWaits() const { return FInfiniteWaits; }

  // On the painter's thread (threaded) before each wait on the wake event.
  std::function<void(int64_t TimeoutMs)> OnWait;
  // On the GUI thread after each slice of a synchronous wait.
  std::function<void()> OnMessages;

 private:
  void Advance(int64_t Ms) {
    FNow += Ms;
    FWaited += Ms;
  }
  std::atomic<int64_t> FNow = 5000;
  std::atomic<int64_t> FWaited = 0;
  std::atomic<int> FInfiniteWaits = 0;
};

// Installs a fake clock for the lifetime of the scope.
class TClockScope {
 public:
  TClockScope() { gif::SetPainterClock(&Clock); }
  ~TClockScope() { gif::SetPainterClock(nullptr); }
  TFakeClock Clock;
};

// Eight colours of the global table, as TColor values.
inline const std::vector<TColor>& TableColors() {
  static const std::vector<TColor> Colors = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000,
                                             0x00FFFF, 0xFF00FF, 0xFFFF00, 0x808080};
  return Colors;
}

struct TFrameSpec {
  int Left = 0, Top = 0, Width = 1, Height = 1;
  uint8_t Index = 1;          // the colour of the frame
  int Delay = -1;             // -1: no graphic control extension
  int Disposal = 0;           // 0..7
  int Transparent = -1;       // when >= 0: this index fills every third pixel and is transparent
  int Loops = -1;             // when >= 0: a loop extension with this count
};

// The index frame F holds at (X, Y) of its own area.
inline uint8_t FramePixel(const TFrameSpec& F, int X, int Y) {
  if (F.Transparent >= 0 && (X + 2 * Y) % 3 == 0) return static_cast<uint8_t>(F.Transparent);
  return F.Index;
}

inline std::unique_ptr<TGIFImage> MakeImage(int Width, int Height, const std::vector<TFrameSpec>& Frames) {
  auto Image = std::make_unique<TGIFImage>();
  Image->Header().SetScreenWidth(static_cast<uint16_t>(Width));
  Image->Header().SetScreenHeight(static_cast<uint16_t>(Height));
  for (TColor Color : TableColors()) Image->GetGlobalColorMap()->Add(Color);
  for (const TFrameSpec& F : Frames) {
    auto* Frame = new gif::TGIFSubImage(Image.get());
    Frame->SetBounds(static_cast<uint16_t>(F.Left), static_cast<uint16_t>(F.Top), static_cast<uint16_t>(F.Width),
                     static_cast<uint16_t>(F.Height));
    for (int Y = 0; Y < F.Height; ++Y)
      for (int X = 0; X < F.Width; ++X) Frame->Data()[Y * F.Width + X] = FramePixel(F, X, Y);
    if (F.Loops >= 0) {
      auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(Frame);
      Loop->SetLoops(static_cast<uint16_t>(F.Loops));
      Frame->Extensions()->Add(std::move(Loop));
    }
    if (F.Delay >= 0) giftest::AddGraphicControl(Frame, F.Delay, F.Disposal, F.Transparent);
    Image->AddFrame(Frame);
  }
  return Image;
}

// Frames of Count pixels side by side, one colour each, with the given delays.
inline std::unique_ptr<TGIFImage> TimedImage(const std::vector<int>& Delays) {
  std::vector<TFrameSpec> Frames;
  for (size_t I = 0; I < Delays.size(); ++I)
    Frames.push_back({.Left = 0, .Top = 0, .Width = 2, .Height = 2, .Index = static_cast<uint8_t>(1 + I % 7),
                      .Delay = Delays[I]});
  return MakeImage(2, 2, Frames);
}

// The five painter events as text ("start", "frame 2", "after 2", "loop", "end"), each
// noted with whether it ran on the GUI (main) thread.
struct TEventLog {
  std::vector<std::string> Events;
  std::vector<bool> OnMainThread;
  // Runs after each event is noted.
  std::function<void(TGIFPainter& Painter, const std::string& Event)> OnEvent;

  void Attach(TGIFImage& Image) {
    Image.OnPlayStart = Recorder("start", false);
    Image.OnFramePaint = Recorder("frame", true);
    Image.OnAfterFramePaint = Recorder("after", true);
    Image.OnPlayLoop = Recorder("loop", false);
    Image.OnPlayEnd = Recorder("end", false);
  }

 private:
  base::TNotifyEvent Recorder(const std::string& Name, bool WithFrame) {
    return [this, Name, WithFrame](base::TObject* Sender) {
      auto& Painter = dynamic_cast<TGIFPainter&>(*Sender);
      const std::string Event = WithFrame ? Name + " " + std::to_string(Painter.ActiveFrame()) : Name;
      Events.push_back(Event);
      OnMainThread.push_back(base::IsMainThread());
      if (OnEvent) OnEvent(Painter, Event);
    };
  }
};

// Runs the hand-offs on this (the GUI) thread until the image has no painter left.
inline void PumpUntilIdle(TGIFImage& Image) {
  while (!Image.Painters().Items().empty()) base::CheckSynchronize(10);
}

// Plays to the end: a threaded painter is started and its hand-offs are run here.
inline void Play(TGIFImage& Image, graphics::TCanvas& Canvas, const base::TRect& Rect, TGIFDrawFlags Flags) {
  if (TGIFPainter* Painter = Image.Paint(nullptr, Canvas, Flags, Rect)) {
    Painter->Start();
    PumpUntilIdle(Image);
  }
}

// A target of Width x Height filled with Fill.
inline std::unique_ptr<graphics::TBitmap> MakeTarget(int Width, int Height, TColor Fill) {
  auto Bitmap = std::make_unique<graphics::TBitmap>();
  Bitmap->Canvas().Brush().SetColor(Fill);
  Bitmap->SetWidth(Width);
  Bitmap->SetHeight(Height);
  Bitmap->Canvas().FillRect(base::Rect(0, 0, Width, Height));
  return Bitmap;
}

}  // namespace paintertest
