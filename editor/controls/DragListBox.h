// TDragListBox: an owner-drawn list box of fixed item height whose items can be
// dragged onto one another. The owner draws each item, says which drags it accepts and
// does the drop itself; the list never reorders or removes its own items.
#pragma once

#include <QListWidget>
#include <functional>

namespace editor {

class TDragListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TDragListBox(QWidget* Parent = nullptr);

  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  // The index of the item under Point (viewport coordinates), or -1.
  int ItemAtPos(const QPoint& Point) const;

  // Draws item Index into Rect; Selected tells whether it is the selected one.
  std::function<void(QPainter& Painter, int Index, const QRect& Rect, bool Selected)> OnDrawItem;
  std::function<void()> OnStartDrag;
  // Whether a drag from Source may be dropped here.
  std::function<bool(QObject* Source)> OnDragOver;
  // A drop at (X, Y) in viewport coordinates.
  std::function<void(int X, int Y)> OnDragDrop;
  std::function<void(int Key)> OnKeyDown;

 protected:
  void startDrag(Qt::DropActions SupportedActions) override;
  void dragEnterEvent(QDragEnterEvent* Event) override;
  void dragMoveEvent(QDragMoveEvent* Event) override;
  void dropEvent(QDropEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

 private:
  bool Accepts(QObject* Source) const;

  int FItemHeight = 16;
};

}  // namespace editor
