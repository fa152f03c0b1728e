#include <gtest/gtest.h>

#include <string>

#include "platform/base/Crc32.h"
#include "platform/base/Events.h"
#include "platform/base/Rounding.h"

using namespace base;

TEST(Round, HalvesGoToTheEvenNeighbour) {
  const struct { double In; int64_t Out; } Cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3},
  };
  for (const auto& C : Cases) EXPECT_EQ(Round(C.In), C.Out) << C.In;
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFlagsBadDivisors) {
  const struct { int32_t A, B, C, Out; } Cases[] = {
      {10, 100, 20, 50},   {1, 1, 2, 1},    {-1, 1, 2, -1},   {3, 1, 2, 2},
      {31, 100, 640, 5},   {5, 3, 0, -1},   {0x7FFFFFFF, 2, 1, -1},
      {0x40000000, 4, 2, -1}, {-0x40000000, 4, 2, INT32_MIN}, {7, -3, 2, -11},
      {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},
  };
  for (const auto& C : Cases) EXPECT_EQ(MulDiv(C.A, C.B, C.C), C.Out) << C.A << "*" << C.B << "/" << C.C;
}

TEST(Crc32, MatchesTheZipCheckValueInOneOrManyPieces) {
  const std::string Text = "123456789";
  EXPECT_EQ(Crc32(Text.data(), Text.size()), 0xCBF43926u);
  uint32_t Register = Crc32Start;
  for (char C : Text) Register = Crc32Update(Register, &C, 1);
  EXPECT_EQ(Crc32Final(Register), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

TEST(PercentOf, NeverOverflowsAndStaysInRange) {
  EXPECT_EQ(PercentOf(1, 3), 33);
  EXPECT_EQ(PercentOf(1, 200), 0);  // 0.5 rounds to even
  EXPECT_EQ(PercentOf(3, 200), 2);
  EXPECT_EQ(PercentOf(INT64_MAX / 2, INT64_MAX), 50);
  EXPECT_EQ(PercentOf(5, 0), 0);
  EXPECT_EQ(PercentOf(50, 10), 100);
}
