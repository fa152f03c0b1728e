#include "editor/Main.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>

#include "editor/ChildWindows.h"
#include "editor/ExchangeFile.h"
#include "editor/Preview.h"
#include "editor/forms/ExtensionsDlg.h"
#include "editor/forms/FrameOptionForm.h"
#include "editor/forms/HelpDlg.h"
#include "editor/forms/MapDlg.h"
#include "editor/forms/OptimizerForm.h"
#include "editor/forms/OpenWizDlg.h"
#include "editor/forms/RotationEffectDlg.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Rounding.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"
#include "editor/QtPainterClock.h"
#include "platform/ui/Shell.h"
#include "plexor/Binding.h"
#include "ui_Main.h"

// Resources of a static library are registered by hand.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace editor {

namespace {

constexpr const char* AnimoraHomePageUrl = "https://www.veltrane.example/animora/";
constexpr const char* VeltraneHomePageUrl = "https://www.veltrane.example/";
constexpr const char* ContactMailUrl = "mailto:animora@veltrane.example";

constexpr std::array ToolButtonNames = {"CursorlButton", "SelectButton",  "GetColorButton", "PenButton",
                                        "LongPenButton", "LineButton",    "EllipseButton",  "QuadButton",
                                        "FillButton",    "TextButton"};

constexpr const char* OnProperty = "animoraOn";
TWindowState StateOf(const QWidget& Window) {
  if (Window.isMaximized()) return wsMaximized;
  if (Window.isMinimized()) return wsMinimized;
  return wsNormal;
}

}  // namespace

int ZoomSide(int Side, TZoomStep Step) {
  int64_t Result = Side;
  switch (Step) {
    case zsGrowHalf:
      Result = base::Round(Side * 1.5);
      break;
    case zsDouble:
      Result = int64_t{Side} * 2;
      break;
    case zsShrinkHalf:
      Result = base::Round(Side * 0.5);
      break;
    case zsHalve:
      Result = Side / 2;
      break;
  }
  return static_cast<int>(std::clamp<int64_t>(Result, MinZoomSide, QWIDGETSIZE_MAX));
}

std::string FramePaintText(int FrameIndex, int FrameCount) {
  if (FrameIndex < 0) return {};
  return " Frame " + std::to_string(FrameIndex + 1) + " of " + std::to_string(FrameCount);
}

TGiffer::TGiffer(ui::TSettingsStore& Store, plexor::TPlexor& Plexor, std::unique_ptr<ui::TClipboard> Clipboard,
                 std::unique_ptr<ui::TShell> Shell, QWidget* Parent)
    : QMainWindow(Parent),
      Ui(std::make_unique<::Ui::TGiffer>()),
      FStore(Store),
      FSettings(Store),
      FPlexor(Plexor),
      FClipboard(std::move(Clipboard)),
      FShell(std::move(Shell)),
      FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  InitIconResources();
  Ui->setupUi(this);
  InstallQtPainterClock();
  FPreview = new TGifPreview(*this, this);
  // The preview is there from the start, empty until the first project.
  FPreviewWindow = Ui->MdiArea->addSubWindow(FPreview);
  FPreviewWindow->setAttribute(Qt::WA_DeleteOnClose, false);
  FPreviewWindow->show();
  FForms = std::make_unique<TStartupForms>(*this, FSettings);
  // Windows that show the preview's copy follow it.
  connect(FPreview, &TGifPreview::Rebound, this, ui::GuardedSlot([this] {
    if (FFrameOptionForm) FFrameOptionForm->ShowPreviewColorMap();
    if (FExtensionsForm) FExtensionsForm->RefillExtensionTree();
  }));
  for (QAction* Each : findChildren<QAction*>()) SetOn(Each, true);
  BuildStatusBar();
  ConnectCommands();
  BindOpenWizForm();
  FormCreate();
}

TGiffer::~TGiffer() = default;

void TGiffer::BuildStatusBar() {
  for (int Index = 0; Index < 3; ++Index) {
    auto* Panel = new QLabel(this);
    Panel->setObjectName(QStringLiteral("StatusPanel%1").arg(Index));
    Panel->setFrameShape(QFrame::Panel);
    Panel->setFrameShadow(QFrame::Sunken);
    Panel->setMinimumWidth(0);
    if (Index == 0) {
      // Its width follows the window; it must not hold the window wide.
      Panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
      Ui->StatusBar1->addWidget(Panel, 1);
    } else {
      Ui->StatusBar1->addWidget(Panel);
    }
    FPanels.push_back(Panel);
  }
  FPanels[1]->setMinimumWidth(100);

  auto AddLink = [this](const char* Name, const QString& Text, void (TGiffer::*Handler)()) {
    auto* Link = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(Text.toHtmlEscaped()), this);
    Link->setObjectName(QString::fromLatin1(Name));
    Link->setContentsMargins(8, 0, 8, 0);
    connect(Link, &QLabel::linkActivated, this, ui::GuardedSlot([this, Handler] { (this->*Handler)(); }));
    Ui->ToolBar3->addSeparator();
    Ui->ToolBar3->addWidget(Link);
  };
  AddLink("HomePage", QStringLiteral("Veltrane Animora Pro 1.3 Home Page"), &TGiffer::HomePageClick);
  AddLink("Label6", QStringLiteral("Write to us"), &TGiffer::Label6Click);
}

void TGiffer::ConnectCommands() {
  struct TRoute {
    const char* Name;
    void (TGiffer::*Handler)();
  };
  const TRoute Routes[] = {
      {"Create1", &TGiffer::CreateButtonClick},
      {"CreateButton", &TGiffer::CreateButtonClick},
      {"Openproject1", &TGiffer::OpenButtonClick},
      {"OpenButton", &TGiffer::OpenButtonClick},
      {"Saveas1", &TGiffer::Saveas1Click},
      {"Print1", &TGiffer::PrintClick},
      {"PrintButton", &TGiffer::PrintClick},
      {"PrinterSetup1", &TGiffer::PrinterSetup1Click},
      {"Exit1", &TGiffer::CloseButtonClick},
      {"CloseButton", &TGiffer::CloseButtonClick},
      {"Undo1", &TGiffer::UndoButtonClick},
      {"UndoButton", &TGiffer::UndoButtonClick},
      {"Redo1", &TGiffer::Redo1Click},
      {"RedoButton", &TGiffer::Redo1Click},
      {"Cut1", &TGiffer::CutButtonClick},
      {"CutButton", &TGiffer::CutButtonClick},
      {"Copy1", &TGiffer::CopyButtonClick},
      {"CopyButton", &TGiffer::CopyButtonClick},
      {"Paste1", &TGiffer::PasteButtonClick},
      {"PasteButton", &TGiffer::PasteButtonClick},
      {"Delete2", &TGiffer::DeleteButtonClick},
      {"DeleteButton", &TGiffer::DeleteButtonClick},
      {"SaveFrame", &TGiffer::SaveFrameClick},
      {"Exchange1", &TGiffer::Exchange1Click},
      {"Addframe1", &TGiffer::Addframe1Click},
      {"EditFrame", &TGiffer::EditFrameClick},
      {"Delete1", &TGiffer::Delete1Click},
      {"Moveframe1", &TGiffer::Moveframe1Click},
      {"Frameoption1", &TGiffer::Frameoption1Click},
      {"Insertfromfile1", &TGiffer::Insertfromfile1Click},
      {"ImportFrameButton", &TGiffer::Insertfromfile1Click},
      {"Export1", &TGiffer::Export1Click},
      {"ExportFrameButton", &TGiffer::Export1Click},
      {"Scanningframe1", &TGiffer::ScanButtonClick},
      {"ScanButton", &TGiffer::ScanButtonClick},
      {"Extensions1", &TGiffer::ExtensButtonClick},
      {"ExtensButton", &TGiffer::ExtensButtonClick},
      {"Globalpalette1", &TGiffer::GlobalOptionClick},
      {"GlobalOption", &TGiffer::GlobalOptionClick},
      {"Optimizepalette1", &TGiffer::Optimizepalette1Click},
      {"OptimizeButton", &TGiffer::Optimizepalette1Click},
      {"Optimize1", &TGiffer::Optimize1Click},
      {"Optimizeframesize1", &TGiffer::Optimizeframesize1Click},
      {"Fallwall1", &TGiffer::Fallwall1Click},
      {"Rain1", &TGiffer::Rain1Click},
      {"Moveapart1", &TGiffer::Moveapart1Click},
      {"Lines1", &TGiffer::Lines1Click},
      {"Rotation1", &TGiffer::Rotation1Click},
      {"GIFWizard1", &TGiffer::GIFWizard1Click},
      {"WizardButton", &TGiffer::GIFWizard1Click},
      {"MapofGIF1", &TGiffer::MapofGIF1Click},
      {"ImportButton", &TGiffer::MapofGIF1Click},
      {"Cutwizard1", &TGiffer::Cutwizard1Click},
      {"CuWizButton", &TGiffer::Cutwizard1Click},
      {"Scale50B", &TGiffer::Scale50BClick},
      {"Scale100B", &TGiffer::Scale100BClick},
      {"Scale50S", &TGiffer::Scale50SClick},
      {"Scale100S", &TGiffer::Scale100SClick},
      {"Realsize1", &TGiffer::Realsize1Click},
      {"Programoption1", &TGiffer::Programoption1Click},
      {"Cascade1", &TGiffer::Cascade1Click},
      {"Tile1", &TGiffer::Tile1Click},
      {"Next1", &TGiffer::Next1Click},
      {"Previous1", &TGiffer::Previous1Click},
      {"Help2", &TGiffer::Help2Click},
      {"AnimoraHomePage1", &TGiffer::AnimoraHomePage1Click},
      {"Homepage1", &TGiffer::Homepage1Click},
      {"About1", &TGiffer::AboutClick},
      {"ToolButton2", &TGiffer::AboutClick},
  };
  for (const TRoute& Route : Routes)
    connect(Action(Route.Name), &QAction::triggered, this,
            ui::GuardedSlot([this, Handler = Route.Handler] { (this->*Handler)(); }));
  // Saving reports through its result; here only the save itself matters.
  for (const char* Name : {"Saveproject1", "SaveButton"})
    connect(Action(Name), &QAction::triggered, this, ui::GuardedSlot([this] { SaveButtonClick(); }));
  for (QAction* Button : ToolButtons())
    connect(Button, &QAction::triggered, this, ui::GuardedSlot([this, Button] { ToolButtonClick(Button); }));
  connect(Ui->Window1, &QMenu::aboutToShow, this, [this] { ListWindows(); });
  connect(Ui->MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* Child) {
    if (Child && Child == FPreviewWindow) ui::Guarded([this] { FPreview->FormActivate(); });
  });
}

QAction* TGiffer::Action(const char* Name) const {
  auto* Found = findChild<QAction*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No command ") + Name);
  return Found;
}

bool TGiffer::CommandOn(const QAction* Action) { return Action->property(OnProperty).toBool(); }

std::vector<QAction*> TGiffer::ToolButtons() const {
  std::vector<QAction*> Buttons;
  for (const char* Name : ToolButtonNames) Buttons.push_back(Action(Name));
  return Buttons;
}

QMenu* TGiffer::LastProjectsMenu() const { return Ui->Lastprojects1; }
QLabel* TGiffer::StatusPanel(int Index) const { return FPanels.at(static_cast<size_t>(Index)); }
QProgressBar* TGiffer::ProgressBar() const { return Ui->ProgressBar; }
QMdiArea* TGiffer::MdiArea() const { return Ui->MdiArea; }

QToolBar* TGiffer::ToolBar(int Index) const {
  switch (Index) {
    case 1:
      return Ui->ToolBar1;
    case 3:
      return Ui->ToolBar3;
    case 4:
      return Ui->ToolBar4;
    default:
      return nullptr;
  }
}

void TGiffer::SetOn(QAction* Command, bool On) {
  Command->setProperty(OnProperty, On);
  Command->setEnabled(On);
}

void TGiffer::SetOn(const char* Name, bool On) { SetOn(Action(Name), On); }

void TGiffer::SetMenuOn(QMenu* Menu, bool On) { SetOn(Menu->menuAction(), On); }

bool TGiffer::Modified() const { return CommandOn(Ui->SaveButton); }

void TGiffer::SetModified(bool Value) { SetOn(Ui->SaveButton, Value); }

void TGiffer::BindOpenWizForm() {
  TOpenWizForm* Form = FForms->OpenWizForm.get();
  Form->CreateButtonClick = [this] { CreateButtonClick(); };
  Form->OpenButtonClick = [this] { OpenButtonClick(); };
  Form->GIFWizard1Click = [this] { GIFWizard1Click(); };
  Form->HasProject = [this] { return FGifImage != nullptr; };
  Form->OpenImportWizard = [this] { MapofGIF1Click(); };
}

void TGiffer::FormCreate() {
  gif::GIFLibraryDefaults().DrawFlags |= gif::dfUnbuffered;
  FStartDirValue = QDir::currentPath().toStdString();
  EnableEditTools(false);
  // Nothing is open yet, so nothing is unsaved.
  SetModified(false);
  if (FClipboard) FClipboard->OnChange = [this] { UpdatePasteEnabled(); };
}

void TGiffer::showEvent(QShowEvent* Event) {
  QMainWindow::showEvent(Event);
  if (FShown) return;
  FShown = true;
  // After the window is on screen, so that the chooser opens over it.
  QMetaObject::invokeMethod(this, [this] { ui::Guarded([this] { FormShow(); }); }, Qt::QueuedConnection);
}

void TGiffer::FormShow() {
  ReadColorDefaults(FSettings);
  if (!FArguments.empty()) {
    // A file that cannot be loaded is reported and the start goes on with the empty project.
    try {
      LoadProject(FArguments.front());
    } catch (...) {
      ui::HandleException();
    }
  } else {
    ResetProject();
  }
  UpdatePasteEnabled();
  TRecentProjects Stored;
  Stored.LoadFromFile(RecentProjectsFileName(FStartDirValue));
  for (const std::string& Path : Stored.Items()) AddRecentFile(Path);
  TOpenWizForm& Chooser = *FForms->OpenWizForm;
  Chooser.ShowNextTime()->setChecked(FSettings.ReadBool(option::ShowOpenWiz));
  if (Chooser.ShowNextTime()->isChecked()) Chooser.exec();
  ApplyLayout(ReadLayout(FSettings));
}

void TGiffer::closeEvent(QCloseEvent* Event) {
  // A conversion in progress locks the window; it closes once that has ended.
  if (!isEnabled()) {
    Event->ignore();
    return;
  }
  bool Close = false;
  try {
    Close = FormClose();
  } catch (...) {
    ui::HandleException();
  }
  if (Close)
    Event->accept();
  else
    Event->ignore();
}

bool TGiffer::FormClose() {
  FPreview->StopPlaying();
  // Nothing is closed before the answer, so Cancel leaves every window as it was.
  if (!AskSaveChanges()) return false;
  WriteLayout(FSettings, CurrentLayout());
  FStore.UpdateFile();
  ResetProject();
  // A recent list that cannot be written must not keep the program from ending.
  try {
    WriteRecentFile();
  } catch (...) {
    ui::HandleException();
  }
  // The windows made on demand go with the program; the preview is the main window's own.
  for (QMdiSubWindow* Child : Ui->MdiArea->subWindowList())
    if (Child != FPreviewWindow) Child->deleteLater();
  return true;
}

void TGiffer::WriteRecentFile() { FRecent.SaveToFile(RecentProjectsFileName(FStartDirValue)); }

void TGiffer::resizeEvent(QResizeEvent* Event) {
  QMainWindow::resizeEvent(Event);
  FormResize();
}

void TGiffer::FormResize() { FPanels[0]->setMaximumWidth(std::max(0, width() - 100)); }

bool TGiffer::event(QEvent* Event) {
  if (Event->type() == QEvent::StatusTip) {
    DisplayHint(static_cast<QStatusTipEvent*>(Event)->tip());
    return true;
  }
  return QMainWindow::event(Event);
}

void TGiffer::ResetProject() {
  if (!FFileNameValue.empty()) AddRecentFile(FFileNameValue);
  // Whatever the editor held was stored or given up when the project was asked about.
  if (FFrameEditor) FFrameEditor->Discard();
  FGifImage.reset();
  CloseFrameOptionForm();
  CloseChildWindow(FOptimizerForm);
  FPreview->Rebind();
  setWindowTitle(QString::fromLatin1(MainCaption));
  EnableFrameTools(false);
  FProjectOpenFlag = 0;
  SetModified(false);
}

void TGiffer::EnableEditTools(bool On) {
  for (const char* Name : {"CutButton", "CopyButton", "PasteButton", "DeleteButton", "SaveFrame"}) SetOn(Name, On);
  SetMenuOn(Ui->Edit1, On);
  for (QAction* Item : Ui->Edit1->actions()) SetOn(Item, On);
  SetMenuOn(Ui->View1, On);
  for (QAction* Button : ToolButtons()) SetOn(Button, On);
  // Undo and Redo follow the open editor's own steps; without one there are none.
  if (!On) {
    SetUndoEnabled(false);
    SetRedoEnabled(false);
  }
}

void TGiffer::EnableFrameTools(bool On) {
  for (const char* Name : {"ImportButton", "CuWizButton", "Saveproject1", "Saveas1", "Print1", "PrinterSetup1",
                           "GlobalOption", "ExtensButton", "ImportFrameButton", "ExportFrameButton", "OptimizeButton",
                           "ScanButton", "PrintButton"})
    SetOn(Name, On);
  FPreview->EnableTools(On);
  for (QMenu* Menu : {Ui->Frame1, Ui->Draw1, Ui->GIF1, Ui->Effect1, Ui->Wizard1}) SetMenuOn(Menu, On);
}

void TGiffer::UpdatePasteEnabled() {
  const bool On = FClipboard && FClipboard->HasAnyFormat() && FClipboard->HasImage();
  SetOn("PasteButton", On);
  SetOn("Paste1", On);
}

void TGiffer::ShowPaintStatus(int FrameIndex, int FrameCount) {
  FPanels[1]->setText(QString::fromStdString(FramePaintText(FrameIndex, FrameCount)));
  Ui->StatusBar1->repaint();
}

void TGiffer::ShowProgress(base::TObject*, base::TProgressStage Stage, uint8_t PercentDone, bool, const base::TRect&,
                           const std::string& Msg) {
  if (!FProgressPacer.Show(Stage, PercentDone, Msg)) return;
  if (Stage == base::psEnding) {
    Ui->ProgressBar->setValue(0);
    FPanels[0]->clear();
    return;
  }
  Ui->ProgressBar->setValue(PercentDone);
  FPanels[0]->setText(QString::fromStdString(Msg));
  Ui->ProgressBar->repaint();
  Ui->StatusBar1->repaint();
}

void TGiffer::DisplayHint(const QString& Hint) { FPanels[0]->setText(Hint); }

void TGiffer::GifWarning(base::TObject*, gif::TGIFSeverity Severity, const std::string& Message) {
  if (Severity != gif::sevError) return;
  const std::string Text = "GIF Message:\rSeverity: Error\rMessage:  " + Message;
  if (ui::MessageDlg(Text, ui::mtWarning, ui::mbAbort | ui::mbIgnore | ui::mbAll) == ui::mrIgnore) return;
  throw base::Exception("GIF file aborted");
}

void TGiffer::BindProjectEvents() {
  FGifImage->OnGIFWarning = [this](base::TObject* Sender, gif::TGIFSeverity Severity, const std::string& Message) {
    GifWarning(Sender, Severity, Message);
  };
  FGifImage->OnProgress = [this](base::TObject* Sender, base::TProgressStage Stage, uint8_t PercentDone,
                                 bool RedrawNow, const base::TRect& R, const std::string& Msg) {
    ShowProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
  };
  FGifImage->SetBackdropColor(graphics::clWindow);
}

void TGiffer::ReleaseToolButtons() {
  if (FFrameEditor) FFrameEditor->SetPaintBoxCursor(Qt::ArrowCursor);
  for (QAction* Button : ToolButtons()) Button->setChecked(false);
}

void TGiffer::ToolButtonClick(QAction* Button) {
  const bool Cursor = Button == Ui->CursorlButton;
  const bool Select = Button == Ui->SelectButton;
  auto Commit = [this] {
    if (FFrameEditor && FFrameEditor->HasSelection()) FFrameEditor->CommitSelection();
  };
  if (!Cursor && !Select) Commit();
  ReleaseToolButtons();
  Button->setChecked(true);
  if (!Cursor && FFrameEditor) FFrameEditor->SetPaintBoxCursor(Qt::CrossCursor);
  if (Cursor || Select) Commit();
}

bool TGiffer::OpenUrl(const std::string& FileOrAddress) { return FShell && FShell->OpenUrl(FileOrAddress); }

void TGiffer::AddRecentFile(const std::string& Path) {
  if (FRecent.Add(Path)) RebuildRecentMenu();
}

void TGiffer::RebuildRecentMenu() {
  Ui->Lastprojects1->clear();
  for (const std::string& Path : FRecent.Items()) {
    const QString Caption = QString::fromStdString(Path);
    QAction* Item = Ui->Lastprojects1->addAction(Caption);
    connect(Item, &QAction::triggered, this, ui::GuardedSlot([this, Caption] { RecentFileClick(Caption); }));
  }
}

void TGiffer::RecentFileClick(const QString& Path) {
  FPreview->Button("StopGif")->setChecked(true);
  if (!QFileInfo(Path).isFile()) {
    ui::Dialogs().MessageBox("File not found.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  LoadProject(Path.toStdString());
}

void TGiffer::PrinterSetup1Click() {
  ui::TPrinterSetupDialog Dialog(*FPrinter);
  Dialog.Execute();
}

void TGiffer::CloseButtonClick() { close(); }

void TGiffer::Zoom(TZoomStep Step) {
  if (!FFrameEditor) return;
  if (FFrameEditor->SelectionPanelVisible()) FFrameEditor->CommitSelection();
  const QSize Size = FFrameEditor->ImagePanelSize();
  FFrameEditor->SetImagePanelSize(QSize(ZoomSide(Size.width(), Step), ZoomSide(Size.height(), Step)));
}

void TGiffer::Scale50BClick() { Zoom(zsGrowHalf); }
void TGiffer::Scale100BClick() { Zoom(zsDouble); }
void TGiffer::Scale50SClick() { Zoom(zsShrinkHalf); }
void TGiffer::Scale100SClick() { Zoom(zsHalve); }

void TGiffer::Realsize1Click() {
  if (!FFrameEditor) return;
  if (FFrameEditor->SelectionPanelVisible()) FFrameEditor->CommitSelection();
  FFrameEditor->RestoreRealSize();
}

void TGiffer::Programoption1Click() {
  FPlexor.ProgramOptions(this);
  ReadColorDefaults(FSettings);
}

void TGiffer::PlacePreview(const TWindowBounds& Bounds) {
  if (Bounds.Width <= 0 || Bounds.Height <= 0) return;
  // Stored sizes below the window's minimum would cut off its tools.
  const QSize Least = FPreviewWindow->minimumSizeHint();
  FPreviewWindow->setGeometry(Bounds.Left, Bounds.Top, std::max(Bounds.Width, Least.width()),
                              std::max(Bounds.Height, Least.height()));
}

void TGiffer::ListWindows() {
  for (QAction* Item : FWindowItems) delete Item;
  FWindowItems.clear();
  const QList<QMdiSubWindow*> Children = Ui->MdiArea->subWindowList();
  if (Children.isEmpty()) return;
  FWindowItems.push_back(Ui->Window1->addSeparator());
  for (QMdiSubWindow* Child : Children) {
    QAction* Item = Ui->Window1->addAction(Child->windowTitle());
    Item->setCheckable(true);
    Item->setChecked(Child == Ui->MdiArea->activeSubWindow());
    const QPointer<QMdiSubWindow> Target(Child);
    connect(Item, &QAction::triggered, this, [this, Target] {
      if (!Target) return;
      if (Target->isMinimized()) Target->showNormal();
      Ui->MdiArea->setActiveSubWindow(Target);
    });
    FWindowItems.push_back(Item);
  }
}

// Qt's own tiling grows the main window when the children's least sizes need more room.
void TGiffer::Cascade1Click() { CascadeChildren(*Ui->MdiArea); }
void TGiffer::Tile1Click() { TileChildren(*Ui->MdiArea); }
void TGiffer::Next1Click() { Ui->MdiArea->activateNextSubWindow(); }
void TGiffer::Previous1Click() { Ui->MdiArea->activatePreviousSubWindow(); }

void TGiffer::ShowChildWindow(QWidget* Form) {
  if (QWidget* Window = Form->parentWidget()) {
    Window->show();
    Window->showNormal();
    return;
  }
  QMdiSubWindow* Window = Ui->MdiArea->addSubWindow(Form);
  PlaceNewChild(*Ui->MdiArea, *Window);
  Window->show();
}

void TGiffer::CloseChildWindow(QWidget* Form) {
  if (!Form) return;
  (Form->parentWidget() ? Form->parentWidget() : Form)->close();
}

void TGiffer::CloseFrameOptionForm() { CloseChildWindow(FFrameOptionForm); }

void TGiffer::Help2Click() {
  if (!FHelpForm) FHelpForm = new THelpForm(FStartDirValue, *FPrinter);
  ShowChildWindow(FHelpForm);
}

TMapForm* TGiffer::MapForm() const { return FMapForm; }

void TGiffer::MapofGIF1Click() {
  if (FMapForm) return ShowChildWindow(FMapForm);
  // It works on the project, so there is nothing to show without one.
  if (!FGifImage) return;
  FMapForm = new TMapForm(*this);
  // A wizard that closes late must not make the main window forget a newer one.
  FMapForm->OnFormClose = [this, Form = FMapForm.data()] {
    if (FMapForm == Form) FMapForm = nullptr;
  };
  ShowChildWindow(FMapForm);
}

void TGiffer::AnimoraHomePage1Click() { OpenUrl(AnimoraHomePageUrl); }
void TGiffer::Homepage1Click() { OpenUrl(VeltraneHomePageUrl); }
void TGiffer::HomePageClick() { OpenUrl(AnimoraHomePageUrl); }
void TGiffer::Label6Click() { OpenUrl(ContactMailUrl); }
void TGiffer::AboutClick() { FPlexor.About(this); }

void TGiffer::UndoButtonClick() {
  if (FFrameEditor) FFrameEditor->UndoEdit();
}
void TGiffer::Redo1Click() {
  if (FFrameEditor) FFrameEditor->RedoEdit();
}
void TGiffer::CutButtonClick() {
  if (FFrameEditor) FFrameEditor->CutSelection();
}
void TGiffer::CopyButtonClick() {
  if (FFrameEditor) FFrameEditor->CopySelection();
}
void TGiffer::PasteButtonClick() {
  if (FFrameEditor) FFrameEditor->PasteClipboard();
}
void TGiffer::DeleteButtonClick() {
  if (FFrameEditor) FFrameEditor->DeleteSelection();
}
void TGiffer::SaveFrameClick() {
  if (FFrameEditor && FFrameEditor->IsActiveChild()) FFrameEditor->StoreFrame();
}
void TGiffer::SetUndoEnabled(bool On) {
  SetOn("UndoButton", On);
  SetOn("Undo1", On);
}
void TGiffer::SetRedoEnabled(bool On) {
  SetOn("RedoButton", On);
  SetOn("Redo1", On);
}
void TGiffer::Addframe1Click() { FPreview->AddButtonClick(); }
void TGiffer::EditFrameClick() { FPreview->EditButtonClick(); }
void TGiffer::Delete1Click() { FPreview->DelButtonClick(); }
void TGiffer::Frameoption1Click() { FPreview->OptionButtonClick(); }
void TGiffer::ScanButtonClick() {
  // Nothing to scan into is found out before the scan, not after it.
  CurrentFrame();
  if (FPlexor.Scan(this, FStartDirValue) == 1) LoadExchangeBitmap();
}

void TGiffer::Rotation1Click() { FForms->RotationEffectForm->exec(); }
void TGiffer::Cutwizard1Click() {
  graphics::TBitmap* Bitmap = CurrentFrame().GetBitmap();
  if (!Bitmap) throw base::EInvalidOperation("The current frame is empty.");
  WriteExchangeFile(FStartDirValue, *Bitmap);
  FPlexor.CutWizard(this, FStartDirValue);
}

void TGiffer::KeepOnScreen() {
  const QPoint Corner = pos();
  const QScreen* Screen = QGuiApplication::screenAt(Corner);
  if (!Screen) Screen = QGuiApplication::primaryScreen();
  if (!Screen) return;
  // The frame's extents are known once the window is on screen; before, they count as none.
  const QSize Frame = frameGeometry().size() - size();
  const QRect Fitted = FitInside(QRect(Corner, size() + Frame), minimumSize() + Frame, Screen->availableGeometry());
  resize(Fitted.size() - Frame);
  move(Fitted.topLeft());
}

TLayout TGiffer::CurrentLayout() const {
  TLayout Layout;
  const QRect Normal = normalGeometry().isValid() && StateOf(*this) != wsNormal ? normalGeometry() : QRect(pos(), size());
  Layout.Main = {Normal.x(), Normal.y(), Normal.width(), Normal.height()};
  Layout.MainState = StateOf(*this);
  const int Offset = menuBar()->height();
  auto Position = [Offset](const QToolBar* Bar) { return base::TPoint{Bar->x(), Bar->y() - Offset}; };
  Layout.ToolBar1 = Position(Ui->ToolBar1);
  Layout.ToolBar4 = Position(Ui->ToolBar4);
  Layout.ToolBar3 = Position(Ui->ToolBar3);
  const QRect Bounds = FPreviewWindow->geometry();
  Layout.Preview = {Bounds.x(), Bounds.y(), Bounds.width(), Bounds.height()};
  Layout.PreviewState = StateOf(*FPreviewWindow);
  return Layout;
}

void TGiffer::ApplyLayout(const TLayout& Layout) {
  resize(Layout.Main.Width, Layout.Main.Height);
  move(Layout.Main.Left, Layout.Main.Top);
  KeepOnScreen();
  // Docked tool bars keep their rows: bars stored at one height share a row, ordered
  // from left to right.
  std::vector<std::pair<base::TPoint, QToolBar*>> Bars = {
      {Layout.ToolBar1, Ui->ToolBar1}, {Layout.ToolBar4, Ui->ToolBar4}, {Layout.ToolBar3, Ui->ToolBar3}};
  std::stable_sort(Bars.begin(), Bars.end(), [](const auto& A, const auto& B) {
    return A.first.Y != B.first.Y ? A.first.Y < B.first.Y : A.first.X < B.first.X;
  });
  for (const auto& Bar : Bars) {
    if (toolBarBreak(Bar.second)) removeToolBarBreak(Bar.second);
    removeToolBar(Bar.second);
  }
  for (size_t Index = 0; Index < Bars.size(); ++Index) {
    if (Index > 0 && Bars[Index].first.Y != Bars[Index - 1].first.Y) addToolBarBreak();
    addToolBar(Bars[Index].second);
    Bars[Index].second->show();
  }
  PlacePreview(Layout.Preview);
  if (Layout.MainState == wsMaximized) showMaximized();
}

}  // namespace editor
