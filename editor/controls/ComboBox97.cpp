#include "editor/controls/ComboBox97.h"

#include <qdrawutil.h>

#include <QAbstractItemView>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/graphics/Colors.h"
#include "platform/ui/ColorConvert.h"

namespace editor {

namespace {

using graphics::clBtnFace;
using graphics::clWindow;

void FrameRect(QPainter& Painter, const QRect& R, const QColor& Color) {
  Painter.setPen(Color);
  Painter.setBrush(Qt::NoBrush);
  Painter.drawRect(R.adjusted(0, 0, -1, -1));
}

}  // namespace

TComboBox97::TComboBox97(QWidget* Parent) : QComboBox(Parent), FColor(clWindow), FSavedColor(clWindow) {
  FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
  FSavedParentColor = FParentColor;
  setAttribute(Qt::WA_Hover);
  ApplyColor();
}

void TComboBox97::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  update();
}

void TComboBox97::SetColor(base::TColor Value) {
  FColor = Value;
  FParentColor = false;
  ApplyColor();
}

void TComboBox97::SetParentColor(bool Value) {
  FParentColor = Value;
  ApplyColor();
}

void TComboBox97::ApplyColor() {
  QPalette Colors = palette();
  const QColor Background =
      FParentColor && parentWidget() ? parentWidget()->palette().color(QPalette::Window) : ui::ToQColor(FColor);
  Colors.setColor(QPalette::Base, Background);
  setPalette(Colors);
}

bool TComboBox97::IsHot() const { return FMouseInControl || hasFocus(); }

QRect TComboBox97::ButtonRect() const { return QRect(width() - FButtonWidth, 0, FButtonWidth, height()); }

void TComboBox97::TrackButtonMouse(QPoint Point) {
  if (FPressed && !ButtonRect().contains(Point)) {
    FPressed = false;
    RedrawBorder();
  }
}

void TComboBox97::hidePopup() {
  QComboBox::hidePopup();
  TrackButtonMouse(QPoint(-1, -1));
}

void TComboBox97::paintEvent(QPaintEvent* Event) {
  if (!FFlat) {
    QComboBox::paintEvent(Event);
    return;
  }
  QStylePainter Painter(this);
  QStyleOptionComboBox Option;
  initStyleOption(&Option);
  Option.frame = false;
  const QRect Whole = rect();
  const QColor Face = ui::ToQColor(clBtnFace);
  Painter.fillRect(Whole, palette().color(QPalette::Base));

  // The border: sunken while hot, flat otherwise, with a window-coloured inner line.
  QRect R = Whole;
  if (IsHot()) {
    qDrawShadePanel(&Painter, R, palette(), true, 1);
  } else {
    FrameRect(Painter, R, Face);
  }
  R.adjust(1, 1, -1, -1);
  FrameRect(Painter, R, Face);
  R.adjust(1, 1, -1, -1);
  FrameRect(Painter, R, palette().color(QPalette::Base));

  QRect Button(width() - FButtonWidth, 2, FButtonWidth - 2, height() - 4);
  if (IsHot()) {
    if (FPressed)
      FrameRect(Painter, Button, palette().color(QPalette::Mid));
    else
      qDrawShadePanel(&Painter, Button, palette(), false, 1);
    Painter.fillRect(Button.adjusted(1, 1, -1, -1), Face);
  } else {
    Painter.fillRect(Button.adjusted(1, 1, -1, -1), Face);
  }
  QStyleOption Arrow;
  Arrow.initFrom(this);
  Arrow.rect = Button.adjusted(3, 3, -3, -3);
  Painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, Arrow);

  Option.rect = QRect(3, 3, width() - FButtonWidth - 4, height() - 6);
  Painter.drawControl(QStyle::CE_ComboBoxLabel, Option);
}

void TComboBox97::enterEvent(QEnterEvent* Event) {
  QComboBox::enterEvent(Event);
  if (!FMouseInControl && isEnabled()) {
    FMouseInControl = true;
    RedrawBorder();
  }
}

void TComboBox97::leaveEvent(QEvent* Event) {
  QComboBox::leaveEvent(Event);
  if (FMouseInControl && isEnabled()) {
    FMouseInControl = false;
    RedrawBorder();
  }
}

void TComboBox97::focusInEvent(QFocusEvent* Event) {
  QComboBox::focusInEvent(Event);
  RedrawBorder();
}

void TComboBox97::focusOutEvent(QFocusEvent* Event) {
  QComboBox::focusOutEvent(Event);
  RedrawBorder();
}

void TComboBox97::mousePressEvent(QMouseEvent* Event) {
  // The button looks held while the press that drops the list lasts.
  if (ButtonRect().contains(Event->position().toPoint()) || view()->isVisible()) {
    FPressed = true;
    FTracking = true;
    update();
  }
  QComboBox::mousePressEvent(Event);
}

void TComboBox97::mouseMoveEvent(QMouseEvent* Event) {
  if (FTracking) TrackButtonMouse(Event->position().toPoint());
  QComboBox::mouseMoveEvent(Event);
}

void TComboBox97::mouseReleaseEvent(QMouseEvent* Event) {
  TrackButtonMouse(QPoint(-1, -1));
  QComboBox::mouseReleaseEvent(Event);
}

void TComboBox97::changeEvent(QEvent* Event) {
  QComboBox::changeEvent(Event);
  if (Event->type() != QEvent::EnabledChange || !FFlat) return;
  if (isEnabled()) {
    FColor = FSavedColor;
    FParentColor = FSavedParentColor;
  } else {
    FSavedParentColor = FParentColor;
    FSavedColor = FColor;
    FParentColor = true;
  }
  ApplyColor();
}

}  // namespace editor
