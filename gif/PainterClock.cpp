#include "gif/PainterClock.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/HandOff.h"

namespace gif {

namespace {

std::atomic<TPainterClock*> Installed = nullptr;

}  // namespace

int64_t TSteadyPainterClock::Milliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

base::TWaitResult TSteadyPainterClock::WaitFor(base::TEvent& Event, int64_t TimeoutMs) {
  return Event.WaitFor(TimeoutMs);
}

void TSteadyPainterClock::Sleep(int64_t Ms) {
  if (Ms <= 0)
    std::this_thread::yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(Ms));
}

bool TSteadyPainterClock::ProcessMessages() {
  base::CheckSynchronize();
  return true;
}

TPainterClock& PainterClock() {
  static TSteadyPainterClock Steady;
  TPainterClock* Clock = Installed.load();
  return Clock != nullptr ? *Clock : Steady;
}

void SetPainterClock(TPainterClock* Clock) { Installed = Clock; }

}  // namespace gif
