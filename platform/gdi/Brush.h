// Solid brushes: the pattern of PATCOPY and FillRect.
#pragma once

#include "platform/gdi/Color.h"
#include "platform/gdi/Object.h"

namespace gdi {

class BrushObject : public GdiObject {
 public:
  explicit BrushObject(COLORREF Color) : GdiObject(ObjectKind::Brush), Color(Color) {}
  const COLORREF Color;
};

using HBRUSH = BrushObject*;

HBRUSH CreateSolidBrush(COLORREF Color);

}  // namespace gdi
