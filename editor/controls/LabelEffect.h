// TLabelEffect: a label that draws its caption three times, a shadow copy, a highlight
// copy and the face, each moved by a direction and a depth, in colours from a scheme or
// set freely; optionally rotated, optionally a push button that sinks while the left
// button holds it. Styles and schemes are linked to the values they set: changing a
// direction or depth makes the style custom, changing a copy's colour the scheme.
// It lies transparent over whatever is under it: each copy is rasterised through the
// software GDI into a mask and painted in its colour onto a surface that paintEvent
// only copies.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/base/Types.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Font.h"

namespace editor {

using TEffectDepth = uint8_t;  // 0 to 10
using TAngleRange = uint16_t;  // 0 to 359

enum class TEffectDirection { edNone, edUp, edUpRight, edRight, edDownRight, edDown, edDownLeft, edLeft, edUpLeft };
using enum TEffectDirection;

enum class TEffectStyle { esNone, esCustom, esRaised, esSunken, esShadow, esFlying };
using enum TEffectStyle;

enum class TColourScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
using enum TColourScheme;

enum class TLabelAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TLabelAlignment;

inline constexpr TEffectDepth MaxEffectDepth = 10;

// One step in the direction, x to the right and y downwards.
base::TPoint DirectionOffset(TEffectDirection Direction);

struct TSchemeColours {
  base::TColor Highlight;
  base::TColor Shadow;
  base::TColor Text;
};

// One drawing of the caption: its colour and where it goes.
struct TLabelPass {
  base::TColor Colour;
  base::TPoint Offset;
  friend bool operator==(const TLabelPass&, const TLabelPass&) = default;
};

class TLabelEffect : public QWidget {
  Q_OBJECT

 public:
  explicit TLabelEffect(QWidget* Parent = nullptr);

  TEffectDepth DepthHighlight() const { return FDepthHighlight; }
  void SetDepthHighlight(TEffectDepth Value);
  TEffectDepth DepthShadow() const { return FDepthShadow; }
  void SetDepthShadow(TEffectDepth Value);
  TEffectDirection DirectionHighlight() const { return FDirectionHighlight; }
  void SetDirectionHighlight(TEffectDirection Value);
  TEffectDirection DirectionShadow() const { return FDirectionShadow; }
  void SetDirectionShadow(TEffectDirection Value);
  base::TColor ColourHighlight() const { return FColourHighlight; }
  void SetColourHighlight(base::TColor Value);
  base::TColor ColourShadow() const { return FColourShadow; }
  void SetColourShadow(base::TColor Value);
  TEffectStyle EffectStyle() const { return FEffectStyle; }
  void SetEffectStyle(TEffectStyle Value);
  TColourScheme ColourScheme() const { return FColourScheme; }
  void SetColourScheme(TColourScheme Value);
  bool AsButton() const { return FAsButton; }
  void SetAsButton(bool Value);
  TAngleRange Angle() const { return FAngle; }
  void SetAngle(TAngleRange Value);
  double AngleCos() const { return FAngleCos; }
  double AngleSin() const { return FAngleSin; }
  TSchemeColours SchemeColours(TColourScheme Scheme) const { return FSchemeColours[static_cast<size_t>(Scheme)]; }

  // What the base label gives.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TLabelAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TLabelAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  base::TColor Color() const { return FColor; }
  void SetColor(base::TColor Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // The face is drawn in its colour; changing it redraws the label.
  graphics::TFont& Font() { return FFont; }

  // The shadow, highlight and face, in drawing order.
  std::array<TLabelPass, 3> Passes() const;
  // What paintEvent copies to the screen.
  const QImage& Surface();

  // With AutoSize, the measured caption; layouts give the label that size.
  QSize sizeHint() const override;

  // Makes the canvas's font one turned by Angle degrees; 0 gives an unrotated font.
  static void SetRotatedFont(graphics::TCanvas& Canvas, int Angle);

  std::function<void(QWidget* Sender)> OnClick;
  std::function<void(QWidget* Sender)> OnDblClick;
  std::function<void(QWidget* Sender, Qt::MouseButton Button, QPoint Point)> OnMouseDown;
  std::function<void(QWidget* Sender, QPoint Point)> OnMouseMove;
  std::function<void(QWidget* Sender, Qt::MouseButton Button, QPoint Point)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

 private:
  // The surface is drawn again before it is next shown.
  void Invalidate();
  void Paint();
  void AdjustBounds();

  std::array<TSchemeColours, 6> FSchemeColours;
  TEffectDepth FDepthHighlight = 1;
  TEffectDepth FDepthShadow = 1;
  TEffectDirection FDirectionHighlight = edUpLeft;
  TEffectDirection FDirectionShadow = edDownRight;
  base::TColor FColourHighlight = 0xFFFFFF;
  base::TColor FColourShadow = 0;
  TEffectStyle FEffectStyle = esRaised;
  TColourScheme FColourScheme = csWindows;
  bool FAsButton = false;
  TAngleRange FAngle = 0;
  bool FStyleChanging = false;
  bool FSchemeChanging = false;
  double FAngleCos = 1;
  double FAngleSin = 0;

  std::string FCaption;
  TLabelAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
  bool FTransparent = true;
  base::TColor FColor;
  bool FWordWrap = false;
  graphics::TFont FFont;
  bool FPressedInside = false;

  QImage FSurface;
  bool FStale = true;
  QSize FMeasured;
};

}  // namespace editor
