// TCanvas's lines, shapes and text.
#include <vector>

#include "platform/gdi/DrawText.h"
#include "platform/gdi/FloodFill.h"
#include "platform/gdi/Lines.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasTools.h"

namespace graphics {

TCanvasTools::TCanvasTools(TCanvas& Canvas, uint8_t Tools)
    : FDC(Canvas.Handle()),
      FOldRop2(gdi::GetROP2(FDC)),
      FOldBkMode(gdi::GetBkMode(FDC)),
      FOldBkColor(gdi::GetBkColor(FDC)),
      FOldTextColor(gdi::GetTextColor(FDC)) {
  if (FDC == nullptr) return;
  if (Tools & UsePen) {
    FOldPen = gdi::SelectObject(FDC, Canvas.Pen().Handle());
    gdi::SetROP2(FDC, Rop2Of(Canvas.Pen().Mode()));
  }
  if (Tools & (UseBrush | UseFont)) {
    TBrush& Brush = Canvas.Brush();
    if (Tools & UseBrush) {
      gdi::HBRUSH Handle = Brush.Handle();
      FOldBrush = gdi::SelectObject(FDC, Handle != nullptr ? Handle : gdi::GetStockObject(gdi::NULL_BRUSH));
    }
    if (Brush.Style() == bsSolid) {
      gdi::SetBkColor(FDC, ColorToRGB(Brush.Color()));
      gdi::SetBkMode(FDC, gdi::OPAQUE);
    } else {
      gdi::SetBkMode(FDC, gdi::TRANSPARENT);
    }
  }
  if (Tools & UseFont) {
    FOldFont = gdi::SelectObject(FDC, Canvas.Font().Handle());
    gdi::SetTextColor(FDC, ColorToRGB(Canvas.Font().Color()));
  }
}

TCanvasTools::~TCanvasTools() {
  if (FDC == nullptr) return;
  if (FOldPen != nullptr) gdi::SelectObject(FDC, FOldPen);
  if (FOldBrush != nullptr) gdi::SelectObject(FDC, FOldBrush);
  if (FOldFont != nullptr) gdi::SelectObject(FDC, FOldFont);
  gdi::SetROP2(FDC, FOldRop2);
  gdi::SetBkMode(FDC, FOldBkMode);
  gdi::SetBkColor(FDC, FOldBkColor);
  gdi::SetTextColor(FDC, FOldTextColor);
}

base::TPoint TCanvas::PenPos() {
  base::TPoint Position;
  gdi::GetCurrentPositionEx(Handle(), &Position);
  return Position;
}

void TCanvas::MoveTo(int X, int Y) { gdi::MoveToEx(Handle(), X, Y, nullptr); }

void TCanvas::LineTo(int X, int Y) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UsePen | TCanvasTools::UseBrush);
  gdi::LineTo(Tools.DC(), X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UsePen | TCanvasTools::UseBrush);
  gdi::Rectangle(Tools.DC(), X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UsePen | TCanvasTools::UseBrush);
  gdi::Ellipse(Tools.DC(), X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Polygon(std::span<const base::TPoint> Points) {
  if (Points.size() < 2) return;
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UsePen | TCanvasTools::UseBrush);
  gdi::Polygon(Tools.DC(), Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::Polyline(std::span<const base::TPoint> Points) {
  if (Points.size() < 2) return;
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UsePen | TCanvasTools::UseBrush);
  gdi::Polyline(Tools.DC(), Points.data(), static_cast<int>(Points.size()));
  Changed();
}

void TCanvas::FrameRect(const base::TRect& Rect) {
  gdi::HBRUSH Brush = FBrush.Handle();
  if (Brush == nullptr) return;
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush);
  gdi::FrameRect(Tools.DC(), Rect, Brush);
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush);
  gdi::ExtFloodFill(Tools.DC(), X, Y, ColorToRGB(Color),
                    FillStyle == fsSurface ? gdi::FLOODFILLSURFACE : gdi::FLOODFILLBORDER);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush | TCanvasTools::UseFont);
  gdi::TextOut(Tools.DC(), X, Y, Text);
  Changed();
}

void TCanvas::TextRect(const base::TRect& Rect, int X, int Y, const std::string& Text) {
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush | TCanvasTools::UseFont);
  const uint32_t Options = gdi::ETO_CLIPPED | (FBrush.Style() != bsClear ? uint32_t{gdi::ETO_OPAQUE} : 0u);
  gdi::ExtTextOut(Tools.DC(), X, Y, Options, &Rect, Text, nullptr);
  Changed();
}

int TCanvas::TextWidth(const std::string& Text) {
  const TCanvasTools Tools(*this, TCanvasTools::UseFont);
  gdi::SIZE Size;
  return gdi::GetTextExtentPoint32(Tools.DC(), Text, &Size) ? Size.cx : 0;
}

int TCanvas::TextHeight(const std::string& Text) {
  const TCanvasTools Tools(*this, TCanvasTools::UseFont);
  gdi::SIZE Size;
  return gdi::GetTextExtentPoint32(Tools.DC(), Text, &Size) ? Size.cy : 0;
}

int TCanvas::DrawText(const std::string& Text, base::TRect& Rect, uint32_t Format) {
  const bool Drawing = (Format & gdi::DT_CALCRECT) == 0;
  if (Drawing) Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush | TCanvasTools::UseFont);
  const int Height = gdi::DrawText(Tools.DC(), Text, &Rect, Format);
  if (Drawing) Changed();
  return Height;
}

}  // namespace graphics
