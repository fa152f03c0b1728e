#include "editor/ChildWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>
#include <cmath>

namespace editor {

namespace {

QSize LeastSize(const QWidget& Window) { return Window.minimumSizeHint().expandedTo(Window.minimumSize()); }

QRect AreaRect(const QMdiArea& Area) { return Area.viewport()->rect(); }

// The children Tile and Cascade arrange, in Order, back to normal where maximised.
QList<QMdiSubWindow*> Arranged(QMdiArea& Area, QMdiArea::WindowOrder Order) {
  QList<QMdiSubWindow*> Children;
  for (QMdiSubWindow* Child : Area.subWindowList(Order)) {
    if (Child->isHidden() || Child->isMinimized()) continue;
    if (Child->isMaximized()) Child->showNormal();
    Children << Child;
  }
  return Children;
}

QPoint CascadePlace(const QRect& Area, int Step, int Place) { return Area.topLeft() + QPoint(Place * Step, Place * Step); }

// A window of Size at Corner, made smaller where it would leave Area, not below Least.
QRect FittedFrom(QPoint Corner, QSize Size, QSize Least, const QRect& Area) {
  const QSize Room(Area.left() + Area.width() - Corner.x(), Area.top() + Area.height() - Corner.y());
  return FitInside(QRect(Corner, Size.boundedTo(Room)), Least, Area);
}

}  // namespace

QRect FitInside(const QRect& Window, const QSize& Least, const QRect& Area) {
  const int Width = std::max(std::min(Window.width(), Area.width()), Least.width());
  const int Height = std::max(std::min(Window.height(), Area.height()), Least.height());
  const int Left = std::max(std::min(Window.left(), Area.left() + Area.width() - Width), Area.left());
  const int Top = std::max(std::min(Window.top(), Area.top() + Area.height() - Height), Area.top());
  return {Left, Top, Width, Height};
}

std::vector<QRect> TileCells(int Count, const QRect& Area) {
  std::vector<QRect> Cells;
  if (Count <= 0) return Cells;
  const int Columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(Count))));
  const int Rows = (Count + Columns - 1) / Columns;
  for (int Row = 0; Row < Rows; ++Row) {
    const int InRow = std::min(Columns, Count - Row * Columns);
    const int Top = Area.top() + Area.height() * Row / Rows;
    const int Bottom = Area.top() + Area.height() * (Row + 1) / Rows;
    for (int Column = 0; Column < InRow; ++Column) {
      const int Left = Area.left() + Area.width() * Column / InRow;
      const int Right = Area.left() + Area.width() * (Column + 1) / InRow;
      Cells.emplace_back(Left, Top, Right - Left, Bottom - Top);
    }
  }
  return Cells;
}

int CascadePlaces(const QRect& Area, int Step) {
  if (Step <= 0) return 1;
  return std::max(1, std::min(Area.width(), Area.height()) / 2 / Step);
}

int CascadeStep(const QMdiSubWindow& Window) {
  QStyleOptionTitleBar Option;
  Option.initFrom(&Window);
  return std::max(1, Window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &Option, &Window));
}

void PlaceNewChild(QMdiArea& Area, QMdiSubWindow& Window) {
  const QRect Bounds = AreaRect(Area);
  const QSize Least = LeastSize(Window);
  const QSize Size = Window.sizeHint().boundedTo(Bounds.size()).expandedTo(Least);
  const int Step = CascadeStep(Window);
  std::vector<QPoint> Taken;
  for (QMdiSubWindow* Other : Area.subWindowList())
    if (Other != &Window && !Other->isHidden() && !Other->isMinimized()) Taken.push_back(Other->pos());
  const int Places = CascadePlaces(Bounds, Step);
  int Chosen = -1;
  for (int Place = 0; Place < Places && Chosen < 0; ++Place)
    if (std::find(Taken.begin(), Taken.end(), CascadePlace(Bounds, Step, Place)) == Taken.end()) Chosen = Place;
  // Every place taken: round again from the corner, as the platform does.
  if (Chosen < 0) Chosen = static_cast<int>(Taken.size()) % Places;
  Window.setGeometry(FittedFrom(CascadePlace(Bounds, Step, Chosen), Size, Least, Bounds));
}

void TileChildren(QMdiArea& Area) {
  const QList<QMdiSubWindow*> Children = Arranged(Area, QMdiArea::CreationOrder);
  const std::vector<QRect> Cells = TileCells(static_cast<int>(Children.size()), AreaRect(Area));
  for (qsizetype Index = 0; Index < Children.size(); ++Index)
    Children[Index]->setGeometry(FitInside(Cells[static_cast<size_t>(Index)], LeastSize(*Children[Index]), AreaRect(Area)));
}

void CascadeChildren(QMdiArea& Area) {
  // From the back to the front, so that the active child ends on top, its title shown.
  const QList<QMdiSubWindow*> Children = Arranged(Area, QMdiArea::StackingOrder);
  if (Children.isEmpty()) return;
  const QRect Bounds = AreaRect(Area);
  const int Step = CascadeStep(*Children.front());
  const int Places = CascadePlaces(Bounds, Step);
  for (qsizetype Index = 0; Index < Children.size(); ++Index) {
    QMdiSubWindow& Child = *Children[Index];
    // Each keeps its size as far as it fits from its place.
    Child.setGeometry(
        FittedFrom(CascadePlace(Bounds, Step, static_cast<int>(Index % Places)), Child.size(), LeastSize(Child), Bounds));
    Child.raise();
  }
}

}  // namespace editor
