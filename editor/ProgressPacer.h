// Which progress events the main window paints. Painting is synchronous, and short steps
// (a row, a frame copied) report far more often than anyone can read the bar, so only a
// change of what the bar shows is painted, and at most every 50 ms; an operation's first
// and last report are always painted.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/Events.h"

namespace editor {

class TProgressPacer {
 public:
  using TClock = std::function<std::chrono::steady_clock::time_point()>;
  static constexpr std::chrono::milliseconds Interval{50};

  explicit TProgressPacer(TClock Clock = std::chrono::steady_clock::now);

  // Whether this report is to be shown; one that is not leaves the bar as it is.
  bool Show(base::TProgressStage Stage, uint8_t PercentDone, const std::string& Message);

 private:
  TClock FClock;
  bool FRunning = false;
  uint8_t FPercent = 0;
  std::string FMessage;
  std::chrono::steady_clock::time_point FShownAt;
};

}  // namespace editor
