// The pixels a pen draws: along a path of points (lines, polylines, polygon edges)
// or around the ring of a closed shape. Thin pens draw each segment without its end
// point and carry their dash pattern along the path; wide pens draw every segment as
// a band of their width with round ends, centred on it.
#pragma once

#include <vector>

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/PixelSet.h"

namespace gdi {

struct Stroke {
  PixelSet On;
  PixelSet Gaps;  // the gaps of a dashed or dotted pen, painted only in OPAQUE mode
  explicit Stroke(const DCObject& DC);
};

// Whether a dashed or dotted style draws its pixel number Index.
bool StyleDraws(int Style, int64_t Index);

Stroke PathStroke(const DCObject& DC, const std::vector<base::TPoint>& Points, bool Closed);
// Ring is a closed outline one pixel wide or more; a thin styled pen follows it around
// (CX, CY) in order of angle.
Stroke RingStroke(const DCObject& DC, const PixelSet& Ring, double CX, double CY);

// Paints the stroke with DC's pen colour and binary raster operation.
void PaintStroke(const DCObject& DC, const Stroke& Pixels);

}  // namespace gdi
