#include "platform/gdi/Brush.h"

#include "platform/gdi/LastError.h"

namespace gdi {

HBRUSH CreateSolidBrush(COLORREF Color) { return new BrushObject(Color); }

HBRUSH CreateHatchBrush(int Hatch, COLORREF Color) {
  if (Hatch < HS_HORIZONTAL || Hatch > HS_DIAGCROSS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return new BrushObject(BS_HATCHED, Color, Hatch);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* Description) {
  if (Description != nullptr) {
    switch (Description->lbStyle) {
      case BS_SOLID: return CreateSolidBrush(Description->lbColor);
      case BS_NULL: return new BrushObject(BS_NULL, Description->lbColor, HS_HORIZONTAL);
      case BS_HATCHED:
        if (Description->lbHatch <= HS_DIAGCROSS)
          return CreateHatchBrush(static_cast<int>(Description->lbHatch), Description->lbColor);
        break;
      default: break;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

bool HatchCovers(int Hatch, int32_t X, int32_t Y) {
  const bool Row = (Y & 7) == 0;
  const bool Column = (X & 7) == 0;
  const bool Falling = ((X - Y) & 7) == 0;
  const bool Rising = ((X + Y) & 7) == 7;
  switch (Hatch) {
    case HS_HORIZONTAL: return Row;
    case HS_VERTICAL: return Column;
    case HS_FDIAGONAL: return Falling;
    case HS_BDIAGONAL: return Rising;
    case HS_CROSS: return Row || Column;
    case HS_DIAGCROSS: return Falling || Rising;
    default: return false;
  }
}

}  // namespace gdi
