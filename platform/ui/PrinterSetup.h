// The printer set-up dialog: Qt's page set-up (paper, orientation) on a printer, with a
// choice of the printer itself above it.
#pragma once

#include <QStringList>

class QPrinter;
class QWidget;

namespace ui {

// What the print dialog offers: the system's printers, then printing to a PDF file.
QStringList PrinterChoices();
// True on OK, with the choices made on Printer; its output file is left as it was.
bool RunPrinterSetup(QPrinter& Printer, QWidget* Parent);

}  // namespace ui
