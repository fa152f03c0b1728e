// The rectangles and counts of the frame transitions, apart from any drawing: a run of
// frames walks from its first frame toward a target frame, and each frame's place in
// the run (0 for the first) says how much of the target it shows.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/base/Types.h"

namespace editor {

// A copy of Source of one frame onto Dest of another, stretched when the sizes differ.
struct TRectCopy {
  base::TRect Source;
  base::TRect Dest;
  friend bool operator==(const TRectCopy&, const TRectCopy&) = default;
};

// In the order of the fall wall lists.
enum class TFallDirection { fdUpToDown, fdDownToUp, fdLeftToRight, fdRightToLeft };
using enum TFallDirection;

// Unfold uncovers the target in place, plain slides its far edge in, Scale squeezes
// the whole target into the band.
enum class TFallMode { fmPlain, fmUnfold, fmScale };
using enum TFallMode;

// Scale wins over Unfold.
TFallMode FallModeOf(bool Unfold, bool Scale);
TFallDirection OppositeDirection(TFallDirection Direction);
bool IsVerticalFall(TFallDirection Direction);
// The band grows by this much per frame: the side the wall falls along, div Divisor.
int FallStep(TFallDirection Direction, int Width, int Height, int Divisor);
TRectCopy FallWallCopy(TFallDirection Direction, TFallMode Mode, int Width, int Height, int Band);

// The window of the target a move-apart frame shows; Band is its size (Increase) or
// what has closed of it (Diminish).
base::TRect MoveApartBand(bool Vertical, bool Increase, int Width, int Height, int Band);

// The first frame's bands a lines frame keeps, Offset cut from alternate sides.
std::vector<base::TRect> LineBands(bool Horizontal, int Width, int Height, int Lines, int Offset);

// How many pixels rain strews on the frame at Position in the run: (Position + 1) x
// (Width x Height div 2) + 1.
int64_t RainStrewCount(int Width, int Height, int Position);
// Calls Strew with each strewn point, x drawn before y, each uniform in the frame.
void StrewPoints(int Width, int Height, int Position, std::mt19937& Random,
                 const std::function<void(int X, int Y)>& Strew);

// One pass of the wizard's fall wall: Count frames from First toward Target, the step
// being the side div Count. With "Full round" the text falls in over the first half and
// out again, in the opposite direction, over the second.
struct TFallPass {
  int First;
  int Count;
  int Target;
  TFallDirection Direction;
  friend bool operator==(const TFallPass&, const TFallPass&) = default;
};
std::vector<TFallPass> WizardFallPasses(int Frames, bool FullRound, TFallDirection Direction);

// A run of frames as the effect dialogs give it: the first frame counted from 1 and
// the number of frames, the target included.
struct TEffectRun {
  int First = 0;   // 0-based index of the run's first frame
  int Target = 0;  // 0-based index of the target, the last frame of the run
};

inline constexpr const char* RangeMessage =
    "Count of frames out of range. \"First frame\"+\"Count of frame\" must be smaller count of GIF frames";

// The run, or the message that refuses it: a first frame below 1 or a count below 2
// (which would leave no frame to step over), and the range rule against FrameCount.
struct TRunCheck {
  std::optional<TEffectRun> Run;
  std::string Message;
};
TRunCheck CheckEffectRun(int FirstFrame, int CountFrame, int FrameCount);

}  // namespace editor
