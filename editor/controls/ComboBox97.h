// TComboBox97: the stock combo box, optionally drawn flat: a thin border and a flat
// drop-down button that rise while the mouse is over the control or it has the focus.
#pragma once

#include <QComboBox>

#include "platform/base/Types.h"

namespace editor {

class TComboBox97 : public QComboBox {
  Q_OBJECT
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)

 public:
  explicit TComboBox97(QWidget* Parent = nullptr);

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Ctl3D() const { return !FFlat; }

  // The background; setting it clears ParentColor.
  base::TColor Color() const { return FColor; }
  void SetColor(base::TColor Value);
  // The background follows the parent's colour.
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

  int ButtonWidth() const { return FButtonWidth; }
  bool Pressed() const { return FPressed; }
  bool Tracking() const { return FTracking; }
  bool MouseInControl() const { return FMouseInControl; }
  bool IsHot() const;

  void hidePopup() override;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void enterEvent(QEnterEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void changeEvent(QEvent* Event) override;

 private:
  QRect ButtonRect() const;
  void TrackButtonMouse(QPoint Point);
  void ApplyColor();
  void RedrawBorder() { update(); }

  bool FFlat = false;
  base::TColor FColor;
  bool FParentColor = false;
  base::TColor FSavedColor;
  bool FSavedParentColor = false;
  int FButtonWidth = 0;
  bool FPressed = false;
  bool FTracking = false;
  bool FMouseInControl = false;
};

}  // namespace editor
