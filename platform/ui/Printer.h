// The program's printer: the print and printer set-up dialogs configure it and the next
// print uses it. Where no printer exists Qt prints to a PDF file.
#pragma once

#include <QPrinter>

namespace ui {

QPrinter& Printer();

}  // namespace ui
