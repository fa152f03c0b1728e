#include "platform/ui/HourGlass.h"

#include <QCursor>
#include <QGuiApplication>

namespace ui {

THourGlass::THourGlass(TBusyCursor Cursor) {
  QGuiApplication::setOverrideCursor(QCursor(Cursor == crAppStart ? Qt::BusyCursor : Qt::WaitCursor));
}

THourGlass::~THourGlass() { QGuiApplication::restoreOverrideCursor(); }

}  // namespace ui
