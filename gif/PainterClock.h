// Time and waiting for the painters, behind an interface so that tests can play an
// animation without waiting in real time. The process-wide clock is read when a
// painter is made.
#pragma once

#include <cstdint>

#include "platform/base/SyncObjs.h"

namespace gif {

class TPainterClock {
 public:
  virtual ~TPainterClock() = default;
  // Milliseconds of a clock that never goes back.
  virtual int64_t Milliseconds() = 0;
  // A threaded painter's wait for its wake event; base::INFINITE waits until signalled.
  virtual base::TWaitResult WaitFor(base::TEvent& Event, int64_t TimeoutMs) = 0;
  // One slice of a synchronous painter's wait; 0 only yields.
  virtual void Sleep(int64_t Ms) = 0;
  // Keeps the GUI alive while a synchronous painter waits on the GUI thread; false when
  // the program is quitting, which ends the painter.
  virtual bool ProcessMessages() = 0;
};

// The real clock. It runs the queued hand-offs as its messages; a windowing layer
// derives from it to run its own events as well.
class TSteadyPainterClock : public TPainterClock {
 public:
  int64_t Milliseconds() override;
  base::TWaitResult WaitFor(base::TEvent& Event, int64_t TimeoutMs) override;
  void Sleep(int64_t Ms) override;
  bool ProcessMessages() override;
};

TPainterClock& PainterClock();
// Not owned; none puts the real clock back.
void SetPainterClock(TPainterClock* Clock);

}  // namespace gif
