// Which progress reports the main window paints, on a clock the test moves.
#include <gtest/gtest.h>

#include "editor/ProgressPacer.h"

namespace {

using std::chrono::milliseconds;

struct TReport {
  int At;  // ms
  base::TProgressStage Stage;
  uint8_t Percent;
  const char* Message;
  bool Shown;
};

TEST(ProgressPacer, PaintsChangesAtMostEvery50msAndAlwaysTheFirstAndLast) {
  std::chrono::steady_clock::time_point Now{};
  editor::TProgressPacer Pacer([&] { return Now; });
  const TReport Reports[] = {
      {0, base::psStarting, 0, "Copying...", true},
      {0, base::psRunning, 0, "Copying...", false},   // what is shown already
      {10, base::psRunning, 1, "Copying...", false},  // too soon after the start
      {49, base::psRunning, 2, "Copying...", false},
      {50, base::psRunning, 2, "Copying...", true},
      {200, base::psRunning, 2, "Copying...", false},  // the same, however late
      {201, base::psRunning, 3, "Copying...", true},
      {202, base::psEnding, 100, "Copying...", true},
      // The next operation's first report, at once.
      {202, base::psStarting, 0, "Converting...", true},
      {203, base::psEnding, 100, "Converting...", true},
      // A report with no start before it is a first one.
      {203, base::psRunning, 40, "Rendering...", true},
      {260, base::psRunning, 40, "Converting...", true},  // another stage, same percentage
      {261, base::psStarting, 0, "Saving...", true},      // an operation inside another
      {262, base::psEnding, 100, "Saving...", true},
      {262, base::psRunning, 60, "Converting...", true},
  };
  for (const TReport& Report : Reports) {
    Now = std::chrono::steady_clock::time_point{} + milliseconds(Report.At);
    EXPECT_EQ(Pacer.Show(Report.Stage, Report.Percent, Report.Message), Report.Shown)
        << Report.At << " ms, " << Report.Message << " " << int{Report.Percent};
  }
}

}  // namespace
