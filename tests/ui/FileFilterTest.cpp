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

TEST(FileFilter, TheChosenFilterCountsFromOneAndIsFoundByItsDescriptionAlone) {
  const std::string Filter = "All (*.a;*.b)|*.a;*.b|A|*.a|B  files|*.b|C|*.c";
  struct {
    QString Chosen;
    int Index;
  } const Cases[] = {
      {"A (*.a)", 2}, {"C (*.c)", 4}, {"All (*.a;*.b) (*.a *.b)", 1},
      // As a dialog that hides the patterns reports the choice.
      {"All (*.a;*.b)", 1}, {"A", 2}, {"B files", 3}, {"C", 4},
      {"missing", 1}, {"", 1},
  };
  for (const auto& C : Cases) EXPECT_EQ(FilterIndexOf(Filter, C.Chosen), C.Index) << C.Chosen.toStdString();
}
