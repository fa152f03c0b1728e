#include "editor/effects/TransitionPlans.h"

#include "platform/base/Rounding.h"

namespace editor {

TFallMode FallModeOf(bool Unfold, bool Scale) {
  if (Scale) return fmScale;
  return Unfold ? fmUnfold : fmPlain;
}

TFallDirection OppositeDirection(TFallDirection Direction) {
  switch (Direction) {
    case fdUpToDown:
      return fdDownToUp;
    case fdDownToUp:
      return fdUpToDown;
    case fdLeftToRight:
      return fdRightToLeft;
    case fdRightToLeft:
      break;
  }
  return fdLeftToRight;
}

bool IsVerticalFall(TFallDirection Direction) { return Direction == fdUpToDown || Direction == fdDownToUp; }

int FallStep(TFallDirection Direction, int Width, int Height, int Divisor) {
  return (IsVerticalFall(Direction) ? Height : Width) / Divisor;
}

TRectCopy FallWallCopy(TFallDirection Direction, TFallMode Mode, int W, int H, int B) {
  const base::TRect Whole = base::Rect(0, 0, W, H);
  base::TRect Near;  // the band at the edge the wall starts from
  base::TRect Far;   // the same band at the opposite edge
  switch (Direction) {
    case fdUpToDown:
      Near = base::Rect(0, 0, W, B);
      Far = base::Rect(0, H - B, W, H);
      break;
    case fdDownToUp:
      Near = base::Rect(0, H - B, W, H);
      Far = base::Rect(0, 0, W, B);
      break;
    case fdLeftToRight:
      Near = base::Rect(0, 0, B, H);
      Far = base::Rect(W - B, 0, W, H);
      break;
    case fdRightToLeft:
      Near = base::Rect(W - B, 0, W, H);
      Far = base::Rect(0, 0, B, H);
      break;
  }
  switch (Mode) {
    case fmUnfold:
      return {Near, Near};
    case fmScale:
      return {Whole, Near};
    case fmPlain:
      break;
  }
  return {Far, Near};
}

base::TRect MoveApartBand(bool Vertical, bool Increase, int W, int H, int B) {
  if (Increase) {
    if (Vertical) {
      const int Top = (H - B) / 2;
      return base::Rect(0, Top, W, Top + B);
    }
    const int Left = (W - B) / 2;
    return base::Rect(Left, 0, Left + B, H);
  }
  const int Half = B / 2;
  return Vertical ? base::Rect(0, Half, W, H - Half) : base::Rect(Half, 0, W - Half, H);
}

std::vector<base::TRect> LineBands(bool Horizontal, int W, int H, int Lines, int Offset) {
  std::vector<base::TRect> Bands;
  const double Size = static_cast<double>(Horizontal ? H : W) / Lines;
  for (int Index = 0; Index < Lines; ++Index) {
    const auto From = static_cast<int>(base::Round(Index * Size));
    const auto To = static_cast<int>(base::Round((Index + 1) * Size));
    const bool Even = Index % 2 == 0;
    if (Horizontal)
      Bands.push_back(Even ? base::Rect(Offset, From, W, To) : base::Rect(0, From, W - Offset, To));
    else
      Bands.push_back(Even ? base::Rect(From, 0, To, H - Offset) : base::Rect(From, Offset, To, H));
  }
  return Bands;
}

int64_t RainStrewCount(int Width, int Height, int Position) {
  return (int64_t{Position} + 1) * (int64_t{Width} * Height / 2) + 1;
}

void StrewPoints(int Width, int Height, int Position, std::mt19937& Random,
                 const std::function<void(int X, int Y)>& Strew) {
  if (Width <= 0 || Height <= 0) return;
  std::uniform_int_distribution<int> Across(0, Width - 1);
  std::uniform_int_distribution<int> Down(0, Height - 1);
  const int64_t Count = RainStrewCount(Width, Height, Position);
  for (int64_t Done = 0; Done < Count; ++Done) {
    const int X = Across(Random);
    const int Y = Down(Random);
    Strew(X, Y);
  }
}

std::vector<TFallPass> WizardFallPasses(int Frames, bool FullRound, TFallDirection Direction) {
  if (!FullRound) return {{0, Frames, Frames - 1, Direction}};
  const int Half = Frames / 2;
  return {{0, Half, Half - 1, Direction}, {Half, Frames - Half - 1, Frames - 1, OppositeDirection(Direction)}};
}

TRunCheck CheckEffectRun(int FirstFrame, int CountFrame, int FrameCount) {
  if (FirstFrame < 1) return {std::nullopt, "First frame<1."};
  if (CountFrame < 2) return {std::nullopt, "Count of frame<2."};
  const int64_t Target = int64_t{FirstFrame} + CountFrame - 2;
  if (Target > FrameCount - 1) return {std::nullopt, RangeMessage};
  return {TEffectRun{FirstFrame - 1, static_cast<int>(Target)}, {}};
}

}  // namespace editor
