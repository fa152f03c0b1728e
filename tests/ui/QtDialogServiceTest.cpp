// The Qt service itself, driven offscreen: each dialog is answered from a timer once it
// is the active modal window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/PicturePreview.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/QtDialogService.h"

using namespace ui;

namespace {

// Calls Act with the modal window as soon as there is one.
void WhenModal(std::function<void(QWidget*)> Act) {
  QTimer::singleShot(0, [Act] {
    if (QWidget* Modal = QApplication::activeModalWidget())
      Act(Modal);
    else
      WhenModal(Act);
  });
}

QAbstractButton* ButtonWithText(QMessageBox* Box, const QString& Text) {
  for (QAbstractButton* Button : Box->buttons())
    if (Button->text() == Text) return Button;
  return nullptr;
}

}  // namespace

TEST(QtDialogService, MessageBoxShowsTextCaptionAndButtonsAndReturnsTheClickedOne) {
  TQtDialogService Service;
  struct {
    TMsgDlgButtons Buttons;
    QString Click;
    TModalResult Result;
  } const Cases[] = {
      {mbYesNoCancel, "&No", mrNo},
      {mbOKCancel, "OK", mrOk},
      {mbAbort | mbIgnore | mbAll, "&All", mrAll},
  };
  for (const auto& C : Cases) {
    QString Caption, Text;
    QStringList Labels;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    WhenModal([&](QWidget* Modal) {
      auto* Box = qobject_cast<QMessageBox*>(Modal);
      if (!Box) {
        ADD_FAILURE() << "no message box";
        Modal->close();
        return;
      }
      Caption = Box->windowTitle();
      Text = Box->text();
      Icon = Box->icon();
      for (QAbstractButton* Button : Box->buttons()) Labels << Button->text();
      QAbstractButton* Button = ButtonWithText(Box, C.Click);
      EXPECT_NE(Button, nullptr);
      if (Button) Button->click();
      else Box->reject();
    });
    EXPECT_EQ(Service.MessageBox("Save changes?", "Warning", mtWarning, C.Buttons), C.Result);
    EXPECT_EQ(Caption, "Warning");
    EXPECT_EQ(Text, "Save changes?");
    EXPECT_EQ(Icon, QMessageBox::Warning);
    EXPECT_EQ(Labels.size(), static_cast<qsizetype>(C.Buttons.Buttons().size()));
  }
}

TEST(QtDialogService, EscapeGivesCancel) {
  TQtDialogService Service;
  WhenModal([](QWidget* Modal) { static_cast<QMessageBox*>(Modal)->reject(); });
  EXPECT_EQ(Service.MessageBox("Overwrite", "Attention", mtInformation, mbOKCancel), mrCancel);
}

TEST(QtDialogService, SaveDialogAddsTheDefaultExtensionAndReportsTheFilter) {
  QTemporaryDir Dir;
  TQtDialogService Service;
  TSaveDialog Dialog;
  Dialog.SetFilter("Gif files|*.gif|Bmp files|*.bmp");
  Dialog.SetFilterIndex(2);
  Dialog.SetDefaultExt("bmp");
  Dialog.SetInitialDir(Dir.path().toStdString());
  QStringList Filters;
  QString Selected;
  WhenModal([&](QWidget* Modal) {
    auto* Box = qobject_cast<QFileDialog*>(Modal);
    if (!Box) {
      ADD_FAILURE() << "no file dialog";
      Modal->close();
      return;
    }
    Filters = Box->nameFilters();
    Selected = Box->selectedNameFilter();
    Box->selectFile("frame");
    static_cast<QDialog*>(Box)->accept();
  });
  ASSERT_TRUE(Service.ExecuteSave(Dialog));
  EXPECT_EQ(Filters, QStringList({"Gif files (*.gif)", "Bmp files (*.bmp)"}));
  EXPECT_EQ(Selected, "Bmp files");
  EXPECT_EQ(Dialog.FileName(), (Dir.path() + "/frame.bmp").toStdString());
  EXPECT_EQ(Dialog.FilterIndex(), 2);
}

// The descriptions carry their own patterns, so the list shows each once; the choice
// the user makes there is the index reported.
TEST(QtDialogService, FileTypeListShowsTheDescriptionsAloneAndReportsTheChosenOne) {
  QTemporaryDir Dir;
  const QString Picture = Dir.path() + "/frame.bmp";
  {
    QFile File(Picture);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  }
  TQtDialogService Service;
  TOpenDialog Dialog;
  Dialog.SetFilter("All (*.gif;*.bmp)|*.gif;*.bmp|Gif files|*.gif|Bmp files|*.bmp|Jpeg (*.jpg)|*.jpg");
  Dialog.SetFilterIndex(4);
  Dialog.SetInitialDir(Dir.path().toStdString());
  QStringList Shown;
  int Started = -1;
  WhenModal([&](QWidget* Modal) {
    auto* Box = qobject_cast<QFileDialog*>(Modal);
    auto* Types = Modal->findChild<QComboBox*>("fileTypeCombo");
    if (!Box || !Types) {
      ADD_FAILURE() << "no file dialog with a file-type list";
      Modal->close();
      return;
    }
    for (int I = 0; I < Types->count(); ++I) Shown << Types->itemText(I);
    Started = Types->currentIndex();
    Types->setCurrentIndex(2);
    emit Types->activated(2);
    Box->selectFile(Picture);
    static_cast<QDialog*>(Box)->accept();
  });
  ASSERT_TRUE(Service.ExecuteOpen(Dialog));
  EXPECT_EQ(Shown, QStringList({"All (*.gif;*.bmp)", "Gif files", "Bmp files", "Jpeg (*.jpg)"}));
  EXPECT_EQ(Started, 3);
  EXPECT_EQ(Dialog.FilterIndex(), 3);
  EXPECT_EQ(Dialog.FileName(), Picture.toStdString());
}

TEST(QtDialogService, CancelledOpenDialogChangesNothing) {
  TQtDialogService Service;
  TOpenDialog Dialog;
  Dialog.SetFileName("/kept/name.gif");
  WhenModal([](QWidget* Modal) { static_cast<QDialog*>(Modal)->reject(); });
  EXPECT_FALSE(Service.ExecuteOpen(Dialog));
  EXPECT_EQ(Dialog.FileName(), "/kept/name.gif");
  EXPECT_TRUE(Dialog.Files().empty());
}

namespace {

// The items of the combo box Name in Window.
QStringList ComboItems(QWidget* Window, const char* Name) {
  QStringList Items;
  if (auto* Combo = Window->findChild<QComboBox*>(Name))
    for (int I = 0; I < Combo->count(); ++I) Items << Combo->itemText(I);
  return Items;
}

}  // namespace

TEST(QtDialogService, PrinterSetupSetsPaperAndOrientationOnThePrinterAndKeepsItsOutputFile) {
  for (const QString& OutputFile : {QString(), QStringLiteral("/kept/place.pdf")}) {
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFileName(OutputFile);
    TQtDialogService Service;
    QStringList PrintOffers;
    WhenModal([&](QWidget* Modal) {
      PrintOffers = ComboItems(Modal, "printers");
      static_cast<QDialog*>(Modal)->reject();
    });
    TPrintDialog Print(Printer);
    EXPECT_FALSE(Service.ExecutePrint(Print));

    bool PageSetup = false;
    QString Title;
    QStringList Offers, Buttons;
    WhenModal([&](QWidget* Modal) {
      PageSetup = qobject_cast<QPageSetupDialog*>(Modal) != nullptr;
      Title = Modal->windowTitle();
      Offers = ComboItems(Modal, "PrinterChoice");
      for (auto* Box : Modal->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* Button : Box->buttons()) Buttons << Button->text();
      auto* Sizes = Modal->findChild<QComboBox*>("pageSizeCombo");
      auto* Landscape = Modal->findChild<QRadioButton*>("landscape");
      if (Sizes) Sizes->setCurrentIndex(Sizes->findText("A5"));
      if (Landscape) Landscape->click();
      static_cast<QDialog*>(Modal)->accept();
    });
    TPrinterSetupDialog Setup(Printer);
    ASSERT_TRUE(Service.ExecutePrinterSetup(Setup));
    EXPECT_TRUE(PageSetup);
    EXPECT_EQ(Title, "Printer Setup");
    EXPECT_FALSE(PrintOffers.isEmpty());
    EXPECT_EQ(Offers, PrintOffers);
    EXPECT_EQ(Offers, PrinterChoices());
    EXPECT_FALSE(Buttons.contains("&Print") || Buttons.contains("Print")) << Buttons.join(", ").toStdString();
    EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(Printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(Printer.outputFileName(), OutputFile);
  }
}

TEST(QtDialogService, CancelledPrinterSetupChangesNothing) {
  QPrinter Printer(QPrinter::HighResolution);
  const QPageLayout Before = Printer.pageLayout();
  TQtDialogService Service;
  WhenModal([](QWidget* Modal) {
    if (auto* Landscape = Modal->findChild<QRadioButton*>("landscape")) Landscape->click();
    static_cast<QDialog*>(Modal)->reject();
  });
  TPrinterSetupDialog Setup(Printer);
  EXPECT_FALSE(Service.ExecutePrinterSetup(Setup));
  EXPECT_TRUE(Printer.pageLayout().isEquivalentTo(Before));
  EXPECT_TRUE(Printer.outputFileName().isEmpty());
}

TEST(QtDialogService, PictureOpenDialogPreviewsTheFileUnderTheCursorAndTakesSeveralFiles) {
  QTemporaryDir Dir;
  const QString Picture = Dir.path() + "/wide.bmp";
  {
    graphics::TBitmap Bitmap;
    Bitmap.SetPixelFormat(graphics::pf24bit);
    Bitmap.SetWidth(320);
    Bitmap.SetHeight(80);
    Bitmap.SaveToFile(Picture.toStdString());
  }
  TQtDialogService Service;
  TOpenDialog Dialog;
  Dialog.SetAllowMultiSelect(true);
  Dialog.SetPicturePreview(true);
  QFileDialog::FileMode Mode = QFileDialog::AnyFile;
  QSize Shown;
  bool TextForNoPicture = false;
  WhenModal([&](QWidget* Modal) {
    auto* Box = qobject_cast<QFileDialog*>(Modal);
    auto* Preview = Modal->findChild<QLabel*>("PicturePreview");
    if (!Box || !Preview) {
      ADD_FAILURE() << "no file dialog with a preview";
      Modal->close();
      return;
    }
    Mode = Box->fileMode();
    emit Box->currentChanged(Picture);
    Shown = Preview->pixmap().size();
    emit Box->currentChanged(Dir.path() + "/missing.bmp");
    TextForNoPicture = Preview->pixmap().isNull() && !Preview->text().isEmpty();
    Box->reject();
  });
  EXPECT_FALSE(Service.ExecuteOpen(Dialog));
  EXPECT_EQ(Mode, QFileDialog::ExistingFiles);
  // Fitted into the square with its proportions kept.
  EXPECT_EQ(Shown, QSize(PicturePreviewSide, PicturePreviewSide / 4));
  EXPECT_TRUE(TextForNoPicture);
}
