#include "tests/zip/MatchFinder.h"

namespace ziptest {

TMatchFinder::TMatchFinder(const std::vector<uint8_t>& Data, uint32_t MaxDistance, uint32_t MaxLength)
    : Data(Data), MaxDistance(MaxDistance), MaxLength(MaxLength), Head(1 << 14, -1), Chain(Data.size(), -1) {}

uint32_t TMatchFinder::Hash(size_t Position) const {
  return ((Data[Position] << 10) ^ (Data[Position + 1] << 5) ^ Data[Position + 2]) & ((1 << 14) - 1);
}

void TMatchFinder::Insert(size_t Position) {
  if (Position + 3 > Data.size()) return;
  const uint32_t H = Hash(Position);
  Chain[Position] = Head[H];
  Head[H] = static_cast<int64_t>(Position);
}

}  // namespace ziptest
