#include "platform/base/HandOff.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace base {

namespace {

struct THandOff {
  const std::function<void()>* Method = nullptr;
  std::exception_ptr Error;
  bool Done = false;
};

struct TQueue {
  std::mutex Lock;
  std::condition_variable Arrived;   // a call was queued or the main thread was signalled
  std::condition_variable Finished;  // a queued call has run
  std::deque<THandOff*> Pending;
  uint64_t Signals = 0;
  std::function<void()> Wake;
};

TQueue& Queue() {
  static TQueue Instance;
  return Instance;
}

// Static initialisation runs on the thread that starts the program.
const std::thread::id MainThreadID = std::this_thread::get_id();

}  // namespace

bool IsMainThread() { return std::this_thread::get_id() == MainThreadID; }

void Synchronize(const std::function<void()>& Method) {
  if (IsMainThread()) {
    Method();
    return;
  }
  TQueue& Q = Queue();
  THandOff Call;
  Call.Method = &Method;
  std::function<void()> Wake;
  {
    std::lock_guard Guard(Q.Lock);
    Q.Pending.push_back(&Call);
    Wake = Q.Wake;
  }
  Q.Arrived.notify_all();
  if (Wake) Wake();
  std::unique_lock Guard(Q.Lock);
  Q.Finished.wait(Guard, [&] { return Call.Done; });
  if (Call.Error) std::rethrow_exception(Call.Error);
}

bool CheckSynchronize(int TimeoutMs) {
  if (!IsMainThread()) return false;
  TQueue& Q = Queue();
  std::unique_lock Guard(Q.Lock);
  if (Q.Pending.empty() && TimeoutMs > 0) {
    const uint64_t Seen = Q.Signals;
    Q.Arrived.wait_for(Guard, std::chrono::milliseconds(TimeoutMs),
                       [&] { return !Q.Pending.empty() || Q.Signals != Seen; });
  }
  bool Ran = false;
  // Calls queued while these run wait for the next check, so one check always ends.
  std::deque<THandOff*> Batch;
  Batch.swap(Q.Pending);
  Guard.unlock();
  for (THandOff* Call : Batch) {
    try {
      (*Call->Method)();
    } catch (...) {
      Call->Error = std::current_exception();
    }
    Ran = true;
    {
      std::lock_guard Done(Q.Lock);
      Call->Done = true;
    }
    Q.Finished.notify_all();
  }
  return Ran;
}

void SignalMainThread() {
  TQueue& Q = Queue();
  {
    std::lock_guard Guard(Q.Lock);
    ++Q.Signals;
  }
  Q.Arrived.notify_all();
}

void SetWakeMainThread(std::function<void()> Hook) {
  TQueue& Q = Queue();
  std::lock_guard Guard(Q.Lock);
  Q.Wake = std::move(Hook);
}

}  // namespace base
