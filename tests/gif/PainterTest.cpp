// Painter timing, loops and events with a clock that never waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/base/Exceptions.h"
#include "tests/gif/PainterTestSupport.h"

namespace {

using namespace paintertest;
using namespace gif;

constexpr base::TRect WholeRect{0, 0, 2, 2};

struct TPainterTest : ::testing::Test {
  TClockScope Scope;
  TFakeClock& Clock = Scope.Clock;
  std::unique_ptr<graphics::TBitmap> Target = MakeTarget(2, 2, 0x404040);
};

// Milliseconds a delay of Units waits at Speed percent, rounded half away from zero.
int64_t WaitOf(int Units, int Speed) {
  return static_cast<int64_t>(std::floor(Units * MsPerDelayUnit * 100.0 / Speed + 0.5));
}

TEST_F(TPainterTest, FrameDelaysBecomeWaitsByTheDelayRules) {
  // Stored delays (-1: no graphic control extension) and the units each plays as.
  struct TDelay {
    int Stored, Synchronous, Threaded;
  };
  const TDelay Delays[] = {{-1, 10, 10}, {0, 10, 10}, {1, 3, 3},         {2, 3, 3},
                           {3, 3, 3},    {250, 250, 250}, {5000, 1000, 5000}, {7, 7, 7}};
  for (bool Threaded : {false, true}) {
    for (int Speed : {100, 50, 1000, 137}) {
      SCOPED_TRACE((Threaded ? "threaded, speed " : "synchronous, speed ") + std::to_string(Speed));
      std::vector<int> Stored;
      for (const TDelay& D : Delays) Stored.push_back(D.Stored);
      auto Image = TimedImage(Stored);
      Image->SetPlaySpeed(Speed);
      std::vector<int64_t> Waited;
      TEventLog Log;
      Log.Attach(*Image);
      Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
        if (Event.starts_with("frame")) Waited.push_back(Clock.TakeWaited());
      };
      Clock.TakeWaited();
      Play(*Image, Target->Canvas(), WholeRect, dfAnimate | (Threaded ? dfThreaded : 0));
      // The first frame follows the start value of the delay: none threaded, 1 unit synchronous.
      std::vector<int64_t> Expected = {Threaded ? 0 : WaitOf(1, Speed)};
      for (size_t I = 0; I + 1 < std::size(Delays); ++I)
        Expected.push_back(WaitOf(Threaded ? Delays[I].Threaded : Delays[I].Synchronous, Speed));
      EXPECT_EQ(Waited, Expected);
      EXPECT_EQ(Log.Events.back(), "end");
    }
  }
}

TEST_F(TPainterTest, HalfOfAnOverrunComesOffTheNextWait) {
  for (bool Threaded : {false, true}) {
    SCOPED_TRACE(Threaded ? "threaded" : "synchronous");
    auto Image = TimedImage({10, 10, 10, 10});
    std::vector<int64_t> Waited;
    TEventLog Log;
    Log.Attach(*Image);
    Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
      if (Event.starts_with("frame")) Waited.push_back(Clock.TakeWaited());
      // Painting frame 1 takes 40 ms more than planned.
      if (Event == "after 1") Clock.Spend(40);
    };
    Clock.TakeWaited();
    Play(*Image, Target->Canvas(), WholeRect, dfAnimate | (Threaded ? dfThreaded : 0));
    const std::vector<int64_t> Expected = {Threaded ? 0 : 12, 120, 120 - 20, 120};
    EXPECT_EQ(Waited, Expected);
  }
}

// The frame numbers of the "frame" events, with "loop" and "end" between them.
std::vector<std::string> Shown(const TEventLog& Log) {
  std::vector<std::string> Result;
  for (const std::string& E : Log.Events)
    if (E.starts_with("frame") || E == "loop" || E == "end") Result.push_back(E == "loop" || E == "end" ? E : E.substr(6));
  return Result;
}

std::vector<std::string> Sequence(std::initializer_list<const char*> Items) { return {Items.begin(), Items.end()}; }

TEST_F(TPainterTest, LoopExtensionsAndFlagsDecideThePasses) {
  struct TCase {
    const char* Name;
    int LoopFrame;  // -1: no loop extension
    int Loops;
    bool Threaded;
    TGIFDrawFlags Flags;
    std::vector<std::string> Expected;
    int StopAfterFrames;  // endless plays are stopped after this many frames; 0: none
  };
  const TGIFDrawFlags Repeat = dfAnimate | dfRepeat;
  const TCase Cases[] = {
      {"3 loops from frame 0", 0, 3, false, Repeat, Sequence({"0", "1", "2", "loop", "0", "1", "2", "loop", "0", "1", "2", "end"}), 0},
      {"3 loops, threaded", 0, 3, true, Repeat, Sequence({"0", "1", "2", "loop", "0", "1", "2", "loop", "0", "1", "2", "end"}), 0},
      {"loops from frame 2", 2, 3, false, Repeat, Sequence({"0", "1", "2", "loop", "2", "loop", "2", "end"}), 0},
      {"loops from frame 1, threaded", 1, 2, true, Repeat, Sequence({"0", "1", "2", "loop", "1", "2", "end"}), 0},
      {"no repeat flag", 0, 3, false, dfAnimate, Sequence({"0", "1", "2", "end"}), 0},
      {"no loop extension", -1, 0, true, Repeat, Sequence({"0", "1", "2", "end"}), 0},
      {"0 loops synchronous", 0, 0, false, Repeat, Sequence({"0", "1", "2", "end"}), 0},
      {"0 loops threaded is endless", 0, 0, true, Repeat, Sequence({"0", "1", "2", "loop", "0", "1", "2", "loop", "0"}), 7},
      {"repeat forever", -1, 0, false, Repeat | dfRepeatForever, Sequence({"0", "1", "2", "loop", "0", "1"}), 5},
      {"not animated", 0, 3, true, dfRepeat, Sequence({"0", "end"}), 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::vector<TFrameSpec> Frames(3);
    for (int I = 0; I < 3; ++I) {
      Frames[static_cast<size_t>(I)] = {.Width = 2, .Height = 2, .Index = static_cast<uint8_t>(I + 1), .Delay = 5};
      if (I == C.LoopFrame) Frames[static_cast<size_t>(I)].Loops = C.Loops;
    }
    auto Image = MakeImage(2, 2, Frames);
    TEventLog Log;
    Log.Attach(*Image);
    int Painted = 0;
    Log.OnEvent = [&](TGIFPainter& Painter, const std::string& Event) {
      if (Event.starts_with("after") && ++Painted == C.StopAfterFrames) Painter.Stop();
    };
    Play(*Image, Target->Canvas(), WholeRect, static_cast<TGIFDrawFlags>(C.Flags | (C.Threaded ? dfThreaded : 0)));
    EXPECT_EQ(Shown(Log), C.Expected);
    EXPECT_EQ(Log.Events.front(), "start");
    EXPECT_EQ(std::count(Log.Events.begin(), Log.Events.end(), "start"), 1);
  }
}

TEST_F(TPainterTest, AHandlerMovesThePainterToAnotherFrame) {
  for (bool Threaded : {false, true}) {
    SCOPED_TRACE(Threaded ? "threaded" : "synchronous");
    auto Image = TimedImage({4, 4, 4, 4, 4});
    TEventLog Log;
    Log.Attach(*Image);
    Log.OnEvent = [](TGIFPainter& Painter, const std::string& Event) {
      if (Event == "after 0") Painter.SetActiveFrame(3);
    };
    Play(*Image, Target->Canvas(), WholeRect, dfAnimate | (Threaded ? dfThreaded : 0));
    EXPECT_EQ(Shown(Log), Sequence({"0", "3", "4", "end"}));
  }
}

TEST_F(TPainterTest, AFramePaintHandlerChoosesTheFrameThatIsPainted) {
  for (const TGIFDrawFlags Buffer : std::vector<TGIFDrawFlags>{dfUnbuffered, 0}) {
    SCOPED_TRACE(Buffer ? "unbuffered" : "buffered");
    auto Image = TimedImage({4, 4, 4, 4});
    TEventLog Log;
    Log.Attach(*Image);
    std::vector<TColor> Painted;
    Log.OnEvent = [&](TGIFPainter& Painter, const std::string& Event) {
      if (Event == "frame 0") Painter.SetActiveFrame(2);
      if (Event.starts_with("after")) Painted.push_back(Target->Canvas().Pixels(0, 0));
    };
    Play(*Image, Target->Canvas(), WholeRect, dfAnimate | Buffer);
    // Frame i is table colour 1 + i.
    EXPECT_EQ(Painted, (std::vector<TColor>{TableColors()[3], TableColors()[4]}));
    EXPECT_EQ(Log.Events.back(), "end");
  }
}

TEST_F(TPainterTest, CheckingTheCanvasPlaysOnALiveMemoryCanvasToTheEnd) {
  // Disposal to the background paints through the work bitmap, where the check is.
  std::vector<TFrameSpec> Frames;
  for (uint8_t I = 1; I <= 3; ++I) Frames.push_back({.Width = 2, .Height = 2, .Index = I, .Delay = 4, .Disposal = 2});
  auto Image = MakeImage(2, 2, Frames);
  TEventLog Log;
  Log.Attach(*Image);
  Play(*Image, Target->Canvas(), WholeRect, dfAnimate | dfCheckCanvas);
  EXPECT_EQ(Shown(Log), Sequence({"0", "1", "2", "end"}));
}

TEST_F(TPainterTest, StoppingWhileWaitingEndsWithoutPlayEnd) {
  for (bool Threaded : {false, true}) {
    SCOPED_TRACE(Threaded ? "threaded" : "synchronous");
    auto Image = TimedImage({4, 4, 4, 4});
    TEventLog Log;
    Log.Attach(*Image);
    TGIFPainter* Playing = nullptr;
    int Waits = 0;
    // The third wait is the one before frame 2 (the first comes before frame 0).
    if (Threaded) {
      Clock.OnWait = [&](int64_t) {
        if (++Waits == 2) Playing->Stop();
      };
    } else {
      Clock.OnMessages = [&] {
        if (Log.Events.back() == "after 1") Image->StopAllPainters();
      };
    }
    Playing = Image->Paint(&Playing, Target->Canvas(), dfAnimate | dfRepeat | (Threaded ? dfThreaded : 0), WholeRect);
    if (Playing != nullptr) {
      Playing->Start();
      PumpUntilIdle(*Image);
    }
    EXPECT_EQ(Shown(Log), Sequence({"0", "1"}));
    EXPECT_EQ(Playing, nullptr);
    Clock.OnWait = nullptr;
    Clock.OnMessages = nullptr;
  }
}

TEST_F(TPainterTest, SpeedZeroFreezesAThreadedPainterUntilTheSpeedChanges) {
  auto Image = TimedImage({4, 4, 4});
  Image->SetPlaySpeed(0);
  TEventLog Log;
  Log.Attach(*Image);
  TGIFPainter* Playing = nullptr;
  std::vector<int64_t> Timeouts;
  Clock.OnWait = [&](int64_t Timeout) {
    Timeouts.push_back(Timeout);
    if (Timeouts.size() == 1) Playing->SetSpeed(50);
  };
  Playing = Image->Paint(&Playing, Target->Canvas(), dfAnimate | dfThreaded, WholeRect);
  ASSERT_NE(Playing, nullptr);
  Playing->Start();
  PumpUntilIdle(*Image);
  Clock.OnWait = nullptr;
  // Frame 1 waits without end until the new speed wakes it; frame 2 waits at speed 50.
  EXPECT_EQ(Timeouts, (std::vector<int64_t>{base::INFINITE, WaitOf(4, 50)}));
  EXPECT_EQ(Shown(Log), Sequence({"0", "1", "2", "end"}));
}

TEST_F(TPainterTest, TheImagesPlaySpeedReachesItsPlayingPainter) {
  auto Image = TimedImage({4, 4, 4});
  Image->SetDrawFlags(dfAnimate | dfThreaded | dfUnbuffered);
  Image->SetPlaySpeed(0);
  std::vector<int64_t> Timeouts;
  Clock.OnWait = [&](int64_t Timeout) {
    Timeouts.push_back(Timeout);
    if (Timeouts.size() == 1) Image->SetPlaySpeed(50);
  };
  Image->Draw(Target->Canvas(), WholeRect);
  ASSERT_NE(Image->ActivePainter(), nullptr);
  PumpUntilIdle(*Image);
  Clock.OnWait = nullptr;
  EXPECT_EQ(Timeouts, (std::vector<int64_t>{base::INFINITE, WaitOf(4, 50)}));
}

TEST_F(TPainterTest, ANewSpeedRestartsASynchronousPainterAfterItsFrame) {
  auto Image = TimedImage({4, 4, 4});
  TEventLog Log;
  Log.Attach(*Image);
  TGIFPainter* Playing = nullptr;
  bool Changed = false;
  Clock.OnMessages = [&] {
    if (!Changed && Log.Events.back() == "after 0") {
      Changed = true;
      Playing->SetSpeed(200);
    }
  };
  Image->Paint(&Playing, Target->Canvas(), dfAnimate, WholeRect);
  Clock.OnMessages = nullptr;
  EXPECT_EQ(Log.Events, Sequence({"start", "frame 0", "after 0", "frame 1", "after 1", "start", "frame 0", "after 0",
                                  "frame 1", "after 1", "frame 2", "after 2", "end"}));
}

TEST_F(TPainterTest, SpeedZeroMakesASynchronousPainterWaitTwelveSecondsAFrame) {
  auto Image = TimedImage({4, 4});
  Image->SetPlaySpeed(0);
  std::vector<int64_t> Waited;
  TEventLog Log;
  Log.Attach(*Image);
  Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
    if (Event.starts_with("frame")) Waited.push_back(Clock.TakeWaited());
  };
  Clock.TakeWaited();
  Image->Paint(nullptr, Target->Canvas(), dfAnimate, WholeRect);
  EXPECT_EQ(Waited, (std::vector<int64_t>{12000, 12000}));
}

TEST_F(TPainterTest, TheStartingSpeedIsClamped) {
  struct TCase {
    int32_t Default, Expected;
  };
  const TCase Cases[] = {{5000, 1000}, {-5, 0}, {250, 250}};
  const int32_t Saved = GIFLibraryDefaults().PlaySpeed;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Default);
    GIFLibraryDefaults().PlaySpeed = C.Default;
    auto Image = TimedImage({4, 4});
    GIFLibraryDefaults().PlaySpeed = Saved;
    ASSERT_EQ(Image->PlaySpeed(), C.Default);
    int Speed = -100;
    Image->OnPlayStart = [&](base::TObject* Sender) { Speed = dynamic_cast<TGIFPainter&>(*Sender).Speed(); };
    Play(*Image, Target->Canvas(), WholeRect, dfAnimate);
    EXPECT_EQ(Speed, C.Expected);
  }
}

TEST_F(TPainterTest, EveryEventAndProgressRunsOnTheGUIThread) {
  auto Image = TimedImage({4, 4, 4});
  std::vector<bool> ProgressOnMain;
  Image->OnProgress = [&](base::TObject*, base::TProgressStage, uint8_t, bool, const base::TRect&, const std::string&) {
    ProgressOnMain.push_back(base::IsMainThread());
  };
  TEventLog Log;
  Log.Attach(*Image);
  Play(*Image, Target->Canvas(), WholeRect, dfAnimate | dfRepeat | dfThreaded);
  EXPECT_EQ(Shown(Log), Sequence({"0", "1", "2", "end"}));
  EXPECT_TRUE(std::all_of(Log.OnMainThread.begin(), Log.OnMainThread.end(), [](bool B) { return B; }));
  EXPECT_TRUE(std::all_of(ProgressOnMain.begin(), ProgressOnMain.end(), [](bool B) { return B; }));
}

TEST_F(TPainterTest, AOneFrameImageIsDrawnAtOnceWithoutAThread) {
  auto Image = TimedImage({4});
  TEventLog Log;
  Log.Attach(*Image);
  TGIFPainter* Ref = nullptr;
  EXPECT_EQ(Image->Paint(&Ref, Target->Canvas(), dfAnimate | dfThreaded | dfRepeat, WholeRect), nullptr);
  EXPECT_EQ(Ref, nullptr);
  EXPECT_EQ(Log.Events, Sequence({"start", "frame 0", "after 0", "end"}));
  EXPECT_TRUE(std::all_of(Log.OnMainThread.begin(), Log.OnMainThread.end(), [](bool B) { return B; }));
  EXPECT_EQ(Target->Canvas().Pixels(1, 1), TableColors()[1]);
}

TEST_F(TPainterTest, NoPainterForAnEmptyImageOrAnEmptyRectangle) {
  auto Empty = MakeImage(2, 2, {});
  auto Image = TimedImage({4, 4});
  TGIFPainter* Ref = reinterpret_cast<TGIFPainter*>(&Ref);
  EXPECT_EQ(Empty->Paint(&Ref, Target->Canvas(), dfAnimate | dfThreaded, WholeRect), nullptr);
  EXPECT_EQ(Ref, nullptr);
  for (const base::TRect& R : {base::Rect(1, 0, 1, 2), base::Rect(0, 2, 2, 1)}) {
    Ref = reinterpret_cast<TGIFPainter*>(&Ref);
    EXPECT_EQ(Image->Paint(&Ref, Target->Canvas(), dfAnimate | dfThreaded, R), nullptr);
    EXPECT_EQ(Ref, nullptr);
  }
  EXPECT_TRUE(Image->Painters().Items().empty());
}

TEST_F(TPainterTest, AFailingHandlerEndsThePlay) {
  for (bool Threaded : {false, true}) {
    SCOPED_TRACE(Threaded ? "threaded" : "synchronous");
    auto Image = TimedImage({4, 4, 4});
    TEventLog Log;
    Log.Attach(*Image);
    Log.OnEvent = [](TGIFPainter&, const std::string& Event) {
      if (Event == "after 1") throw base::Exception("handler failed");
    };
    if (Threaded) {
      Play(*Image, Target->Canvas(), WholeRect, dfAnimate | dfThreaded);
    } else {
      EXPECT_THROW(Image->Paint(nullptr, Target->Canvas(), dfAnimate, WholeRect), base::Exception);
    }
    EXPECT_EQ(Shown(Log), Sequence({"0", "1"}));
    EXPECT_TRUE(Image->Painters().Items().empty());
  }
}

TEST(PainterRealClock, PlaysToTheEndWithRealWaits) {
  auto Target = MakeTarget(2, 2, 0x404040);
  for (bool Threaded : {false, true}) {
    SCOPED_TRACE(Threaded ? "threaded" : "synchronous");
    auto Image = TimedImage({3, 3, 3});
    Image->SetPlaySpeed(1000);
    TEventLog Log;
    Log.Attach(*Image);
    Play(*Image, Target->Canvas(), WholeRect, dfAnimate | (Threaded ? dfThreaded : 0));
    EXPECT_EQ(Shown(Log), Sequence({"0", "1", "2", "end"}));
  }
}

}  // namespace
