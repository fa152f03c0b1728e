#include "platform/base/SyncObjs.h"

#include <chrono>

namespace base {

void TEvent::SetEvent() {
  {
    std::lock_guard Guard(FLock);
    FSignaled = true;
  }
  if (FManualReset)
    FChanged.notify_all();
  else
    FChanged.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard Guard(FLock);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(int64_t TimeoutMs) {
  std::unique_lock Guard(FLock);
  const auto Ready = [this] { return FSignaled; };
  if (TimeoutMs < 0)
    FChanged.wait(Guard, Ready);
  else if (!FChanged.wait_for(Guard, std::chrono::milliseconds(TimeoutMs), Ready))
    return wrTimeout;
  if (!FManualReset) FSignaled = false;
  return wrSignaled;
}

}  // namespace base
