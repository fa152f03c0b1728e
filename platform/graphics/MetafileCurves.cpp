#include "platform/graphics/MetafileCurves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace graphics {

namespace {

constexpr int SegmentsPerTurn = 64;
constexpr int SegmentsPerCurve = 16;

struct TEllipse {
  double CX, CY, RX, RY;
  TEllipse(base::TPoint A, base::TPoint B)
      : CX((double(A.X) + B.X) / 2), CY((double(A.Y) + B.Y) / 2), RX(std::fabs(double(B.X) - A.X) / 2),
        RY(std::fabs(double(B.Y) - A.Y) / 2) {}
  // The angle of the ray through P, counter-clockwise from the x axis with y downwards.
  double Angle(base::TPoint P) const {
    return std::atan2(-(P.Y - CY) * (RX == 0 ? 1 : RX), (P.X - CX) * (RY == 0 ? 1 : RY));
  }
  TVertex At(double T) const { return {CX + RX * std::cos(T), CY - RY * std::sin(T)}; }
};

}  // namespace

std::vector<TVertex> ArcVertices(base::TPoint A, base::TPoint B, base::TPoint Start, base::TPoint End,
                                 bool Clockwise) {
  const TEllipse E(A, B);
  const double From = E.Angle(Start);
  double Sweep = E.Angle(End) - From;
  if (Clockwise) Sweep = -Sweep;
  if (Sweep <= 0) Sweep += 2 * std::numbers::pi;
  const int Segments = std::max(2, static_cast<int>(std::ceil(Sweep / (2 * std::numbers::pi) * SegmentsPerTurn)));
  std::vector<TVertex> Out;
  for (int I = 0; I <= Segments; ++I) Out.push_back(E.At(From + (Clockwise ? -1 : 1) * Sweep * I / Segments));
  return Out;
}

std::vector<TVertex> RoundRectVertices(base::TPoint A, base::TPoint B, int CornerW, int CornerH) {
  const double Left = std::min(A.X, B.X), Right = std::max(A.X, B.X);
  const double Top = std::min(A.Y, B.Y), Bottom = std::max(A.Y, B.Y);
  const double RX = std::min(std::fabs(double(CornerW)) / 2, (Right - Left) / 2);
  const double RY = std::min(std::fabs(double(CornerH)) / 2, (Bottom - Top) / 2);
  // Corner centres in the order the outline passes them, with the angle it starts at.
  const struct {
    double X, Y, From;
  } Corners[] = {{Right - RX, Top + RY, 0}, {Left + RX, Top + RY, 0.5}, {Left + RX, Bottom - RY, 1},
                 {Right - RX, Bottom - RY, 1.5}};
  constexpr int Steps = SegmentsPerTurn / 4;
  std::vector<TVertex> Out;
  for (const auto& C : Corners)
    for (int I = 0; I <= Steps; ++I) {
      const double T = (C.From + 0.5 * I / Steps) * std::numbers::pi;
      Out.push_back({C.X + RX * std::cos(T), C.Y - RY * std::sin(T)});
    }
  return Out;
}

std::vector<TVertex> BezierVertices(base::TPoint From, const std::vector<base::TPoint>& Controls) {
  std::vector<TVertex> Out;
  TVertex P0{double(From.X), double(From.Y)};
  for (size_t I = 0; I + 2 < Controls.size(); I += 3) {
    const TVertex P1{double(Controls[I].X), double(Controls[I].Y)};
    const TVertex P2{double(Controls[I + 1].X), double(Controls[I + 1].Y)};
    const TVertex P3{double(Controls[I + 2].X), double(Controls[I + 2].Y)};
    for (int S = 1; S <= SegmentsPerCurve; ++S) {
      const double T = double(S) / SegmentsPerCurve, U = 1 - T;
      const double W0 = U * U * U, W1 = 3 * U * U * T, W2 = 3 * U * T * T, W3 = T * T * T;
      Out.push_back({W0 * P0.X + W1 * P1.X + W2 * P2.X + W3 * P3.X, W0 * P0.Y + W1 * P1.Y + W2 * P2.Y + W3 * P3.Y});
    }
    P0 = P3;
  }
  return Out;
}

}  // namespace graphics
