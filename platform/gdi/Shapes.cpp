#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/Scan.h"
#include "platform/gdi/Stroke.h"

namespace gdi {
namespace {

// Far beyond any bitmap, and small enough that box arithmetic cannot overflow.
constexpr int32_t Reach = 1 << 29;

int32_t Clamped(int32_t V) { return std::clamp(V, -Reach, Reach); }

base::TRect NormalBox(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  return {Clamped(std::min(Left, Right)), Clamped(std::min(Top, Bottom)), Clamped(std::max(Left, Right)),
          Clamped(std::max(Top, Bottom))};
}

base::TRect Inflated(const base::TRect& Box, int32_t By) {
  return {Box.Left - By, Box.Top - By, Box.Right + By, Box.Bottom + By};
}

enum class Outline { Box, Ellipse };

RowShape ShapeOf(Outline Kind, const base::TRect& Box, int32_t Rows) {
  // One row beyond the bitmap on each side, so that erosion sees the neighbours.
  return Kind == Outline::Box ? BoxShape(Box, -1, Rows + 1) : EllipseShape(Box, -1, Rows + 1);
}

struct Parts {
  explicit Parts(const DCObject& DC) : Ring(PixelsOf(DC)), Inside(PixelsOf(DC)) {}
  PixelSet Ring;
  PixelSet Inside;
};

// The pen's ring and the brush's inside of a box or ellipse.
Parts Split(const DCObject& DC, Outline Kind, const base::TRect& Box) {
  Parts Result(DC);
  const int32_t Rows = DC.Bitmap->Format.Height;
  const PenObject& Pen = *DC.Pen;
  const int Style = Pen.EffectiveStyle();
  if (Style == PS_NULL) {
    ShapeOf(Kind, Box, Rows).AddTo(Result.Inside);
    return Result;
  }
  const int32_t Width = std::min(Pen.Width(), Reach);
  const base::TRect Outer = Style == PS_INSIDEFRAME ? Box : Inflated(Box, (Width - 1) / 2);
  const RowShape Whole = ShapeOf(Kind, Outer, Rows);
  const RowShape Inner = Width == 1 ? Whole.Eroded() : ShapeOf(Kind, Inflated(Outer, -Width), Rows);
  Whole.AddTo(Result.Ring);
  Inner.AddTo(Result.Inside);
  Result.Ring.Subtract(Result.Inside);
  return Result;
}

void PaintBrush(const DCObject& DC, const PixelSet& Pixels) {
  if (const std::optional<Ink> With = BrushInk(DC, *DC.Brush, DC.Rop2)) Paint(DC, Pixels, *With);
}

bool DrawShape(HDC DC, Outline Kind, const base::TRect& Box) {
  Surface Target;
  if (!DrawingTarget(DC, Target)) return false;
  if (Box.IsEmpty()) return true;
  const Parts Pieces = Split(*DC, Kind, Box);
  PaintBrush(*DC, Pieces.Inside);
  PaintStroke(*DC, RingStroke(*DC, Pieces.Ring, (static_cast<double>(Box.Left) + Box.Right) / 2,
                              (static_cast<double>(Box.Top) + Box.Bottom) / 2));
  return true;
}

// Angle of the direction from (CX, CY) to the centre of pixel (X, Y), counter-clockwise
// on the screen, in [0, 2 pi).
double ScreenAngle(double X, double Y, double CX, double CY) {
  const double A = std::atan2(CY - (Y + 0.5), X + 0.5 - CX);
  return A < 0 ? A + 2 * std::numbers::pi : A;
}

}  // namespace

bool Rectangle(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  return DrawShape(DC, Outline::Box, NormalBox(Left, Top, Right, Bottom));
}

bool Ellipse(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  return DrawShape(DC, Outline::Ellipse, NormalBox(Left, Top, Right, Bottom));
}

bool Polygon(HDC DC, const POINT* Points, int Count) {
  Surface Target;
  if (!DrawingTarget(DC, Target)) return false;
  if (Points == nullptr || Count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const std::vector<POINT> Path(Points, Points + Count);
  const Stroke Outline = PathStroke(*DC, Path, true);
  PixelSet Inside = PixelsOf(*DC);
  std::vector<Vertex> Corners;
  for (const POINT& P : Path) Corners.push_back({static_cast<double>(P.X), static_cast<double>(P.Y)});
  AddPolygon(Inside, Corners, DC->PolyFillMode == WINDING);
  Inside.Subtract(Outline.On);
  if (DC->BkMode == OPAQUE) Inside.Subtract(Outline.Gaps);
  PaintBrush(*DC, Inside);
  PaintStroke(*DC, Outline);
  return true;
}

bool FrameRect(HDC DC, const base::TRect& Rect, HBRUSH Brush) {
  Surface Target;
  if (Brush == nullptr || !DrawingTarget(DC, Target)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const base::TRect Box = NormalBox(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  if (Box.IsEmpty()) return true;
  const int32_t Rows = DC->Bitmap->Format.Height;
  const RowShape Whole = ShapeOf(Outline::Box, Box, Rows);
  PixelSet Ring = PixelsOf(*DC), Inside = PixelsOf(*DC);
  Whole.AddTo(Ring);
  Whole.Eroded().AddTo(Inside);
  Ring.Subtract(Inside);
  if (const std::optional<Ink> With = BrushInk(*DC, *Brush, R2_COPYPEN)) Paint(*DC, Ring, *With);
  return true;
}

bool Arc(HDC DC, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom, int32_t XStart, int32_t YStart, int32_t XEnd,
         int32_t YEnd) {
  Surface Target;
  if (!DrawingTarget(DC, Target)) return false;
  const base::TRect Box = NormalBox(Left, Top, Right, Bottom);
  if (Box.IsEmpty()) return true;
  const double CX = (static_cast<double>(Box.Left) + Box.Right) / 2,
               CY = (static_cast<double>(Box.Top) + Box.Bottom) / 2;
  const double From = ScreenAngle(XStart, YStart, CX, CY);
  double Sweep = ScreenAngle(XEnd, YEnd, CX, CY) - From;
  if (Sweep <= 0) Sweep += 2 * std::numbers::pi;
  const Parts Pieces = Split(*DC, Outline::Ellipse, Box);
  PixelSet Part = PixelsOf(*DC);
  for (const PixelRun& Run : Pieces.Ring.Runs()) {
    for (int32_t X = Run.Left; X < Run.Right; ++X) {
      double A = ScreenAngle(X, Run.Y, CX, CY) - From;
      if (A < 0) A += 2 * std::numbers::pi;
      if (A <= Sweep) Part.AddPixel(X, Run.Y);
    }
  }
  PaintStroke(*DC, RingStroke(*DC, Part, CX, CY));
  return true;
}

}  // namespace gdi
