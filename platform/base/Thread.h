// TThread: a worker thread with the run-time library's life cycle. A thread is made
// suspended and runs Execute once started; OnTerminate then runs on the main thread, and
// a thread set to free itself on termination is deleted there afterwards. Execute reaches
// the GUI only through Synchronize.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/base/Events.h"
#include "platform/base/Object.h"

namespace base {

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using enum TThreadPriority;

class TThread : public TObject {
 public:
  ANIMORA_CLASS(TThread)
  TThread() = default;
  // A thread that still runs is terminated and waited for; a derived class whose Execute
  // uses its own members must do the same in its own destructor.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Runs Execute on a new thread; nothing when already started.
  void Start();
  bool Suspended() const { return !FStarted; }
  bool Finished() const { return FFinished; }

  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

  // Waits for Execute and OnTerminate to end and returns ReturnValue. On the main thread
  // the queued hand-offs run meanwhile. Not for a thread that frees itself.
  int WaitFor();

  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }

  // Applied as the thread's nice value; the system may refuse a raise to an unprivileged
  // process, and the thread then keeps the level it has.
  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority Value);

  int ReturnValue() const { return FReturnValue; }
  // The exception that ended Execute, if any; it goes no further.
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs on the main thread when Execute has ended, with the thread as Sender.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate through the hand-off.
  virtual void DoTerminate();
  void Synchronize(const std::function<void()>& Method);
  void SetReturnValue(int Value) { FReturnValue = Value; }

 private:
  void Run();
  void ApplyPriority();

  std::thread FThread;
  std::mutex FPriorityLock;  // guards FNativeID
  int FNativeID = 0;  // the kernel's id of the running thread, 0 before it runs
  std::atomic<bool> FStarted = false;
  std::atomic<bool> FTerminated = false;
  std::atomic<bool> FFinished = false;
  bool FFreeOnTerminate = false;
  std::atomic<TThreadPriority> FPriority = tpNormal;
  int FReturnValue = 0;
  std::exception_ptr FFatalException;
};

}  // namespace base
