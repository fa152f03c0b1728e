// TWindowCanvas: a control whose picture is a persistent off-screen TBitmap. Whatever
// draws on it (the GIF library, a tool, a painter's hand-off) draws on the surface at
// any time and then calls Invalidate; paintEvent only copies the surface to the screen,
// so nothing draws or pumps events while Qt paints. The surface follows the control's
// size, keeping what it holds and filling new area with its brush.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"

namespace ui {

class TWindowCanvas : public QWidget {
 public:
  explicit TWindowCanvas(QWidget* Parent = nullptr);

  graphics::TBitmap& Surface() { return FSurface; }
  graphics::TCanvas& Canvas() { return FSurface.Canvas(); }

  // The surface changed (all of it, or Rect): it is shown at the next paint.
  void Invalidate();
  void Invalidate(const base::TRect& Rect);

  // The picture as last shown; refreshed from the surface when it changed.
  const QImage& Shown();

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  graphics::TBitmap FSurface;
  QImage FShown;
  bool FStale = true;
};

}  // namespace ui
