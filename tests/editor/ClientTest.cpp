// The frame editor under offscreen Qt, driven through the main window's tool buttons
// and Edit commands and QTest mouse events on its picture: the one mapping, every tool
// on an 8-bit frame, rubber bands that leave nothing behind, lifting, dragging and
// committing selections, the clipboard, undo and redo, storing and the close prompt.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "editor/Client.h"
#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/controls/FrameView.h"
#include "editor/forms/TextDlg.h"
#include "editor/forms/WizardMain.h"
#include "gif/GraphicControlExtension.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/QtGlyphRasterizer.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

constexpr int FrameWidth = 100;
constexpr int FrameHeight = 60;
// The frame's table: black, white, red, green, blue, grey.
constexpr base::TColor Colors[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
constexpr uint8_t White = 1, Red = 2, Green = 3;
constexpr uint16_t Delay = 25;
constexpr uint8_t TransparentIndex = 5;

// Index of the pattern at (X, Y): stripes of every colour, so that a brush or a stray
// pixel always shows.
uint8_t PatternAt(int X, int Y) { return static_cast<uint8_t>((X / 7 + Y / 5) % 6); }

void AddEditFrame(gif::TGIFImage& Image, const std::vector<base::TColor>& Table);

// A GIF of two frames with local tables, a delay and a transparent index (a project
// of one frame would be made again from its picture when opened).
void WriteEditGIF(const std::string& FileName,
                  const std::vector<base::TColor>& Table = {std::begin(Colors), std::end(Colors)}) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(FrameWidth);
  Image.Header().SetScreenHeight(FrameHeight);
  for (int Count = 0; Count < 2; ++Count) AddEditFrame(Image, Table);
  Image.SaveToFile(FileName);
}

void AddEditFrame(gif::TGIFImage& Image, const std::vector<base::TColor>& Table) {
  auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
  Control->SetDelay(Delay);
  Control->SetTransparent(true);
  Control->SetTransparentColor(TransparentIndex);
  Frame->Extensions()->Add(std::move(Control));
  for (base::TColor Color : Table) Frame->ColorMap()->Add(Color);
  Frame->SetBounds(0, 0, FrameWidth, FrameHeight);
  Frame->AllocatePixels();
  for (int Y = 0; Y < FrameHeight; ++Y)
    for (int X = 0; X < FrameWidth; ++X) Frame->Scanline(Y)[X] = PatternAt(X, Y);
  Image.Frames().Add(std::move(Frame));
}

std::vector<uint8_t> Indexes(graphics::TBitmap& Bitmap) {
  std::vector<uint8_t> Result;
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* Row = Bitmap.ScanLine(Y);
    Result.insert(Result.end(), Row, Row + Bitmap.Width());
  }
  return Result;
}

uint8_t IndexAt(graphics::TBitmap& Bitmap, int X, int Y) { return Bitmap.ScanLine(Y)[X]; }

class ClientTest : public MainWindowTest {
 protected:
  editor::TGifClientForm& Open(const std::vector<base::TColor>& Table = {std::begin(Colors), std::end(Colors)}) {
    WriteEditGIF(InStart("edit.gif"), Table);
    editor::TGiffer& Main = Shown({"edit.gif"});
    Main.resize(900, 700);
    Main.Preview()->Button("EditButton")->click();
    auto* Form = dynamic_cast<editor::TGifClientForm*>(Main.FrameEditor());
    EXPECT_NE(Form, nullptr);
    Form->parentWidget()->resize(700, 500);
    editortest::RunPosted();
    return *Form;
  }
  editor::TGiffer& Main() { return *Giffer; }
  void Tool(const char* Name) { Main().Action(Name)->trigger(); }
  void Command(const char* Name) {
    QAction* Action = Main().Action(Name);
    ASSERT_TRUE(Action->isEnabled()) << Name;
    Action->trigger();
  }
  bool Enabled(const char* Name) { return Main().Action(Name)->isEnabled(); }
  // "WWW" in blue, 20 pixels of DejaVu Sans, with a green shadow.
  editor::TTextForm& ShadowedText() {
    ui::InstallQtGlyphRasterizer();
    editor::TTextForm& Text = *Main().Forms().TextForm;
    Text.TextEdit()->setText("WWW");
    QFont Font(QStringLiteral("DejaVu Sans"));
    Font.setPixelSize(20);
    Text.SimpleLabel()->setFont(Font);
    Text.SetFontColor(0x0000FF);
    Text.SetShadowColor(0x00FF00);
    Text.ShadowCB()->setChecked(true);
    return Text;
  }

  // A press at From, moves through Path and a release at To, in display points.
  void Drag(editor::TGifClientForm& Form, QPoint From, std::vector<QPoint> Path, QPoint To,
            Qt::MouseButton Button = Qt::LeftButton) {
    QWidget* View = Form.FramePaint();
    QTest::mousePress(View, Button, {}, From);
    for (QPoint Point : Path) QTest::mouseMove(View, Point);
    QTest::mouseMove(View, To);
    QTest::mouseRelease(View, Button, {}, To);
  }
  void Click(editor::TGifClientForm& Form, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
    QTest::mouseClick(Form.FramePaint(), Button, {}, At);
  }
  // The clipboard holding a Width x Height picture of one colour.
  static void PutOnClipboard(int Width, int Height, QColor Color) {
    QImage Picture(Width, Height, QImage::Format_RGB32);
    Picture.fill(Color);
    QGuiApplication::clipboard()->setImage(Picture);
    editortest::RunPosted();
  }
};

TEST_F(ClientTest, OpensOnTheCurrentFrameAtRealSize) {
  Shown();
  // Without an editor there is nothing to undo or redo.
  for (const char* Name : {"UndoButton", "RedoButton", "Undo1", "Redo1"}) EXPECT_FALSE(Enabled(Name)) << Name;
  editor::TGifClientForm& Form = Open();
  EXPECT_EQ(Form.windowTitle(), "Editing frame");
  EXPECT_EQ(Form.ImagePanel()->size(), QSize(108, 68));
  EXPECT_EQ(Form.FramePaint()->size(), QSize(100, 60));
  EXPECT_EQ(Form.FRealWidth(), 108);
  EXPECT_EQ(Form.FRealHeight(), 68);
  EXPECT_EQ(Form.FEditIndex(), 0);
  EXPECT_EQ(Form.Picture().PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(IndexAt(Form.Picture(), 8, 0), PatternAt(8, 0));
  EXPECT_TRUE(Main().Action("CursorlButton")->isChecked());
  for (const char* Name : {"Undo1", "UndoButton", "Redo1", "RedoButton"}) EXPECT_FALSE(Enabled(Name)) << Name;
  for (const char* Name : {"Cut1", "Copy1", "Delete2", "SaveFrame", "PenButton", "Scale50B"})
    EXPECT_TRUE(Enabled(Name)) << Name;
  const char* Panels[] = {"X", "Y", "Color", "Red", "Green", "Blue", "Hex", ""};
  for (int Index = 0; Index < 8; ++Index) EXPECT_EQ(Form.StatusPanel(Index)->text(), Panels[Index]);
  for (int Index = 0; Index < 7; ++Index) EXPECT_EQ(Form.PenStyleCB()->itemText(Index), QString::number(Index));
  EXPECT_EQ(Form.PenStyleCB()->count(), 7);
  EXPECT_EQ(Form.BrushStyleCB()->count(), 8);
  // The Edit command of the main window brings back the one editor.
  Main().Action("EditFrame")->trigger();
  EXPECT_EQ(Main().FrameEditor(), &Form);
  EXPECT_EQ(Main().MdiArea()->subWindowList().size(), 2);
}

TEST_F(ClientTest, OneMappingForPressMoveAndRelease) {
  editor::TGifClientForm& Form = Open();
  Tool("PenButton");
  // At real size a click draws where it is and a move goes on from there.
  Drag(Form, {10, 10}, {}, {20, 10});
  EXPECT_EQ(IndexAt(Form.Picture(), 10, 10), 0);
  EXPECT_EQ(IndexAt(Form.Picture(), 20, 10), 0);
  EXPECT_NE(IndexAt(Form.Picture(), 9, 9), 0) << "the press is not moved up and left";
  EXPECT_EQ(Form.StatusPanel(0)->text(), "X:20");
  EXPECT_EQ(Form.StatusPanel(1)->text(), "Y:10");
  // Zoomed, every display point maps onto the frame pixel shown there.
  Tool("Scale100B");
  editortest::RunPosted();
  editor::TFrameView& View = *Form.FramePaint();
  EXPECT_EQ(View.size(), QSize(208, 128));
  for (int X = 1; X < 100; ++X) {
    EXPECT_EQ(View.FramePoint({View.DisplayX(X), 0}).x(), X);
    EXPECT_EQ(View.FramePoint({View.DisplayX(X) - 1, 0}).x(), X - 1);
  }
  EXPECT_EQ(View.FramePoint({207, 127}), QPoint(99, 59));
  Click(Form, {View.DisplayX(30) + 1, View.DisplayY(50) + 1});
  EXPECT_EQ(IndexAt(Form.Picture(), 30, 50), 0);
  // The display never shrinks below one pixel, whatever the zoom.
  for (int Step = 0; Step < 12; ++Step) Tool("Scale100S");
  editortest::RunPosted();
  EXPECT_EQ(Form.FramePaint()->size(), QSize(1, 1));
  EXPECT_EQ(Form.FramePaint()->FramePoint({0, 0}), QPoint(0, 0));
  // Nor grows past the largest side a widget takes.
  for (int Step = 0; Step < 20; ++Step) Tool("Scale100B");
  editortest::RunPosted();
  EXPECT_EQ(Form.FramePaint()->size(), QSize(32767, 32767));
  EXPECT_EQ(Form.FramePaint()->FramePoint({32766, 32766}), QPoint(99, 59));
  Form.FramePaint()->repaint(0, 0, 50, 50);
}

struct ShapeCase {
  const char* Button;
  // The same drawing done directly on the canvas.
  std::function<void(graphics::TCanvas&)> Draw;
};

TEST_F(ClientTest, ShapesLeaveOnlyTheFinalShape) {
  const ShapeCase Cases[] = {
      {"LineButton",
       [](graphics::TCanvas& C) {
         C.MoveTo(10, 12);
         C.LineTo(70, 40);
       }},
      {"QuadButton", [](graphics::TCanvas& C) { C.Rectangle(10, 12, 70, 40); }},
      {"EllipseButton", [](graphics::TCanvas& C) { C.Ellipse(10, 12, 70, 40); }},
      {"LongPenButton",
       [](graphics::TCanvas& C) {
         C.SetPixels(10, 12, graphics::clBlack);
         C.MoveTo(10, 12);
         C.LineTo(50, 20);
         C.LineTo(30, 50);
         C.LineTo(80, 45);
         C.LineTo(130, 70);
         C.LineTo(80, 45);
         C.LineTo(70, 40);
       }},
  };
  editor::TGifClientForm& Form = Open();
  // A wide pen and a hatched brush, so that every part of a shape shows.
  Form.PenWidthEdit()->setText("3");
  Form.BrushStyleCB()->setCurrentIndex(6);
  for (const ShapeCase& Case : Cases) {
    graphics::TBitmap Expected;
    Expected.Assign(&Form.Picture());
    Expected.Canvas().Pen().SetWidth(3);
    Expected.Canvas().Brush().SetStyle(graphics::bsCross);
    Expected.Canvas().Brush().SetColor(graphics::clWhite);
    Case.Draw(Expected.Canvas());
    Tool(Case.Button);
    // Bands shown and taken back over and around the frame, the last one past its edge.
    Drag(Form, {10, 12}, {{50, 20}, {30, 50}, {80, 45}, {130, 70}, {80, 45}}, {70, 40});
    EXPECT_EQ(Indexes(Form.Picture()), Indexes(Expected)) << Case.Button;
    EXPECT_EQ(Form.Picture().Canvas().Pen().Mode(), graphics::pmCopy) << Case.Button;
    EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
    EXPECT_TRUE(Enabled("Undo1"));
    Command("Undo1");
  }
}

TEST_F(ClientTest, FillPaintsTheConnectedAreaWithTheBrush) {
  editor::TGifClientForm& Form = Open();
  TScriptedDialogs Dialogs({uitest::ChooseColor(0x00FF00)});
  Form.findChild<QToolButton*>("ChangeBrushColor")->click();
  EXPECT_EQ(Form.BrushColor(), 0x00FF00);
  Tool("FillButton");
  // (0, 0) lies in the black stripe of the top-left corner, 7 x 5 pixels.
  Click(Form, {2, 2});
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) EXPECT_EQ(IndexAt(Form.Picture(), X, Y), Green) << X << "," << Y;
  EXPECT_EQ(IndexAt(Form.Picture(), 7, 0), PatternAt(7, 0));
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 5), PatternAt(0, 5));
}

TEST_F(ClientTest, ThePickerTakesThePenWithTheLeftButtonAndTheBrushWithTheRight) {
  editor::TGifClientForm& Form = Open();
  Tool("GetColorButton");
  // (15, 0) is in the red stripe.
  ASSERT_EQ(PatternAt(15, 0), Red);
  Click(Form, {15, 0});
  EXPECT_EQ(Form.PenColor(), 0x0000FF);
  EXPECT_EQ(Form.Picture().Canvas().Pen().Color(), 0x0000FF);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "") << "picking changes nothing";
  ASSERT_EQ(PatternAt(22, 0), Green);
  Click(Form, {22, 0}, Qt::RightButton);
  EXPECT_EQ(Form.BrushColor(), 0x00FF00);
  EXPECT_EQ(Form.PenColor(), 0x0000FF);
  // The following stroke is red.
  Tool("PenButton");
  Click(Form, {50, 30});
  EXPECT_EQ(IndexAt(Form.Picture(), 50, 30), Red);
  QTest::mouseMove(Form.FramePaint(), {50, 30});
  EXPECT_EQ(Form.StatusPanel(2)->text(), "Color:clRed");
  EXPECT_EQ(Form.StatusPanel(3)->text(), "Red:255");
  EXPECT_EQ(Form.StatusPanel(6)->text(), "Hex:FF0000");
}

TEST_F(ClientTest, SelectLiftsTheNormalisedRectangleAndLeavesTheFrame) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Tool("SelectButton");
  Drag(Form, {31, 41}, {{40, 45}, {20, 55}}, {10, 50});
  EXPECT_EQ(Form.FSelRect(), base::Rect(10, 41, 31, 50));
  ASSERT_TRUE(Form.HasSelection());
  graphics::TBitmap* Lifted = Form.SelectionPicture();
  ASSERT_EQ(Lifted->Width(), 21);
  ASSERT_EQ(Lifted->Height(), 9);
  EXPECT_EQ(IndexAt(*Lifted, 0, 0), PatternAt(10, 41));
  EXPECT_EQ(IndexAt(*Lifted, 20, 8), PatternAt(30, 49));
  EXPECT_EQ(Form.SelectionAt(), QPoint(10, 41));
  EXPECT_EQ(Indexes(Form.Picture()), Before) << "the band leaves nothing and lifting changes nothing";
  EXPECT_FALSE(Enabled("Undo1"));
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  // Committing an unmoved selection puts back what was there.
  Tool("PenButton");
  EXPECT_FALSE(Form.HasSelection());
  EXPECT_EQ(Indexes(Form.Picture()), Before);
}

TEST_F(ClientTest, ASelectionRunningOffTheFrameIsClampedAndOneWhollyOutsideIsNone) {
  editor::TGifClientForm& Form = Open();
  Tool("SelectButton");
  Drag(Form, {90, 50}, {}, {140, 90});
  EXPECT_EQ(Form.FSelRect(), base::Rect(90, 50, 100, 60));
  ASSERT_TRUE(Form.HasSelection());
  Tool("SelectButton");
  Drag(Form, {-30, -20}, {}, {-5, -2});
  EXPECT_EQ(Form.FSelRect(), base::Rect(0, 0, 0, 0));
  EXPECT_FALSE(Form.HasSelection());
}

TEST_F(ClientTest, SelectingWhileZoomedIsRefused) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Tool("Scale50B");
  Tool("SelectButton");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Drag(Form, {10, 10}, {{40, 40}}, {30, 30});
  const auto Shown = editortest::Messages(Dialogs);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0],
            std::make_pair(std::string("This operation work in the image real size."), std::string("Error!")));
  EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtInformation);
  EXPECT_FALSE(Form.HasSelection());
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  EXPECT_EQ(Form.Picture().Canvas().Pen().Mode(), graphics::pmCopy);
  EXPECT_EQ(Form.Picture().Canvas().Pen().Style(), graphics::psSolid);
}

TEST_F(ClientTest, ADraggedSelectionMovesItsOutlineFirstAndLandsOnRelease) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Tool("SelectButton");
  Drag(Form, {10, 10}, {}, {20, 15});
  QWidget* View = Form.FramePaint();
  QTest::mousePress(View, Qt::LeftButton, {}, {12, 12});
  QTest::mouseMove(View, {17, 14});
  EXPECT_EQ(Form.FramePaint()->Outline().topLeft(), QPoint(15, 12));
  EXPECT_EQ(Form.SelectionAt(), QPoint(10, 10)) << "the picture waits for the release";
  QTest::mouseRelease(View, Qt::LeftButton, {}, {17, 14});
  EXPECT_EQ(Form.SelectionAt(), QPoint(15, 12));
  Tool("CursorlButton");
  // The moved picture covers its new place; the old place is as it was.
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 10; ++X) EXPECT_EQ(IndexAt(Form.Picture(), 15 + X, 12 + Y), Before[(10 + Y) * 100 + 10 + X]);
  EXPECT_EQ(IndexAt(Form.Picture(), 10, 10), Before[10 * 100 + 10]);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
}

TEST_F(ClientTest, LiftingAndCommittingKeepIndexesOfTheSameColour) {
  // Entry 6 is black like entry 0: a colour match would turn it into 0.
  editor::TGifClientForm& Form = Open({0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080, 0x000000});
  Form.Picture().ScanLine(5)[5] = 6;
  Tool("SelectButton");
  Drag(Form, {2, 2}, {}, {12, 12});
  EXPECT_EQ(IndexAt(*Form.SelectionPicture(), 3, 3), 6);
  QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {4, 4});
  QTest::mouseMove(Form.FramePaint(), {24, 4});
  QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {24, 4});
  Tool("CursorlButton");
  EXPECT_EQ(IndexAt(Form.Picture(), 25, 5), 6);
}

TEST_F(ClientTest, CutAndDeleteOfASelectionClearItsPlaceAndDropIt) {
  for (const char* Name : {"Cut1", "Delete2"}) {
    editor::TGifClientForm& Form = Open();
    QGuiApplication::clipboard()->clear();
    Tool("SelectButton");
    Drag(Form, {10, 10}, {}, {30, 20});
    const QImage Lifted = ui::BitmapToQImage(*Form.SelectionPicture());
    // Moved first: the move is dropped with the selection.
    QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {15, 15});
    QTest::mouseMove(Form.FramePaint(), {20, 15});
    QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {20, 15});
    const std::vector<uint8_t> Before = Indexes(Form.Picture());
    Command(Name);
    EXPECT_FALSE(Form.HasSelection()) << Name;
    for (int Y = 0; Y < 60; ++Y)
      for (int X = 0; X < 100; ++X) {
        const bool Inside = X >= 10 && X < 30 && Y >= 10 && Y < 20;
        ASSERT_EQ(IndexAt(Form.Picture(), X, Y), Inside ? White : Before[Y * 100 + X]) << Name << " " << X << "," << Y;
      }
    const QImage OnClipboard = QGuiApplication::clipboard()->image();
    if (std::string(Name) == "Cut1")
      EXPECT_EQ(OnClipboard.convertToFormat(QImage::Format_RGB32), Lifted.convertToFormat(QImage::Format_RGB32));
    else
      EXPECT_TRUE(OnClipboard.isNull());
    EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
    EXPECT_TRUE(Enabled("Undo1"));
    Command("Undo1");
    EXPECT_EQ(Indexes(Form.Picture()), Before) << Name;
    Form.Discard();
    editortest::RunPosted();
  }
}

TEST_F(ClientTest, CutWithoutASelectionTakesTheFrameAndWhitensIt) {
  editor::TGifClientForm& Form = Open();
  const QImage Whole = ui::BitmapToQImage(Form.Picture()).convertToFormat(QImage::Format_RGB32);
  Command("CutButton");
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), Whole);
  EXPECT_EQ(Indexes(Form.Picture()), std::vector<uint8_t>(100 * 60, White));
  editortest::RunPosted();
  EXPECT_TRUE(Enabled("Paste1"));
}

TEST_F(ClientTest, WhitenessOnAFrameWithoutWhiteTakesItsNearestEntry) {
  editor::TGifClientForm& Form = Open({0x000000, 0xF0F0F0, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080});
  Command("DeleteButton");
  EXPECT_EQ(Indexes(Form.Picture()), std::vector<uint8_t>(100 * 60, 1));
}

TEST_F(ClientTest, CopyPutsTheSelectionOrTheFrameOnTheClipboard) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Command("Copy1");
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(100, 60));
  Tool("SelectButton");
  Drag(Form, {5, 5}, {}, {9, 8});
  Command("CopyButton");
  EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(4, 3));
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
}

TEST_F(ClientTest, APasteGrowsTheFrameLandsWhereShownAndCanBeDraggedFirst) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  PutOnClipboard(200, 10, Qt::green);
  ASSERT_TRUE(Enabled("Paste1"));
  Command("Paste1");
  EXPECT_EQ(Form.Picture().Width(), 200);
  EXPECT_EQ(Form.Picture().Height(), 60);
  ASSERT_TRUE(Form.HasSelection());
  EXPECT_EQ(Form.SelectionAt(), QPoint(0, 0));
  EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
  // The panel was at real size and stays at it.
  EXPECT_EQ(Form.ImagePanel()->size(), QSize(208, 68));
  editortest::RunPosted();
  // Dragged down by 3 before it lands.
  QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {50, 5});
  QTest::mouseMove(Form.FramePaint(), {50, 8});
  QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {50, 8});
  Tool("PenButton");
  EXPECT_FALSE(Form.HasSelection());
  for (int X : {0, 199}) {
    EXPECT_EQ(IndexAt(Form.Picture(), X, 3), Green) << X;
    EXPECT_EQ(IndexAt(Form.Picture(), X, 12), Green) << X;
  }
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 2), PatternAt(0, 2));
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 13), PatternAt(0, 13));
  // Undo takes the paste away with the growth.
  Command("Undo1");
  EXPECT_EQ(Form.Picture().Width(), 100);
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.ImagePanel()->size(), QSize(108, 68));
}

TEST_F(ClientTest, UndoAfterAFloatingPasteRemovesItAndRedoBringsItBack) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  PutOnClipboard(5, 5, Qt::red);
  Command("PasteButton");
  Command("UndoButton");
  EXPECT_FALSE(Form.HasSelection());
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  Command("RedoButton");
  EXPECT_EQ(IndexAt(Form.Picture(), 4, 4), Red);
  EXPECT_EQ(IndexAt(Form.Picture(), 5, 5), PatternAt(5, 5));
}

TEST_F(ClientTest, ASecondPasteCommitsTheFirst) {
  editor::TGifClientForm& Form = Open();
  PutOnClipboard(5, 5, Qt::red);
  Command("Paste1");
  QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {2, 2});
  QTest::mouseMove(Form.FramePaint(), {22, 2});
  QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {22, 2});
  Command("Paste1");
  EXPECT_EQ(Form.SelectionAt(), QPoint(0, 0));
  EXPECT_EQ(IndexAt(Form.Picture(), 20, 0), Red);
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 0), PatternAt(0, 0)) << "the second one still floats";
  // Undo removes only the second paste.
  Command("Undo1");
  EXPECT_EQ(IndexAt(Form.Picture(), 20, 0), Red);
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 0), PatternAt(0, 0));
}

TEST_F(ClientTest, UndoAndRedoToggleAndANewChangeEndsRedo) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Tool("PenButton");
  Click(Form, {40, 40});
  const std::vector<uint8_t> After = Indexes(Form.Picture());
  ASSERT_NE(After, Before);
  Command("Undo1");
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_FALSE(Enabled("Undo1"));
  EXPECT_TRUE(Enabled("Redo1"));
  EXPECT_TRUE(Enabled("RedoButton"));
  Command("Redo1");
  EXPECT_EQ(Indexes(Form.Picture()), After);
  EXPECT_TRUE(Enabled("UndoButton"));
  EXPECT_FALSE(Enabled("Redo1"));
  Command("Undo1");
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  Click(Form, {45, 45});
  EXPECT_FALSE(Enabled("Redo1"));
  EXPECT_FALSE(Enabled("RedoButton"));
  EXPECT_TRUE(Enabled("Undo1"));
}

TEST_F(ClientTest, ASecondButtonInTheMiddleOfAGestureLeavesNoBand) {
  editor::TGifClientForm& Form = Open();
  Tool("QuadButton");
  graphics::TBitmap Expected;
  Expected.Assign(&Form.Picture());
  Expected.Canvas().Rectangle(10, 10, 50, 40);
  QWidget* View = Form.FramePaint();
  QTest::mousePress(View, Qt::LeftButton, {}, {10, 10});
  QTest::mouseMove(View, {30, 30});
  QTest::mousePress(View, Qt::RightButton, {}, {30, 30});
  QTest::mouseMove(View, {50, 40});
  QTest::mouseRelease(View, Qt::RightButton, {}, {50, 40});
  QTest::mouseRelease(View, Qt::LeftButton, {}, {50, 40});
  EXPECT_EQ(Indexes(Form.Picture()), Indexes(Expected));
}

TEST_F(ClientTest, TheTextToolDrawsInTheFontColourWithItsShadow) {
  editor::TGifClientForm& Form = Open();
  editor::TTextForm& Text = ShadowedText();
  Text.DispEdit()->setText("2");
  Tool("TextButton");
  WhenModal<editor::TTextForm>([](editor::TTextForm& Dialog) {
    Dialog.PosComboBox()->setCurrentIndex(2);
    Dialog.accept();
  });
  Click(Form, {10, 10});
  int Reds = 0, Greens = 0;
  for (uint8_t Index : Indexes(Form.Picture())) {
    Reds += Index == Red;
    Greens += Index == Green;
  }
  // The pattern holds red and green stripes; the text adds to both.
  int PatternReds = 0, PatternGreens = 0;
  for (int Y = 0; Y < 60; ++Y)
    for (int X = 0; X < 100; ++X) {
      PatternReds += PatternAt(X, Y) == Red;
      PatternGreens += PatternAt(X, Y) == Green;
    }
  EXPECT_GT(Reds, PatternReds);
  EXPECT_GT(Greens, PatternGreens);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
  EXPECT_FALSE(Form.FDrawing());
  EXPECT_EQ(Form.Picture().Canvas().Pen().Mode(), graphics::pmCopy);
  EXPECT_EQ(Form.Picture().Canvas().Brush().Style(), graphics::bsSolid);
}

TEST_F(ClientTest, ACancelledOrRefusedTextDrawsAndMarksNothing) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  editor::TTextForm& Text = *Main().Forms().TextForm;
  Text.TextEdit()->setText("A");
  Tool("TextButton");
  WhenModal<editor::TTextForm>([](editor::TTextForm& Dialog) { Dialog.reject(); });
  Click(Form, {10, 10});
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  EXPECT_FALSE(Enabled("Undo1"));
  Text.ShadowCB()->setChecked(true);
  Text.DispEdit()->setText("x");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  WhenModal<editor::TTextForm>([](editor::TTextForm& Dialog) { Dialog.accept(); });
  Click(Form, {10, 10});
  const auto Shown = editortest::Messages(Dialogs);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].first, "'x' is not a valid integer value");
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  // The next gesture is a fresh one.
  Tool("PenButton");
  Click(Form, {40, 40});
  EXPECT_EQ(IndexAt(Form.Picture(), 40, 40), 0);
}

TEST_F(ClientTest, TheFontDialogGivesTheTextItsColour) {
  Open();
  editor::TTextForm& Text = *Main().Forms().TextForm;
  QFont Font(QStringLiteral("DejaVu Sans"));
  TScriptedDialogs Dialogs({uitest::ChooseFont(Font, 0x00FF00)});
  Text.findChild<QPushButton*>("Button3")->click();
  EXPECT_EQ(Text.FontColor(), 0x00FF00);
  EXPECT_EQ(Text.SimpleLabel()->palette().color(QPalette::WindowText), QColor(0, 255, 0));
}

TEST_F(ClientTest, StoringAnUntouchedFrameChangesNothing) {
  editor::TGifClientForm& Form = Open();
  gif::TGIFSubImage& Frame = *Main().FGif()->Frames().SubImages(0);
  std::vector<uint8_t> Before(Frame.Data(), Frame.Data() + Frame.PixelBytes());
  // The file's table: ours, padded to a power of two.
  std::vector<base::TColor> Table;
  for (int Index = 0; Index < Frame.ColorMap()->Count(); ++Index) Table.push_back(Frame.ColorMap()->Colors(Index));
  ASSERT_EQ(Table.size(), 8u);
  Form.StoreFrame();
  gif::TGIFSubImage& Stored = *Main().FGif()->Frames().SubImages(0);
  EXPECT_EQ(std::vector<uint8_t>(Stored.Data(), Stored.Data() + Stored.PixelBytes()), Before);
  ASSERT_EQ(Stored.ColorMap()->Count(), 8);
  for (int Index = 0; Index < 8; ++Index)
    EXPECT_EQ(Stored.ColorMap()->Colors(Index), Table[static_cast<size_t>(Index)]);
  for (int Index = 0; Index < 6; ++Index) EXPECT_EQ(Table[static_cast<size_t>(Index)], Colors[Index]);
  ASSERT_NE(Stored.GraphicControlExtension(), nullptr);
  EXPECT_TRUE(Stored.Transparent());
  EXPECT_EQ(Stored.GraphicControlExtension()->TransparentColor(), TransparentIndex);
  EXPECT_EQ(Stored.GraphicControlExtension()->Delay(), Delay);
  EXPECT_TRUE(Main().Modified());
}

TEST_F(ClientTest, SaveCurrentFrameStoresTheDrawingWithItsTimingIntoThePreview) {
  editor::TGifClientForm& Form = Open();
  Tool("PenButton");
  Click(Form, {10, 3});
  ASSERT_EQ(Form.StatusPanel(7)->text(), "Modified");
  Main().MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(Form.parentWidget()));
  Command("SaveFrame");
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  EXPECT_TRUE(Main().Modified());
  gif::TGIFSubImage& Stored = *Main().FGif()->Frames().SubImages(0);
  EXPECT_EQ(Stored.Pixels(10, 3), 0);
  EXPECT_EQ(Stored.GraphicControlExtension()->Delay(), Delay);
  EXPECT_EQ(Stored.GraphicControlExtension()->TransparentColor(), TransparentIndex);
  gif::TGIFSubImage& Shown = *Main().Preview()->PreviewGif()->Frames().SubImages(0);
  EXPECT_EQ(Shown.Pixels(10, 3), 0);
  EXPECT_EQ(Shown.GraphicControlExtension()->Delay(), Delay);
}

struct CloseCase {
  ui::TModalResult Answer;
  bool Closes;
  bool Stored;
};

TEST_F(ClientTest, ClosingAModifiedFrameAsksFirst) {
  const CloseCase Cases[] = {{ui::mrCancel, false, false}, {ui::mrNo, true, false}, {ui::mrYes, true, true}};
  for (const CloseCase& Case : Cases) {
    editor::TGifClientForm& Form = Open();
    QPointer<editor::TGifClientForm> Alive(&Form);
    Tool("PenButton");
    Click(Form, {10, 3});
    TScriptedDialogs Dialogs({uitest::Press(Case.Answer)});
    Form.parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto Shown = editortest::Messages(Dialogs);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0].first, "Frame was modified Save changes?");
    EXPECT_EQ(Dialogs.Calls()[0].Buttons, ui::mbYesNoCancel);
    EXPECT_EQ(Alive.isNull(), Case.Closes) << Case.Answer;
    EXPECT_EQ(Main().FrameEditor() == nullptr, Case.Closes);
    EXPECT_EQ(Main().Action("PenButton")->isEnabled(), !Case.Closes);
    EXPECT_EQ(Main().Action("UndoButton")->isEnabled(), !Case.Closes);
    EXPECT_EQ(Main().FGif()->Frames().SubImages(0)->Pixels(10, 3) == 0, Case.Stored);
    EXPECT_EQ(Main().Modified(), Case.Stored);
    if (Alive) Alive->Discard();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Giffer.reset();
  }
}

TEST_F(ClientTest, ClosingTheProjectAsksAboutTheFrameFirst) {
  editor::TGifClientForm& Form = Open();
  QPointer<editor::TGifClientForm> Alive(&Form);
  Tool("PenButton");
  Click(Form, {10, 3});
  {
    // Cancel on the frame keeps everything open.
    TScriptedDialogs Dialogs({uitest::Press(ui::mrCancel)});
    EXPECT_FALSE(Main().close());
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
    EXPECT_TRUE(Alive);
  }
  // Yes stores the frame, which the project's own question then is about.
  TScriptedDialogs Dialogs({uitest::Press(ui::mrYes), uitest::Press(ui::mrNo)});
  EXPECT_TRUE(Main().close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const auto Shown = editortest::Messages(Dialogs);
  ASSERT_EQ(Shown.size(), 2u);
  EXPECT_EQ(Shown[0].first, "Frame was modified Save changes?");
  EXPECT_EQ(Shown[1].first, "Save changes?");
  EXPECT_FALSE(Alive);
}

TEST_F(ClientTest, TheGifWizardAsksAboutTheFrameBeforeReplacingTheProject) {
  editor::TGifClientForm& Form = Open();
  QPointer<editor::TGifClientForm> Alive(&Form);
  Tool("PenButton");
  Click(Form, {10, 3});
  gif::TGIFImage* Project = Main().FGif();
  editor::TGIFWizardForm& Wizard = *Main().Forms().GIFWizardForm;
  Wizard.show();
  editortest::RunPosted();
  Wizard.findChild<QLineEdit*>("BackGroundEdit")->setText("");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrCancel)});
  for (int Page = 0; Page < 3; ++Page) Wizard.findChild<QAbstractButton*>("NextButton")->click();
  const auto Shown = editortest::Messages(Dialogs);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].first, "Frame was modified Save changes?");
  EXPECT_FALSE(Wizard.Built());
  EXPECT_TRUE(Alive);
  EXPECT_EQ(Main().FGif(), Project);
  Wizard.hide();
}

TEST_F(ClientTest, TheEditedFrameIsFollowedWhenFramesAreAdded) {
  editor::TGifClientForm& Form = Open();
  Tool("PenButton");
  Click(Form, {10, 3});
  // A frame put in front of it moves it to index 1.
  gif::TGIFImage& Project = *Main().FGif();
  auto Front = std::make_unique<gif::TGIFSubImage>(&Project);
  Front->ColorMap()->Add(0x000000);
  Front->SetBounds(0, 0, 4, 4);
  Front->AllocatePixels();
  Project.Frames().Add(std::move(Front));
  Project.Frames().Move(2, 0);
  Form.StoreFrame();
  EXPECT_EQ(Form.FEditIndex(), 1);
  EXPECT_EQ(Project.Frames().SubImages(1)->Pixels(10, 3), 0);
  EXPECT_EQ(Project.Frames().SubImages(0)->Width(), 4);
}

TEST_F(ClientTest, ADeletedFrameIsNotStoredIntoAnother) {
  editor::TGifClientForm& Form = Open();
  Tool("PenButton");
  Click(Form, {10, 3});
  Main().FGif()->Frames().Delete(0);
  // A new frame may well take the freed frame's place in memory.
  Main().Preview()->AddButtonClick();
  EXPECT_THROW(Form.StoreFrame(), base::EInvalidOperation);
  for (int Frame = 0; Frame < 2; ++Frame)
    EXPECT_EQ(Main().FGif()->Frames().SubImages(Frame)->Pixels(10, 3), White) << Frame;
  EXPECT_EQ(Form.StatusPanel(7)->text(), "Modified");
}

TEST_F(ClientTest, TheCursorToolAndNoToolDrawNothing) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Drag(Form, {10, 10}, {{20, 20}}, {30, 30});
  Main().ReleaseToolButtons();
  Drag(Form, {10, 10}, {{20, 20}}, {30, 30});
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  EXPECT_EQ(Form.StatusPanel(7)->text(), "");
  EXPECT_FALSE(Enabled("Undo1"));
}

TEST_F(ClientTest, APastedPictureWithTransparencyLiesOnWhite) {
  editor::TGifClientForm& Form = Open();
  QImage Picture(4, 4, QImage::Format_ARGB32);
  Picture.fill(Qt::transparent);
  Picture.setPixel(0, 0, qRgb(255, 0, 0));
  QGuiApplication::clipboard()->setImage(Picture);
  editortest::RunPosted();
  Command("Paste1");
  Tool("CursorlButton");
  EXPECT_EQ(IndexAt(Form.Picture(), 0, 0), Red);
  EXPECT_EQ(IndexAt(Form.Picture(), 3, 3), White);
}

TEST_F(ClientTest, APastePastTheLargestScreenIsRefusedBeforeAnythingChanges) {
  const QSize Refused[] = {{70000, 1}, {1, 70000}};
  for (QSize Size : Refused) {
    editor::TGifClientForm& Form = Open();
    Tool("SelectButton");
    Drag(Form, {10, 10}, {}, {20, 15});
    QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {12, 12});
    QTest::mouseMove(Form.FramePaint(), {32, 12});
    QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {32, 12});
    const std::vector<uint8_t> Before = Indexes(Form.Picture());
    PutOnClipboard(Size.width(), Size.height(), Qt::green);
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Command("Paste1");
    const auto Shown = editortest::Messages(Dialogs);
    ASSERT_EQ(Shown.size(), 1u) << Size.width();
    EXPECT_EQ(Shown[0].first, "Frame extends beyond the largest logical screen (65535 pixels)");
    EXPECT_EQ(Form.Picture().Width(), 100);
    EXPECT_EQ(Form.Picture().Height(), 60);
    EXPECT_EQ(Indexes(Form.Picture()), Before);
    EXPECT_EQ(Form.SelectionAt(), QPoint(30, 10)) << "the moved selection still floats";
    EXPECT_EQ(Form.StatusPanel(7)->text(), "");
    EXPECT_FALSE(Enabled("Undo1"));
    Form.Discard();
    editortest::RunPosted();
  }
  // The largest side the screen takes pastes and stores.
  editor::TGifClientForm& Form = Open();
  PutOnClipboard(65535, 1, Qt::green);
  Command("Paste1");
  Form.StoreFrame();
  EXPECT_EQ(Main().FGif()->Frames().SubImages(0)->Width(), 65535);
  EXPECT_EQ(Main().FGif()->Frames().SubImages(0)->Pixels(65534, 0), Green);
}

TEST_F(ClientTest, CommittingAMovedSelectionIsAChangeThatEndsRedo) {
  editor::TGifClientForm& Form = Open();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  Tool("PenButton");
  Click(Form, {40, 40});
  Command("Undo1");
  ASSERT_TRUE(Enabled("Redo1"));
  Tool("SelectButton");
  Drag(Form, {10, 10}, {}, {20, 15});
  QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {12, 12});
  QTest::mouseMove(Form.FramePaint(), {32, 12});
  QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {32, 12});
  // Redo pressed while the moved selection floats commits it, and then has nothing to bring back.
  Command("Redo1");
  EXPECT_FALSE(Form.HasSelection());
  const std::vector<uint8_t> Moved = Indexes(Form.Picture());
  EXPECT_EQ(IndexAt(Form.Picture(), 30, 10), Before[10 * 100 + 10]);
  EXPECT_EQ(IndexAt(Form.Picture(), 40, 40), Before[40 * 100 + 40]) << "the undone stroke stays undone";
  for (const char* Name : {"Redo1", "RedoButton"}) EXPECT_FALSE(Enabled(Name)) << Name;
  ASSERT_TRUE(Enabled("Undo1"));
  Command("Undo1");
  EXPECT_EQ(Indexes(Form.Picture()), Before);
  Command("Redo1");
  EXPECT_EQ(Indexes(Form.Picture()), Moved);
  // Committed by a tool, the same.
  Command("Undo1");
  Tool("SelectButton");
  Drag(Form, {10, 10}, {}, {20, 15});
  QTest::mousePress(Form.FramePaint(), Qt::LeftButton, {}, {12, 12});
  QTest::mouseMove(Form.FramePaint(), {12, 32});
  QTest::mouseRelease(Form.FramePaint(), Qt::LeftButton, {}, {12, 32});
  Tool("CursorlButton");
  EXPECT_FALSE(Enabled("Redo1"));
  EXPECT_TRUE(Enabled("Undo1"));
  EXPECT_EQ(IndexAt(Form.Picture(), 10, 30), Before[10 * 100 + 10]);
  Command("Undo1");
  EXPECT_EQ(Indexes(Form.Picture()), Before);
}

TEST_F(ClientTest, AShadowDisplacedPastTheCoordinateRangeDrawsOnlyTheText) {
  struct Case {
    const char* Displacement;
    int Position;
  };
  const Case Cases[] = {{"2147483647", 2}, {"2147483647", 1}, {"-2147483648", 0}, {"-2147483648", 3}};
  editor::TGifClientForm& Form = Open();
  editor::TTextForm& Text = ShadowedText();
  const std::vector<uint8_t> Before = Indexes(Form.Picture());
  const auto Count = [](const std::vector<uint8_t>& Pixels, uint8_t Index) {
    return std::count(Pixels.begin(), Pixels.end(), Index);
  };
  for (const Case& C : Cases) {
    Text.DispEdit()->setText(C.Displacement);
    Tool("TextButton");
    WhenModal<editor::TTextForm>([&C](editor::TTextForm& Dialog) {
      Dialog.PosComboBox()->setCurrentIndex(C.Position);
      Dialog.accept();
    });
    Click(Form, {10, 10});
    const std::vector<uint8_t> After = Indexes(Form.Picture());
    EXPECT_GT(Count(After, Red), Count(Before, Red)) << C.Displacement << " " << C.Position;
    int NewGreens = 0;
    for (size_t At = 0; At < After.size(); ++At) NewGreens += After[At] == Green && Before[At] != Green;
    EXPECT_EQ(NewGreens, 0) << "no shadow shows: " << C.Displacement << " " << C.Position;
    Command("Undo1");
  }
}

TEST_F(ClientTest, RealSizeOfAFrameWiderThanTheDisplayLetsSelectWorkAgain) {
  maintest::WriteGIF(InStart("wide.gif"), 40000, 2);
  Shown({"wide.gif"});
  Main().Preview()->Button("EditButton")->click();
  auto* Form = dynamic_cast<editor::TGifClientForm*>(Main().FrameEditor());
  ASSERT_NE(Form, nullptr);
  EXPECT_EQ(Form->FRealWidth(), 40008);
  Tool("Scale50S");
  Tool("Realsize1");
  Tool("SelectButton");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  editor::TFrameView& View = *Form->FramePaint();
  Drag(*Form, {View.DisplayX(100), 0}, {}, {View.DisplayX(200), View.DisplayY(2)});
  EXPECT_TRUE(Dialogs.Calls().empty()) << "refused as zoomed";
  ASSERT_TRUE(Form->HasSelection());
  EXPECT_EQ(Form->FSelRect().Left, 100);
  EXPECT_EQ(Form->FSelRect().Right, 200);
}

}  // namespace
