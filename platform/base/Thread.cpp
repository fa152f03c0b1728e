#include "platform/base/Thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include "platform/base/HandOff.h"

namespace base {

namespace {

int NiceValue(TThreadPriority Priority) {
  switch (Priority) {
    case tpIdle: return 19;
    case tpLowest: return 10;
    case tpLower: return 5;
    case tpNormal: return 0;
    case tpHigher: return -5;
    case tpHighest: return -10;
    case tpTimeCritical: return -20;
  }
  return 0;
}

}  // namespace

TThread::~TThread() {
  if (!FThread.joinable()) return;
  if (FThread.get_id() == std::this_thread::get_id()) {
    FThread.detach();  // freeing itself at the end of Run
    return;
  }
  Terminate();
  WaitFor();
}

void TThread::Start() {
  if (FStarted.exchange(true)) return;
  FThread = std::thread([this] { Run(); });
}

void TThread::Run() {
  {
    std::lock_guard Guard(FPriorityLock);
    FNativeID = static_cast<int>(gettid());
  }
  ApplyPriority();
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  {
    std::lock_guard Guard(FPriorityLock);
    FNativeID = 0;
  }
  const bool FreeSelf = FFreeOnTerminate;
  FFinished = true;
  SignalMainThread();
  if (FreeSelf) delete this;
}

int TThread::WaitFor() {
  if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) {
    // The main thread keeps running hand-offs, which the worker may be waiting for.
    if (IsMainThread())
      while (!FFinished) CheckSynchronize(100);
    FThread.join();
  }
  return FReturnValue;
}

void TThread::SetPriority(TThreadPriority Value) {
  FPriority = Value;
  ApplyPriority();
}

void TThread::ApplyPriority() {
  std::lock_guard Guard(FPriorityLock);
  if (FNativeID != 0) setpriority(PRIO_PROCESS, static_cast<id_t>(FNativeID), NiceValue(FPriority));
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Synchronize(const std::function<void()>& Method) { base::Synchronize(Method); }

}  // namespace base
