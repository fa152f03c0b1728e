#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <thread>

#include "editor/Preview.h"
#include "editor/ProgramSetup.h"
#include "editor/ProgressPacer.h"
#include "gif/Library.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/Application.h"
#include "editor/forms/OpenWizDlg.h"
#include "platform/ui/WindowCanvas.h"
#include "platform/graphics/Colors.h"

#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using uitest::TScriptedDialogs;

namespace {

const char* const FrameMenus[] = {"Frame1", "Draw1", "GIF1", "Effect1", "Wizard1"};
const char* const FrameCommands[] = {"Saveproject1", "Saveas1",      "Print1",          "PrinterSetup1",
                                     "ImportButton", "CuWizButton",  "GlobalOption",    "ExtensButton",
                                     "ImportFrameButton", "ExportFrameButton", "OptimizeButton", "ScanButton",
                                     "PrintButton"};
const char* const ProjectlessCommands[] = {"CreateButton", "OpenButton", "WizardButton"};

QAction* MenuAction(editor::TGiffer& Giffer, const char* Menu) {
  return Giffer.findChild<QMenu*>(Menu)->menuAction();
}

QMdiSubWindow* PreviewWindow(editor::TGiffer& Giffer) {
  return qobject_cast<QMdiSubWindow*>(Giffer.Preview()->parentWidget());
}

TEST_F(MainWindowTest, WithoutAProjectTheFrameMenusAreOffAndTheStartCommandsOn) {
  editor::TGiffer& Giffer = Shown();
  EXPECT_EQ(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FProjectOpen(), 0);
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro");
  for (const char* Menu : FrameMenus) {
    EXPECT_FALSE(editor::TGiffer::CommandOn(MenuAction(Giffer, Menu))) << Menu;
    EXPECT_FALSE(MenuAction(Giffer, Menu)->isEnabled()) << Menu;
  }
  for (const char* Name : FrameCommands) EXPECT_FALSE(editor::TGiffer::CommandOn(Giffer.Action(Name))) << Name;
  for (const char* Name : ProjectlessCommands) EXPECT_TRUE(editor::TGiffer::CommandOn(Giffer.Action(Name))) << Name;
  EXPECT_FALSE(Giffer.Modified());
  // No frame editor: the edit tools and the View menu are off.
  EXPECT_FALSE(MenuAction(Giffer, "Edit1")->isEnabled());
  EXPECT_FALSE(MenuAction(Giffer, "View1")->isEnabled());
  for (QAction* Button : Giffer.ToolButtons()) EXPECT_FALSE(Button->isEnabled()) << Button->objectName().toStdString();
}

TEST_F(MainWindowTest, ALoadedProjectTurnsTheFrameCommandsOn) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), 2);
  EXPECT_EQ(Giffer.FProjectOpen(), 1);
  EXPECT_EQ(Giffer.FFileName(), InStart("clip.gif"));
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: clip.gif");
  EXPECT_EQ(Giffer.FGif()->BackdropColor(), graphics::clWindow);
  for (const char* Menu : FrameMenus) EXPECT_TRUE(MenuAction(Giffer, Menu)->isEnabled()) << Menu;
  for (const char* Name : FrameCommands) EXPECT_TRUE(editor::TGiffer::CommandOn(Giffer.Action(Name))) << Name;
  EXPECT_TRUE(Giffer.Action("Saveas1")->isEnabled());
  EXPECT_FALSE(Giffer.Modified());
}

TEST_F(MainWindowTest, EditCommandsReachTheFrameEditor) {
  const std::pair<const char*, const char*> Routes[] = {
      {"Undo1", "undo"},  {"UndoButton", "undo"},    {"Redo1", "redo"},    {"RedoButton", "redo"},
      {"Cut1", "cut"},    {"CutButton", "cut"},      {"Copy1", "copy"},    {"CopyButton", "copy"},
      {"Paste1", "paste"}, {"PasteButton", "paste"}, {"Delete2", "delete"}, {"DeleteButton", "delete"},
      {"SaveFrame", "store"}};
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  maintest::TFakeFrameEditor Editor;
  Giffer.SetFrameEditor(&Editor);
  Giffer.EnableEditTools(true);
  for (const auto& [Name, Call] : Routes) {
    Editor.Log.clear();
    QAction* Command = Giffer.Action(Name);
    Command->setEnabled(true);
    Command->trigger();
    EXPECT_EQ(Editor.Log, std::vector<std::string>{Call}) << Name;
  }
  // Saving the frame is for the editor only while it is the active window.
  Editor.Active = false;
  Editor.Log.clear();
  Giffer.Action("SaveFrame")->trigger();
  EXPECT_TRUE(Editor.Log.empty());
  // Replacing the project asks the editor first and then lets it go.
  Editor.Log.clear();
  Giffer.ResetProject();
  EXPECT_EQ(Editor.Log, std::vector<std::string>{"discard"});
  Giffer.SetFrameEditor(nullptr);
}

TEST_F(MainWindowTest, AFileThatCannotBeLoadedLeavesNoProject) {
  QFile Bad(QString::fromStdString(InStart("bad.gif")));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("not a GIF");
  Bad.close();
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  editor::TGiffer& Giffer = Shown({"bad.gif"});
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtError);
  EXPECT_EQ(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FProjectOpen(), 0);
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro");
  EXPECT_EQ(Giffer.FFileName(), "");
  EXPECT_FALSE(MenuAction(Giffer, "Frame1")->isEnabled());
}

TEST_F(MainWindowTest, TheModifiedFlagIsTheSaveButton) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  QAction* SaveButton = Giffer.Action("SaveButton");
  EXPECT_FALSE(SaveButton->isEnabled());
  Giffer.SetModified(true);
  EXPECT_TRUE(SaveButton->isEnabled());
  EXPECT_TRUE(Giffer.Modified());
  // Turning the frame tools off leaves the Save button alone.
  Giffer.EnableFrameTools(false);
  EXPECT_TRUE(Giffer.Modified());
  ASSERT_TRUE(QFile::remove(QString::fromStdString(InStart("clip.gif"))));
  SaveButton->trigger();
  EXPECT_FALSE(Giffer.Modified());
  EXPECT_TRUE(QFile::exists(QString::fromStdString(InStart("clip.gif"))));
  Giffer.SetModified(true);
  Giffer.ResetProject();
  EXPECT_FALSE(Giffer.Modified());
}

TEST_F(MainWindowTest, SaveAsAsksForTheNameAndShowsIt) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("copy.gif"))});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].FileName, InStart("clip.gif"));
  EXPECT_EQ(Giffer.FFileName(), InStart("copy.gif"));
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: copy.gif");
  EXPECT_FALSE(Giffer.Modified());
  gif::TGIFImage Copy;
  Copy.LoadFromFile(InStart("copy.gif"));
  EXPECT_EQ(Copy.Frames().Count(), 2);
}

struct CloseCase {
  const char* Name;
  ui::TModalResult Answer;
  bool Closes;
  bool Saved;
};

void PrintTo(const CloseCase& Case, std::ostream* Out) { *Out << Case.Name; }

class CloseQuestion : public MainWindowTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, FollowsTheAnswer) {
  const CloseCase& Case = GetParam();
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  Giffer.SetModified(true);
  ASSERT_TRUE(QFile::remove(QString::fromStdString(InStart("clip.gif"))));
  Giffer.Action("Help2")->trigger();
  QMdiSubWindow* Preview = PreviewWindow(Giffer);
  const QRect PreviewBounds = Preview->geometry();
  TScriptedDialogs Dialogs({uitest::Press(Case.Answer)});
  EXPECT_EQ(Giffer.close(), Case.Closes);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Save changes?");
  EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtConfirmation);
  EXPECT_EQ(Dialogs.Calls()[0].Buttons, ui::mbYesNoCancel);
  EXPECT_EQ(QFile::exists(QString::fromStdString(InStart("clip.gif"))), Case.Saved);
  EXPECT_EQ(Giffer.isVisible(), !Case.Closes);
  if (Case.Closes) {
    // The layout and the recent list are written, the closed project last.
    EXPECT_TRUE(Settings.Store.ValueExists(ui::OptionSection, "WinState"));
    editor::TRecentProjects Recent;
    Recent.LoadFromFile(editor::RecentProjectsFileName(Start.Path()));
    EXPECT_EQ(Recent.Items(), std::vector<std::string>{InStart("clip.gif")});
  } else {
    EXPECT_TRUE(Giffer.Modified());
    EXPECT_NE(Giffer.FGif(), nullptr);
    EXPECT_FALSE(Settings.Store.ValueExists(ui::OptionSection, "WinState"));
    // Every window stays as it was, the preview and the help window included.
    editortest::RunPosted();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(Giffer.HelpForm(), nullptr);
    EXPECT_TRUE(Giffer.HelpForm()->isVisible());
    EXPECT_EQ(Giffer.MdiArea()->subWindowList().size(), 2);
    EXPECT_TRUE(Preview->isVisible());
    EXPECT_FALSE(Preview->isMinimized());
    EXPECT_EQ(Preview->geometry(), PreviewBounds);
    EXPECT_TRUE(Giffer.Preview()->FrameImage()->isVisible());
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestion,
                         testing::Values(CloseCase{"Yes", ui::mrYes, true, true},
                                         CloseCase{"No", ui::mrNo, true, false},
                                         CloseCase{"Cancel", ui::mrCancel, false, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(MainWindowTest, ACancelledSaveKeepsTheWindowOpen) {
  editor::TGiffer& Giffer = Shown();
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrYes), uitest::Cancel(uitest::TDialogKind::Save)});
  EXPECT_FALSE(Giffer.close());
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_TRUE(Giffer.isVisible());
  EXPECT_TRUE(Giffer.Modified());
}

TEST_F(MainWindowTest, AFailedSaveIsReportedAndKeepsTheWindowOpen) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  Giffer.SetModified(true);
  // A folder where the file should be cannot be written over.
  ASSERT_TRUE(QDir(QString::fromStdString(Start.Path())).mkdir("locked.gif"));
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("locked.gif")), uitest::Press(ui::mrOk)});
  Giffer.Action("Saveas1")->trigger();
  EXPECT_TRUE(Giffer.Modified());
  Dialogs.Then(uitest::Press(ui::mrYes));
  Dialogs.Then(uitest::Press(ui::mrOk));
  EXPECT_FALSE(Giffer.close());
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_TRUE(Giffer.isVisible());
  EXPECT_EQ(Dialogs.Calls().back().Type, ui::mtError);
}

TEST_F(MainWindowTest, WindowsMadeOnDemandGoWithTheProgram) {
  editor::TGiffer& Giffer = Shown();
  Giffer.Action("Help2")->trigger();
  ASSERT_EQ(Giffer.MdiArea()->subWindowList().size(), 2);
  // Asked again, the one help window comes back instead of a second.
  Giffer.Action("Help2")->trigger();
  EXPECT_EQ(Giffer.MdiArea()->subWindowList().size(), 2);
  EXPECT_TRUE(Giffer.close());
  editortest::RunPosted();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Giffer.HelpForm(), nullptr);
}

TEST_F(MainWindowTest, TheLayoutIsWrittenAndRestored) {
  {
    editor::TGiffer& Giffer = Shown();
    editor::TLayout Layout = Giffer.CurrentLayout();
    Layout.Main = {40, 30, 700, 500};
    // The GIF tool bar moves up into the first row, after the drawing tools.
    Layout.ToolBar3 = {Layout.ToolBar4.X + 500, Layout.ToolBar1.Y};
    Layout.Preview = {11, 12, 330, 240};
    Giffer.ApplyLayout(Layout);
    EXPECT_TRUE(Giffer.close());
  }
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "Width", 0), 700);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "Heigth", 0), 500);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "Left", 0), 40);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "Top", 0), 30);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "WinState", -1), 0);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "PreviewWidth", 0), 330);
  EXPECT_EQ(Settings.Store.ReadInteger(ui::OptionSection, "TB3Top", -1),
            Settings.Store.ReadInteger(ui::OptionSection, "TB1Top", -2));

  editor::TGiffer& Again = Shown();
  EXPECT_EQ(Again.size(), QSize(700, 500));
  EXPECT_EQ(Again.pos(), QPoint(40, 30));
  EXPECT_EQ(Again.ToolBar(3)->y(), Again.ToolBar(1)->y());
  EXPECT_GT(Again.ToolBar(3)->x(), Again.ToolBar(4)->x());
  EXPECT_EQ(Again.CurrentLayout().Preview, (editor::TWindowBounds{11, 12, 330, 240}));
}

TEST_F(MainWindowTest, WithoutSettingsTheDefaultLayoutIsUsed) {
  editor::TGiffer& Giffer = Shown();
  EXPECT_EQ(Giffer.size(), QSize(600, 400));
  // At its place as far as the screen has room for it.
  const QRect Screen = Giffer.screen()->availableGeometry();
  EXPECT_EQ(Giffer.pos(), QPoint(std::min(600, Screen.right() + 1 - Giffer.frameGeometry().width()),
                                 std::min(400, Screen.bottom() + 1 - Giffer.frameGeometry().height())));
  // Tool bars 1 and 4 share the first row, tool bar 3 is below them.
  EXPECT_EQ(Giffer.ToolBar(1)->y(), Giffer.ToolBar(4)->y());
  EXPECT_GT(Giffer.ToolBar(3)->y(), Giffer.ToolBar(1)->y());
}

TEST_F(MainWindowTest, ProgressAndHintsGoToPanelZero) {
  editor::TGiffer& Giffer = Shown();
  Giffer.ShowProgress(nullptr, base::psStarting, 0, false, {}, "Loading...");
  // A change is shown once the pause between paints has passed.
  std::this_thread::sleep_for(editor::TProgressPacer::Interval);
  Giffer.ShowProgress(nullptr, base::psRunning, 40, false, {}, "Loading...");
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Loading...");
  EXPECT_EQ(Giffer.ProgressBar()->value(), 40);
  Giffer.ShowProgress(nullptr, base::psEnding, 100, false, {}, "Loading...");
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "");
  EXPECT_EQ(Giffer.ProgressBar()->value(), 0);

  QStatusTipEvent Tip(Giffer.Action("CursorlButton")->statusTip());
  QCoreApplication::sendEvent(&Giffer, &Tip);
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Cursor can't draw anything");
  EXPECT_EQ(Giffer.Action("CursorlButton")->toolTip(), "Cursor");
}

// Counts the paints a widget gets.
class TPaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::Paint) ++Count;
    return false;
  }
  int Count = 0;
};

TEST_F(MainWindowTest, ProgressIsPaintedWhenItChangesAndAtItsStartAndEnd) {
  editor::TGiffer& Giffer = Shown();
  TPaintCounter Paints;
  Giffer.ProgressBar()->installEventFilter(&Paints);
  Giffer.ShowProgress(nullptr, base::psStarting, 0, false, {}, "Copying...");
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Copying...");
  std::this_thread::sleep_for(editor::TProgressPacer::Interval);
  Giffer.ShowProgress(nullptr, base::psRunning, 50, false, {}, "Copying...");
  EXPECT_EQ(Giffer.ProgressBar()->value(), 50);
  const int Shown = Paints.Count;
  EXPECT_GT(Shown, 0);
  // Reports of what is shown already paint nothing, however many there are.
  for (int Step = 0; Step < 1000; ++Step) Giffer.ShowProgress(nullptr, base::psRunning, 50, false, {}, "Copying...");
  EXPECT_EQ(Paints.Count, Shown);
  Giffer.ShowProgress(nullptr, base::psEnding, 100, false, {}, "Copying...");
  EXPECT_GT(Paints.Count, Shown);
  EXPECT_EQ(Giffer.ProgressBar()->value(), 0);
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "");
  // The next operation starts on show at once.
  Giffer.ShowProgress(nullptr, base::psStarting, 0, false, {}, "Converting...");
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Converting...");
}

TEST_F(MainWindowTest, ALoadReportsItsProgressAndEndsWithAnEmptyPanel) {
  maintest::WriteGIF(InStart("clip.gif"), 40, 30);
  editor::TGiffer& Giffer = Shown();
  Giffer.ShowPaintStatus(1, 2);
  Giffer.LoadProject(InStart("clip.gif"));
  // The first frame is shown after the panels were cleared.
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Ready");
  EXPECT_EQ(Giffer.StatusPanel(1)->text(), " Frame 1 of 2");
  EXPECT_EQ(Giffer.ProgressBar()->value(), 0);
}

struct PaintTextCase {
  int Index;
  int Count;
  const char* Text;
};

TEST(FramePaintText, NumbersFramesFromOne) {
  const PaintTextCase Cases[] = {{0, 1, " Frame 1 of 1"}, {6, 12, " Frame 7 of 12"}, {-1, 5, ""}};
  for (const PaintTextCase& Case : Cases)
    EXPECT_EQ(editor::FramePaintText(Case.Index, Case.Count), Case.Text) << Case.Index;
}

TEST_F(MainWindowTest, PaintStatusGoesToPanelOne) {
  editor::TGiffer& Giffer = Shown();
  Giffer.ShowPaintStatus(2, 7);
  EXPECT_EQ(Giffer.StatusPanel(1)->text(), " Frame 3 of 7");
  Giffer.ShowPaintStatus(-1, 7);
  EXPECT_EQ(Giffer.StatusPanel(1)->text(), "");
}

TEST_F(MainWindowTest, PanelZeroFollowsTheWindowWidth) {
  editor::TGiffer& Giffer = Shown();
  Giffer.resize(640, 420);
  EXPECT_EQ(Giffer.StatusPanel(0)->maximumWidth(), 540);
  // The panel never holds the window wider than asked.
  Giffer.resize(300, 420);
  EXPECT_EQ(Giffer.width(), 300);
}

TEST_F(MainWindowTest, ToolButtonsFormAGroupOfAtMostOneDown) {
  editor::TGiffer& Giffer = Shown();
  maintest::TFakeFrameEditor Editor;
  Giffer.SetFrameEditor(&Editor);
  Giffer.EnableEditTools(true);
  for (QAction* Button : Giffer.ToolButtons()) {
    ASSERT_TRUE(Button->isEnabled());
    Button->trigger();
    for (QAction* Other : Giffer.ToolButtons())
      EXPECT_EQ(Other->isChecked(), Other == Button) << Button->objectName().toStdString();
  }
  // Pressing the one that is down keeps it down.
  Giffer.ToolButtons().back()->trigger();
  EXPECT_TRUE(Giffer.ToolButtons().back()->isChecked());
  Giffer.ReleaseToolButtons();
  for (QAction* Button : Giffer.ToolButtons()) EXPECT_FALSE(Button->isChecked());
  Giffer.SetFrameEditor(nullptr);
}

struct ToolCase {
  const char* Button;
  std::vector<std::string> Log;
};

TEST_F(MainWindowTest, ToolSelectionCommitsTheSelectionAndSetsTheCursor) {
  const ToolCase Cases[] = {
      {"PenButton", {"commit", "default", "cross"}},
      {"CursorlButton", {"default", "commit"}},
      {"SelectButton", {"default", "cross", "commit"}},
  };
  editor::TGiffer& Giffer = Shown();
  Giffer.EnableEditTools(true);
  for (const ToolCase& Case : Cases) {
    maintest::TFakeFrameEditor Editor;
    Editor.Selection = true;
    Giffer.SetFrameEditor(&Editor);
    Giffer.Action(Case.Button)->trigger();
    EXPECT_EQ(Editor.Log, Case.Log) << Case.Button;
    Giffer.SetFrameEditor(nullptr);
  }
}

struct ZoomCase {
  int Side;
  editor::TZoomStep Step;
  int Result;
};

TEST(ZoomSide, ScalesWithHalvesToEvenAndNeverReachesZero) {
  const ZoomCase Cases[] = {
      {5, editor::zsShrinkHalf, 2}, {5, editor::zsHalve, 2},    {7, editor::zsShrinkHalf, 4},
      {3, editor::zsGrowHalf, 4},   {5, editor::zsGrowHalf, 8}, {100, editor::zsGrowHalf, 150},
      {100, editor::zsDouble, 200}, {1, editor::zsHalve, 1},    {1, editor::zsShrinkHalf, 1},
  };
  for (const ZoomCase& Case : Cases)
    EXPECT_EQ(editor::ZoomSide(Case.Side, Case.Step), Case.Result)
        << Case.Side << " step " << static_cast<int>(Case.Step);
}

TEST_F(MainWindowTest, ViewCommandsZoomTheFrameEditor) {
  editor::TGiffer& Giffer = Shown();
  maintest::TFakeFrameEditor Editor;
  Editor.Panel = {5, 4};
  Editor.RealSize = {5, 4};
  Giffer.SetFrameEditor(&Editor);
  Giffer.EnableEditTools(true);
  Giffer.Action("Scale100B")->trigger();
  EXPECT_EQ(Editor.Panel, QSize(10, 8));
  Giffer.Action("Scale50B")->trigger();
  EXPECT_EQ(Editor.Panel, QSize(15, 12));
  for (int Step = 0; Step < 6; ++Step) Giffer.Action("Scale100S")->trigger();
  EXPECT_EQ(Editor.Panel, QSize(1, 1));
  Editor.Selection = true;
  Giffer.Action("Realsize1")->trigger();
  EXPECT_EQ(Editor.Panel, QSize(5, 4));
  EXPECT_EQ(Editor.Log, std::vector<std::string>{"commit"});
  Giffer.SetFrameEditor(nullptr);
}

TEST_F(MainWindowTest, PasteFollowsABitmapOnTheClipboard) {
  editor::TGiffer& Giffer = Shown();
  Giffer.EnableEditTools(true);
  QImage Picture(4, 4, QImage::Format_RGB32);
  Picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(Picture);
  editortest::RunPosted();
  EXPECT_TRUE(editor::TGiffer::CommandOn(Giffer.Action("PasteButton")));
  EXPECT_TRUE(editor::TGiffer::CommandOn(Giffer.Action("Paste1")));
  QGuiApplication::clipboard()->setText("words");
  editortest::RunPosted();
  EXPECT_FALSE(editor::TGiffer::CommandOn(Giffer.Action("PasteButton")));
  EXPECT_FALSE(editor::TGiffer::CommandOn(Giffer.Action("Paste1")));
}

TEST_F(MainWindowTest, TheRecentListIsReadAtStartAndOpensItsProjects) {
  maintest::WriteGIF(InStart("one.gif"));
  editor::TRecentProjects Stored;
  Stored.Add(InStart("one.gif"));
  Stored.Add(InStart("gone.gif"));
  Stored.SaveToFile(editor::RecentProjectsFileName(Start.Path()));
  editor::TGiffer& Giffer = Shown();
  const QList<QAction*> Items = Giffer.LastProjectsMenu()->actions();
  ASSERT_EQ(Items.size(), 2);
  EXPECT_EQ(Items[0]->text().toStdString(), InStart("one.gif"));
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Items[1]->trigger();
  EXPECT_EQ(editortest::Messages(Dialogs),
            (std::vector<std::pair<std::string, std::string>>{{"File not found.", "Error!"}}));
  Items[0]->trigger();
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: one.gif");
}

TEST_F(MainWindowTest, TheOutsideLibraryAndTheLinksAreReached) {
  editor::TGiffer& Giffer = Shown();
  Plexor.OnProgramOptions = [this] { Settings.Store.WriteString(ui::OptionSection, "Quantize", "5"); };
  Giffer.Action("Programoption1")->trigger();
  EXPECT_EQ(gif::GIFLibraryDefaults().QuantizeBits, 5);
  // The File menu's entry of the same name does nothing; the Option menu's is the one.
  Plexor.OnProgramOptions = [this] { Settings.Store.WriteString(ui::OptionSection, "Quantize", "7"); };
  Giffer.Action("Programoption2")->trigger();
  EXPECT_EQ(gif::GIFLibraryDefaults().QuantizeBits, 5);
  Giffer.Action("About1")->trigger();
  Giffer.Action("ToolButton2")->trigger();
  EXPECT_EQ(Plexor.Calls, (std::vector<std::string>{"ProgramOptions", "About", "About"}));
  Giffer.Action("AnimoraHomePage1")->trigger();
  Giffer.Action("Homepage1")->trigger();
  ASSERT_EQ(Urls.size(), 2u);
  EXPECT_NE(Urls[0], Urls[1]);
  EXPECT_EQ(Urls[0].rfind("https://", 0), 0u);
}

TEST_F(MainWindowTest, MenuItemsCarryTheirShortcuts) {
  const std::pair<const char*, const char*> Cases[] = {
      {"Create1", "Ctrl+N"},       {"Openproject1", "Ctrl+O"}, {"Saveproject1", "Ctrl+S"},
      {"Print1", "Ctrl+P"},        {"Exit1", "Alt+F4"},        {"Undo1", "Ctrl+Z"},
      {"Redo1", "Ctrl+Shift+Z"},   {"Cut1", "Ctrl+X"},         {"Copy1", "Ctrl+Ins"},
      {"Paste1", "Shift+Ins"},     {"SaveFrame", "Alt+S"},     {"EditFrame", "Ctrl+E"},
      {"Delete1", "Ctrl+D"},       {"Scale50B", "Ctrl+PgDown"}, {"Scale50S", "Ctrl+PgUp"},
      {"Realsize1", "Ctrl+Home"},  {"Next1", "Ctrl+F6"},      {"Previous1", "Ctrl+Shift+F6"},
  };
  editor::TGiffer& Giffer = Make();
  for (const auto& [Name, Keys] : Cases)
    EXPECT_EQ(Giffer.Action(Name)->shortcut(), QKeySequence(QString::fromLatin1(Keys))) << Name;
  EXPECT_EQ(Giffer.Action("Openproject1")->text(), "&Open project");
  EXPECT_EQ(Giffer.Action("Saveas1")->text(), "Save as . . . ");
}

TEST_F(MainWindowTest, TheStartChooserIsShownWhenAsked) {
  Settings.Store.WriteBool(ui::OptionSection, "ShowOpenWiz", true);
  editor::TGiffer& Giffer = Make();
  editor::TOpenWizForm& Chooser = *Giffer.Forms().OpenWizForm;
  bool SeenOpen = false;
  QTimer Answer;
  QObject::connect(&Answer, &QTimer::timeout, &Chooser, [&] {
    if (!Chooser.isVisible()) return;
    SeenOpen = true;
    Chooser.ShowNextTime()->setChecked(false);
    Chooser.reject();
  });
  Answer.start(0);
  Giffer.show();
  editortest::RunPosted();
  EXPECT_TRUE(SeenOpen);
  EXPECT_FALSE(Settings.Store.ReadBool(ui::OptionSection, "ShowOpenWiz", true));
}


TEST_F(MainWindowTest, ThePreviewIsThereFromTheStartAndClosingItMinimisesIt) {
  editor::TGiffer& Giffer = Shown();
  QMdiSubWindow* Preview = PreviewWindow(Giffer);
  ASSERT_NE(Preview, nullptr);
  EXPECT_TRUE(Giffer.MdiArea()->subWindowList().contains(Preview));
  EXPECT_TRUE(Preview->isVisible());
  EXPECT_EQ(Preview->windowTitle(), "Preview");
  EXPECT_FALSE(Preview->close());
  EXPECT_TRUE(Preview->isMinimized());
  EXPECT_EQ(PreviewWindow(Giffer), Preview);

  // The Window menu lists the children, and choosing the preview brings it back.
  Giffer.Action("Help2")->trigger();
  QMenu* Window = Giffer.findChild<QMenu*>("Window1");
  emit Window->aboutToShow();
  QAction* Item = nullptr;
  QStringList Titles;
  for (QAction* Each : Window->actions()) {
    if (!Each->isCheckable()) continue;
    Titles << Each->text();
    if (Each->text() == "Preview") Item = Each;
  }
  EXPECT_EQ(Titles.size(), 2);
  ASSERT_NE(Item, nullptr);
  EXPECT_FALSE(Item->isChecked());
  Item->trigger();
  EXPECT_FALSE(Preview->isMinimized());
  EXPECT_EQ(Giffer.MdiArea()->activeSubWindow(), Preview);
  // Shown again, the menu lists each child once.
  emit Window->aboutToShow();
  int Checkable = 0;
  for (QAction* Each : Window->actions()) Checkable += Each->isCheckable() ? 1 : 0;
  EXPECT_EQ(Checkable, 2);
}

TEST_F(MainWindowTest, ThePreviewShowsItsFrameWheneverItBecomesTheActiveChild) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  Giffer.Action("Help2")->trigger();
  ASSERT_NE(Giffer.MdiArea()->activeSubWindow(), PreviewWindow(Giffer));
  Giffer.Preview()->SetFrameIndex(5);
  Giffer.ShowPaintStatus(-1, 0);
  Giffer.MdiArea()->setActiveSubWindow(PreviewWindow(Giffer));
  EXPECT_EQ(Giffer.Preview()->FFrameIndex(), 1);
  EXPECT_EQ(Giffer.StatusPanel(1)->text(), " Frame 2 of 2");
}

TEST_F(MainWindowTest, AMinimisedPreviewLeavesItsStoredBoundsAlone) {
  {
    editor::TGiffer& Giffer = Shown();
    PreviewWindow(Giffer)->showMinimized();
    EXPECT_TRUE(Giffer.close());
  }
  EXPECT_TRUE(Settings.Store.ValueExists(ui::OptionSection, "WinState"));
  EXPECT_FALSE(Settings.Store.ValueExists(ui::OptionSection, "PreviewWidth"));
  EXPECT_FALSE(Settings.Store.ValueExists(ui::OptionSection, "PreviewLeft"));
}

TEST_F(MainWindowTest, OpenAndARecentProjectStopThePlayFirst) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  auto Playing = [&Giffer] {
    Giffer.Preview()->Button("RunGif")->setChecked(true);
    EXPECT_FALSE(Giffer.Preview()->Button("StopGif")->isChecked());
  };
  Playing();
  {
    TScriptedDialogs Dialogs({uitest::Cancel(uitest::TDialogKind::Open)});
    Giffer.Action("OpenButton")->trigger();
    EXPECT_TRUE(Dialogs.Done());
  }
  EXPECT_TRUE(Giffer.Preview()->Button("StopGif")->isChecked());
  Playing();
  {
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Giffer.RecentFileClick(QString::fromStdString(InStart("gone.gif")));
    EXPECT_TRUE(Dialogs.Done());
  }
  EXPECT_TRUE(Giffer.Preview()->Button("StopGif")->isChecked());
}

TEST_F(MainWindowTest, TheFrameCommandsSayWhatTheyDo) {
  editor::TGiffer& Giffer = Make();
  EXPECT_EQ(Giffer.Action("Addframe1")->statusTip(), "Add a frame to the end of the project");
  EXPECT_EQ(Giffer.Action("Frameoption1")->statusTip(), "Size and position of the current frame");
}

TEST_F(MainWindowTest, TheProgramsSetUpStartsTheGIFLibraryAndEndsIt) {
  maintest::WriteGIF(InStart("clip.gif"));
  {
    const editor::TProgramSetup Setup;
    EXPECT_EQ(ui::ApplicationTitle(), "Animora Pro");
    graphics::TPicture Picture;
    Picture.LoadFromFile(InStart("clip.gif"));
    auto* Image = dynamic_cast<gif::TGIFImage*>(Picture.Graphic());
    ASSERT_NE(Image, nullptr);
    EXPECT_EQ(Image->Frames().Count(), 2);
    EXPECT_TRUE(graphics::TPicture::SupportsClipboardFormat(gif::GIFClipboardFormat()));
  }
  graphics::TPicture After;
  EXPECT_THROW(After.LoadFromFile(InStart("clip.gif")), base::EInvalidGraphic);
}

}  // namespace
