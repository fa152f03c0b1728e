#include "platform/ui/PrinterSetup.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {

namespace {

// The print dialog's own text, in its translation.
QString PrintToFileChoice() { return QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"); }

}  // namespace

QStringList PrinterChoices() { return QPrinterInfo::availablePrinterNames() << PrintToFileChoice(); }

bool RunPrinterSetup(QPrinter& Printer, QWidget* Parent) {
  QPageSetupDialog Box(&Printer, Parent);
  Box.setWindowTitle(QStringLiteral("Printer Setup"));
  const QStringList Choices = PrinterChoices();
  auto* Choice = new QComboBox(&Box);
  Choice->setObjectName(QStringLiteral("PrinterChoice"));
  Choice->addItems(Choices);
  const qsizetype Current =
      Printer.outputFormat() == QPrinter::PdfFormat ? Choices.size() - 1 : Choices.indexOf(Printer.printerName());
  Choice->setCurrentIndex(static_cast<int>(std::max<qsizetype>(Current, 0)));
  auto* Row = new QFormLayout;
  auto* Label = new QLabel(QStringLiteral("&Printer:"), &Box);
  Label->setBuddy(Choice);
  Row->addRow(Label, Choice);
  if (auto* Column = qobject_cast<QVBoxLayout*>(Box.layout()))
    Column->insertLayout(0, Row);
  else if (Box.layout())
    Box.layout()->addItem(Row);
  if (Box.exec() != QDialog::Accepted) return false;
  // After the page set-up has written paper and orientation: a change of printer or
  // engine carries them over, and the file name is not touched.
  if (Choice->currentIndex() == Choices.size() - 1)
    Printer.setOutputFormat(QPrinter::PdfFormat);
  else
    Printer.setPrinterName(Choices[Choice->currentIndex()]);
  return true;
}

}  // namespace ui
