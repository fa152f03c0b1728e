#include "platform/gdi/Pen.h"

#include "platform/gdi/LastError.h"

namespace gdi {

int PenObject::EffectiveStyle() const {
  const int S = Style();
  if (Width() > 1 && S >= PS_DASH && S <= PS_DASHDOTDOT) return PS_SOLID;
  return S;
}

HPEN CreatePen(int Style, int Width, COLORREF Color) {
  LOGPEN Description;
  Description.lopnStyle = static_cast<uint32_t>(Style);
  Description.lopnWidth = Width;
  Description.lopnColor = Color;
  return CreatePenIndirect(&Description);
}

HPEN CreatePenIndirect(const LOGPEN* Description) {
  if (Description == nullptr || Description->lopnStyle > PS_INSIDEFRAME || Description->lopnWidth < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return new PenObject(*Description);
}

}  // namespace gdi
