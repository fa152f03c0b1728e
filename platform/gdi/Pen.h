// Pens: the outline of lines and shapes. Styles other than solid apply to pens of
// width 1 only; a wider pen of such a style draws solid. A width of 0 counts as 1.
#pragma once

#include <cstdint>

#include "platform/gdi/Color.h"
#include "platform/gdi/Object.h"

namespace gdi {

enum PenStyle : int {
  PS_SOLID = 0,
  PS_DASH = 1,
  PS_DOT = 2,
  PS_DASHDOT = 3,
  PS_DASHDOTDOT = 4,
  PS_NULL = 5,
  PS_INSIDEFRAME = 6,  // a shape's outline stays inside its bounding box
};

struct LOGPEN {
  uint32_t lopnStyle = PS_SOLID;
  int32_t lopnWidth = 1;  // only the x of the original point is used
  COLORREF lopnColor = 0;
};

class PenObject : public GdiObject {
 public:
  explicit PenObject(const LOGPEN& Description) : GdiObject(ObjectKind::Pen), Description(Description) {}
  const LOGPEN Description;

  int Style() const { return static_cast<int>(Description.lopnStyle); }
  int Width() const { return Description.lopnWidth < 1 ? 1 : Description.lopnWidth; }
  COLORREF Color() const { return Description.lopnColor; }
  // The style after the width rule: dashes and dots only on thin pens.
  int EffectiveStyle() const;
};

using HPEN = PenObject*;

// 0 with ERROR_INVALID_PARAMETER for an unknown style or a negative width.
HPEN CreatePen(int Style, int Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN* Description);

}  // namespace gdi
