// The painters' clock of the program: a synchronous play on the GUI thread keeps the
// windows alive by running Qt's waiting events while it waits.
#pragma once

#include "gif/PainterClock.h"

namespace editor {

class TQtPainterClock : public gif::TSteadyPainterClock {
 public:
  bool ProcessMessages() override;
};

// Makes the process-wide painter clock the Qt one; it stays for the process.
void InstallQtPainterClock();

}  // namespace editor
