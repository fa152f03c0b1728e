#include "platform/gdi/Stroke.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/Paint.h"
#include "platform/gdi/Scan.h"

namespace gdi {
namespace {

// Lengths of the drawn and skipped stretches, starting with a drawn one.
struct Dashes {
  int Count;
  int Lengths[6];
};

Dashes DashesOf(int Style) {
  switch (Style) {
    case PS_DASH:
      return {2, {18, 6}};
    case PS_DOT:
      return {2, {3, 3}};
    case PS_DASHDOT:
      return {4, {9, 6, 3, 6}};
    case PS_DASHDOTDOT:
      return {6, {9, 3, 3, 3, 3, 3}};
    default:
      return {1, {1}};
  }
}

bool Thin(const PenObject& Pen) { return Pen.Width() == 1; }

void AddBand(PixelSet& Pixels, base::TPoint A, base::TPoint B, double Radius) {
  AddDisc(Pixels, A.X, A.Y, Radius);
  AddDisc(Pixels, B.X, B.Y, Radius);
  const double DX = static_cast<double>(B.X) - A.X, DY = static_cast<double>(B.Y) - A.Y;
  const double Length = std::hypot(DX, DY);
  if (Length == 0) return;
  const double NX = -DY / Length * Radius, NY = DX / Length * Radius;
  AddPolygon(Pixels, {{A.X + NX, A.Y + NY}, {B.X + NX, B.Y + NY}, {B.X - NX, B.Y - NY}, {A.X - NX, A.Y - NY}}, false);
}

}  // namespace

Stroke::Stroke(const DCObject& DC) : On(PixelsOf(DC)), Gaps(PixelsOf(DC)) {}

bool StyleDraws(int Style, int64_t Index) {
  const Dashes D = DashesOf(Style);
  int Period = 0;
  for (int I = 0; I < D.Count; ++I) Period += D.Lengths[I];
  int64_t At = Index % Period;
  for (int I = 0; I < D.Count; ++I) {
    if (At < D.Lengths[I]) return (I & 1) == 0;
    At -= D.Lengths[I];
  }
  return true;
}

Stroke PathStroke(const DCObject& DC, const std::vector<base::TPoint>& Points, bool Closed) {
  Stroke Result(DC);
  const PenObject& Pen = *DC.Pen;
  const int Style = Pen.EffectiveStyle();
  if (Style == PS_NULL || Points.size() < 2) return Result;
  const size_t Segments = Closed ? Points.size() : Points.size() - 1;
  const int32_t W = Result.On.ClipWidth(), H = Result.On.ClipHeight();
  int64_t Index = 0;
  for (size_t I = 0; I < Segments; ++I) {
    const base::TPoint A = Points[I], B = Points[(I + 1) % Points.size()];
    if (!Thin(Pen)) {
      if (A != B) AddBand(Result.On, A, B, Pen.Width() / 2.0);
      continue;
    }
    ForEachLinePixel(A, B, W, H, [&](int32_t X, int32_t Y, int64_t Step) {
      (StyleDraws(Style, Index + Step) ? Result.On : Result.Gaps).AddPixel(X, Y);
    });
    Index += std::max(std::llabs(int64_t{B.X} - A.X), std::llabs(int64_t{B.Y} - A.Y));
  }
  Result.Gaps.Subtract(Result.On);
  return Result;
}

Stroke RingStroke(const DCObject& DC, const PixelSet& Ring, double CX, double CY) {
  Stroke Result(DC);
  const PenObject& Pen = *DC.Pen;
  const int Style = Pen.EffectiveStyle();
  if (Style == PS_NULL) return Result;
  if (Style != PS_DASH && Style != PS_DOT && Style != PS_DASHDOT && Style != PS_DASHDOTDOT) {
    for (const PixelRun& Run : Ring.Runs()) Result.On.Add(Run.Y, Run.Left, Run.Right);
    return Result;
  }
  struct Placed {
    double Angle;
    int32_t X, Y;
  };
  std::vector<Placed> Order;
  for (const PixelRun& Run : Ring.Runs())
    for (int32_t X = Run.Left; X < Run.Right; ++X)
      Order.push_back({std::atan2(Run.Y + 0.5 - CY, X + 0.5 - CX), X, Run.Y});
  std::stable_sort(Order.begin(), Order.end(), [](const Placed& A, const Placed& B) { return A.Angle < B.Angle; });
  for (size_t I = 0; I < Order.size(); ++I)
    (StyleDraws(Style, static_cast<int64_t>(I)) ? Result.On : Result.Gaps).AddPixel(Order[I].X, Order[I].Y);
  return Result;
}

void PaintStroke(const DCObject& DC, const Stroke& Pixels) {
  Ink Pen;
  Pen.Color = DC.Pen->Color();
  Pen.Mode = DC.Rop2;
  Paint(DC, Pixels.On, Pen);
  if (DC.BkMode != OPAQUE) return;
  Ink Gap;
  Gap.Color = DC.BkColor;
  Gap.Mode = DC.Rop2;
  Paint(DC, Pixels.Gaps, Gap);
}

}  // namespace gdi
