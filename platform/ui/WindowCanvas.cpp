#include "platform/ui/WindowCanvas.h"

#include <QPaintEvent>
#include <QPainter>

#include "platform/ui/BitmapImage.h"

namespace ui {

TWindowCanvas::TWindowCanvas(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  FSurface.SetPixelFormat(graphics::pf24bit);
  FSurface.OnChange = [this](base::TObject*) { Invalidate(); };
}

void TWindowCanvas::Invalidate() {
  FStale = true;
  update();
}

void TWindowCanvas::Invalidate(const base::TRect& Rect) {
  FStale = true;
  update(QRect(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()));
}

const QImage& TWindowCanvas::Shown() {
  if (FStale) {
    FShown = BitmapToQImage(FSurface);
    FStale = false;
  }
  return FShown;
}

void TWindowCanvas::paintEvent(QPaintEvent* Event) {
  QPainter Painter(this);
  const QImage& Image = Shown();
  if (Image.isNull())
    Painter.fillRect(Event->rect(), palette().window());
  else
    Painter.drawImage(Event->rect(), Image, Event->rect());
}

void TWindowCanvas::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  FSurface.SetWidth(width());
  FSurface.SetHeight(height());
  Invalidate();
}

}  // namespace ui
