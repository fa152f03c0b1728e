#include <gtest/gtest.h>

#include <algorithm>

#include "install/Gradient.h"

using namespace install;

TEST(Gradient, BandsRoundHalvesToEvenAndReachIntoTheNext) {
  struct {
    int Height;
    int Band;
    int Top;
    int Bottom;
  } const Cases[] = {
      {50, 0, 0, 2},     // 0 .. round(1.5)
      {50, 1, 0, 2},     // round(0.5) = 0, round(1.5) = 2
      {50, 3, 2, 4},     // round(1.5) = 2
      {50, 99, 50, 52},  // round(49.5) = 50, round(51.5) = 52
      {381, 0, 0, 5},    // h = 3.81: round(4.81)
      {381, 50, 190, 195},
      {381, 99, 377, 382},
      {100, 42, 42, 44},
  };
  for (const auto& C : Cases) {
    const TGradientBand Band = GradientBands(C.Height).at(C.Band);
    EXPECT_EQ(Band.Top, C.Top) << C.Height << " band " << C.Band;
    EXPECT_EQ(Band.Bottom, C.Bottom) << C.Height << " band " << C.Band;
  }
}

TEST(Gradient, ColoursRunFromBlackToBlue) {
  const auto Bands = GradientBands(381);
  ASSERT_EQ(Bands.size(), 100u);
  const std::pair<int, int> Blues[] = {{0, 0}, {1, 2}, {50, 128}, {98, 252}, {99, 255}};
  for (const auto& [Band, Blue] : Blues) EXPECT_EQ(Bands[Band].Blue, Blue) << Band;
  for (const TGradientBand& Band : Bands) {
    EXPECT_EQ(Band.Red, 0);
    EXPECT_EQ(Band.Green, 0);
  }
}

TEST(Gradient, EveryRowIsPainted) {
  for (int Height : {1, 7, 50, 99, 100, 381, 1080}) {
    const auto Bands = GradientBands(Height);
    int Covered = 0;
    for (const TGradientBand& Band : Bands) {
      EXPECT_LE(Band.Top, Covered) << Height;
      EXPECT_GT(Band.Bottom, Band.Top) << Height;
      Covered = std::max(Covered, Band.Bottom);
    }
    EXPECT_GE(Covered, Height);
  }
}
