// TGIFPainter: plays a TGIFImage onto a canvas, frame by frame with the frames' delays
// and disposals, counting loops and reporting through five events. A threaded painter
// times and waits on its own thread; everything that touches the image, the canvas or
// an event handler is handed to the GUI thread, and the painter waits for it. A
// synchronous painter plays inside the call that started it, on the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "gif/GIFTypes.h"
#include "gif/GraphicControlExtension.h"
#include "gif/PainterClock.h"
#include "platform/base/Events.h"
#include "platform/base/SyncObjs.h"
#include "platform/base/Thread.h"
#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"

namespace gif {

class TGIFImage;
class TGIFPainter;
class TGIFSubImage;

// Milliseconds per delay unit at speed 100 (12, not 10).
inline constexpr int MsPerDelayUnit = 12;
// Units of a frame without a delay.
inline constexpr int DefaultFrameDelay = 10;
inline constexpr int MinFrameDelay = 3;
// Longest delay of a synchronous painter, and the factor of its wait at speed 0.
inline constexpr int MaxFrameDelay = 1000;

// The painters of one image, with the lock that also guards the image's ActivePainter
// and the hand-over of its play speed. Only the GUI thread takes the lock.
class TGIFPainterList {
 public:
  TGIFPainterList() = default;
  // Detaches every painter still listed: one that ends later leaves the image alone.
  ~TGIFPainterList();
  TGIFPainterList(const TGIFPainterList&) = delete;
  TGIFPainterList& operator=(const TGIFPainterList&) = delete;

  std::recursive_mutex& Lock() { return FLock; }
  std::vector<TGIFPainter*>& Items() { return FItems; }
  TGIFPainter*& ActivePainter() { return FActivePainter; }
  // False once the image is gone; a synchronous play checks it before it touches the
  // image again.
  std::shared_ptr<const bool> Alive() const { return FAlive; }

 private:
  std::recursive_mutex FLock;
  std::vector<TGIFPainter*> FItems;
  TGIFPainter* FActivePainter = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

class TGIFPainter : public base::TThread {
 public:
  ANIMORA_CLASS(TGIFPainter)
  // A suspended painter; it writes itself into PainterRef (when given) and clears it at
  // its end if it still holds it. Made and freed on the GUI thread.
  TGIFPainter(TGIFPainter** PainterRef, TGIFDrawFlags DrawFlags, const base::TRect& Rect, graphics::TCanvas& Canvas,
              TGIFImage* Image);
  ~TGIFPainter() override;

  // Resumes a threaded painter; nothing for a synchronous one.
  void Start();
  // Asks the painter to end; any thread.
  void Stop();
  // The playing loop: on the painter's thread, or inside the call that plays it.
  void Execute() override;

  TGIFImage* Image() const { return FImage; }
  graphics::TCanvas* Canvas() const { return FCanvas; }
  const base::TRect& Rect() const { return FRect; }
  TGIFDrawFlags DrawFlags() const { return FDrawFlags; }
  bool Threaded() const { return (FDrawFlags & dfThreaded) != 0; }
  int Speed() const { return FSpeed; }
  // Clamped to 0..1000; wakes a threaded painter, restarts a synchronous one.
  void SetSpeed(int Value);
  // Handlers may move the painter to another frame.
  int ActiveFrame() const { return FActiveFrame; }
  void SetActiveFrame(int Value) { FActiveFrame = Value; }
  TFrameDisposal Disposal() const { return FDisposal; }
  TFrameDisposal PreviousDisposal() const { return FPreviousDisposal; }
  bool FramePainted() const { return FFramePainted; }
  bool Restart() const { return FRestart; }
  base::TColor FillColor() const { return FFillColor; }
  // Inside a hand-off of this painter on the GUI thread; waiting for it from there
  // would never end.
  bool Busy() const { return FBusy; }
  // The exception that ended the play, kept for the caller of a synchronous play.
  std::exception_ptr KeptException() const { return FKeptException; }

  // Called after each frame this painter paints (the GUI thread); Draw uses it to show
  // the frames of a synchronous buffered play.
  void SetShowFrame(std::function<void()> Value) { FShowFrame = std::move(Value); }

  // The image lets go: the painter no longer touches it, nor a PainterRef inside it.
  void Detach(TGIFPainter** ImageRef);

  base::TNotifyEvent OnPlayStart;
  base::TNotifyEvent OnFramePaint;
  base::TNotifyEvent OnAfterFramePaint;
  base::TNotifyEvent OnPlayLoop;
  base::TNotifyEvent OnPlayEnd;

 protected:
  // The clean-up runs on the GUI thread.
  void DoTerminate() override;

 private:
  // What one frame contributes to the play, read on the GUI thread.
  struct TFrameFacts {
    int FrameCount = 0;
    bool Empty = true;
    TFrameDisposal Disposal = fdDoNotDispose;
    bool HasLoop = false;
    int Loops = 0;
    int Delay = 0;
  };

  // Runs Body on the GUI thread (directly when synchronous) unless the painter was
  // stopped or detached; false when the painter is to end.
  bool HandOff(const std::function<void()>& Body);
  void Fire(base::TNotifyEvent& Event);
  bool ReadFrame(int Index, TFrameFacts& Facts);
  // The wait in front of a frame; false when the painter is to end.
  bool WaitBeforeFrame(int Index, int Delay, int64_t& Last, int64_t& LastWait);
  void DirectPaint(TGIFSubImage& Frame);
  void BufferedPaint(TGIFSubImage& Frame, int Index);
  // The kept device context of the target still exists.
  bool CanvasAlive() const;
  // The frame's area on WorkBitmap back to the backdrop or to what lay under the target.
  void RestoreFrameArea(TGIFSubImage& Frame);
  void CleanUp();

  TGIFImage* FImage;
  graphics::TCanvas* FCanvas;
  const base::TRect FRect;
  const TGIFDrawFlags FDrawFlags;
  TPainterClock& FClock;
  std::atomic<int> FSpeed;
  std::atomic<int> FActiveFrame = -1;
  TFrameDisposal FDisposal = fdDoNotDispose;
  TFrameDisposal FPreviousDisposal = fdDoNotDispose;
  std::unique_ptr<graphics::TBitmap> FWorkBitmap;
  std::unique_ptr<graphics::TBitmap> FPreviousBitmap;
  std::unique_ptr<graphics::TBitmap> FBackupBitmap;
  base::TColor FFillColor;
  gdi::HDC FCanvasDC = nullptr;
  std::atomic<bool> FRestart = false;
  std::atomic<bool> FFramePainted = false;
  TGIFPainter** FPainterRef;
  std::unique_ptr<base::TEvent> FWakeEvent;
  std::exception_ptr FKeptException;
  std::atomic<bool> FBusy = false;
  bool FCleanedUp = false;
  std::function<void()> FShowFrame;
};

}  // namespace gif
