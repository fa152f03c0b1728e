// The stock pens, brushes and fonts, and GetObject for those kinds (Object.h).
#pragma once

#include "platform/gdi/Object.h"

namespace gdi {

// The stock object Which among the brushes, pens and fonts; 0 for any other.
HGDIOBJ StockDrawingObject(int Which);

// GetObject of a pen (LOGPEN), brush (LOGBRUSH) or font (LOGFONT); 0 for other kinds.
int DescribeDrawingObject(HGDIOBJ Object, int Size, void* Buffer);

}  // namespace gdi
