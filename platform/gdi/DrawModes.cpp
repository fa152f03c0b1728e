#include "platform/gdi/DrawModes.h"

#include <utility>

#include "platform/gdi/DC.h"
#include "platform/gdi/LastError.h"

namespace gdi {
namespace {

int Exchange(HDC DC, int DCObject::*Field, int Value, int Low, int High) {
  if (DC == nullptr || Value < Low || Value > High) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return std::exchange(DC->*Field, Value);
}

}  // namespace

int SetROP2(HDC DC, int Mode) { return Exchange(DC, &DCObject::Rop2, Mode, R2_BLACK, R2_WHITE); }
int GetROP2(HDC DC) { return DC == nullptr ? 0 : DC->Rop2; }
int SetBkMode(HDC DC, int Mode) { return Exchange(DC, &DCObject::BkMode, Mode, TRANSPARENT, OPAQUE); }
int GetBkMode(HDC DC) { return DC == nullptr ? 0 : DC->BkMode; }
int SetPolyFillMode(HDC DC, int Mode) { return Exchange(DC, &DCObject::PolyFillMode, Mode, ALTERNATE, WINDING); }
int GetPolyFillMode(HDC DC) { return DC == nullptr ? 0 : DC->PolyFillMode; }

uint32_t GetTextColor(HDC DC) { return DC == nullptr ? CLR_INVALID : DC->TextColor; }
uint32_t GetBkColor(HDC DC) { return DC == nullptr ? CLR_INVALID : DC->BkColor; }

uint32_t SetTextAlign(HDC DC, uint32_t Align) {
  if (DC == nullptr) return GDI_ERROR;
  return std::exchange(DC->TextAlign, Align & (TA_CENTER | TA_BASELINE));
}

uint32_t GetTextAlign(HDC DC) { return DC == nullptr ? GDI_ERROR : DC->TextAlign; }

}  // namespace gdi
