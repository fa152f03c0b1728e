// The main window's children inside its MDI area (opening, Tile, Cascade), the main
// window on the screen after a stored layout, and the program's icon on every window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>

#include "editor/ChildWindows.h"
#include "editor/ProgramSetup.h"
#include "editor/controls/PaletteGrid.h"
#include "editor/forms/ExchangePlace.h"
#include "editor/forms/ExtensionsDlg.h"
#include "editor/forms/FrameOptionForm.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;

namespace {

TEST(ChildWindowGeometry, FitInsideTileCellsAndCascadePlaces) {
  const QRect Area(0, 0, 400, 300);
  struct {
    QRect Window;
    QSize Least;
    QRect Expected;
  } const Fits[] = {
      {{10, 20, 100, 80}, {0, 0}, {10, 20, 100, 80}},
      {{350, 280, 100, 80}, {0, 0}, {300, 220, 100, 80}},
      {{-50, -5, 100, 80}, {0, 0}, {0, 0, 100, 80}},
      {{30, 40, 900, 500}, {0, 0}, {0, 0, 400, 300}},
      // Least sizes win over the area.
      {{30, 40, 900, 500}, {450, 100}, {0, 0, 450, 300}},
  };
  for (const auto& C : Fits) EXPECT_EQ(editor::FitInside(C.Window, C.Least, Area), C.Expected) << C.Window.x();

  EXPECT_TRUE(editor::TileCells(0, Area).empty());
  EXPECT_EQ(editor::TileCells(1, Area), std::vector<QRect>{Area});
  EXPECT_EQ(editor::TileCells(3, Area),
            (std::vector<QRect>{{0, 0, 200, 150}, {200, 0, 200, 150}, {0, 150, 400, 150}}));
  const std::vector<QRect> Five = editor::TileCells(5, QRect(0, 0, 301, 200));
  ASSERT_EQ(Five.size(), 5u);
  EXPECT_EQ(Five[2], QRect(200, 0, 101, 100));
  EXPECT_EQ(Five[4], QRect(150, 100, 151, 100));

  EXPECT_EQ(editor::CascadePlaces(Area, 20), 7);
  EXPECT_EQ(editor::CascadePlaces(QRect(0, 0, 30, 30), 20), 1);
}

class ChildWindowsTest : public MainWindowTest {
 protected:
  // Shown on a project of one Width x Height frame pair, the main window Size big.
  editor::TGiffer& Open(QSize Size, int Width = 8, int Height = 6) {
    maintest::WriteGIF(InStart("clip.gif"), Width, Height);
    editor::TGiffer& Main = Shown({"clip.gif"});
    Main.resize(Size);
    editortest::RunPosted();
    return Main;
  }
  static QRect Area(const editor::TGiffer& Main) { return Main.MdiArea()->viewport()->rect(); }
  static QMdiSubWindow* WindowOf(QWidget* Form) { return qobject_cast<QMdiSubWindow*>(Form->parentWidget()); }
  static void ExpectInside(const editor::TGiffer& Main, const char* When) {
    for (QMdiSubWindow* Child : Main.MdiArea()->subWindowList()) {
      if (!Child->isVisible() || Child->isMinimized()) continue;
      EXPECT_TRUE(Area(Main).contains(Child->geometry()))
          << When << ": " << Child->windowTitle().toStdString() << " at " << Child->x() << "," << Child->y() << " "
          << Child->width() << "x" << Child->height();
    }
  }
};

TEST_F(ChildWindowsTest, NewChildrenOpenInsideTheAreaAtAUsefulSizeCascading) {
  editor::TGiffer& Main = Open({790, 700}, 640, 360);
  Main.Action("GlobalOption")->trigger();
  Main.Action("EditFrame")->trigger();
  Main.Action("ExtensButton")->trigger();
  editortest::RunPosted();
  ExpectInside(Main, "opened");

  const editor::TPaletteGrid& Grid = *Main.FrameOptionForm()->PaintBoxPalette();
  // Cells big enough to carry their edge.
  EXPECT_GT(Grid.Layout().CellHeight, 6);
  EXPECT_GT(Grid.Layout().CellWidth, 3);

  auto* Editor = dynamic_cast<QWidget*>(Main.FrameEditor());
  ASSERT_NE(Editor, nullptr);
  auto* Box = Editor->findChild<QScrollArea*>("ScrollBox1");
  auto* Panel = Editor->findChild<QWidget*>("ImagePanel");
  ASSERT_TRUE(Box && Panel);
  // The frame at its real size, whole.
  EXPECT_GE(Box->viewport()->width(), Panel->width());
  EXPECT_GE(Box->viewport()->height(), Panel->height());

  // Each a cascade step further than the one before, from the area's corner.
  const int Step = editor::CascadeStep(*WindowOf(Editor));
  std::vector<QPoint> Corners;
  for (QWidget* Form : std::initializer_list<QWidget*>{Main.FrameOptionForm(), Editor, Main.ExtensionsForm()})
    Corners.push_back(WindowOf(Form)->pos());
  EXPECT_EQ(Corners, (std::vector<QPoint>{{0, 0}, {Step, Step}, {2 * Step, 2 * Step}}));
}

// Tile and Cascade over five children whose least sizes need more room than the area
// has: the main window keeps its size and the children stay inside.
TEST_F(ChildWindowsTest, TileAndCascadeArrangeInsideTheAreaAndKeepTheMainWindowsSize) {
  editor::TGiffer& Main = Open({1000, 760});
  for (const char* Command : {"Help2", "GlobalOption", "ExtensButton", "OptimizeButton"})
    Main.Action(Command)->trigger();
  editortest::RunPosted();
  ASSERT_EQ(Main.MdiArea()->subWindowList().size(), 5);
  const QSize Before = Main.size();
  Main.Action("Tile1")->trigger();
  editortest::RunPosted();
  EXPECT_EQ(Main.size(), Before);
  ExpectInside(Main, "tiled");
  Main.Action("Cascade1")->trigger();
  editortest::RunPosted();
  EXPECT_EQ(Main.size(), Before);
  ExpectInside(Main, "cascaded");
  const QList<QMdiSubWindow*> Stack = Main.MdiArea()->subWindowList(QMdiArea::StackingOrder);
  const int Step = editor::CascadeStep(*Stack.front());
  for (qsizetype Index = 0; Index < Stack.size(); ++Index)
    EXPECT_EQ(Stack[Index]->pos(), QPoint(Step, Step) * static_cast<int>(Index)) << Index;
}

// The height Tile used to give the window, stored at exit, and a place on no screen.
TEST_F(ChildWindowsTest, AStoredLayoutPastTheScreenComesBackOntoIt) {
  const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
  struct {
    int Left, Top, Width, Height;
  } const Cases[] = {
      {Screen.left() + 20, Screen.top() + 10, 500, Screen.height() + 189},
      {Screen.right() + 3000, Screen.bottom() + 2000, 500, 400},
      {Screen.left() - 5000, Screen.top() + 10, 500, 400},
  };
  for (const auto& C : Cases) {
    Settings.Store.WriteInteger(ui::OptionSection, "Left", C.Left);
    Settings.Store.WriteInteger(ui::OptionSection, "Top", C.Top);
    Settings.Store.WriteInteger(ui::OptionSection, "Width", C.Width);
    Settings.Store.WriteInteger(ui::OptionSection, "Heigth", C.Height);
    editor::TGiffer& Main = Shown();
    EXPECT_TRUE(Screen.contains(Main.frameGeometry())) << C.Left << "," << C.Top << " " << C.Height;
    EXPECT_EQ(Main.width(), C.Width);
    Giffer.reset();
  }
}

TEST_F(ChildWindowsTest, EveryWindowShowsTheProgramsIcon) {
  const editor::TProgramSetup Setup;
  const QImage Own = QIcon(":/icons/animora.png").pixmap(32).toImage();
  ASSERT_FALSE(Own.isNull());
  editor::TGiffer& Main = Open({640, 420});
  Main.Action("GlobalOption")->trigger();
  Main.Action("ExtensButton")->trigger();
  Main.Action("Help2")->trigger();
  std::vector<QWidget*> Windows{&Main, Main.Forms().ExchangePlaceForm.get()};
  for (QMdiSubWindow* Child : Main.MdiArea()->subWindowList()) Windows.push_back(Child);
  QMessageBox Box;
  Windows.push_back(&Box);
  for (QWidget* Window : Windows)
    EXPECT_EQ(Window->windowIcon().pixmap(32).toImage(), Own) << Window->windowTitle().toStdString();
  Giffer.reset();
}

}  // namespace
