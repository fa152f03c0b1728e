// The curves of metafile records as points in logical coordinates, for shapes the
// player draws as polygons and polylines.
#pragma once

#include <vector>

#include "platform/base/Types.h"

namespace graphics {

struct TVertex {
  double X = 0;
  double Y = 0;
};

// The arc of the ellipse in the box with corners A and B from the ray through Start
// to the ray through End, counter-clockwise as y grows downwards (clockwise when
// Clockwise), both ends included; the whole ellipse when the rays coincide.
std::vector<TVertex> ArcVertices(base::TPoint A, base::TPoint B, base::TPoint Start, base::TPoint End, bool Clockwise);
// The outline of the box with corners A and B, its corners rounded by quarters of an
// ellipse of CornerW x CornerH.
std::vector<TVertex> RoundRectVertices(base::TPoint A, base::TPoint B, int CornerW, int CornerH);
// Cubic Bezier curves from From through Controls (three points per curve; a
// remainder is ignored), From excluded.
std::vector<TVertex> BezierVertices(base::TPoint From, const std::vector<base::TPoint>& Controls);

}  // namespace graphics
