#include "platform/ui/Printer.h"

namespace ui {

QPrinter& Printer() {
  // Never freed: it must outlive the application object, whatever the order of exit.
  static QPrinter* Instance = new QPrinter(QPrinter::HighResolution);
  return *Instance;
}

}  // namespace ui
