#include "editor/controls/LabelEffect.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/DrawText.h"
#include "platform/gdi/Font.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Colors.h"

namespace editor {

namespace {

constexpr double DegreesToRadians = std::numbers::pi / 180;
// The base label draws at most this much of an unrotated caption.
constexpr size_t MaxCaptionLength = 255;

QRgb RgbOf(base::TColor Color) {
  const gdi::COLORREF Value = graphics::ColorToRGB(Color);
  return qRgb(static_cast<int>(Value & 0xFF), static_cast<int>(Value >> 8 & 0xFF), static_cast<int>(Value >> 16 & 0xFF));
}

bool Inside(const QWidget& Widget, QPoint Point) {
  return Point.x() >= 0 && Point.x() <= Widget.width() && Point.y() >= 0 && Point.y() <= Widget.height();
}

}  // namespace

base::TPoint DirectionOffset(TEffectDirection Direction) {
  switch (Direction) {
    case edNone:
      return {0, 0};
    case edUp:
      return {0, -1};
    case edUpRight:
      return {1, -1};
    case edRight:
      return {1, 0};
    case edDownRight:
      return {1, 1};
    case edDown:
      return {0, 1};
    case edDownLeft:
      return {-1, 1};
    case edLeft:
      return {-1, 0};
    case edUpLeft:
      break;
  }
  return {-1, -1};
}

TLabelEffect::TLabelEffect(QWidget* Parent)
    : QWidget(Parent),
      FSchemeColours{{{0xFFFFFF, 0, 0x808080},
                      {0xFFFFFF, 0x808080, 0},
                      {0xFFFFFF, 0, 0x808080},
                      {0xFFFFFF, 0, 0xC0C0C0},
                      {0x00FFFF, 0, 0x008080},
                      {0xFFFF00, 0x800000, 0x808000}}},
      FColor(graphics::clBtnFace) {
  FFont.SetColor(0x808080);
  FColourShadow = SchemeColours(csWindows).Shadow;
  FFont.SetName("Times New Roman");
  FFont.SetSize(20);
  FFont.OnChange = [this](base::TObject*) {
    AdjustBounds();
    Invalidate();
  };
  // Nothing of the parent is painted over where no copy of the caption lies.
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void TLabelEffect::SetDepthHighlight(TEffectDepth Value) {
  Value = std::min(Value, MaxEffectDepth);
  if (Value == FDepthHighlight) return;
  FDepthHighlight = Value;
  if (!FStyleChanging) SetEffectStyle(esCustom);
  Invalidate();
}

void TLabelEffect::SetDepthShadow(TEffectDepth Value) {
  Value = std::min(Value, MaxEffectDepth);
  if (Value == FDepthShadow) return;
  FDepthShadow = Value;
  if (!FStyleChanging) SetEffectStyle(esCustom);
  Invalidate();
}

void TLabelEffect::SetDirectionHighlight(TEffectDirection Value) {
  if (Value == FDirectionHighlight) return;
  FDirectionHighlight = Value;
  if (!FStyleChanging) SetEffectStyle(esCustom);
  Invalidate();
}

void TLabelEffect::SetDirectionShadow(TEffectDirection Value) {
  if (Value == FDirectionShadow) return;
  FDirectionShadow = Value;
  if (!FStyleChanging) SetEffectStyle(esCustom);
  Invalidate();
}

void TLabelEffect::SetColourHighlight(base::TColor Value) {
  if (Value == FColourHighlight) return;
  FColourHighlight = Value;
  FSchemeColours[static_cast<size_t>(csCustom)].Highlight = Value;
  if (!FSchemeChanging) SetColourScheme(csCustom);
  Invalidate();
}

void TLabelEffect::SetColourShadow(base::TColor Value) {
  if (Value == FColourShadow) return;
  FColourShadow = Value;
  FSchemeColours[static_cast<size_t>(csCustom)].Shadow = Value;
  if (!FSchemeChanging) SetColourScheme(csCustom);
  Invalidate();
}

void TLabelEffect::SetColourScheme(TColourScheme Value) {
  if (Value == FColourScheme) return;
  FSchemeChanging = true;
  FColourScheme = Value;
  const TSchemeColours Colours = SchemeColours(Value);
  SetColourHighlight(Colours.Highlight);
  FFont.SetColor(Colours.Text);
  SetColourShadow(Colours.Shadow);
  if (Value != csCustom) FSchemeColours[static_cast<size_t>(csCustom)] = Colours;
  FSchemeChanging = false;
}

void TLabelEffect::SetEffectStyle(TEffectStyle Value) {
  if (Value == FEffectStyle) return;
  FStyleChanging = true;
  FSchemeChanging = true;
  FEffectStyle = Value;
  SetColourHighlight(SchemeColours(FColourScheme).Highlight);
  auto Apply = [this](TEffectDirection Highlight, TEffectDirection Shadow, TEffectDepth DepthH, TEffectDepth DepthS) {
    SetDirectionHighlight(Highlight);
    SetDirectionShadow(Shadow);
    SetDepthHighlight(DepthH);
    SetDepthShadow(DepthS);
  };
  switch (Value) {
    case esNone:
      Apply(edNone, edNone, 0, 0);
      SetAsButton(false);
      break;
    case esCustom:
      SetAsButton(false);
      break;
    case esRaised:
      Apply(edUpLeft, edDownRight, 1, 1);
      break;
    case esSunken:
      Apply(edDownRight, edUpLeft, 1, 1);
      break;
    case esShadow:
      Apply(edNone, edDownRight, 0, 2);
      SetAsButton(false);
      break;
    case esFlying:
      Apply(edDownRight, edDownRight, 1, 5);
      SetColourHighlight(SchemeColours(FColourScheme).Shadow);
      SetAsButton(false);
      break;
  }
  FStyleChanging = false;
  FSchemeChanging = false;
  Invalidate();
}

void TLabelEffect::SetAsButton(bool Value) {
  if (Value == FAsButton) return;
  FAsButton = Value;
  if (Value) SetEffectStyle(esRaised);
}

void TLabelEffect::SetAngle(TAngleRange Value) {
  Value = static_cast<TAngleRange>(Value % 360);
  if (Value == FAngle) return;
  FAngle = Value;
  FAngleCos = std::cos(Value * DegreesToRadians);
  FAngleSin = std::sin(Value * DegreesToRadians);
  if (Value != 0) FAlignment = taLeftJustify;
  Invalidate();
}

void TLabelEffect::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  AdjustBounds();
  Invalidate();
}

void TLabelEffect::SetAlignment(TLabelAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TLabelEffect::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TLabelEffect::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TLabelEffect::SetColor(base::TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Invalidate();
}

void TLabelEffect::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

std::array<TLabelPass, 3> TLabelEffect::Passes() const {
  const base::TPoint Shadow = DirectionOffset(FDirectionShadow);
  const base::TPoint Highlight = DirectionOffset(FDirectionHighlight);
  const int SX = Shadow.X * FDepthShadow, SY = Shadow.Y * FDepthShadow;
  const int HX = Highlight.X * FDepthHighlight, HY = Highlight.Y * FDepthHighlight;
  // No copy starts left of or above the client area.
  const int C = std::min({0, HX, SX, HY, SY});
  return {{{FColourShadow, {SX - C, SY - C}},
           {FColourHighlight, {HX - C, HY - C}},
           {FFont.Color(), {-C, -C}}}};
}

void TLabelEffect::SetRotatedFont(graphics::TCanvas& Canvas, int Angle) {
  gdi::LOGFONT Description = Canvas.Font().Handle()->Description;
  Description.lfEscapement = Angle * 10;
  Description.lfOrientation = Angle * 10;
  Description.lfOutPrecision = gdi::OUT_TT_ONLY_PRECIS;
  Canvas.Font().SetHandle(gdi::CreateFontIndirect(&Description));
}

void TLabelEffect::AdjustBounds() {
  if (!FAutoSize) return;
  graphics::TBitmap Scratch;
  Scratch.SetWidth(1);
  Scratch.SetHeight(1);
  graphics::TCanvas& Canvas = Scratch.Canvas();
  Canvas.Font().Assign(&FFont);
  base::TRect Bounds = base::Rect(0, 0, FWordWrap ? width() : 0, 0);
  uint32_t Format = gdi::DT_CALCRECT | gdi::DT_EXPANDTABS;
  if (FWordWrap) Format |= gdi::DT_WORDBREAK;
  // An empty caption still takes a line's height.
  Canvas.DrawText(FCaption.empty() ? std::string(" ") : FCaption, Bounds, Format);
  FMeasured = QSize(std::max(1, Bounds.Width()), std::max(1, Bounds.Height()));
  resize(FMeasured);
  updateGeometry();
}

QSize TLabelEffect::sizeHint() const { return FAutoSize ? FMeasured : QWidget::sizeHint(); }

void TLabelEffect::Invalidate() {
  FStale = true;
  update();
}

const QImage& TLabelEffect::Surface() {
  if (FStale) Paint();
  return FSurface;
}

void TLabelEffect::Paint() {
  FStale = false;
  const int W = width();
  const int H = height();
  FSurface = QImage(std::max(W, 1), std::max(H, 1), QImage::Format_ARGB32);
  FSurface.fill(Qt::transparent);
  if (W <= 0 || H <= 0) return;

  graphics::TBitmap Mask;
  Mask.SetPixelFormat(graphics::pf24bit);
  Mask.SetWidth(W);
  Mask.SetHeight(H);
  graphics::TCanvas& Canvas = Mask.Canvas();
  Canvas.Font().Assign(&FFont);
  Canvas.Font().SetColor(graphics::clWhite);
  if (FAngle != 0) SetRotatedFont(Canvas, FAngle);

  int X0 = 0, Y0 = 0, M = 0, TextW = 0, TextH = 0;
  if (FAngle != 0) {
    M = Canvas.TextWidth(FCaption + "   ") / 2;
    TextW = Canvas.TextWidth(FCaption);
    TextH = Canvas.TextHeight(FCaption);
    X0 = M - static_cast<int>(TextW / 2.0 * FAngleCos) - static_cast<int>(TextH / 2.0 * FAngleSin);
    Y0 = static_cast<int>(TextW / 2.0 * FAngleSin) + M - static_cast<int>(TextH / 2.0 * FAngleCos);
  }

  // Paints Colour wherever the last drawing on the mask left white.
  auto Blank = [&] {
    Canvas.Brush().SetStyle(graphics::bsSolid);
    Canvas.Brush().SetColor(graphics::clBlack);
    Canvas.FillRect(base::Rect(0, 0, W, H));
  };
  auto Apply = [&](base::TColor Colour) {
    const QRgb Rgb = RgbOf(Colour);
    for (int Y = 0; Y < H; ++Y) {
      const uint8_t* Row = Mask.ScanLine(Y);
      auto* Out = reinterpret_cast<QRgb*>(FSurface.scanLine(Y));
      for (int X = 0; X < W; ++X)
        if (Row[3 * X] | Row[3 * X + 1] | Row[3 * X + 2]) Out[X] = Rgb;
    }
  };

  if (!FTransparent) {
    if (FAngle == 0) {
      FSurface.fill(RgbOf(FColor));
    } else {
      const double HalfW = (TextW + 7) / 2.0, HalfH = (TextH + 5) / 2.0;
      auto T = [](double V) { return static_cast<int>(V); };
      const base::TPoint Corners[] = {
          {M - T(HalfW * FAngleCos) - T(HalfH * FAngleSin), M + T(HalfW * FAngleSin) - T(HalfH * FAngleCos)},
          {M + T(HalfW * FAngleCos) - T(HalfH * FAngleSin), M - T(HalfW * FAngleSin) - T(HalfH * FAngleCos)},
          {M + T(HalfW * FAngleCos) + T(HalfH * FAngleSin), M + T(HalfH * FAngleCos) - T(HalfW * FAngleSin)},
          {M + T(HalfH * FAngleSin) - T(HalfW * FAngleCos), M + T(HalfW * FAngleSin) + T(HalfH * FAngleCos)}};
      Blank();
      Canvas.Brush().SetColor(graphics::clWhite);
      Canvas.Pen().SetColor(graphics::clWhite);
      Canvas.Polygon(Corners);
      Apply(FColor);
    }
  }

  uint32_t Format = gdi::DT_WORDBREAK | gdi::DT_EXPANDTABS;
  if (FAlignment == taRightJustify) Format |= gdi::DT_RIGHT;
  if (FAlignment == taCenter) Format |= gdi::DT_CENTER;
  const std::string Unrotated = FCaption.substr(0, MaxCaptionLength);
  for (const TLabelPass& Pass : Passes()) {
    Blank();
    Canvas.Brush().SetStyle(graphics::bsClear);
    if (FAngle != 0) {
      Canvas.TextOut(X0 + Pass.Offset.X, Y0 + Pass.Offset.Y, FCaption);
    } else {
      base::TRect Bounds = base::Rect(Pass.Offset.X, Pass.Offset.Y, W + Pass.Offset.X, H + Pass.Offset.Y);
      Canvas.DrawText(Unrotated, Bounds, Format);
    }
    Apply(Pass.Colour);
  }
}

void TLabelEffect::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.drawImage(0, 0, Surface());
}

void TLabelEffect::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  Invalidate();
}

void TLabelEffect::mousePressEvent(QMouseEvent* Event) {
  const QPoint Point = Event->position().toPoint();
  if (Event->button() == Qt::LeftButton) FPressedInside = true;
  if (!FAsButton) {
    if (OnMouseDown) OnMouseDown(this, Event->button(), Point);
    return;
  }
  if (Event->button() == Qt::LeftButton && FEffectStyle != esSunken && isEnabled()) SetEffectStyle(esSunken);
}

void TLabelEffect::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint Point = Event->position().toPoint();
  if (!FAsButton) {
    if (OnMouseMove) OnMouseMove(this, Point);
    return;
  }
  if (Event->buttons() == Qt::LeftButton && Event->modifiers() == Qt::NoModifier)
    SetEffectStyle(Inside(*this, Point) ? esSunken : esRaised);
}

void TLabelEffect::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint Point = Event->position().toPoint();
  const bool Click = Event->button() == Qt::LeftButton && FPressedInside && Inside(*this, Point);
  if (Event->button() == Qt::LeftButton) FPressedInside = false;
  if (!FAsButton) {
    if (OnMouseUp) OnMouseUp(this, Event->button(), Point);
  } else if (Inside(*this, Point)) {
    SetEffectStyle(esRaised);
  }
  if (Click && OnClick) OnClick(this);
}

void TLabelEffect::mouseDoubleClickEvent(QMouseEvent* Event) {
  QWidget::mouseDoubleClickEvent(Event);
  if (Event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

}  // namespace editor
