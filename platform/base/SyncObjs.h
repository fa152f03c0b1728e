// A waitable event in the manner of the platform's event objects: set, reset, and waits
// with a time-out. An auto-reset event lets exactly one waiter through per signal.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace base {

enum class TWaitResult { wrSignaled, wrTimeout };
using enum TWaitResult;

// A time-out that never ends.
inline constexpr int64_t INFINITE = -1;

class TEvent {
 public:
  TEvent(bool ManualReset, bool InitialState) : FManualReset(ManualReset), FSignaled(InitialState) {}
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // TimeoutMs INFINITE waits until signalled; 0 only tests the state.
  TWaitResult WaitFor(int64_t TimeoutMs);

 private:
  std::mutex FLock;
  std::condition_variable FChanged;
  const bool FManualReset;
  bool FSignaled;
};

}  // namespace base
