// Ditherers pick the palette index of each pixel of a row through a colour lookup.
// Rows are walked serpentine: the first left to right, the next right to left, and so
// on. Callers walk from Column() in steps of Direction() while the column lies in the
// row, call Dither for each pixel (it advances the column) or StepColumn to skip one,
// and TurnRow after each row. This base class diffuses no error.
#pragma once

#include <cstdint>

#include "gif/ColorLookup.h"
#include "platform/base/Object.h"

namespace gif {

class TDitherEngine : public base::TObject {
 public:
  ANIMORA_CLASS(TDitherEngine)
  // Lookup stays the caller's.
  TDitherEngine(int32_t AWidth, TColorLookup* Lookup) : FLookup(Lookup), FWidth(AWidth) {}

  // The palette index for the pixel; R, G, B receive the colour it produces.
  virtual uint8_t Dither(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B);
  virtual void TurnRow();
  void StepColumn() { FColumn += FDirection; }

  int32_t Direction() const { return FDirection; }
  int32_t Column() const { return FColumn; }
  int32_t Width() const { return FWidth; }
  TColorLookup* Lookup() const { return FLookup; }

 protected:
  int32_t FDirection = 1;
  int32_t FColumn = 0;
  TColorLookup* FLookup;
  int32_t FWidth;
};

}  // namespace gif
