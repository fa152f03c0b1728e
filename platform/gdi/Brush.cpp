#include "platform/gdi/Brush.h"

namespace gdi {

HBRUSH CreateSolidBrush(COLORREF Color) { return new BrushObject(Color); }

}  // namespace gdi
