#include "editor/controls/FrameView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <vector>

#include "platform/ui/BitmapImage.h"

namespace editor {

namespace {

// Where display coordinate D lands among Frame pixels spread over Display ones.
int ToFrame(int D, int Frame, int Display) {
  if (Display <= 0) return 0;
  return static_cast<int>(int64_t{D} * Frame / Display);
}

// The first display coordinate that shows frame pixel F.
int ToDisplay(int F, int Frame, int Display) {
  if (Frame <= 0) return 0;
  const int64_t Scaled = int64_t{F} * Display;
  return static_cast<int>(Scaled >= 0 ? (Scaled + Frame - 1) / Frame : Scaled / Frame);
}

}  // namespace

TFrameView::TFrameView(QWidget* Parent) : QWidget(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The status panels follow the mouse with no button down.
  setMouseTracking(true);
}

void TFrameView::SetPicture(graphics::TBitmap* Picture) {
  FPicture = Picture;
  Invalidate();
}

void TFrameView::SetSelection(graphics::TBitmap* Picture, QPoint At) {
  FSelection = Picture;
  FSelectionAt = At;
  Invalidate();
}

void TFrameView::SetOutline(const QRect& FrameRect) {
  FOutline = FrameRect;
  update();
}

int TFrameView::FrameWidth() const { return FPicture && !FPicture->Empty() ? FPicture->Width() : 0; }
int TFrameView::FrameHeight() const { return FPicture && !FPicture->Empty() ? FPicture->Height() : 0; }

QPoint TFrameView::FramePoint(QPoint Display) const {
  return {ToFrame(Display.x(), FrameWidth(), width()), ToFrame(Display.y(), FrameHeight(), height())};
}

int TFrameView::DisplayX(int Frame) const { return ToDisplay(Frame, FrameWidth(), width()); }
int TFrameView::DisplayY(int Frame) const { return ToDisplay(Frame, FrameHeight(), height()); }

void TFrameView::Invalidate() {
  FStale = true;
  update();
}

void TFrameView::Refresh() {
  if (!FStale) return;
  FShown =
      FPicture && !FPicture->Empty() ? ui::BitmapToQImage(*FPicture).convertToFormat(QImage::Format_RGB32) : QImage();
  FShownSelection = FSelection && !FSelection->Empty()
                        ? ui::BitmapToQImage(*FSelection).convertToFormat(QImage::Format_RGB32)
                        : QImage();
  FStale = false;
}

void TFrameView::paintEvent(QPaintEvent* Event) {
  Refresh();
  QPainter Painter(this);
  const QRect Area = Event->rect();
  if (FShown.isNull()) {
    Painter.fillRect(Area, palette().window());
    return;
  }
  // Only the visible part is scaled, row and column tables through the one mapping.
  const int FW = FShown.width(), FH = FShown.height();
  std::vector<int> Columns(static_cast<size_t>(Area.width()));
  for (int X = 0; X < Area.width(); ++X) Columns[static_cast<size_t>(X)] = ToFrame(Area.left() + X, FW, width());
  QImage Scaled(Area.size(), QImage::Format_RGB32);
  const QRect Floating(FSelectionAt, FShownSelection.size());
  for (int Y = 0; Y < Area.height(); ++Y) {
    const int FY = ToFrame(Area.top() + Y, FH, height());
    auto* Out = reinterpret_cast<QRgb*>(Scaled.scanLine(Y));
    if (FY >= FH) {
      std::fill(Out, Out + Area.width(), palette().window().color().rgb());
      continue;
    }
    const auto* Row = reinterpret_cast<const QRgb*>(FShown.constScanLine(FY));
    const bool InFloatingRow = !FShownSelection.isNull() && FY >= Floating.top() && FY <= Floating.bottom();
    const QRgb* FloatRow =
        InFloatingRow ? reinterpret_cast<const QRgb*>(FShownSelection.constScanLine(FY - Floating.top())) : nullptr;
    for (int X = 0; X < Area.width(); ++X) {
      const int FX = Columns[static_cast<size_t>(X)];
      if (FloatRow && FX >= Floating.left() && FX <= Floating.right())
        Out[X] = FloatRow[FX - Floating.left()];
      else
        Out[X] = FX < FW ? Row[FX] : palette().window().color().rgb();
    }
  }
  Painter.drawImage(Area.topLeft(), Scaled);
  if (!FOutline.isValid()) return;
  // One display pixel outside the pixels it surrounds.
  const QRect Box(QPoint(DisplayX(FOutline.left()) - 1, DisplayY(FOutline.top()) - 1),
                  QPoint(DisplayX(FOutline.right() + 1) - 1, DisplayY(FOutline.bottom() + 1) - 1));
  // A stroked QRect reaches one pixel past its right and bottom.
  Painter.setBrush(Qt::NoBrush);
  // Black dots on white, so the outline shows on any picture.
  Painter.setPen(QPen(Qt::white, 1));
  Painter.drawRect(Box);
  Painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
  Painter.drawRect(Box);
}

void TFrameView::mousePressEvent(QMouseEvent* Event) {
  if (OnMouseDown) OnMouseDown(Event);
}

void TFrameView::mouseMoveEvent(QMouseEvent* Event) {
  if (OnMouseMove) OnMouseMove(Event);
}

void TFrameView::mouseReleaseEvent(QMouseEvent* Event) {
  if (OnMouseUp) OnMouseUp(Event);
}

}  // namespace editor
