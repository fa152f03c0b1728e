// Brushes: the pattern of PATCOPY, FillRect and the interior of shapes. Solid brushes
// fill with their colour; hatched ones draw 8 x 8 hatch lines in their colour over the
// background colour (or over what is there in the TRANSPARENT background mode); null
// brushes fill nothing. Blits use the colour of any brush as a solid pattern.
#pragma once

#include <cstdint>

#include "platform/gdi/Color.h"
#include "platform/gdi/Object.h"

namespace gdi {

enum BrushStyle : uint32_t { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2 };

enum HatchStyle : int {
  HS_HORIZONTAL = 0,  // -----
  HS_VERTICAL = 1,    // |||||
  HS_FDIAGONAL = 2,   // \\\\\ (top left to bottom right)
  HS_BDIAGONAL = 3,   // ///// (bottom left to top right)
  HS_CROSS = 4,       // +++++
  HS_DIAGCROSS = 5,   // xxxxx
};

struct LOGBRUSH {
  uint32_t lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;  // a HatchStyle for BS_HATCHED
};

class BrushObject : public GdiObject {
 public:
  explicit BrushObject(COLORREF Color) : GdiObject(ObjectKind::Brush), Color(Color) {}
  BrushObject(uint32_t Style, COLORREF Color, int Hatch)
      : GdiObject(ObjectKind::Brush), Color(Color), Style(Style), Hatch(Hatch) {}
  const COLORREF Color;
  const uint32_t Style = BS_SOLID;
  const int Hatch = HS_HORIZONTAL;
};

using HBRUSH = BrushObject*;

HBRUSH CreateSolidBrush(COLORREF Color);
// 0 with ERROR_INVALID_PARAMETER for an unknown hatch.
HBRUSH CreateHatchBrush(int Hatch, COLORREF Color);
// Solid, null and hatched brushes; 0 with ERROR_INVALID_PARAMETER for other styles.
HBRUSH CreateBrushIndirect(const LOGBRUSH* Description);

// Whether the hatch of Style has a line through pixel (X, Y); the pattern repeats
// every 8 pixels from the bitmap's origin.
bool HatchCovers(int Hatch, int32_t X, int32_t Y);

}  // namespace gdi
