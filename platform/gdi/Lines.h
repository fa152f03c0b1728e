// Lines with the DC's pen and binary raster operation. A line runs from the current
// position (or a point) to its end point, which it does not draw, so lines drawn
// end to end touch every pixel once.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"

namespace gdi {

using POINT = base::TPoint;

// Sets the current position; Old (when given) receives the one before. False for no DC.
bool MoveToEx(HDC DC, int32_t X, int32_t Y, POINT* Old);
bool GetCurrentPositionEx(HDC DC, POINT* Position);
// Draws from the current position to (X, Y) and makes that the current position.
// False with ERROR_INVALID_HANDLE when DC holds no bitmap (the position still moves).
bool LineTo(HDC DC, int32_t X, int32_t Y);
// Lines through Count points; the current position is neither used nor changed.
bool Polyline(HDC DC, const POINT* Points, int Count);

}  // namespace gdi
