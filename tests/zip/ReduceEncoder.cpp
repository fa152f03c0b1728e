#include "tests/zip/ReduceEncoder.h"

#include <algorithm>
#include <array>

#include "tests/zip/BitWriter.h"
#include "tests/zip/MatchFinder.h"

namespace ziptest {

namespace {

constexpr uint8_t Escape = 144;

int IndexBits(int Count) {
  int Bits = 1;
  while ((1 << Bits) < Count) ++Bits;
  return Bits;
}

}  // namespace

std::vector<uint8_t> ReduceMatches(const std::vector<uint8_t>& Data, int Factor) {
  const uint32_t LengthMask = 0xFFu >> Factor;
  const int DistanceShift = 8 - Factor;
  const uint32_t MaxDistance = 256u << Factor;
  TMatchFinder Finder(Data, MaxDistance, LengthMask + 255 + 3);
  std::vector<uint8_t> Out;
  size_t Position = 0;
  while (Position < Data.size()) {
    // A first byte of 0 after the escape would read as a literal 144.
    const TMatch Match = Finder.Find(Position, 3, [&](uint32_t Distance, uint32_t Length) {
      return Distance > 256 || Length > 3;
    });
    if (Match.Distance == 0) {
      Out.push_back(Data[Position]);
      if (Data[Position] == Escape) Out.push_back(0);
      Finder.Insert(Position++);
      continue;
    }
    const uint32_t Length = Match.Length - 3;
    const uint32_t Distance = Match.Distance - 1;
    Out.push_back(Escape);
    Out.push_back(static_cast<uint8_t>((Distance >> 8) << DistanceShift | std::min(Length, LengthMask)));
    if (Length >= LengthMask) Out.push_back(static_cast<uint8_t>(Length - LengthMask));
    Out.push_back(static_cast<uint8_t>(Distance));
    for (uint32_t I = 0; I < Match.Length; ++I) Finder.Insert(Position++);
  }
  return Out;
}

std::vector<uint8_t> ReduceFollowers(const std::vector<uint8_t>& Escaped, int MaxFollowers) {
  std::array<std::array<int, 256>, 256> Pairs{};
  uint8_t Last = 0;
  for (uint8_t Byte : Escaped) {
    ++Pairs[Last][Byte];
    Last = Byte;
  }
  std::array<std::vector<uint8_t>, 256> Followers;
  for (int Lead = 0; Lead < 256; ++Lead) {
    for (int Byte = 0; Byte < 256; ++Byte) {
      if (Pairs[Lead][Byte] > 0) Followers[Lead].push_back(static_cast<uint8_t>(Byte));
    }
    std::stable_sort(Followers[Lead].begin(), Followers[Lead].end(),
                     [&](uint8_t A, uint8_t B) { return Pairs[Lead][A] > Pairs[Lead][B]; });
    if (int(Followers[Lead].size()) > MaxFollowers) Followers[Lead].resize(MaxFollowers);
  }

  TBitWriter Bits;
  for (int Lead = 255; Lead >= 0; --Lead) {
    Bits.Put(static_cast<uint32_t>(Followers[Lead].size()), 6);
    for (uint8_t Byte : Followers[Lead]) Bits.Put(Byte, 8);
  }
  Last = 0;
  for (uint8_t Byte : Escaped) {
    const std::vector<uint8_t>& Set = Followers[Last];
    const auto Found = std::find(Set.begin(), Set.end(), Byte);
    if (Set.empty()) {
      Bits.Put(Byte, 8);
    } else if (Found == Set.end()) {
      Bits.Put(1, 1);
      Bits.Put(Byte, 8);
    } else {
      Bits.Put(0, 1);
      Bits.Put(static_cast<uint32_t>(Found - Set.begin()), IndexBits(static_cast<int>(Set.size())));
    }
    Last = Byte;
  }
  return Bits.Data();
}

}  // namespace ziptest
