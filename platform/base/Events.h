// Event signatures shared by the libraries: an unassigned event is an empty function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/Types.h"

namespace base {

class TObject;

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TProgressStage : uint8_t { psStarting, psRunning, psEnding };
using enum TProgressStage;

using TProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                                          bool RedrawNow, const TRect& R, const std::string& Msg)>;

// Done / Total as a whole percentage, rounded to nearest, without overflow for any
// 64-bit sizes; 0 when Total is not positive, at most 100.
uint8_t PercentOf(int64_t Done, int64_t Total);

}  // namespace base
