// TPaletteGrid: a colour table shown as a grid of cells, one per entry, as square as
// the entry count allows and centred in the control. It keeps a copy of the colours it
// shows, so a table freed elsewhere never reaches it; hit tests use the grid's own
// bounds. The global palette window and the extension editor share it.
#pragma once

#include <vector>

#include "platform/base/Types.h"
#include "platform/ui/WindowCanvas.h"

namespace gif {
class TGIFColorMap;
}

namespace editor {

// The entries of Map as colours, red in the low byte.
std::vector<base::TColor> ColorsOf(const gif::TGIFColorMap& Map);

struct TPaletteGridLayout {
  int Rows = 0;
  int Cols = 0;
  int CellHeight = 0;
  int CellWidth = 0;
  int LeftMargin = 0;
  int TopMargin = 0;

  // Trunc(Sqrt(Count)) rows of as many columns as the entries need; none for no entry.
  static TPaletteGridLayout For(int Count, int Width, int Height);
  // The entry under (X, Y); -1 outside the grid, in an empty cell or with cells
  // smaller than a pixel.
  int IndexAt(int X, int Y, int Count) const;
  base::TRect CellRect(int Index) const;
};

class TPaletteGrid : public ui::TWindowCanvas {
  Q_OBJECT

 public:
  explicit TPaletteGrid(QWidget* Parent = nullptr);
  // A full table of 16 x 16 entries in cells of 16 pixels.
  QSize sizeHint() const override;

  // Lays the grid out for Colors and draws it; no colours leave the box empty.
  void ShowColors(std::vector<base::TColor> Colors);
  // The colour of cells past the last entry.
  void SetEmptyCellColor(base::TColor Color) { FEmptyCellColor = Color; }

  const TPaletteGridLayout& Layout() const { return FLayout; }
  int Count() const { return static_cast<int>(FColors.size()); }
  base::TColor Colors(int Index) const { return FColors.at(static_cast<size_t>(Index)); }
  int IndexAt(int X, int Y) const { return FLayout.IndexAt(X, Y, Count()); }

 signals:
  void GridMouseMove(int X, int Y);
  void GridMouseUp(int X, int Y);

 protected:
  void resizeEvent(QResizeEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  void Redraw();

  std::vector<base::TColor> FColors;
  TPaletteGridLayout FLayout;
  base::TColor FEmptyCellColor;
};

}  // namespace editor
