#include "platform/gdi/PixelSet.h"

#include <algorithm>

namespace gdi {

void PixelSet::Add(int32_t Y, int32_t Left, int32_t Right) {
  if (Y < 0 || Y >= Height) return;
  Left = std::max(Left, 0);
  Right = std::min(Right, Width);
  if (Left >= Right) return;
  if (Normal && !Items.empty()) {
    const PixelRun& Last = Items.back();
    Normal = Y > Last.Y || (Y == Last.Y && Left > Last.Right);
  }
  Items.push_back({Y, Left, Right});
}

void PixelSet::Normalize() const {
  if (Normal) return;
  std::sort(Items.begin(), Items.end(),
            [](const PixelRun& A, const PixelRun& B) { return A.Y != B.Y ? A.Y < B.Y : A.Left < B.Left; });
  size_t Kept = 0;
  for (const PixelRun& Run : Items) {
    if (Kept > 0 && Items[Kept - 1].Y == Run.Y && Run.Left <= Items[Kept - 1].Right) {
      Items[Kept - 1].Right = std::max(Items[Kept - 1].Right, Run.Right);
    } else {
      Items[Kept++] = Run;
    }
  }
  Items.resize(Kept);
  Normal = true;
}

const std::vector<PixelRun>& PixelSet::Runs() const {
  Normalize();
  return Items;
}

void PixelSet::Subtract(const PixelSet& Other) {
  const std::vector<PixelRun>& Mine = Runs();
  const std::vector<PixelRun>& Theirs = Other.Runs();
  std::vector<PixelRun> Result;
  size_t J = 0;
  for (PixelRun Run : Mine) {
    while (J < Theirs.size() && (Theirs[J].Y < Run.Y || (Theirs[J].Y == Run.Y && Theirs[J].Right <= Run.Left))) ++J;
    for (size_t K = J; K < Theirs.size() && Theirs[K].Y == Run.Y && Theirs[K].Left < Run.Right; ++K) {
      if (Theirs[K].Left > Run.Left) Result.push_back({Run.Y, Run.Left, Theirs[K].Left});
      Run.Left = std::max(Run.Left, Theirs[K].Right);
    }
    if (Run.Left < Run.Right) Result.push_back(Run);
  }
  Items = std::move(Result);
  Normal = true;
}

}  // namespace gdi
