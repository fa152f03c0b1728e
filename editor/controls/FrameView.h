// TFrameView: the frame editor's picture. It shows the frame bitmap stretched over the
// control, the floating selection's picture where it will land and the selection's
// dotted outline, all through one mapping: display point d shows frame pixel
// d x frame side div control side, nearest neighbour, so at real size one frame pixel
// is one display pixel. Bitmaps are drawn on elsewhere and then Invalidate is called;
// paintEvent only scales the visible part of the cached pictures.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/graphics/Bitmap.h"

namespace editor {

class TFrameView : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameView(QWidget* Parent = nullptr);

  // The frame bitmap shown (not owned); none shows the background.
  void SetPicture(graphics::TBitmap* Picture);
  // The floating picture (not owned; none: no picture) with its top-left frame pixel.
  void SetSelection(graphics::TBitmap* Picture, QPoint At);
  // The frame rectangle the dotted outline surrounds; an invalid one hides it.
  void SetOutline(const QRect& FrameRect);
  QRect Outline() const { return FOutline; }
  QPoint SelectionAt() const { return FSelectionAt; }

  // The frame pixel under a display point of the control.
  QPoint FramePoint(QPoint Display) const;
  // The first display column (row) that shows frame column (row) Frame.
  int DisplayX(int Frame) const;
  int DisplayY(int Frame) const;

  // The bitmaps changed: their pictures are taken again at the next paint.
  void Invalidate();

  std::function<void(QMouseEvent*)> OnMouseDown;
  std::function<void(QMouseEvent*)> OnMouseMove;
  std::function<void(QMouseEvent*)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  int FrameWidth() const;
  int FrameHeight() const;
  void Refresh();

  graphics::TBitmap* FPicture = nullptr;
  graphics::TBitmap* FSelection = nullptr;
  QPoint FSelectionAt;
  QRect FOutline;
  QImage FShown;
  QImage FShownSelection;
  bool FStale = true;
};

}  // namespace editor
