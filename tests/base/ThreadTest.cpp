#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/HandOff.h"
#include "platform/base/SyncObjs.h"
#include "platform/base/Thread.h"

using namespace base;

namespace {

// Runs Body as its Execute.
class TTestThread : public TThread {
 public:
  explicit TTestThread(std::function<void(TTestThread&)> Body) : FBody(std::move(Body)) {}
  ~TTestThread() override {
    Terminate();
    WaitFor();
  }
  using TThread::SetReturnValue;
  using TThread::Synchronize;

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(TTestThread&)> FBody;
};

}  // namespace

TEST(HandOff, CallsFromWorkersRunOnTheMainThreadInOrder) {
  ASSERT_TRUE(IsMainThread());
  std::vector<int> Ran;
  std::atomic<bool> WorkerSawMain = false;
  TTestThread Worker([&](TTestThread& T) {
    WorkerSawMain = IsMainThread();
    for (int I = 0; I < 5; ++I)
      T.Synchronize([&, I] {
        EXPECT_TRUE(IsMainThread());
        Ran.push_back(I);
      });
    T.SetReturnValue(7);
  });
  Worker.Start();
  EXPECT_EQ(Worker.WaitFor(), 7);  // runs the hand-offs while it waits
  EXPECT_FALSE(WorkerSawMain);
  EXPECT_EQ(Ran, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(Worker.Finished());
}

TEST(HandOff, SynchronizeOnTheMainThreadRunsAtOnce) {
  int Calls = 0;
  Synchronize([&] { ++Calls; });
  EXPECT_EQ(Calls, 1);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(HandOff, AnExceptionInTheHandedOffCallReachesTheWorker) {
  std::string Caught;
  TTestThread Worker([&](TTestThread& T) {
    try {
      T.Synchronize([] { throw EConvertError("bad value"); });
    } catch (const EConvertError& E) {
      Caught = E.Message();
    }
  });
  Worker.Start();
  Worker.WaitFor();
  EXPECT_EQ(Caught, "bad value");
  EXPECT_FALSE(Worker.FatalException());
}

TEST(HandOff, TheWakeHookFiresOnTheQueuingThreadAndCheckRunsTheCall) {
  std::atomic<int> Wakes = 0;
  TEvent Woken(false, false);
  SetWakeMainThread([&] {
    ++Wakes;
    Woken.SetEvent();
  });
  bool Ran = false;
  TTestThread Worker([&](TTestThread& T) { T.Synchronize([&] { Ran = true; }); });
  Worker.Start();
  ASSERT_EQ(Woken.WaitFor(INFINITE), wrSignaled);
  EXPECT_FALSE(Ran);  // nothing runs until the main thread checks
  while (!CheckSynchronize(1000)) {
  }
  EXPECT_TRUE(Ran);
  Worker.WaitFor();
  SetWakeMainThread(nullptr);
  EXPECT_EQ(Wakes, 1);
}

TEST(HandOff, CheckSynchronizeOffTheMainThreadDoesNothing) {
  std::atomic<bool> Result = true;
  std::thread Other([&] { Result = CheckSynchronize(0); });
  Other.join();
  EXPECT_FALSE(Result);
}

TEST(Thread, IsMadeSuspendedAndTerminationIsCooperative) {
  TEvent Running(true, false);
  TTestThread Worker([&](TTestThread& T) {
    Running.SetEvent();
    while (!T.Terminated()) std::this_thread::yield();
  });
  EXPECT_TRUE(Worker.Suspended());
  EXPECT_EQ(Running.WaitFor(0), wrTimeout);
  Worker.Start();
  Worker.Start();  // a second start changes nothing
  ASSERT_EQ(Running.WaitFor(INFINITE), wrSignaled);
  EXPECT_FALSE(Worker.Suspended());
  Worker.Terminate();
  Worker.WaitFor();
  EXPECT_TRUE(Worker.Finished());
}

TEST(Thread, OnTerminateRunsOnTheMainThreadAndAnExceptionIsKept) {
  bool TerminatedOnMain = false;
  TObject* Sender = nullptr;
  TTestThread Worker([](TTestThread&) { throw std::runtime_error("worker failed"); });
  Worker.OnTerminate = [&](TObject* S) {
    TerminatedOnMain = IsMainThread();
    Sender = S;
  };
  Worker.Start();
  Worker.WaitFor();
  EXPECT_TRUE(TerminatedOnMain);
  EXPECT_EQ(Sender, &Worker);
  ASSERT_TRUE(Worker.FatalException());
  EXPECT_THROW(std::rethrow_exception(Worker.FatalException()), std::runtime_error);
}

TEST(Thread, FreeOnTerminateDeletesTheThreadAfterOnTerminate) {
  struct TFlagThread : TThread {
    std::atomic<bool>* Deleted;
    explicit TFlagThread(std::atomic<bool>* D) : Deleted(D) {}
    ~TFlagThread() override { *Deleted = true; }
    void Execute() override {}
  };
  std::atomic<bool> Deleted = false;
  bool Terminated = false;
  auto* Worker = new TFlagThread(&Deleted);
  Worker->SetFreeOnTerminate(true);
  Worker->OnTerminate = [&](TObject*) { Terminated = true; };
  Worker->Start();
  while (!Deleted) CheckSynchronize(100);
  EXPECT_TRUE(Terminated);
}

TEST(Thread, DestroyingAThreadThatNeverStartedIsSafe) {
  bool Ran = false;
  { TTestThread Worker([&](TTestThread&) { Ran = true; }); }
  EXPECT_FALSE(Ran);
}

TEST(Thread, PriorityBecomesTheThreadsNiceValue) {
  TEvent Changed(false, false);
  TEvent Read(false, false);
  std::atomic<int> AtStart = 0;
  std::atomic<int> AfterChange = 0;
  TTestThread Worker([&](TTestThread&) {
    AtStart = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    Read.SetEvent();
    Changed.WaitFor(INFINITE);
    AfterChange = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  });
  Worker.SetPriority(tpLower);
  Worker.Start();
  Read.WaitFor(INFINITE);
  Worker.SetPriority(tpIdle);  // lowering is always allowed
  EXPECT_EQ(Worker.Priority(), tpIdle);
  Changed.SetEvent();
  Worker.WaitFor();
  EXPECT_GE(AtStart, 5);  // more when the whole run is niced already
  EXPECT_EQ(AfterChange, 19);
}

TEST(Event, AutoResetLetsOneWaiterThroughPerSignal) {
  TEvent Auto(false, true);
  EXPECT_EQ(Auto.WaitFor(0), wrSignaled);
  EXPECT_EQ(Auto.WaitFor(0), wrTimeout);
  Auto.SetEvent();
  std::atomic<int> Through = 0;
  std::thread A([&] { Through += Auto.WaitFor(INFINITE) == wrSignaled; });
  A.join();
  EXPECT_EQ(Through, 1);
  EXPECT_EQ(Auto.WaitFor(0), wrTimeout);
}

TEST(Event, ManualResetStaysSetUntilReset) {
  TEvent Manual(true, false);
  Manual.SetEvent();
  EXPECT_EQ(Manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(Manual.WaitFor(0), wrSignaled);
  Manual.ResetEvent();
  EXPECT_EQ(Manual.WaitFor(1), wrTimeout);
}
