#include "platform/gdi/ColorMatch.h"

#include <cstddef>

namespace gdi {
namespace {
constexpr int CacheBits = 16;
constexpr uint32_t Filled = 0x80000000;
}  // namespace

uint32_t NearestIndex(const RGBQUAD* Colors, uint32_t Count, XRGB Color) {
  return NearestIndex(Count, (Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF,
                      [Colors](uint32_t I) { return XRGBOf(Colors[I]); });
}

NearestCache::NearestCache(const RGBQUAD* Colors, uint32_t Count)
    : Colors(Colors), Count(Count), Keys(size_t{1} << CacheBits, 0), Indexes(size_t{1} << CacheBits, 0) {}

uint32_t NearestCache::Find(XRGB Color) {
  Color &= 0xFFFFFF;
  const uint32_t Slot = (Color * 0x9E3779B1u) >> (32 - CacheBits);
  if (Keys[Slot] != (Color | Filled)) {
    Keys[Slot] = Color | Filled;
    Indexes[Slot] = static_cast<uint8_t>(NearestIndex(Colors, Count, Color));
  }
  return Indexes[Slot];
}

}  // namespace gdi
