#include "editor/controls/PaletteGrid.h"

#include <QMouseEvent>
#include <cmath>

#include "gif/ColorMap.h"
#include "platform/graphics/Colors.h"

namespace editor {

std::vector<base::TColor> ColorsOf(const gif::TGIFColorMap& Map) {
  std::vector<base::TColor> Colors;
  for (int I = 0; I < Map.Count(); ++I) {
    const uint8_t* T = Map.Data() + I * 3;
    Colors.push_back(T[0] | T[1] << 8 | T[2] << 16);
  }
  return Colors;
}

TPaletteGridLayout TPaletteGridLayout::For(int Count, int Width, int Height) {
  TPaletteGridLayout Layout;
  if (Count <= 0) return Layout;
  Layout.Rows = static_cast<int>(std::sqrt(static_cast<double>(Count)));
  Layout.Cols = (Layout.Rows + Count - 1) / Layout.Rows;
  Layout.CellHeight = Height / Layout.Rows;
  Layout.CellWidth = Width / Layout.Cols;
  Layout.LeftMargin = (Width - Layout.CellWidth * Layout.Cols) / 2;
  Layout.TopMargin = (Height - Layout.CellHeight * Layout.Rows) / 2;
  return Layout;
}

int TPaletteGridLayout::IndexAt(int X, int Y, int Count) const {
  if (CellWidth < 1 || CellHeight < 1) return -1;
  if (X < LeftMargin || Y < TopMargin || X >= LeftMargin + Cols * CellWidth || Y >= TopMargin + Rows * CellHeight)
    return -1;
  const int Index = (X - LeftMargin) / CellWidth + (Y - TopMargin) / CellHeight * Cols;
  return Index < Count ? Index : -1;
}

base::TRect TPaletteGridLayout::CellRect(int Index) const {
  const int Left = LeftMargin + Index % Cols * CellWidth;
  const int Top = TopMargin + Index / Cols * CellHeight;
  return base::Rect(Left, Top, Left + CellWidth, Top + CellHeight);
}

TPaletteGrid::TPaletteGrid(QWidget* Parent) : ui::TWindowCanvas(Parent), FEmptyCellColor(graphics::clBtnFace) {
  setMouseTracking(true);
}

QSize TPaletteGrid::sizeHint() const { return {256, 256}; }

void TPaletteGrid::ShowColors(std::vector<base::TColor> Colors) {
  FColors = std::move(Colors);
  Redraw();
}

void TPaletteGrid::resizeEvent(QResizeEvent* Event) {
  ui::TWindowCanvas::resizeEvent(Event);
  Redraw();
}

void TPaletteGrid::Redraw() {
  FLayout = TPaletteGridLayout::For(Count(), width(), height());
  graphics::TCanvas& Canvas = this->Canvas();
  const auto Fill = [&Canvas](const base::TRect& Area, base::TColor Color) {
    Canvas.Brush().SetColor(Color);
    Canvas.FillRect(Area);
  };
  Fill(base::Rect(0, 0, width(), height()), graphics::clBtnFace);
  if (FColors.empty() || FLayout.CellHeight <= 1 || FLayout.CellWidth <= 1) {
    Invalidate();
    return;
  }
  const bool Edged = FLayout.CellHeight > 6 && FLayout.CellWidth > 3;
  for (int Index = 0; Index < FLayout.Rows * FLayout.Cols; ++Index) {
    base::TRect Cell = FLayout.CellRect(Index);
    if (Index >= Count()) {
      Fill(Cell, FEmptyCellColor);
      continue;
    }
    if (Edged) {
      // A sunken inner edge: dark above and left, light below and right.
      Fill(base::Rect(Cell.Left, Cell.Top, Cell.Right, Cell.Top + 1), graphics::cl3DDkShadow);
      Fill(base::Rect(Cell.Left, Cell.Top, Cell.Left + 1, Cell.Bottom), graphics::cl3DDkShadow);
      Fill(base::Rect(Cell.Left, Cell.Bottom - 1, Cell.Right, Cell.Bottom), graphics::cl3DLight);
      Fill(base::Rect(Cell.Right - 1, Cell.Top, Cell.Right, Cell.Bottom), graphics::cl3DLight);
      Cell = base::Rect(Cell.Left + 1, Cell.Top + 1, Cell.Right - 1, Cell.Bottom - 1);
    }
    Fill(Cell, FColors[static_cast<size_t>(Index)]);
  }
  Invalidate();
}

void TPaletteGrid::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  emit GridMouseMove(At.x(), At.y());
}

void TPaletteGrid::mouseReleaseEvent(QMouseEvent* Event) {
  const QPoint At = Event->position().toPoint();
  emit GridMouseUp(At.x(), At.y());
}

}  // namespace editor
