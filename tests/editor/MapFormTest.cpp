// The import wizard on a loaded project: its list, adding pictures, deleting, dragging,
// scanning, the thumbnail cache and how it follows the project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "editor/ExchangeFile.h"
#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/DragListBox.h"
#include "editor/forms/MapDlg.h"
#include "gif/GIFImage.h"
#include "platform/graphics/Bitmap.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using uitest::TDialogKind;
using uitest::TScriptedDialogs;

namespace {

// A GIF whose frames are told apart by their widths (3, 4, 5, ...), each 6 high with a
// delay of 25.
void WriteFramesGIF(const std::string& FileName, int Frames) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(16);
  Image.Header().SetScreenHeight(6);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  for (int Index = 0; Index < Frames; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(25);
    Frame->Extensions()->Add(std::move(Control));
    const int Width = 3 + Index;
    Frame->SetBounds(0, 0, static_cast<uint16_t>(Width), 6);
    Frame->AllocatePixels();
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < Width; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>((X + Y) % 2);
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

void WriteBMP(const std::string& FileName, int Width, int Height) {
  graphics::TBitmap Bitmap;
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
  Bitmap.SaveToFile(FileName);
}

std::vector<int> Widths(gif::TGIFImage& Image) {
  std::vector<int> Result;
  for (int Index = 0; Index < Image.Frames().Count(); ++Index)
    Result.push_back(Image.Frames().SubImages(Index)->Width());
  return Result;
}

std::vector<std::string> Items(const QListWidget& List) {
  std::vector<std::string> Result;
  for (int Row = 0; Row < List.count(); ++Row) Result.push_back(List.item(Row)->text().toStdString());
  return Result;
}

int Delay(const gif::TGIFSubImage& Frame) {
  auto* Control = Frame.GraphicControlExtension();
  return Control ? Control->Delay() : -1;
}

class MapFormTest : public MainWindowTest {
 public:
  // The wizard on a project of Frames frames, opened from the Wizard menu.
  editor::TMapForm& Wizard(int Frames) {
    WriteFramesGIF(InStart("clip.gif"), Frames);
    editor::TGiffer& Giffer = Shown({"clip.gif"});
    Giffer.Action("MapofGIF1")->trigger();
    editortest::RunPosted();
    EXPECT_NE(Giffer.MapForm(), nullptr);
    return *Giffer.MapForm();
  }
  QListWidget& Picker(editor::TMapForm& Form) { return *Form.ImagePicker(); }
  QPoint Over(editor::TMapForm& Form, int Row) {
    return Form.ImagePicker()->visualItemRect(Form.ImagePicker()->item(Row)).center();
  }
  void Drag(editor::TMapForm& Form, int From, int To) {
    Form.ImagePicker()->setCurrentRow(From);
    Form.ImagePickerStartDrag();
    ASSERT_TRUE(Form.ImagePickerDragOver(Form.ImagePicker()));
    const QPoint Point = Over(Form, To);
    Form.ImagePickerDragDrop(Point.x(), Point.y());
  }
  // The scanner writes a Width x Height picture to gif.dat and reports Result.
  void ScanGives(int Width, int Height, uint8_t Result = 1) {
    Plexor.OnScan = [Width, Height, Result](const std::string& StartDir) {
      graphics::TBitmap Image;
      Image.SetPixelFormat(graphics::pf24bit);
      Image.SetWidth(Width);
      Image.SetHeight(Height);
      editor::WriteExchangeFile(StartDir, Image);
      return Result;
    };
  }
};

struct EdgeCase {
  const char* Name;
  int Frames;
  std::vector<uitest::TDialogAnswer> Script;
  std::function<void(MapFormTest& Test, editor::TMapForm& Form)> Act;
  std::vector<int> Widths;  // of the project's frames afterwards, in order
  int Selected;
  int ViewWidth;  // of the frame the view shows; 0 for none
  std::vector<std::string> Messages;
  bool Modified;
};

TEST_F(MapFormTest, EdgeCases) {
  const std::string Seven = InStart("seven.bmp");
  const std::string Nine = InStart("nine.bmp");
  WriteBMP(Seven, 7, 3);
  WriteBMP(Nine, 9, 3);
  const EdgeCase Cases[] = {
      {"three frames open with the second selected", 3, {}, nullptr, {3, 4, 5}, 1, 4, {}, false},
      {"one frame opens with none selected", 1, {}, nullptr, {3}, -1, 0, {}, false},
      {"the third dragged onto the first", 3, {}, [](MapFormTest& T, editor::TMapForm& F) { T.Drag(F, 2, 0); },
       {5, 3, 4}, 0, 5, {}, true},
      {"the Delete key asks, other keys do not", 3, {uitest::Press(ui::mrCancel)},
       [](MapFormTest&, editor::TMapForm& F) {
         QTest::keyClick(F.ImagePicker(), Qt::Key_A);
         QTest::keyClick(F.ImagePicker(), Qt::Key_Delete);
       },
       {3, 4, 5}, 1, 4, {"Are you sure that you want delete this frame?"}, false},
      {"two files added to two frames come last in the dialog's order", 2, {uitest::OpenFiles({Seven, Nine})},
       [](MapFormTest&, editor::TMapForm& F) { F.Button("InsertButton")->click(); }, {3, 4, 7, 9}, -1, 0, {}, true},
  };
  for (const EdgeCase& C : Cases) {
    editor::TMapForm& Form = Wizard(C.Frames);
    TScriptedDialogs Dialogs(C.Script);
    if (C.Act) C.Act(*this, Form);
    EXPECT_TRUE(Dialogs.Done()) << C.Name;
    std::vector<std::string> Texts;
    for (const auto& [Text, Caption] : editortest::Messages(Dialogs)) Texts.push_back(Text);
    EXPECT_EQ(Texts, C.Messages) << C.Name;
    EXPECT_EQ(Widths(*Giffer->FGif()), C.Widths) << C.Name;
    // The preview plays what the project holds.
    EXPECT_EQ(Widths(*Giffer->Preview()->PreviewGif()), C.Widths) << C.Name;
    std::vector<std::string> Expected;
    for (size_t Frame = 1; Frame <= C.Widths.size(); ++Frame) Expected.push_back("Frame " + std::to_string(Frame));
    EXPECT_EQ(Items(Picker(Form)), Expected) << C.Name;
    EXPECT_EQ(Giffer->Preview()->FrameList()->count(), static_cast<int>(C.Widths.size())) << C.Name;
    const QListWidgetItem* Current = Picker(Form).currentItem();
    EXPECT_EQ(Current && Current->isSelected() ? Picker(Form).currentRow() : -1, C.Selected) << C.Name;
    EXPECT_EQ(Form.ImageView()->pixmap().width(), C.ViewWidth) << C.Name;
    EXPECT_EQ(Giffer->Modified(), C.Modified) << C.Name;
    Giffer.reset();
  }
}

TEST_F(MapFormTest, TheWizardIsMadeOnceAndForgottenWhenClosed) {
  editor::TMapForm& Form = Wizard(2);
  editor::TGiffer& Main = *Giffer;
  EXPECT_EQ(Form.windowTitle(), "Import Wizard");
  EXPECT_EQ(Form.Button("CreateScanButton")->text(), "Create&&Scan");
  Main.Action("ImportButton")->trigger();
  EXPECT_EQ(Main.MapForm(), &Form);
  EXPECT_EQ(Main.MdiArea()->subWindowList().size(), 2);  // the preview and the wizard
  Form.Button("CloseBtn")->click();
  EXPECT_EQ(Main.MapForm(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(Main.MdiArea()->subWindowList().size(), 1);
  Main.Action("MapofGIF1")->trigger();
  EXPECT_NE(Main.MapForm(), nullptr);
}

TEST_F(MapFormTest, WithoutATargetNothingChanges) {
  editor::TMapForm& Form = Wizard(3);
  TScriptedDialogs Dialogs;
  ScanGives(9, 4);
  struct Case {
    const char* Name;
    std::function<void()> Act;
  } const Cases[] = {
      {"Delete", [&] { Form.Button("DelButton")->click(); }},
      {"Delete key", [&] { QTest::keyClick(Form.ImagePicker(), Qt::Key_Delete); }},
      {"Scan", [&] { Form.Button("ScanButton")->click(); }},
      {"drop", [&] {
         Form.ImagePickerStartDrag();
         const QPoint Point = Over(Form, 0);
         Form.ImagePickerDragDrop(Point.x(), Point.y());
       }},
      {"drop on itself", [&] { Drag(Form, 2, 2); }},
      {"drop below the items", [&] {
         Form.ImagePicker()->setCurrentRow(2);
         Form.ImagePickerStartDrag();
         Form.ImagePickerDragDrop(5, Form.ImagePicker()->viewport()->height() - 1);
       }},
  };
  for (const Case& C : Cases) {
    Form.ImagePicker()->setCurrentRow(-1);
    C.Act();
    EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 4, 5})) << C.Name;
    EXPECT_FALSE(Giffer->Modified()) << C.Name;
  }
  EXPECT_TRUE(Dialogs.Calls().empty());
  EXPECT_TRUE(Plexor.Calls.empty());
  // Only the list's own items may be dropped.
  EXPECT_FALSE(Form.ImagePickerDragOver(Form.ImageView()));
  EXPECT_FALSE(Form.ImagePickerDragOver(nullptr));
}

TEST_F(MapFormTest, DeleteAsksFirstAndKeepsTheLastFrame) {
  editor::TMapForm& Form = Wizard(3);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form.ImagePicker()->setCurrentRow(1);
  Form.Button("DelButton")->click();
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 5}));
  EXPECT_EQ(Items(Picker(Form)), (std::vector<std::string>{"Frame 1", "Frame 2"}));
  EXPECT_EQ(Giffer->Preview()->FrameList()->count(), 2);
  EXPECT_EQ(Giffer->Preview()->PreviewGif()->Frames().Count(), 2);
  EXPECT_TRUE(Giffer->Modified());

  Giffer->FGif()->Frames().Delete(1);
  Giffer->Preview()->Rebind();
  Form.ImagePicker()->setCurrentRow(0);
  Dialogs.Then(uitest::Press(ui::mrOk));
  Form.Button("DelButton")->click();
  EXPECT_EQ(editortest::Messages(Dialogs).back(),
            std::make_pair(std::string("Can not delete frame. Frame count=1."), std::string("Error!")));
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 1);
}

TEST_F(MapFormTest, TheOpenDialogTakesSeveralPicturesWithAPreview) {
  editor::TMapForm& Form = Wizard(2);
  WriteFramesGIF(InStart("other.gif"), 1);
  TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("other.gif")})});
  Form.Button("InsertButton")->click();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(Dialogs.Calls()[0].Filter, editor::MapOpenFilter);
  EXPECT_TRUE(Dialogs.Calls()[0].AllowMultiSelect);
  EXPECT_TRUE(Dialogs.Calls()[0].PicturePreview);
  // A GIF comes as its first frame on its logical screen.
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 4, 16}));
  EXPECT_TRUE(Giffer->Modified());
}

TEST_F(MapFormTest, AFileThatFailsIsNamedAndWhatCameBeforeItStays) {
  editor::TMapForm& Form = Wizard(2);
  WriteBMP(InStart("seven.bmp"), 7, 3);
  QFile Bad(QString::fromStdString(InStart("bad.bmp")));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("BM not a bitmap");
  Bad.close();
  WriteBMP(InStart("nine.bmp"), 9, 3);
  TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("seven.bmp"), InStart("bad.bmp"), InStart("nine.bmp")}),
                            uitest::Press(ui::mrOk)});
  Form.Button("InsertButton")->click();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_NE(Dialogs.Calls().back().Text.find(InStart("bad.bmp")), std::string::npos) << Dialogs.Calls().back().Text;
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 4, 7}));
  EXPECT_EQ(Picker(Form).count(), 3);
  EXPECT_EQ(Giffer->Preview()->FrameList()->count(), 3);
  EXPECT_TRUE(Giffer->Modified());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MapFormTest, ADragReorderIsSavedAndPlayedAndKeepsTheMovedFrameSelected) {
  editor::TMapForm& Form = Wizard(3);
  for (int Row = 0; Row < 3; ++Row) Form.Thumbnail(Row);
  Drag(Form, 2, 0);
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{5, 3, 4}));
  EXPECT_EQ(Widths(*Giffer->Preview()->PreviewGif()), (std::vector<int>{5, 3, 4}));
  EXPECT_EQ(Items(Picker(Form)), (std::vector<std::string>{"Frame 1", "Frame 2", "Frame 3"}));
  EXPECT_EQ(Picker(Form).currentRow(), 0);
  EXPECT_EQ(Form.ImageView()->pixmap().width(), 5);
  EXPECT_TRUE(Giffer->Modified());
  // Every frame between the two places moved.
  for (int Row = 0; Row < 3; ++Row) EXPECT_EQ(Form.ThumbnailIndex(Row), -1) << Row;

  ASSERT_TRUE(Giffer->SaveButtonClick());
  gif::TGIFImage Saved;
  Saved.LoadFromFile(InStart("clip.gif"));
  EXPECT_EQ(Widths(Saved), (std::vector<int>{5, 3, 4}));
}

TEST_F(MapFormTest, ThumbnailsAreMadeOnceAndDroppedWithTheirFrames) {
  editor::TMapForm& Form = Wizard(4);
  // Painting the list asks for the thumbnails, which are made after the paint.
  Form.ImagePicker()->viewport()->repaint();
  editortest::RunPosted();
  for (int Row = 0; Row < 4; ++Row) EXPECT_GE(Form.ThumbnailIndex(Row), 0) << Row;
  EXPECT_EQ(Form.ImageList().size(), 4u);
  EXPECT_EQ(Form.Thumbnail(0).size(), QSize(editor::ThumbnailSide, editor::ThumbnailSide));
  EXPECT_EQ(Form.Thumbnail(0).pixelColor(0, 0), QColor(Qt::black));
  Form.ImagePicker()->viewport()->repaint();
  editortest::RunPosted();
  EXPECT_EQ(Form.ImageList().size(), 4u);

  Drag(Form, 1, 2);
  EXPECT_GE(Form.ThumbnailIndex(0), 0);
  EXPECT_EQ(Form.ThumbnailIndex(1), -1);
  EXPECT_EQ(Form.ThumbnailIndex(2), -1);
  EXPECT_GE(Form.ThumbnailIndex(3), 0);

  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form.ImagePicker()->setCurrentRow(2);
  Form.Button("DelButton")->click();
  EXPECT_GE(Form.ThumbnailIndex(0), 0);
  EXPECT_EQ(Form.ThumbnailIndex(2), -1);

  // Another window's change: every thumbnail is made again.
  Form.Thumbnail(0);
  Giffer->Preview()->AddButtonClick();
  EXPECT_EQ(Picker(Form).count(), 4);
  for (int Row = 0; Row < 4; ++Row) EXPECT_EQ(Form.ThumbnailIndex(Row), -1) << Row;
}

TEST_F(MapFormTest, AScanReplacesTheSelectedFrameOrBecomesANewOne) {
  editor::TMapForm& Form = Wizard(3);
  ScanGives(9, 4, 0);
  Form.ImagePicker()->setCurrentRow(0);
  Form.Button("ScanButton")->click();
  Form.Button("CreateScanButton")->click();
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 4, 5}));
  EXPECT_FALSE(Giffer->Modified());

  ScanGives(9, 4);
  Form.Thumbnail(0);
  Form.Button("ScanButton")->click();
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{9, 4, 5}));
  EXPECT_EQ(Delay(*Giffer->FGif()->Frames().SubImages(0)), 25);
  EXPECT_EQ(Form.ThumbnailIndex(0), -1);
  EXPECT_EQ(Form.ImageView()->pixmap().width(), 9);
  EXPECT_EQ(Widths(*Giffer->Preview()->PreviewGif()), (std::vector<int>{9, 4, 5}));
  EXPECT_TRUE(Giffer->Modified());

  ScanGives(11, 4);
  Form.Button("CreateScanButton")->click();
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{9, 4, 5, 11}));
  EXPECT_EQ(Picker(Form).count(), 4);
  EXPECT_EQ(Picker(Form).currentRow(), 1);
  EXPECT_EQ(Giffer->Preview()->FrameList()->count(), 4);
  EXPECT_EQ(Plexor.Calls, (std::vector<std::string>{"Scan", "Scan", "Scan", "Scan"}));
}

TEST_F(MapFormTest, AMissingScanChangesNothing) {
  editor::TMapForm& Form = Wizard(2);
  Plexor.OnScan = [](const std::string&) { return uint8_t{1}; };
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form.ImagePicker()->setCurrentRow(0);
  Form.Button("ScanButton")->click();
  EXPECT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(Widths(*Giffer->FGif()), (std::vector<int>{3, 4}));
  EXPECT_FALSE(Giffer->Modified());
}

TEST_F(MapFormTest, TheWizardFollowsTheProject) {
  editor::TMapForm& Form = Wizard(2);
  Form.ImagePicker()->setCurrentRow(1);
  WriteFramesGIF(InStart("three.gif"), 3);
  Giffer->LoadProject(InStart("three.gif"));
  // The old project closed, and the wizard with it.
  EXPECT_EQ(Giffer->MapForm(), nullptr);
  Giffer->Action("MapofGIF1")->trigger();
  ASSERT_NE(Giffer->MapForm(), nullptr);
  EXPECT_EQ(Picker(*Giffer->MapForm()).count(), 3);
}

TEST(DragListBox, TheOwnerDecidesOnADropAndTheItemsStayAsTheyAre) {
  for (const bool Accepts : {false, true}) {
    editor::TDragListBox List;
    List.addItems({"a", "b"});
    std::vector<QPoint> Drops;
    List.OnDragOver = [Accepts](QObject*) { return Accepts; };
    List.OnDragDrop = [&Drops](int X, int Y) { Drops.emplace_back(X, Y); };
    List.show();
    QMimeData Data;
    Data.setText("b");
    QDragEnterEvent Enter(QPoint(5, 6), Qt::MoveAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(List.viewport(), &Enter);
    EXPECT_EQ(Enter.isAccepted(), Accepts);
    QDropEvent Drop(QPointF(5, 6), Qt::MoveAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(List.viewport(), &Drop);
    EXPECT_EQ(Drop.isAccepted(), Accepts);
    EXPECT_EQ(Drops, Accepts ? std::vector<QPoint>{QPoint(5, 6)} : std::vector<QPoint>{});
    // Not a move, so the drag's source takes nothing out either.
    if (Accepts) {
      EXPECT_EQ(Drop.dropAction(), Qt::IgnoreAction);
    }
    EXPECT_EQ(Items(List), (std::vector<std::string>{"a", "b"}));
  }
}

}  // namespace
