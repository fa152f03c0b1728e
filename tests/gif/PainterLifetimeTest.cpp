// Starting, keeping and stopping painters through the image, and images that go away
// while they play.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/Exceptions.h"

#include "tests/gif/PainterTestSupport.h"

namespace {

using namespace paintertest;
using namespace gif;

constexpr base::TRect WholeRect{0, 0, 2, 2};
constexpr TGIFDrawFlags Endless = dfThreaded | dfAnimate | dfRepeat | dfRepeatForever;

struct TPainterLifetime : ::testing::Test {
  TClockScope Scope;
  std::unique_ptr<graphics::TBitmap> Target = MakeTarget(8, 8, 0x404040);
  std::unique_ptr<TGIFImage> Image = TimedImage({4, 4, 4});
  TEventLog Log;
  void SetUp() override { Log.Attach(*Image); }
  long Count(const std::string& Event) const { return std::count(Log.Events.begin(), Log.Events.end(), Event); }
  void PumpFor(int Checks) {
    for (int I = 0; I < Checks; ++I) base::CheckSynchronize(1);
  }
  // A painter thread may be slow to start on a loaded machine.
  void PumpUntilStarts(long Starts) {
    for (int I = 0; I < 5000 && Count("start") < Starts; ++I) base::CheckSynchronize(1);
  }
};

TEST_F(TPainterLifetime, DrawKeepsThePainterOfTheSameRectangleAndReplacesAnother) {
  Image->SetDrawFlags(Endless | dfUnbuffered);
  Image->Draw(Target->Canvas(), WholeRect);
  ASSERT_NE(Image->ActivePainter(), nullptr);
  PumpUntilStarts(1);
  Image->Draw(Target->Canvas(), WholeRect);
  PumpFor(20);
  EXPECT_EQ(Count("start"), 1);
  const base::TRect Other = base::Rect(4, 4, 6, 6);
  Image->Draw(Target->Canvas(), Other);
  ASSERT_NE(Image->ActivePainter(), nullptr);
  EXPECT_EQ(Image->ActivePainter()->Rect(), Other);
  EXPECT_EQ(Image->Painters().Items().size(), 1u);
  PumpUntilStarts(2);
  EXPECT_EQ(Count("start"), 2);
  Image->StopAllPainters();
  EXPECT_TRUE(Image->Painters().Items().empty());
  EXPECT_EQ(Image->ActivePainter(), nullptr);
  EXPECT_EQ(Count("end"), 0);
  EXPECT_TRUE(std::all_of(Log.OnMainThread.begin(), Log.OnMainThread.end(), [](bool B) { return B; }));
}

TEST_F(TPainterLifetime, BufferedThreadedDrawShowsTheFirstFrameBeforeItReturns) {
  Image->SetDrawFlags(Endless);
  Image->Draw(Target->Canvas(), base::Rect(2, 2, 4, 4));
  EXPECT_EQ(Target->Canvas().Pixels(2, 2), TableColors()[1]);
  EXPECT_EQ(Target->Canvas().Pixels(1, 1), 0x404040);
  ASSERT_NE(Image->ActivePainter(), nullptr);
  Image->HaltPainter();
  EXPECT_EQ(Image->ActivePainter(), nullptr);
  EXPECT_TRUE(Image->Painters().Items().empty());
  EXPECT_EQ(Count("end"), 0);
}

TEST_F(TPainterLifetime, AStillPictureIsDrawnWithoutAPainter) {
  struct TCase {
    const char* Name;
    std::vector<int> Delays;
    TGIFDrawFlags Flags;
  };
  const TCase Cases[] = {{"one frame", {4}, Endless}, {"not animated", {4, 4, 4}, dfThreaded | dfRepeat}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Image = TimedImage(C.Delays);
    Log = TEventLog();
    Log.Attach(*Image);
    Image->SetDrawFlags(C.Flags);
    Image->Draw(Target->Canvas(), WholeRect);
    EXPECT_TRUE(Log.Events.empty());
    EXPECT_TRUE(Image->Painters().Items().empty());
    EXPECT_EQ(Target->Canvas().Pixels(1, 1), TableColors()[1]);
  }
}

TEST_F(TPainterLifetime, ADrawInsideAPlayingDrawDoesNothing) {
  auto Other = MakeTarget(2, 2, 0x404040);
  Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
    if (Event == "after 0") Image->Draw(Other->Canvas(), WholeRect);
  };
  Image->SetDrawFlags(dfAnimate);
  Image->Draw(Target->Canvas(), WholeRect);
  EXPECT_EQ(Count("start"), 1);
  EXPECT_EQ(Log.Events.back(), "end");
  EXPECT_EQ(Other->Canvas().Pixels(0, 0), 0x404040);
}

TEST_F(TPainterLifetime, ADrawThatFailedCanDrawAgain) {
  bool Fail = true;
  Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
    if (Fail && Event == "after 1") throw base::Exception("handler failed");
  };
  Image->SetDrawFlags(dfAnimate | dfUnbuffered);
  EXPECT_THROW(Image->Draw(Target->Canvas(), WholeRect), base::Exception);
  Fail = false;
  Image->Draw(Target->Canvas(), WholeRect);
  EXPECT_EQ(Count("start"), 2);
  EXPECT_EQ(Log.Events.back(), "end");
}

TEST_F(TPainterLifetime, ChangesToTheImageStopItsPaintersFirst) {
  struct TCase {
    const char* Name;
    std::function<void(TGIFImage&)> Change;
  };
  const TCase Cases[] = {
      {"add a frame", [](TGIFImage& I) { I.AddFrame(new TGIFSubImage(&I)); }},
      {"new draw flags", [](TGIFImage& I) { I.SetDrawFlags(dfAnimate); }},
      {"clear", [](TGIFImage& I) { I.Clear(); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Playing = TimedImage({4, 4, 4});
    TGIFPainter* Painter = Playing->Paint(nullptr, Target->Canvas(), Endless, WholeRect);
    ASSERT_NE(Painter, nullptr);
    Painter->Start();
    PumpFor(10);
    C.Change(*Playing);
    EXPECT_TRUE(Playing->Painters().Items().empty());
  }
}

TEST_F(TPainterLifetime, AHandlerMayStopThePainterThatCalledIt) {
  struct TCase {
    const char* Name;
    std::function<void(TGIFImage&)> Stop;
  };
  const TCase Cases[] = {
      {"halt", [](TGIFImage& I) { I.HaltPainter(); }},
      {"stop all", [](TGIFImage& I) { I.StopAllPainters(); }},
      {"new draw flags", [](TGIFImage& I) { I.SetDrawFlags(dfAnimate); }},
  };
  for (bool Buffered : {false, true}) {
    for (const TCase& C : Cases) {
      SCOPED_TRACE(std::string(C.Name) + (Buffered ? ", buffered" : ", unbuffered"));
      Image = TimedImage({4, 4, 4});
      Log = TEventLog();
      Log.Attach(*Image);
      Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
        if (Event == "after 1") C.Stop(*Image);
      };
      Image->SetDrawFlags(static_cast<TGIFDrawFlags>(Endless | (Buffered ? 0 : dfUnbuffered)));
      Image->Draw(Target->Canvas(), WholeRect);
      PumpUntilIdle(*Image);
      EXPECT_EQ(Log.Events.back(), "after 1");
      EXPECT_EQ(Image->ActivePainter(), nullptr);
    }
  }
}

TEST_F(TPainterLifetime, AnImageFreedWhilePlayingStopsItsPainters) {
  for (bool Started : {false, true}) {
    SCOPED_TRACE(Started ? "playing" : "never started");
    auto Playing = TimedImage({4, 4, 4});
    int Ends = 0;
    Playing->OnPlayEnd = [&](base::TObject*) { ++Ends; };
    TGIFPainter* Painter = Playing->Paint(nullptr, Target->Canvas(), Endless, WholeRect);
    ASSERT_NE(Painter, nullptr);
    if (Started) {
      Painter->Start();
      PumpFor(10);
    }
    Playing.reset();
    PumpFor(10);
    EXPECT_EQ(Ends, 0);
  }
}

TEST_F(TPainterLifetime, AHandlerMayFreeTheImageOfASynchronousPlay) {
  struct TCase {
    const char* Name;
    bool Draw;
    bool WhileWaiting;
  };
  const TCase Cases[] = {{"paint, in a handler", false, false},
                         {"paint, while waiting", false, true},
                         {"buffered draw, in a handler", true, false},
                         {"buffered draw, while waiting", true, true}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Image = TimedImage({4, 4, 4});
    Log = TEventLog();
    Log.Attach(*Image);
    if (C.WhileWaiting) {
      Scope.Clock.OnMessages = [&] {
        if (Log.Events.back() == "after 1") Image.reset();
      };
    } else {
      Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
        if (Event == "after 1") Image.reset();
      };
    }
    if (C.Draw) {
      Image->SetDrawFlags(dfAnimate | dfRepeat);
      Image->Draw(Target->Canvas(), WholeRect);
    } else {
      Image->Paint(nullptr, Target->Canvas(), dfAnimate | dfRepeat, WholeRect);
    }
    EXPECT_EQ(Image, nullptr);
    EXPECT_EQ(Log.Events.back(), "after 1");
    Scope.Clock.OnMessages = nullptr;
  }
}

TEST_F(TPainterLifetime, AHandlerMayFreeTheImageOfAThreadedPlay) {
  for (const char* Where : {"frame 1", "after 1", "start"}) {
    SCOPED_TRACE(Where);
    Image = TimedImage({4, 4, 4});
    Log = TEventLog();
    Log.Attach(*Image);
    Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
      if (Event == Where) Image.reset();
    };
    TGIFPainter* Painter = Image->Paint(nullptr, Target->Canvas(), Endless, WholeRect);
    ASSERT_NE(Painter, nullptr);
    bool Ended = false;
    Painter->OnTerminate = [&](base::TObject*) { Ended = true; };
    Painter->Start();
    while (!Ended) base::CheckSynchronize(10);
    EXPECT_EQ(Image, nullptr);
    EXPECT_EQ(Log.Events.back(), Where);
  }
}

}  // namespace
