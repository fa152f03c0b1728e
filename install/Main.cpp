#include "install/Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QStandardPaths>
#include <QStyle>
#include <algorithm>

#include "editor/Settings.h"
#include "install/Gradient.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/FontFaces.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/Shell.h"
#include "ui_Main.h"

// Resources of a static library are registered by hand.
static void InitInstallerResources() { Q_INIT_RESOURCE(Install); }

namespace install {

namespace {

constexpr const char* Caption = "Attention";
// The editor program and the icon its desktop entry shows, at the top of the archive.
constexpr const char* EditorProgram = "Animora";
constexpr const char* EditorIcon = "Animora.png";
// Reasons a failed installation lists before it only counts the rest.
constexpr size_t FailuresShown = 5;

const QColor White(255, 255, 255);
const QColor Purple(128, 0, 128);

QFont TitleFont(int PixelHeight) {
  QFont Font(QString::fromStdString(ui::InstalledFace("Times New Roman")));
  Font.setPixelSize(PixelHeight);
  Font.setBold(true);
  Font.setItalic(true);
  return Font;
}

void SetTitleStyle(QLabel* Label, int PixelHeight, const QColor& Color) {
  Label->setFont(TitleFont(PixelHeight));
  QPalette Palette = Label->palette();
  Palette.setColor(QPalette::WindowText, Color);
  Label->setPalette(Palette);
  // Sized to the text, which the faces here may set wider than the stored size.
  Label->adjustSize();
}

}  // namespace

TForm1::TForm1(ui::TSettingsStore& Settings, std::unique_ptr<ui::TShell> Shell, const std::string& ArchiveName,
               QWidget* Parent)
    : ui::TForm(Parent), Ui(std::make_unique<::Ui::TForm1>()), FSettings(Settings), FShell(std::move(Shell)) {
  InitInstallerResources();
  Ui->setupUi(this);
  QFont Font(QString::fromStdString(ui::InstalledFace("MS Sans Serif")));
  Font.setPixelSize(11);
  setFont(Font);
  // The application's icon, so that every window of the installer shows it, dialogs included.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/install/Animora.png")));

  // White first, the purple copy one pixel lower over it.
  const struct {
    QLabel* White;
    QLabel* Purple;
    int Height;
  } Titles[] = {{Ui->Label1, Ui->Label2, 32}, {Ui->Label3, Ui->Label4, 21}, {Ui->Label5, Ui->Label6, 16},
                {Ui->Label7, Ui->Label8, 16}, {Ui->Label9, Ui->Label10, 16}, {Ui->Label11, Ui->Label12, 16}};
  for (const auto& Title : Titles) {
    SetTitleStyle(Title.White, Title.Height, White);
    SetTitleStyle(Title.Purple, Title.Height, Purple);
    Title.Purple->raise();
  }

  Ui->BackButton->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  Ui->NextButton->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
  Ui->ExitButton->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  Ui->BrowseDirButton->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));

  connect(Ui->NextButton, &QToolButton::clicked, this, ui::GuardedSlot([this] { NextButtonClick(); }));
  connect(Ui->BackButton, &QToolButton::clicked, this, ui::GuardedSlot([this] { BackButtonClick(); }));
  connect(Ui->ExitButton, &QToolButton::clicked, this, ui::GuardedSlot([this] { ExitButtonClick(); }));
  connect(Ui->BrowseDirButton, &QToolButton::clicked, this, ui::GuardedSlot([this] { BrowseDirButtonClick(); }));
  OnShow = [this](base::TObject*) { FormShow(); };
  OnCloseQuery = [this](base::TObject*, bool& CanClose) { FormCloseQuery(CanClose); };

  Zipper.SetZipName(ArchiveName);
  Zipper.SetRecreateDirs(true);
  Zipper.SetOverwriteMode(zip::TUZOverwriteMode::Always);
  Zipper.SetHooks(&FZipHooks);
  Zipper.SetDoAll(true);
  Zipper.OnFilePercentDone = [this](base::TObject*, int Percent) { ZipperFilePercentDone(Percent); };
  Zipper.OnTotalPercentDone = [this](base::TObject*, int Percent) { ZipperTotalPercentDone(Percent); };
  Zipper.OnEntryFailed = [this](base::TObject*, int, const std::string& Message) { FFailures.push_back(Message); };
  Zipper.OnEndUnZip = [this](base::TObject*, int, const std::string&) { ++FFilesWritten; };
}

TForm1::~TForm1() = default;

std::string TForm1::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/Veltrane/Animora";
}

void TForm1::FormShow() {
  FInstalled = false;
  FormResize();
  Ui->EditDir->setText(QString::fromStdString(DefaultFolder()));
}

void TForm1::FormResize() {
  const QRect Outer = frameGeometry();
  Ui->InstallPanel->move(Outer.width() - 450, Outer.height() - 230);
  update();
}

void TForm1::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  const QRect Outer = frameGeometry();
  Painter.fillRect(0, 0, Outer.width(), Outer.height(), Qt::white);
  for (const TGradientBand& Band : GradientBands(Outer.height()))
    Painter.fillRect(0, Band.Top, Outer.width(), Band.Bottom - Band.Top, QColor(Band.Red, Band.Green, Band.Blue));
}

void TForm1::resizeEvent(QResizeEvent* Event) {
  ui::TForm::resizeEvent(Event);
  FormResize();
}

void TForm1::FormCloseQuery(bool& CanClose) {
  // The archive is open and files are half written; the unpacking finishes first.
  if (FExtracting) {
    CanClose = false;
    return;
  }
  if (FInstalled) return;
  CanClose = ui::Dialogs().MessageBox("Do you really want to exit?", Caption, ui::mtInformation, ui::mbOKCancel) ==
             ui::mrOk;
}

int TForm1::Page() const {
  const QWidget* Pages[] = {Ui->Panel1, Ui->Panel2, Ui->Panel3, Ui->Panel4};
  for (int I = 0; I < 4; ++I)
    if (!Pages[I]->isHidden()) return I + 1;
  return 0;
}

void TForm1::ShowPage(int Page) {
  QWidget* Pages[] = {Ui->Panel1, Ui->Panel2, Ui->Panel3, Ui->Panel4};
  for (int I = 0; I < 4; ++I) Pages[I]->setVisible(I + 1 == Page);
}

void TForm1::NextButtonClick() {
  Ui->BackButton->setEnabled(true);
  switch (Page()) {
    case 1: ShowPage(2); break;
    case 2:
      ShowPage(3);
      Ui->NextButton->setText(QStringLiteral("Copy"));
      break;
    case 3:
      if (TargetFolder().empty()) return;
      ShowPage(4);
      for (QWidget* Button : {Ui->NextButton, Ui->BackButton, Ui->ExitButton}) Button->hide();
      InstallFiles();
      break;
    default: break;
  }
}

void TForm1::BackButtonClick() {
  switch (Page()) {
    case 3: ShowPage(2); break;
    case 2:
      ShowPage(1);
      Ui->BackButton->setEnabled(false);
      break;
    default: break;
  }
}

void TForm1::ExitButtonClick() { Close(); }

void TForm1::BrowseDirButtonClick() {
  std::string Folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
  if (ui::Dialogs().SelectDirectory("Select Directory", Folder)) Ui->EditDir->setText(QString::fromStdString(Folder));
}

void TForm1::ZipperFilePercentDone(int Percent) { Ui->ProgressBar1->setValue(Percent); }

void TForm1::ZipperTotalPercentDone(int Percent) { Ui->ProgressBar2->setValue(Percent); }

std::string TForm1::TargetFolder() {
  const QString Text = Ui->EditDir->text().trimmed();
  const QString Folder = QDir::cleanPath(Text);
  if (Text.isEmpty() || !QDir::isAbsolutePath(Folder) || Folder == QStringLiteral("/")) {
    ui::Dialogs().MessageBox("Please enter the full path of the folder to install to; it cannot be \"/\".", Caption,
                             ui::mtWarning, ui::mbOK);
    return {};
  }
  return Folder.toStdString();
}

bool TForm1::Unpack(const std::string& Folder) {
  std::string Failure;
  int Files = 0;
  FFailures.clear();
  FFilesWritten = 0;
  FExtracting = true;
  try {
    Zipper.SetDestDir(Folder);
    Zipper.UnZip();
    // Folder entries are no files of their own.
    for (int I = 0; I < Zipper.Count(); ++I)
      if (!Zipper.Entries(I).FileName().empty()) ++Files;
  } catch (const std::exception& Error) {
    Failure = Error.what();
  }
  FExtracting = false;
  if (Failure.empty() && Files == 0) Failure = "The archive holds no files.";
  if (Failure.empty() && (FFilesWritten != Files || !FFailures.empty())) {
    Failure = std::to_string(FFilesWritten) + " of the " + std::to_string(Files) + " files could be extracted.";
    // A message box holds a few lines; a large archive could fail by the hundred.
    const size_t Shown = std::min(FFailures.size(), FailuresShown);
    for (size_t I = 0; I < Shown; ++I) Failure += "\n" + FFailures[I];
    if (FFailures.size() > Shown) Failure += "\n... and " + std::to_string(FFailures.size() - Shown) + " more.";
  }
  if (Failure.empty()) return true;
  ui::Dialogs().MessageBox("The installation failed: " + Failure, Caption, ui::mtError, ui::mbOK);
  return false;
}

void TForm1::WriteFirstSettings() {
  using namespace editor::option;
  FSettings.WriteInteger(ui::OptionSection, TB1Width.Name, 382);
  FSettings.WriteInteger(ui::OptionSection, TB2Width.Name, 240);
  FSettings.WriteInteger(ui::OptionSection, TB3Width.Name, 158);
  FSettings.UpdateFile();
}

void TForm1::InstallFiles() {
  const std::string Folder = TargetFolder();
  if (Folder.empty() || !Unpack(Folder)) {
    // Back to the folder page, to choose another folder or leave.
    Ui->ProgressBar1->setValue(0);
    Ui->ProgressBar2->setValue(0);
    ShowPage(3);
    for (QWidget* Button : {Ui->NextButton, Ui->BackButton, Ui->ExitButton}) Button->show();
    return;
  }
  FInstalled = true;
  for (QLabel* Title : {Ui->Label12, Ui->Label11}) {
    Title->setText(QStringLiteral("Creating icon"));
    Title->repaint();
  }
  WriteFirstSettings();
  const std::string Editor = Folder + "/" + EditorProgram;
  CreateShortcut(Editor, "Animora");
  if (ui::Dialogs().MessageBox("Installation complete. Run Veltrane Animora?", Caption, ui::mtInformation,
                               ui::mbOKCancel) == ui::mrOk &&
      !FShell->StartProgram(Editor, {}, Folder))
    ui::Dialogs().MessageBox("Veltrane Animora could not be started from " + Editor + ".", Caption, ui::mtError,
                             ui::mbOK);
  Close();
}

void TForm1::CreateShortcut(const std::string& Target, const std::string& LinkName) {
  const std::string Folder = QFileInfo(QString::fromStdString(Target)).path().toStdString();
  try {
    FShell->CreateDesktopLink({LinkName, Target, Folder, Folder + "/" + EditorIcon});
  } catch (const std::exception& Error) {
    ui::Dialogs().MessageBox(std::string("The desktop entry could not be written: ") + Error.what(), Caption,
                             ui::mtError, ui::mbOK);
  }
}

}  // namespace install
