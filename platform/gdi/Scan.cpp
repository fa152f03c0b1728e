#include "platform/gdi/Scan.h"

#include <algorithm>
#include <cmath>

namespace gdi {
namespace {

struct Crossing {
  double X;
  int Direction;
};

}  // namespace

void AddPolygon(PixelSet& Pixels, const std::vector<Vertex>& Points, bool Winding) {
  if (Points.size() < 3) return;
  struct Edge {
    Vertex Upper, Lower;
    int Direction;
  };
  std::vector<Edge> Edges;
  for (size_t I = 0; I < Points.size(); ++I) {
    const Vertex& A = Points[I];
    const Vertex& B = Points[(I + 1) % Points.size()];
    if (A.Y == B.Y) continue;
    Edges.push_back(A.Y < B.Y ? Edge{A, B, 1} : Edge{B, A, -1});
  }
  // Rows meet the edges in order of their tops, so each row only looks at the edges
  // that span it.
  std::sort(Edges.begin(), Edges.end(), [](const Edge& A, const Edge& B) { return A.Upper.Y < B.Upper.Y; });
  std::vector<const Edge*> Active;
  std::vector<Crossing> Crossings;
  size_t Next = 0;
  const double Rows = static_cast<double>(Pixels.ClipHeight());
  for (int32_t Y = 0; Y < Rows; ++Y) {
    while (Next < Edges.size() && Edges[Next].Upper.Y <= Y) Active.push_back(&Edges[Next++]);
    std::erase_if(Active, [Y](const Edge* E) { return E->Lower.Y <= Y; });
    if (Active.empty()) {
      if (Next == Edges.size()) break;
      continue;
    }
    Crossings.clear();
    for (const Edge* E : Active)
      Crossings.push_back(
          {E->Upper.X + (Y - E->Upper.Y) * (E->Lower.X - E->Upper.X) / (E->Lower.Y - E->Upper.Y), E->Direction});
    std::sort(Crossings.begin(), Crossings.end(), [](const Crossing& A, const Crossing& B) { return A.X < B.X; });
    int Count = 0;
    for (size_t I = 0; I + 1 < Crossings.size(); ++I) {
      Count += Winding ? Crossings[I].Direction : 1;
      const bool Inside = Winding ? Count != 0 : (Count & 1) != 0;
      if (!Inside) continue;
      const double Left = std::max(std::ceil(Crossings[I].X), -1.0);
      const double Right = std::min(std::ceil(Crossings[I + 1].X), static_cast<double>(Pixels.ClipWidth()) + 1);
      if (Left < Right) Pixels.Add(Y, static_cast<int32_t>(Left), static_cast<int32_t>(Right));
    }
  }
}

void AddDisc(PixelSet& Pixels, double X, double Y, double Radius) {
  const double First = std::max(std::ceil(Y - Radius), 0.0);
  const double Last = std::min(std::floor(Y + Radius), static_cast<double>(Pixels.ClipHeight()) - 1);
  for (double Row = First; Row <= Last; ++Row) {
    const double Half = std::sqrt(std::max(Radius * Radius - (Row - Y) * (Row - Y), 0.0));
    const double Left = std::max(std::ceil(X - Half), -1.0);
    const double Right = std::min(std::floor(X + Half), static_cast<double>(Pixels.ClipWidth()));
    if (Left <= Right)
      Pixels.Add(static_cast<int32_t>(Row), static_cast<int32_t>(Left), static_cast<int32_t>(Right) + 1);
  }
}

void RowShape::AddTo(PixelSet& Pixels) const {
  for (size_t I = 0; I < Runs.size(); ++I) Pixels.Add(Top + static_cast<int32_t>(I), Runs[I].first, Runs[I].second);
}

RowShape RowShape::Eroded() const {
  RowShape Result;
  Result.Top = Top;
  Result.Runs.resize(Runs.size(), {0, 0});
  for (size_t I = 1; I + 1 < Runs.size(); ++I) {
    const int32_t Left = std::max({Runs[I - 1].first, Runs[I].first + 1, Runs[I + 1].first});
    const int32_t Right = std::min({Runs[I - 1].second, Runs[I].second - 1, Runs[I + 1].second});
    if (Left < Right) Result.Runs[I] = {Left, Right};
  }
  return Result;
}

RowShape BoxShape(const base::TRect& Box, int32_t First, int32_t Last) {
  RowShape Shape;
  Shape.Top = std::max(Box.Top, First);
  const int32_t Bottom = std::min(Box.Bottom, Last);
  if (Box.Left < Box.Right && Shape.Top < Bottom)
    Shape.Runs.assign(static_cast<size_t>(Bottom - Shape.Top), {Box.Left, Box.Right});
  return Shape;
}

RowShape EllipseShape(const base::TRect& Box, int32_t First, int32_t Last) {
  RowShape Shape;
  Shape.Top = std::max(Box.Top, First);
  const int32_t Bottom = std::min(Box.Bottom, Last);
  if (Box.IsEmpty() || Shape.Top >= Bottom) return Shape;
  const double CX = (static_cast<double>(Box.Left) + Box.Right) / 2,
               CY = (static_cast<double>(Box.Top) + Box.Bottom) / 2;
  const double RX = (static_cast<double>(Box.Right) - Box.Left) / 2,
               RY = (static_cast<double>(Box.Bottom) - Box.Top) / 2;
  Shape.Runs.resize(static_cast<size_t>(Bottom - Shape.Top), {0, 0});
  for (int32_t Y = Shape.Top; Y < Bottom; ++Y) {
    const double DY = (Y + 0.5 - CY) / RY;
    const double Half = RX * std::sqrt(std::max(1 - DY * DY, 0.0));
    const int64_t Left = std::max(static_cast<int64_t>(std::ceil(CX - Half - 0.5)), int64_t{Box.Left});
    // Mirrored, so the shape is symmetric whatever the rounding.
    const int64_t Right = int64_t{Box.Left} + Box.Right - Left;
    if (Left < Right)
      Shape.Runs[static_cast<size_t>(Y - Shape.Top)] = {static_cast<int32_t>(Left), static_cast<int32_t>(Right)};
  }
  return Shape;
}

}  // namespace gdi
