// Scan conversion of the geometric parts of lines and shapes into pixel sets. Points
// name pixels: the centre of pixel (x, y) lies at (x, y) for polygons, discs and
// lines, and a pixel belongs to a polygon when its centre lies inside, centres on a
// left or top edge counting as inside and those on a right or bottom edge not.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/base/Types.h"
#include "platform/gdi/PixelSet.h"

namespace gdi {

struct Vertex {
  double X = 0;
  double Y = 0;
};

void AddPolygon(PixelSet& Pixels, const std::vector<Vertex>& Points, bool Winding);
// Pixels whose centres lie within Radius of (X, Y).
void AddDisc(PixelSet& Pixels, double X, double Y, double Radius);
// Calls Visit(X, Y, I) for the pixels a line from A to B passes, B excluded, where I
// counts the pixels from A; only those whose major coordinate lies inside
// [0, Width) x [0, Height) are visited, so far-off lines cost nothing.
template <class Visitor>
void ForEachLinePixel(base::TPoint A, base::TPoint B, int32_t Width, int32_t Height, Visitor Visit);

// A shape with one run per row: Runs[i] covers row Top + i as [first, second).
struct RowShape {
  int32_t Top = 0;
  std::vector<std::pair<int32_t, int32_t>> Runs;

  void AddTo(PixelSet& Pixels) const;
  // The pixels whose four neighbours all belong to the shape.
  RowShape Eroded() const;
};

// Box's pixels (right and bottom exclusive), or those inside the ellipse that touches
// the box's four sides, sampled at pixel centres.
// Box's pixels (right and bottom exclusive), or those inside the ellipse that touches
// the box's four sides, sampled at pixel centres; only rows First to Last - 1.
RowShape BoxShape(const base::TRect& Box, int32_t First, int32_t Last);
RowShape EllipseShape(const base::TRect& Box, int32_t First, int32_t Last);

template <class Visitor>
void ForEachLinePixel(base::TPoint A, base::TPoint B, int32_t Width, int32_t Height, Visitor Visit) {
  const int64_t DX = int64_t{B.X} - A.X, DY = int64_t{B.Y} - A.Y;
  const bool XMajor = (DX < 0 ? -DX : DX) >= (DY < 0 ? -DY : DY);
  const int64_t Major = XMajor ? (DX < 0 ? -DX : DX) : (DY < 0 ? -DY : DY);
  const int64_t Minor = XMajor ? (DY < 0 ? -DY : DY) : (DX < 0 ? -DX : DX);
  const int64_t MajorStep = (XMajor ? DX : DY) < 0 ? -1 : 1;
  const int64_t MinorStep = (XMajor ? DY : DX) < 0 ? -1 : 1;
  const int64_t Start = XMajor ? A.X : A.Y;
  const int64_t Extent = XMajor ? Width : Height;
  const int64_t MinorExtent = XMajor ? Height : Width;
  const int64_t MinorA = XMajor ? A.Y : A.X, MinorB = XMajor ? B.Y : B.X;
  if ((MinorA < 0 && MinorB < 0) || (MinorA >= MinorExtent && MinorB >= MinorExtent)) return;
  // Steps I with Start + I * MajorStep inside [0, Extent).
  int64_t First = 0, Last = Major;  // exclusive
  if (MajorStep > 0) {
    First = std::max<int64_t>(First, -Start);
    Last = std::min<int64_t>(Last, Extent - Start);
  } else {
    First = std::max<int64_t>(First, Start - Extent + 1);
    Last = std::min<int64_t>(Last, Start + 1);
  }
  for (int64_t I = First; I < Last; ++I) {
    // Minor steps taken after I major steps, with the error term starting at half;
    // 128 bits, as the product of two 32-bit spans can exceed 63.
    const __int128 Numerator = static_cast<__int128>(I) * Minor - Major / 2 + Major - 1;
    const auto Taken = static_cast<int64_t>(Numerator <= 0 ? 0 : Numerator / Major);
    const int64_t M = Start + I * MajorStep;
    const int64_t N = (XMajor ? A.Y : A.X) + Taken * MinorStep;
    Visit(static_cast<int32_t>(XMajor ? M : N), static_cast<int32_t>(XMajor ? N : M), I);
  }
}

}  // namespace gdi
