// Colour values of the drawing calls: 0x00BBGGRR, with the top byte telling how the
// colour is meant (an RGB value, an index into the DC's palette, or an RGB value to be
// matched in that palette).
#pragma once

#include <cstdint>

namespace gdi {

using COLORREF = uint32_t;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr COLORREF RGB(uint8_t Red, uint8_t Green, uint8_t Blue) {
  return Red | (uint32_t{Green} << 8) | (uint32_t{Blue} << 16);
}
constexpr uint8_t GetRValue(COLORREF Color) { return Color & 0xFF; }
constexpr uint8_t GetGValue(COLORREF Color) { return (Color >> 8) & 0xFF; }
constexpr uint8_t GetBValue(COLORREF Color) { return (Color >> 16) & 0xFF; }

// Entry Index of the palette selected into the DC that draws with the colour.
constexpr COLORREF PALETTEINDEX(uint16_t Index) { return 0x01000000 | Index; }
// An RGB value matched against the DC's palette; on this true-colour device it is the
// RGB value itself.
constexpr COLORREF PALETTERGB(uint8_t Red, uint8_t Green, uint8_t Blue) { return 0x02000000 | RGB(Red, Green, Blue); }

}  // namespace gdi
