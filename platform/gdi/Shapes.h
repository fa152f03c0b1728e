// Closed shapes: outlined with the DC's pen and filled with its brush, both through
// the DC's binary raster operation; every pixel is painted once, by the pen or by the
// brush. Bounding boxes are normalised (corners in any order) and their right and
// bottom edges are excluded. A thin or inside-frame pen draws the outermost pixels of
// the shape, a wider solid pen a band of its width centred on them; with the null pen
// the brush fills the whole box.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Lines.h"

namespace gdi {

// Each is false with ERROR_INVALID_HANDLE when DC holds no bitmap.
bool Rectangle(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
bool Ellipse(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);
// The polygon through Count points, closed back to the first, filled by the DC's
// polygon fill mode; its outline runs through the points themselves.
bool Polygon(HDC DC, const POINT* Points, int Count);
// A one-pixel frame on the inside of Rect with Brush (copied, not combined).
bool FrameRect(HDC DC, const base::TRect& Rect, HBRUSH Brush);
// The part of the ellipse's outline that runs counter-clockwise from the ray through
// (XStart, YStart) to the ray through (XEnd, YEnd), both from the box's centre; the
// whole outline when the rays coincide.
bool Arc(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t XStart, int32_t YStart, int32_t XEnd,
         int32_t YEnd);

}  // namespace gdi
