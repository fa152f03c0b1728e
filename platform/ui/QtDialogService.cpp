#include "platform/ui/QtDialogService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/ui/ColorConvert.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/PicturePreview.h"
#include "platform/ui/PrinterSetup.h"

namespace ui {

namespace {

QMessageBox::Icon IconOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole RoleOf(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes:
    case mbYesToAll: return QMessageBox::YesRole;
    case mbNo:
    case mbNoToAll: return QMessageBox::NoRole;
    case mbCancel:
    case mbAbort: return QMessageBox::RejectRole;
    case mbOK:
    case mbRetry:
    case mbIgnore:
    case mbAll: return QMessageBox::AcceptRole;
  }
  return QMessageBox::AcceptRole;
}

QString ToQString(const std::string& Text) { return QString::fromStdString(Text); }

// The common part of open and save: filters, folder, name and suffix.
void Prepare(QFileDialog& Box, const TOpenDialog& Dialog) {
  Box.setWindowTitle(ToQString(Dialog.Title()));
  // Descriptions such as "All (*.gif;*.bmp)" carry their patterns already.
  Box.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList Filters = QtNameFilters(Dialog.Filter());
  if (!Filters.isEmpty()) {
    Box.setNameFilters(Filters);
    const int Index = Dialog.FilterIndex();
    if (Index >= 1 && Index <= Filters.size()) Box.selectNameFilter(Filters[Index - 1]);
  }
  if (!Dialog.InitialDir().empty()) Box.setDirectory(ToQString(Dialog.InitialDir()));
  if (!Dialog.FileName().empty()) Box.selectFile(ToQString(Dialog.FileName()));
  Box.setDefaultSuffix(ToQString(Dialog.DefaultExt()));
}

bool Finish(QFileDialog& Box, TOpenDialog& Dialog) {
  if (Box.exec() != QDialog::Accepted || Box.selectedFiles().isEmpty()) return false;
  std::vector<std::string> Files;
  for (const QString& File : Box.selectedFiles()) Files.push_back(File.toStdString());
  Dialog.SetFiles(Files);
  Dialog.SetFilterIndex(FilterIndexOf(Dialog.Filter(), Box.selectedNameFilter()));
  return true;
}

}  // namespace

TModalResult TQtDialogService::MessageBox(const std::string& Text, const std::string& Caption, TMsgDlgType Type,
                                          TMsgDlgButtons Buttons) {
  QMessageBox Box(IconOf(Type), ToQString(Caption), ToQString(Text), QMessageBox::NoButton, QApplication::activeWindow());
  if (Buttons.Empty()) Buttons = mbOK;
  std::vector<std::pair<QAbstractButton*, TMsgDlgBtn>> Made;
  for (TMsgDlgBtn Button : Buttons.Buttons())
    Made.emplace_back(Box.addButton(ToQString(ButtonCaption(Button)), RoleOf(Button)), Button);
  Box.setDefaultButton(static_cast<QPushButton*>(Made.front().first));
  TMsgDlgBtn Escape;
  if (EscapeButton(Buttons, Escape))
    for (const auto& [Widget, Button] : Made)
      if (Button == Escape) Box.setEscapeButton(Widget);
  Box.exec();
  for (const auto& [Widget, Button] : Made)
    if (Box.clickedButton() == Widget) return ModalResultOf(Button);
  return mrCancel;
}

bool TQtDialogService::ExecuteOpen(TOpenDialog& Dialog) {
  QFileDialog Box(QApplication::activeWindow());
  Box.setAcceptMode(QFileDialog::AcceptOpen);
  Box.setFileMode(Dialog.AllowMultiSelect() ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  if (Dialog.PicturePreview()) {
    // The preview lives in Qt's own dialog; a native one has no room for it.
    Box.setOption(QFileDialog::DontUseNativeDialog);
    AddPicturePreview(Box);
  }
  Prepare(Box, Dialog);
  return Finish(Box, Dialog);
}

bool TQtDialogService::ExecuteSave(TSaveDialog& Dialog) {
  QFileDialog Box(QApplication::activeWindow());
  Box.setAcceptMode(QFileDialog::AcceptSave);
  Box.setFileMode(QFileDialog::AnyFile);
  Box.setOption(QFileDialog::DontConfirmOverwrite, !Dialog.OverwritePrompt());
  Prepare(Box, Dialog);
  return Finish(Box, Dialog);
}

bool TQtDialogService::ExecuteColor(TColorDialog& Dialog) {
  const QColor Chosen = QColorDialog::getColor(ToQColor(Dialog.Color()), QApplication::activeWindow());
  if (!Chosen.isValid()) return false;
  Dialog.SetColor(FromQColor(Chosen));
  return true;
}

bool TQtDialogService::ExecuteFont(TFontDialog& Dialog) {
  QFontDialog Box(Dialog.Font(), QApplication::activeWindow());
  // Qt's own dialog, so that the colour choice can join it as a row of its own.
  Box.setOption(QFontDialog::DontUseNativeDialog);
  QColor Color = ToQColor(Dialog.Color());
  auto* ColorButton = new QPushButton(QStringLiteral("&Color..."), &Box);
  auto ShowColor = [ColorButton, &Color] {
    ColorButton->setStyleSheet(QStringLiteral("QPushButton { color: %1; }").arg(Color.name()));
  };
  ShowColor();
  QObject::connect(ColorButton, &QPushButton::clicked, &Box, [&Box, &Color, ShowColor] {
    const QColor Chosen = QColorDialog::getColor(Color, &Box);
    if (!Chosen.isValid()) return;
    Color = Chosen;
    ShowColor();
  });
  if (auto* Grid = qobject_cast<QGridLayout*>(Box.layout()))
    Grid->addWidget(ColorButton, Grid->rowCount(), 0);
  else if (Box.layout())
    Box.layout()->addWidget(ColorButton);
  if (Box.exec() != QDialog::Accepted) return false;
  Dialog.SetFont(Box.selectedFont());
  Dialog.SetColor(FromQColor(Color));
  return true;
}

bool TQtDialogService::ExecutePrint(TPrintDialog& Dialog) {
  QPrintDialog Box(&Dialog.Printer(), QApplication::activeWindow());
  return Box.exec() == QDialog::Accepted;
}

bool TQtDialogService::ExecutePrinterSetup(TPrinterSetupDialog& Dialog) {
  return RunPrinterSetup(Dialog.Printer(), QApplication::activeWindow());
}

bool TQtDialogService::SelectDirectory(const std::string& Caption, std::string& Directory) {
  const QString Chosen =
      QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(Caption), ToQString(Directory));
  if (Chosen.isEmpty()) return false;
  Directory = Chosen.toStdString();
  return true;
}

}  // namespace ui
