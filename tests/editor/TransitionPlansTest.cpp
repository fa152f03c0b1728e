// The transition plans as tables: the fall wall's twelve copies, move apart's four
// bands, the lines bands, rain's counts and the run rule.
#include <gtest/gtest.h>

#include <set>

#include "editor/effects/TransitionPlans.h"

using base::Rect;
using namespace editor;

namespace {

struct FallCase {
  TFallDirection Direction;
  TFallMode Mode;
  TRectCopy Expected;
};

TEST(TransitionPlans, FallWallCopiesForEveryDirectionAndMode) {
  // W 100, H 60, band 30.
  const FallCase Cases[] = {
      {fdUpToDown, fmUnfold, {Rect(0, 0, 100, 30), Rect(0, 0, 100, 30)}},
      {fdUpToDown, fmPlain, {Rect(0, 30, 100, 60), Rect(0, 0, 100, 30)}},
      {fdUpToDown, fmScale, {Rect(0, 0, 100, 60), Rect(0, 0, 100, 30)}},
      {fdDownToUp, fmUnfold, {Rect(0, 30, 100, 60), Rect(0, 30, 100, 60)}},
      {fdDownToUp, fmPlain, {Rect(0, 0, 100, 30), Rect(0, 30, 100, 60)}},
      {fdDownToUp, fmScale, {Rect(0, 0, 100, 60), Rect(0, 30, 100, 60)}},
      {fdLeftToRight, fmUnfold, {Rect(0, 0, 30, 60), Rect(0, 0, 30, 60)}},
      {fdLeftToRight, fmPlain, {Rect(70, 0, 100, 60), Rect(0, 0, 30, 60)}},
      {fdLeftToRight, fmScale, {Rect(0, 0, 100, 60), Rect(0, 0, 30, 60)}},
      {fdRightToLeft, fmUnfold, {Rect(70, 0, 100, 60), Rect(70, 0, 100, 60)}},
      {fdRightToLeft, fmPlain, {Rect(0, 0, 30, 60), Rect(70, 0, 100, 60)}},
      {fdRightToLeft, fmScale, {Rect(0, 0, 100, 60), Rect(70, 0, 100, 60)}},
  };
  for (const FallCase& Case : Cases)
    EXPECT_EQ(FallWallCopy(Case.Direction, Case.Mode, 100, 60, 30), Case.Expected)
        << static_cast<int>(Case.Direction) << " " << static_cast<int>(Case.Mode);
}

TEST(TransitionPlans, FallWallModeStepAndOpposites) {
  EXPECT_EQ(FallModeOf(false, false), fmPlain);
  EXPECT_EQ(FallModeOf(true, false), fmUnfold);
  EXPECT_EQ(FallModeOf(true, true), fmScale);
  EXPECT_EQ(FallModeOf(false, true), fmScale);
  EXPECT_EQ(FallStep(fdUpToDown, 100, 60, 2), 30);
  EXPECT_EQ(FallStep(fdRightToLeft, 100, 60, 3), 33);
  EXPECT_EQ(OppositeDirection(fdUpToDown), fdDownToUp);
  EXPECT_EQ(OppositeDirection(fdDownToUp), fdUpToDown);
  EXPECT_EQ(OppositeDirection(fdLeftToRight), fdRightToLeft);
  EXPECT_EQ(OppositeDirection(fdRightToLeft), fdLeftToRight);
}

TEST(TransitionPlans, WizardFallWallPasses) {
  EXPECT_EQ(WizardFallPasses(10, false, fdUpToDown), (std::vector<TFallPass>{{0, 10, 9, fdUpToDown}}));
  EXPECT_EQ(WizardFallPasses(1, false, fdLeftToRight), (std::vector<TFallPass>{{0, 1, 0, fdLeftToRight}}));
  // Pass 1 keys on frame 4 with step H div 5, pass 2 on frame 9 with step H div 4.
  EXPECT_EQ(WizardFallPasses(10, true, fdUpToDown),
            (std::vector<TFallPass>{{0, 5, 4, fdUpToDown}, {5, 4, 9, fdDownToUp}}));
  EXPECT_EQ(WizardFallPasses(3, true, fdRightToLeft),
            (std::vector<TFallPass>{{0, 1, 0, fdRightToLeft}, {1, 1, 2, fdLeftToRight}}));
}

TEST(TransitionPlans, MoveApartBands) {
  struct Case {
    bool Vertical, Increase;
    int Band;
    base::TRect Expected;
  };
  const Case Cases[] = {
      {false, true, 30, Rect(35, 0, 65, 60)},  {true, true, 30, Rect(0, 15, 100, 45)},
      {false, false, 30, Rect(15, 0, 85, 60)}, {true, false, 30, Rect(0, 15, 100, 45)},
      {false, false, 0, Rect(0, 0, 100, 60)},  {false, true, 0, Rect(50, 0, 50, 60)},
      {false, true, 31, Rect(34, 0, 65, 60)},  {true, false, 31, Rect(0, 15, 100, 45)},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(MoveApartBand(C.Vertical, C.Increase, 100, 60, C.Band), C.Expected) << C.Vertical << C.Increase << C.Band;
}

TEST(TransitionPlans, LineBandsAlternateSidesAndRoundHalvesToEven) {
  EXPECT_EQ(LineBands(true, 80, 100, 5, 0), (std::vector<base::TRect>{Rect(0, 0, 80, 20), Rect(0, 20, 80, 40),
                                                                       Rect(0, 40, 80, 60), Rect(0, 60, 80, 80),
                                                                       Rect(0, 80, 80, 100)}));
  EXPECT_EQ(LineBands(true, 80, 100, 2, 10), (std::vector<base::TRect>{Rect(10, 0, 80, 50), Rect(0, 50, 70, 100)}));
  EXPECT_EQ(LineBands(false, 100, 40, 2, 5), (std::vector<base::TRect>{Rect(0, 0, 50, 35), Rect(50, 5, 100, 40)}));
  // 10 / 4 = 2.5: boundaries 0, 2 (2.5), 5, 8 (7.5), 10.
  EXPECT_EQ(LineBands(true, 4, 10, 4, 0), (std::vector<base::TRect>{Rect(0, 0, 4, 2), Rect(0, 2, 4, 5),
                                                                     Rect(0, 5, 4, 8), Rect(0, 8, 4, 10)}));
}

TEST(TransitionPlans, RainStrewsByPositionWithinTheFrame) {
  EXPECT_EQ(RainStrewCount(10, 10, 0), 51);
  EXPECT_EQ(RainStrewCount(10, 10, 1), 101);
  std::mt19937 Random(7);
  int Count = 0;
  std::set<std::pair<int, int>> Seen;
  StrewPoints(10, 6, 1, Random, [&](int X, int Y) {
    ++Count;
    EXPECT_TRUE(X >= 0 && X < 10 && Y >= 0 && Y < 6);
    Seen.insert({X, Y});
  });
  EXPECT_EQ(Count, 61);
  EXPECT_GT(Seen.size(), 20u);
  // The same seed strews the same points.
  std::mt19937 First(3), Second(3);
  std::vector<int> A, B;
  StrewPoints(5, 5, 0, First, [&](int X, int Y) { A.push_back(X * 10 + Y); });
  StrewPoints(5, 5, 0, Second, [&](int X, int Y) { B.push_back(X * 10 + Y); });
  EXPECT_EQ(A, B);
}

TEST(TransitionPlans, RunRule) {
  struct Case {
    int First, Count, Frames;
    bool Accepted;
    int A, T;
    const char* Message;
  };
  const Case Cases[] = {
      {1, 3, 3, true, 0, 2, ""},
      {2, 3, 4, true, 1, 3, ""},
      {2, 3, 3, false, 0, 0, RangeMessage},
      {0, 3, 3, false, 0, 0, "First frame<1."},
      {1, 1, 3, false, 0, 0, "Count of frame<2."},
      {1, 2, 0, false, 0, 0, RangeMessage},
  };
  for (const Case& C : Cases) {
    const TRunCheck Check = CheckEffectRun(C.First, C.Count, C.Frames);
    ASSERT_EQ(Check.Run.has_value(), C.Accepted) << C.First << " " << C.Count;
    if (C.Accepted) {
      EXPECT_EQ(Check.Run->First, C.A);
      EXPECT_EQ(Check.Run->Target, C.T);
    } else {
      EXPECT_EQ(Check.Message, C.Message);
    }
  }
}

}  // namespace
