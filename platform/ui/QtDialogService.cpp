#include "platform/ui/QtDialogService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/FileFilter.h"
#include "platform/ui/Printer.h"

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
  Dialog.SetFilterIndex(FilterIndexOf(Box.nameFilters(), Box.selectedNameFilter()));
  return true;
}

// The picture under the cursor, read through the program's own picture formats and
// shown at most PreviewSide pixels wide and high.
void AddPicturePreview(QFileDialog& Box) {
  constexpr int PreviewSide = 160;
  Box.setOption(QFileDialog::DontUseNativeDialog);
  auto* Layout = qobject_cast<QGridLayout*>(Box.layout());
  if (!Layout) return;
  auto* Preview = new QLabel(&Box);
  Preview->setObjectName(QStringLiteral("PicturePreview"));
  Preview->setFixedSize(PreviewSide, PreviewSide);
  Preview->setAlignment(Qt::AlignCenter);
  Preview->setFrameShape(QFrame::StyledPanel);
  Layout->addWidget(Preview, 0, Layout->columnCount(), Layout->rowCount(), 1);
  QObject::connect(&Box, &QFileDialog::currentChanged, Preview, [Preview](const QString& Path) {
    Preview->clear();
    if (!QFileInfo(Path).isFile()) return;
    try {
      graphics::TPicture Picture;
      Picture.LoadFromFile(Path.toStdString());
      graphics::TGraphic* Graphic = Picture.Graphic();
      if (!Graphic || Graphic->Width() <= 0 || Graphic->Height() <= 0) return;
      graphics::TBitmap Bitmap;
      Bitmap.SetPixelFormat(graphics::pf24bit);
      Bitmap.SetWidth(Graphic->Width());
      Bitmap.SetHeight(Graphic->Height());
      Bitmap.Canvas().Draw(0, 0, Graphic);
      const QImage Image = BitmapToQImage(Bitmap);
      Preview->setPixmap(QPixmap::fromImage(Image.width() > PreviewSide || Image.height() > PreviewSide
                                                ? Image.scaled(PreviewSide, PreviewSide, Qt::KeepAspectRatio)
                                                : Image));
    } catch (const std::exception&) {
      // A file that is no picture shows nothing.
    }
  });
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
  Prepare(Box, Dialog);
  if (dynamic_cast<TOpenPictureDialog*>(&Dialog)) AddPicturePreview(Box);
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
  bool Accepted = false;
  const QFont Chosen = QFontDialog::getFont(&Accepted, Dialog.Font(), QApplication::activeWindow());
  if (Accepted) Dialog.SetFont(Chosen);
  return Accepted;
}

bool TQtDialogService::ExecutePrint(TPrintDialog&) {
  QPrintDialog Box(&Printer(), QApplication::activeWindow());
  return Box.exec() == QDialog::Accepted;
}

bool TQtDialogService::ExecutePrinterSetup(TPrinterSetupDialog&) {
  QPrintDialog Box(&Printer(), QApplication::activeWindow());
  Box.setWindowTitle(QStringLiteral("Printer Setup"));
  Box.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  return Box.exec() == QDialog::Accepted;
}

bool TQtDialogService::SelectDirectory(const std::string& Caption, std::string& Directory) {
  const QString Chosen =
      QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(Caption), ToQString(Directory));
  if (Chosen.isEmpty()) return false;
  Directory = Chosen.toStdString();
  return true;
}

}  // namespace ui
