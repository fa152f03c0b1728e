// Colour lookups: map an RGB colour to an index of a target palette and give back the
// colour that index produces, which the ditherers need to compute their error.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/base/Object.h"
#include "platform/gdi/Palette.h"

namespace gif {

class TColorLookup : public base::TObject {
 public:
  ANIMORA_CLASS(TColorLookup)
  explicit TColorLookup(int32_t Colors) : FColors(Colors) {}

  // The palette index for (Red, Green, Blue); R, G, B receive that entry's colour.
  virtual uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) = 0;
  // Palette entries served; 0 means the lookup must not be used.
  int32_t Colors() const { return FColors; }

 protected:
  int32_t FColors;
};

// Nearest entry of a palette (at most its first 256 entries) by the sum of the channel
// differences. The answer for the first colour met in each 5-5-5 cell is kept and
// given to every later colour of that cell, so the search runs once per cell.
class TFastColorLookup : public TColorLookup {
 public:
  ANIMORA_CLASS(TFastColorLookup)
  explicit TFastColorLookup(gdi::HPALETTE Palette);

  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;

 private:
  // The 5-5-5 cell of a colour: a palette index, or -1 until it is searched.
  int16_t& CellOf(uint8_t Red, uint8_t Green, uint8_t Blue);

  std::array<gdi::PALETTEENTRY, 256> EntryColors{};
  std::vector<int16_t> ReverseColors;
};

// The 6 x 6 x 6 web colour cube; the level steps fall at 48, 99, 150, 201 and 252.
class TNetscapeColorLookup : public TColorLookup {
 public:
  ANIMORA_CLASS(TNetscapeColorLookup)
  TNetscapeColorLookup() : TColorLookup(216) {}
  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;
};

// 256 greys by luminance (77 R + 150 G + 29 B) / 256.
class TGrayScaleLookup : public TColorLookup {
 public:
  ANIMORA_CLASS(TGrayScaleLookup)
  TGrayScaleLookup() : TColorLookup(256) {}
  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;
};

// Black (0) or white (1): white when 77 R + 150 G + 29 B exceeds 32512.
class TMonochromeLookup : public TColorLookup {
 public:
  ANIMORA_CLASS(TMonochromeLookup)
  TMonochromeLookup() : TColorLookup(2) {}
  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override;
};

}  // namespace gif
