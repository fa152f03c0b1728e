#include "editor/controls/DragListBox.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/ui/Application.h"

namespace editor {

namespace {

// Hands the painting of each item to the list's owner.
class TOwnerDraw : public QStyledItemDelegate {
 public:
  explicit TOwnerDraw(TDragListBox& List) : QStyledItemDelegate(&List), FList(List) {}

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const bool Selected = Option.state.testFlag(QStyle::State_Selected);
    if (!FList.OnDrawItem) return QStyledItemDelegate::paint(Painter, Option, Index);
    Painter->save();
    ui::Guarded([&] { FList.OnDrawItem(*Painter, Index.row(), Option.rect, Selected); });
    Painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), FList.ItemHeight()};
  }

 private:
  TDragListBox& FList;
};

}  // namespace

TDragListBox::TDragListBox(QWidget* Parent) : QListWidget(Parent) {
  setItemDelegate(new TOwnerDraw(*this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
}

void TDragListBox::SetItemHeight(int Value) {
  FItemHeight = Value;
  doItemsLayout();
}

int TDragListBox::ItemAtPos(const QPoint& Point) const {
  const QModelIndex Index = indexAt(Point);
  return Index.isValid() ? Index.row() : -1;
}

void TDragListBox::startDrag(Qt::DropActions) {
  const QModelIndexList Dragged = selectedIndexes();
  if (Dragged.isEmpty()) return;
  if (OnStartDrag) ui::Guarded([this] { OnStartDrag(); });
  // A drag of our own, so that no outcome of it takes items out of the list.
  auto* Drag = new QDrag(this);
  Drag->setMimeData(model()->mimeData(Dragged));
  Drag->exec(Qt::MoveAction);
}

bool TDragListBox::Accepts(QObject* Source) const { return OnDragOver && OnDragOver(Source); }

void TDragListBox::dragEnterEvent(QDragEnterEvent* Event) {
  if (Accepts(Event->source()))
    Event->acceptProposedAction();
  else
    Event->ignore();
}

void TDragListBox::dragMoveEvent(QDragMoveEvent* Event) {
  // The list scrolls near its edges; whether the drop is taken is the owner's say.
  QListWidget::dragMoveEvent(Event);
  if (Accepts(Event->source()))
    Event->acceptProposedAction();
  else
    Event->ignore();
}

void TDragListBox::dropEvent(QDropEvent* Event) {
  if (!Accepts(Event->source())) {
    Event->ignore();
    return;
  }
  // The owner moves what the items show; nothing is to be taken from the source.
  Event->setDropAction(Qt::IgnoreAction);
  Event->accept();
  const QPoint Point = Event->position().toPoint();
  if (OnDragDrop) ui::Guarded([&] { OnDragDrop(Point.x(), Point.y()); });
}

void TDragListBox::keyPressEvent(QKeyEvent* Event) {
  if (OnKeyDown) ui::Guarded([&] { OnKeyDown(Event->key()); });
  QListWidget::keyPressEvent(Event);
}

}  // namespace editor
