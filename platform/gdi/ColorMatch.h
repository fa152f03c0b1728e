// Colours as the transfer engine handles them, and nearest-colour matching against a
// colour table.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Color.h"
#include "platform/gdi/DIB.h"

namespace gdi {

// 0x00RRGGBB: the layout of a 24- or 32-bit DIB pixel read as a little-endian number.
using XRGB = uint32_t;

constexpr XRGB MakeXRGB(uint32_t Red, uint32_t Green, uint32_t Blue) { return (Red << 16) | (Green << 8) | Blue; }
constexpr XRGB XRGBOf(const RGBQUAD& Quad) { return MakeXRGB(Quad.rgbRed, Quad.rgbGreen, Quad.rgbBlue); }
constexpr XRGB XRGBOf(COLORREF Color) { return MakeXRGB(GetRValue(Color), GetGValue(Color), GetBValue(Color)); }
constexpr COLORREF ColorRefOf(XRGB Color) { return RGB((Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF); }

// Index of the entry nearest to (Red, Green, Blue) by squared RGB distance; the first of
// equal distances wins. Entry gives the red, green and blue of entry I.
template <class EntryColor>
uint32_t NearestIndex(uint32_t Count, int Red, int Green, int Blue, EntryColor Entry) {
  uint32_t Best = 0;
  int BestDistance = 3 * 255 * 255 + 1;
  for (uint32_t I = 0; I < Count; ++I) {
    const XRGB C = Entry(I);
    const int R = static_cast<int>((C >> 16) & 0xFF) - Red;
    const int G = static_cast<int>((C >> 8) & 0xFF) - Green;
    const int B = static_cast<int>(C & 0xFF) - Blue;
    const int Distance = R * R + G * G + B * B;
    if (Distance < BestDistance) {
      Best = I;
      BestDistance = Distance;
      if (Distance == 0) break;
    }
  }
  return Best;
}

uint32_t NearestIndex(const RGBQUAD* Colors, uint32_t Count, XRGB Color);

// Nearest entries of a table of at most 256 colours, with the same answers as
// NearestIndex. Answers are remembered per colour, and a search only visits the
// entries that can be nearest to some colour of the 16 x 16 x 16 cell the colour lies
// in, so that converting a large picture of many colours stays fast.
class NearestCache {
 public:
  NearestCache(const RGBQUAD* Colors, uint32_t Count);
  uint32_t Find(XRGB Color);

 private:
  const std::vector<uint8_t>& Candidates(uint32_t Cell);

  const RGBQUAD* Colors;
  uint32_t Count;
  std::vector<uint32_t> Keys;
  std::vector<uint8_t> Indexes;
  std::vector<std::vector<uint8_t>> Cells;
  std::vector<bool> CellBuilt;
};

}  // namespace gdi
