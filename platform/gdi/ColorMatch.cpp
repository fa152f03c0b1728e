#include "platform/gdi/ColorMatch.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace gdi {
namespace {

constexpr int CacheBits = 16;
constexpr uint32_t Filled = 0x80000000;
constexpr int CellBits = 4;  // per channel
constexpr int CellSize = 256 >> CellBits;

// Smallest and largest squared distance along one channel from Level to the cell
// [Low, Low + CellSize).
void ChannelRange(int Level, int Low, int& Near, int& Far) {
  const int High = Low + CellSize - 1;
  const int Inside = Level < Low ? Low - Level : (Level > High ? Level - High : 0);
  const int Outside = std::max(std::abs(Level - Low), std::abs(Level - High));
  Near = Inside * Inside;
  Far = Outside * Outside;
}

}  // namespace

uint32_t NearestIndex(const RGBQUAD* Colors, uint32_t Count, XRGB Color) {
  return NearestIndex(Count, (Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF,
                      [Colors](uint32_t I) { return XRGBOf(Colors[I]); });
}

NearestCache::NearestCache(const RGBQUAD* Colors, uint32_t Count)
    : Colors(Colors),
      Count(std::min<uint32_t>(Count, 256)),
      Keys(size_t{1} << CacheBits, 0),
      Indexes(size_t{1} << CacheBits, 0),
      Cells(size_t{1} << (3 * CellBits)),
      CellBuilt(size_t{1} << (3 * CellBits), false) {}

// The entries whose nearest possible distance to the cell is within the smallest
// farthest distance of any entry: only those can be nearest to a colour in it, and
// they keep their order, so ties still go to the first.
const std::vector<uint8_t>& NearestCache::Candidates(uint32_t Cell) {
  std::vector<uint8_t>& List = Cells[Cell];
  if (CellBuilt[Cell]) return List;
  CellBuilt[Cell] = true;
  const int Low[3] = {static_cast<int>(Cell >> (2 * CellBits)) * CellSize,
                      static_cast<int>((Cell >> CellBits) & ((1 << CellBits) - 1)) * CellSize,
                      static_cast<int>(Cell & ((1 << CellBits) - 1)) * CellSize};
  std::vector<int> NearDistance(Count);
  int Bound = 3 * 255 * 255 + 1;
  for (uint32_t I = 0; I < Count; ++I) {
    const int Level[3] = {Colors[I].rgbRed, Colors[I].rgbGreen, Colors[I].rgbBlue};
    int Near = 0, Far = 0;
    for (int C = 0; C < 3; ++C) {
      int N = 0, F = 0;
      ChannelRange(Level[C], Low[C], N, F);
      Near += N;
      Far += F;
    }
    NearDistance[I] = Near;
    Bound = std::min(Bound, Far);
  }
  for (uint32_t I = 0; I < Count; ++I)
    if (NearDistance[I] <= Bound) List.push_back(static_cast<uint8_t>(I));
  return List;
}

uint32_t NearestCache::Find(XRGB Color) {
  Color &= 0xFFFFFF;
  const uint32_t Slot = (Color * 0x9E3779B1u) >> (32 - CacheBits);
  if (Keys[Slot] == (Color | Filled)) return Indexes[Slot];
  const int Red = (Color >> 16) & 0xFF, Green = (Color >> 8) & 0xFF, Blue = Color & 0xFF;
  const uint32_t Cell = (static_cast<uint32_t>(Red >> (8 - CellBits)) << (2 * CellBits)) |
                        (static_cast<uint32_t>(Green >> (8 - CellBits)) << CellBits) |
                        static_cast<uint32_t>(Blue >> (8 - CellBits));
  const std::vector<uint8_t>& List = Candidates(Cell);
  const uint32_t Pick = NearestIndex(static_cast<uint32_t>(List.size()), Red, Green, Blue,
                                     [this, &List](uint32_t I) { return XRGBOf(Colors[List[I]]); });
  Keys[Slot] = Color | Filled;
  Indexes[Slot] = List.empty() ? 0 : List[Pick];
  return Indexes[Slot];
}

}  // namespace gdi
