#include "gif/ColorLookup.h"

#include <cstdlib>

namespace gif {
namespace {

constexpr int Luminance(uint8_t Red, uint8_t Green, uint8_t Blue) { return 77 * Red + 150 * Green + 29 * Blue; }

}  // namespace

TFastColorLookup::TFastColorLookup(gdi::HPALETTE Palette)
    : TColorLookup(0), ReverseColors(32768, -1) {
  FColors = static_cast<int32_t>(gdi::GetPaletteEntries(Palette, 0, 256, EntryColors.data()));
  // Each entry answers for its own cell from the start; the lowest index wins.
  for (int I = 0; I < FColors; ++I) {
    const gdi::PALETTEENTRY& E = EntryColors[I];
    int16_t& Cell = CellOf(E.peRed, E.peGreen, E.peBlue);
    if (Cell < 0) Cell = static_cast<int16_t>(I);
  }
}

int16_t& TFastColorLookup::CellOf(uint8_t Red, uint8_t Green, uint8_t Blue) {
  return ReverseColors[(Blue >> 3) * 1024 + (Green >> 3) * 32 + (Red >> 3)];
}

uint8_t TFastColorLookup::Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  int16_t& Cell = CellOf(Red, Green, Blue);
  if (Cell < 0) {
    int Best = 0;
    int BestDistance = 0x30000;
    for (int I = 0; I < FColors; ++I) {
      const gdi::PALETTEENTRY& E = EntryColors[I];
      const int Distance = std::abs(Red - E.peRed) + std::abs(Green - E.peGreen) + std::abs(Blue - E.peBlue);
      if (Distance < BestDistance) {
        Best = I;
        BestDistance = Distance;
      }
    }
    Cell = static_cast<int16_t>(Best);
  }
  const gdi::PALETTEENTRY& E = EntryColors[Cell];
  R = E.peRed;
  G = E.peGreen;
  B = E.peBlue;
  return static_cast<uint8_t>(Cell);
}

uint8_t TNetscapeColorLookup::Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  const int Rl = (Red + 3) / 51, Gl = (Green + 3) / 51, Bl = (Blue + 3) / 51;
  R = static_cast<uint8_t>(51 * Rl);
  G = static_cast<uint8_t>(51 * Gl);
  B = static_cast<uint8_t>(51 * Bl);
  return static_cast<uint8_t>(36 * Rl + 6 * Gl + Bl);
}

uint8_t TGrayScaleLookup::Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  const auto Grey = static_cast<uint8_t>(Luminance(Red, Green, Blue) >> 8);
  R = G = B = Grey;
  return Grey;
}

uint8_t TMonochromeLookup::Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) {
  const bool White = Luminance(Red, Green, Blue) > 32512;
  R = G = B = White ? 255 : 0;
  return White ? 1 : 0;
}

}  // namespace gif
