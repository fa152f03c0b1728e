#include "editor/QtPainterClock.h"

#include <QCoreApplication>

#include "platform/ui/Application.h"

namespace editor {

bool TQtPainterClock::ProcessMessages() {
  ui::ProcessMessages();
  return !QCoreApplication::closingDown();
}

void InstallQtPainterClock() {
  static TQtPainterClock Clock;
  gif::SetPainterClock(&Clock);
}

}  // namespace editor
