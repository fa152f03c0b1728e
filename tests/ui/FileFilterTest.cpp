#include <gtest/gtest.h>

#include "platform/ui/FileFilter.h"

using namespace ui;

TEST(FileFilter, PairsBecomeQtNameFilters) {
  struct {
    std::string Filter;
    QStringList Expected;
  } const Cases[] = {
      {"Gif files|*.gif", {"Gif files (*.gif)"}},
      {"Jpg files|*.jpg;*.jpeg|Bmp files|*.bmp", {"Jpg files (*.jpg *.jpeg)", "Bmp files (*.bmp)"}},
      {"All (*.gif;*.bmp)|*.gif;*.bmp|All files|*.*", {"All (*.gif;*.bmp) (*.gif *.bmp)", "All files (*.*)"}},
      {"Trailing description|*.x|Lonely", {"Trailing description (*.x)"}},
      {"", {}},
  };
  for (const auto& C : Cases) EXPECT_EQ(QtNameFilters(C.Filter), C.Expected) << C.Filter;
}

TEST(FileFilter, TheChosenFilterCountsFromOne) {
  const QStringList Filters = QtNameFilters("A|*.a|B|*.b|C|*.c");
  EXPECT_EQ(FilterIndexOf(Filters, "A (*.a)"), 1);
  EXPECT_EQ(FilterIndexOf(Filters, "C (*.c)"), 3);
  EXPECT_EQ(FilterIndexOf(Filters, "missing"), 1);
}
