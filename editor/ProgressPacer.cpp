#include "editor/ProgressPacer.h"

#include <utility>

namespace editor {

TProgressPacer::TProgressPacer(TClock Clock) : FClock(std::move(Clock)) {}

bool TProgressPacer::Show(base::TProgressStage Stage, uint8_t PercentDone, const std::string& Message) {
  if (Stage == base::psEnding) {
    FRunning = false;
    return true;
  }
  const std::chrono::steady_clock::time_point Now = FClock();
  if (Stage == base::psRunning && FRunning) {
    if (PercentDone == FPercent && Message == FMessage) return false;
    if (Now - FShownAt < Interval) return false;
  }
  FRunning = true;
  FPercent = PercentDone;
  FMessage = Message;
  FShownAt = Now;
  return true;
}

}  // namespace editor
