// Greedy longest-match search over a bounded window for the test encoders, through hash
// chains of three-byte prefixes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ziptest {

struct TMatch {
  uint32_t Distance = 0;  // 0: no match
  uint32_t Length = 0;
};

class TMatchFinder {
 public:
  TMatchFinder(const std::vector<uint8_t>& Data, uint32_t MaxDistance, uint32_t MaxLength);
  // The longest match at Position of at least MinLength bytes that Accept takes; then
  // Position is entered into the chains.
  template <typename Acceptor>
  TMatch Find(size_t Position, uint32_t MinLength, Acceptor Accept);
  void Insert(size_t Position);

 private:
  uint32_t Hash(size_t Position) const;

  const std::vector<uint8_t>& Data;
  uint32_t MaxDistance;
  uint32_t MaxLength;
  std::vector<int64_t> Head;
  std::vector<int64_t> Chain;
};

template <typename Acceptor>
TMatch TMatchFinder::Find(size_t Position, uint32_t MinLength, Acceptor Accept) {
  TMatch Best;
  if (Position + 3 <= Data.size()) {
    int Tries = 64;
    for (int64_t Candidate = Head[Hash(Position)]; Candidate >= 0 && Tries-- > 0; Candidate = Chain[Candidate]) {
      const uint32_t Distance = static_cast<uint32_t>(Position - Candidate);
      if (Distance > MaxDistance) break;
      uint32_t Length = 0;
      while (Length < MaxLength && Position + Length < Data.size() && Data[Candidate + Length] == Data[Position + Length]) {
        ++Length;
      }
      if (Length >= MinLength && Length > Best.Length && Accept(Distance, Length)) Best = {Distance, Length};
    }
  }
  return Best;
}

}  // namespace ziptest
