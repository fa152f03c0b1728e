// The frame-list commands, the crop to what changes, printing, the global palette
// window, the merge of the colour tables and the optimiser window, driven through the
// main window's commands under offscreen Qt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QLabel>
#include <QMdiArea>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <set>

#include "editor/Preview.h"
#include "editor/controls/EditN.h"
#include "editor/controls/PaletteGrid.h"
#include "editor/forms/ExchangePlace.h"
#include "editor/forms/FrameOptionForm.h"
#include "editor/forms/MoveFrame.h"
#include "editor/forms/OptimizerForm.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

// Count frames of Width x Height; frame i is filled with index i of a global table of
// greys, and frame i + 1 of Changes differs from frame i only at its point.
void WriteFrames(const std::string& FileName, int Count, int Width = 6, int Height = 4,
                 std::vector<std::pair<int, int>> Changes = {}) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(static_cast<uint16_t>(Width));
  Image.Header().SetScreenHeight(static_cast<uint16_t>(Height));
  for (int Index = 0; Index < std::max(Count, 2); ++Index) {
    const auto Level = static_cast<base::TColor>(0x30 * Index);
    Image.GetGlobalColorMap()->Add(Level | Level << 8 | Level << 16);
  }
  for (int Index = 0; Index < Count; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, static_cast<uint16_t>(Width), static_cast<uint16_t>(Height));
    Frame->AllocatePixels();
    for (int I = 0; I < Width * Height; ++I) Frame->Data()[I] = static_cast<uint8_t>(Changes.empty() ? Index : 0);
    for (int C = 0; C < static_cast<int>(Changes.size()) && C < Index; ++C)
      Frame->Scanline(Changes[static_cast<size_t>(C)].second)[Changes[static_cast<size_t>(C)].first] = 1;
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

class FrameCommandsTest : public MainWindowTest {
 protected:
  editor::TGiffer& Open(int Count, int Width = 6, int Height = 4, std::vector<std::pair<int, int>> Changes = {}) {
    WriteFrames(InStart("frames.gif"), Count, Width, Height, std::move(Changes));
    editor::TGiffer& Giffer = Shown({"frames.gif"});
    EXPECT_EQ(Giffer.FGif()->Frames().Count(), Count);
    return Giffer;
  }
  // The first index of every frame, in order.
  std::vector<int> Order() const {
    std::vector<int> Result;
    for (int I = 0; I < Giffer->FGif()->Frames().Count(); ++I) Result.push_back(Giffer->FGif()->Frames().SubImages(I)->Data()[0]);
    return Result;
  }
};

struct TListCase {
  const char* Name;
  bool Move;
  QString First, Second;
  std::vector<int> Order;  // empty: unchanged
  std::string Message;     // empty: none
};

TEST_F(FrameCommandsTest, ExchangeAndMoveCheckTheirFrameNumbers) {
  const std::vector<int> Start = {0, 1, 2, 3, 4};
  const TListCase Cases[] = {
      {"exchange first and last", false, "1", "5", {4, 1, 2, 3, 0}, ""},
      {"exchange a frame with itself", false, "3", "3", Start, ""},
      {"exchange 6", false, "6", "1", {}, "First parameter falls outside the limits allowable values."},
      {"exchange 0", false, "1", "0", {}, "Second parameter falls outside the limits allowable values."},
      {"exchange no number", false, "", "1", {}, "'' is not a valid integer value"},
      {"move 1 to 3", true, "1", "3", {1, 2, 0, 3, 4}, ""},
      {"move 5 to 1", true, "5", "1", {4, 0, 1, 2, 3}, ""},
      {"move 0", true, "0", "1", {}, "Current parameter falls outside the limits allowable values."},
      {"move to 6", true, "2", "6", {}, "New parameter falls outside the limits allowable values."},
  };
  for (const TListCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Open(5);
    TScriptedDialogs Dialogs;
    if (!Case.Message.empty()) Dialogs.Then(uitest::Press(ui::mrOk));
    QDialog* Used = nullptr;
    const auto Answer = [&](QDialog& Form, editor::TEditN* A, editor::TEditN* B) {
      Used = &Form;
      A->setText(Case.First);
      B->setText(Case.Second);
      Form.findChild<QPushButton*>("OkButton")->click();
    };
    if (Case.Move) {
      WhenModal<editor::TMoveFrameForm>([&](editor::TMoveFrameForm& F) { Answer(F, F.CurrentEdit(), F.NewEdit()); });
      Giffer->Action("Moveframe1")->trigger();
      EXPECT_EQ(Used, Giffer->Forms().MoveFrameForm.get());
    } else {
      WhenModal<editor::TExchangePlaceForm>(
          [&](editor::TExchangePlaceForm& F) { Answer(F, F.FirstFrameEdit(), F.SecondFrameEdit()); });
      Giffer->Action("Exchange1")->trigger();
      EXPECT_EQ(Used, Giffer->Forms().ExchangePlaceForm.get());
    }
    EXPECT_EQ(Order(), Case.Order.empty() ? Start : Case.Order);
    EXPECT_EQ(Giffer->Modified(), Case.Message.empty());
    if (Case.Message.empty()) {
      EXPECT_TRUE(editortest::Messages(Dialogs).empty());
      EXPECT_EQ(Giffer->Preview()->PreviewGif()->Frames().SubImages(0)->Data()[0], Order()[0]);
    } else {
      ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
      EXPECT_EQ(editortest::Messages(Dialogs)[0].first, Case.Message);
    }
    Giffer.reset();
  }
}

TEST_F(FrameCommandsTest, TheDialogsAreMadeOnceAndKeepTheirValues) {
  editor::TGiffer& Main = Open(3);
  editor::TExchangePlaceForm* Form = Main.Forms().ExchangePlaceForm.get();
  EXPECT_EQ(Form->FirstFrameEdit()->text(), "1");
  EXPECT_EQ(Main.Forms().MoveFrameForm->CurrentEdit()->text(), "0");
  WhenModal<editor::TExchangePlaceForm>([](editor::TExchangePlaceForm& F) {
    F.FirstFrameEdit()->setText("2");
    F.findChild<QPushButton*>("CancelButton")->click();
  });
  Main.Action("Exchange1")->trigger();
  EXPECT_EQ(Main.Forms().ExchangePlaceForm.get(), Form);
  EXPECT_EQ(Form->FirstFrameEdit()->text(), "2");
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(Main.Modified());
}

TEST_F(FrameCommandsTest, OptimizeFrameSizeCropsAOnePixelChange) {
  editor::TGiffer& Main = Open(3, 40, 30, {{10, 20}});
  Main.Action("Optimizeframesize1")->trigger();
  const gif::TGIFSubImage& Second = *Main.FGif()->Frames().SubImages(1);
  EXPECT_EQ(Second.BoundsRect(), base::Bounds(10, 20, 1, 1));
  EXPECT_EQ(Second.Data()[0], 1);
  // Identical to the frame before: kept whole.
  EXPECT_EQ(Main.FGif()->Frames().SubImages(2)->Width(), 40);
  EXPECT_EQ(Main.Preview()->PreviewGif()->Frames().SubImages(1)->Width(), 1);
  EXPECT_TRUE(Main.Modified());
}

TEST(PrintRect, OnePixelPerPointCentredHalvesToEven) {
  struct TCase {
    int Width, Height;
    double Dpi;
    int PageWidth, PageHeight;
    base::TRect Expected;
  };
  const TCase Cases[] = {
      {72, 72, 300, 2550, 3300, base::Rect(1125, 1500, 1425, 1800)},
      {1, 1, 72, 12, 10, base::Rect(6, 4, 7, 5)},
      {10, 4, 108, 14, 7, base::Rect(0, 0, 15, 6)},
      {100, 100, 72, 50, 50, base::Rect(-25, -25, 75, 75)},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(editor::PrintRect(C.Width, C.Height, C.Dpi, C.Dpi, C.PageWidth, C.PageHeight), C.Expected)
        << C.Width << " at " << C.Dpi;
}

TEST_F(FrameCommandsTest, PrintWritesTheCurrentFrameToThePrinter) {
  editor::TGiffer& Main = Open(2);
  const std::string Pdf = InStart("print.pdf");
  QPrinter& Printer = Main.Printer();
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(QString::fromStdString(Pdf));
  {
    TScriptedDialogs Dialogs({uitest::Cancel(uitest::TDialogKind::Print)});
    Main.Action("Print1")->trigger();
    EXPECT_TRUE(Dialogs.Done());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Pdf)));
  }
  TScriptedDialogs Dialogs({uitest::AcceptPrint()});
  Main.Action("PrintButton")->trigger();
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_GT(QFileInfo(QString::fromStdString(Pdf)).size(), 0);
}

// Printer Setup is the page set-up on the printer Print prints on: a frame printed after
// choosing landscape lands on a landscape page.
TEST_F(FrameCommandsTest, PrinterSetupChoosesThePageOfTheNextPrint) {
  editor::TGiffer& Main = Open(2);
  const QString Pdf = QString::fromStdString(InStart("landscape.pdf"));
  Main.Printer().setOutputFormat(QPrinter::PdfFormat);
  Main.Printer().setOutputFileName(Pdf);
  bool PageSetup = false;
  WhenModal<QDialog>([&PageSetup](QDialog& Box) {
    PageSetup = qobject_cast<QPageSetupDialog*>(&Box) != nullptr;
    if (auto* Landscape = Box.findChild<QRadioButton*>("landscape")) Landscape->click();
    Box.accept();
  });
  Main.Action("PrinterSetup1")->trigger();
  EXPECT_TRUE(PageSetup);
  EXPECT_EQ(Main.Printer().pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(Main.Printer().outputFileName(), Pdf);
  TScriptedDialogs Dialogs({uitest::AcceptPrint()});
  Main.Action("Print1")->trigger();
  EXPECT_TRUE(Dialogs.Done());
  QFile Written(Pdf);
  ASSERT_TRUE(Written.open(QIODevice::ReadOnly));
  const QRegularExpressionMatch Box =
      QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])").match(QString::fromLatin1(Written.readAll()));
  ASSERT_TRUE(Box.hasMatch());
  EXPECT_GT(Box.captured(1).toDouble(), Box.captured(2).toDouble());
}

TEST_F(FrameCommandsTest, PrintWithoutAFrameOnlySaysSo) {
  editor::TGiffer& Main = Shown();
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Main.PrintClick();
  ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(editortest::Messages(Dialogs)[0], std::make_pair(std::string("There is no frame to print."), std::string("Error!")));
}

TEST(PaletteGridLayout, RowsColumnsAndHits) {
  struct TCase {
    int Count, Rows, Cols;
  };
  for (const TCase& C : {TCase{2, 1, 2}, TCase{3, 1, 3}, TCase{5, 2, 3}, TCase{6, 2, 3}, TCase{200, 14, 15},
                         TCase{256, 16, 16}}) {
    const auto Layout = editor::TPaletteGridLayout::For(C.Count, 300, 200);
    EXPECT_EQ(std::make_pair(Layout.Rows, Layout.Cols), std::make_pair(C.Rows, C.Cols)) << C.Count;
    EXPECT_EQ(Layout.CellWidth, 300 / C.Cols);
    EXPECT_EQ(Layout.LeftMargin, (300 - Layout.CellWidth * C.Cols) / 2);
  }
  // 5 entries in 2 x 3 cells of 100 x 100: the sixth cell and the grid's edges miss.
  const auto Five = editor::TPaletteGridLayout::For(5, 300, 200);
  EXPECT_EQ(Five.IndexAt(0, 0, 5), 0);
  EXPECT_EQ(Five.IndexAt(150, 150, 5), 4);
  EXPECT_EQ(Five.IndexAt(250, 150, 5), -1);
  EXPECT_EQ(Five.IndexAt(300, 50, 5), -1);
  EXPECT_EQ(Five.IndexAt(-1, 50, 5), -1);
  EXPECT_EQ(editor::TPaletteGridLayout::For(5, 2, 1).IndexAt(0, 0, 5), -1);
}

TEST_F(FrameCommandsTest, ThePaletteWindowShowsAndRecoloursTheGlobalTable) {
  editor::TGiffer& Main = Open(3);
  Main.Action("GlobalOption")->trigger();
  editor::TFrameOptionForm* Form = Main.FrameOptionForm();
  ASSERT_NE(Form, nullptr);
  Main.Action("Globalpalette1")->trigger();
  EXPECT_EQ(Main.FrameOptionForm(), Form);
  EXPECT_EQ(Form->windowTitle(), "Gif global palette");
  editor::TPaletteGrid& Grid = *Form->PaintBoxPalette();
  // The saved table was padded to 4 entries.
  Grid.resize(60, 60);
  EXPECT_EQ(Grid.Count(), 4);
  EXPECT_EQ(std::make_pair(Grid.Layout().Rows, Grid.Layout().Cols), std::make_pair(2, 2));
  Form->PaintBoxPaletteMouseMove(45, 15);
  std::vector<std::string> Texts;
  for (int I = 0; I < 6; ++I) Texts.push_back(Form->StatusPanel(I)->text().toStdString());
  EXPECT_EQ(Texts, (std::vector<std::string>{"Index:1", "Color:$00303030", "Red:48", "Green:48", "Blue:48", "Hex:303030"}));
  Form->PaintBoxPaletteMouseMove(60, 15);
  EXPECT_EQ(Form->StatusPanel(0)->text(), "Index:");

  TScriptedDialogs Dialogs({uitest::ChooseColor(0x0000FF)});
  Form->PaintBoxPaletteMouseUp(5, 5);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Color, 0x000000);
  EXPECT_EQ(Main.FGif()->GetGlobalColorMap()->Colors(0), 0x0000FF);
  EXPECT_EQ(Main.Preview()->PreviewGif()->GetGlobalColorMap()->Colors(0), 0x0000FF);
  EXPECT_EQ(Grid.Colors(0), 0x0000FF);
  EXPECT_TRUE(Main.Modified());

  // A re-bind gives the window the new copy's table; closing the project closes it.
  Main.Action("Optimize1")->trigger();
  editortest::RunPosted();
  EXPECT_EQ(Main.FrameOptionForm(), nullptr);
  Main.Action("GlobalOption")->trigger();
  ASSERT_NE(Main.FrameOptionForm(), nullptr);
  Main.ResetProject();
  editortest::RunPosted();
  EXPECT_EQ(Main.FrameOptionForm(), nullptr);
}

// Colour texts as long as they get, a name, and channels of three digits.
TEST_F(FrameCommandsTest, ThePaletteStatusTextsFitTheirPanelsAndTheWindowHoldsThemAll) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(2);
  Image.Header().SetScreenHeight(2);
  for (base::TColor Color : {0xFEDCBA, 0xFF00FF, 0x888888, 0xABCDEF}) Image.GetGlobalColorMap()->Add(Color);
  for (int Index = 0; Index < 2; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, 2, 2);
    Frame->AllocatePixels();
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(InStart("colours.gif"));
  editor::TGiffer& Main = Shown({"colours.gif"});
  Main.Action("GlobalOption")->trigger();
  editor::TFrameOptionForm* Form = Main.FrameOptionForm();
  ASSERT_NE(Form, nullptr);
  QWidget* Window = Form->parentWidget();
  ASSERT_NE(Window, nullptr);
  // As narrow as the user can make it.
  Window->resize(Window->minimumSizeHint().width(), Window->height());
  QApplication::processEvents();
  editor::TPaletteGrid& Grid = *Form->PaintBoxPalette();
  ASSERT_EQ(Grid.Count(), 4);
  std::set<QString> Seen;
  for (int Entry = 0; Entry < Grid.Count(); ++Entry) {
    const base::TRect Cell = Grid.Layout().CellRect(Entry);
    Form->PaintBoxPaletteMouseMove(Cell.Left + 1, Cell.Top + 1);
    for (int I = 0; I < 6; ++I) {
      QLabel* Panel = Form->StatusPanel(I);
      Seen.insert(Panel->text());
      EXPECT_GE(Panel->width(), Panel->sizeHint().width()) << Panel->text().toStdString();
      EXPECT_LE(Panel->mapTo(Form, QPoint(Panel->width(), 0)).x(), Form->width()) << Panel->text().toStdString();
    }
  }
  for (const char* Text : {"Color:$00FEDCBA", "Color:clFuchsia", "Hex:BADCFE", "Blue:254"})
    EXPECT_TRUE(Seen.count(Text)) << Text << " among " << QStringList(Seen.begin(), Seen.end()).join(", ").toStdString();
}

TEST_F(FrameCommandsTest, OptimizeColorMapMergesTheProjectsTables) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(2);
  Image.Header().SetScreenHeight(1);
  for (base::TColor Color : {0x0000FF, 0x00FF00}) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, 2, 1);
    Frame->ColorMap()->Add(Color);
    Frame->ColorMap()->Add(0xFFFFFF);
    Frame->AllocatePixels();
    Frame->Data()[1] = 1;
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(InStart("local.gif"));
  editor::TGiffer& Main = Shown({"local.gif"});
  Main.Action("Optimize1")->trigger();
  EXPECT_EQ(Main.FGif()->GetGlobalColorMap()->Count(), 3);
  for (gif::TGIFImage* Each : {Main.FGif(), Main.Preview()->PreviewGif()})
    for (int I = 0; I < 2; ++I) EXPECT_EQ(Each->Frames().SubImages(I)->ColorMap()->Count(), 0);
  EXPECT_TRUE(Main.Modified());
}

// The distinct indexes frame Index of the project uses outside its transparent ones.
std::set<int> OpaqueIndexes(const gif::TGIFSubImage& Frame) {
  std::set<int> Used;
  const int T = Frame.Transparent() ? Frame.GraphicControlExtension()->TransparentColor() : -1;
  for (int I = 0; I < Frame.PixelBytes(); ++I)
    if (Frame.Data()[I] != T) Used.insert(Frame.Data()[I]);
  return Used;
}

TEST_F(FrameCommandsTest, TheOptimizerReducesEveryFrameAndKeepsTransparency) {
  // Two frames of 16 x 16 in 256 colours; frame 1's first row is transparent.
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(16);
  Image.Header().SetScreenHeight(16);
  for (int I = 0; I < 256; ++I) Image.GetGlobalColorMap()->Add(I * 0x010101 ^ (I & 7) << 20);
  for (int F = 0; F < 2; ++F) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, 16, 16);
    Frame->AllocatePixels();
    for (int I = 0; I < 256; ++I) Frame->Data()[I] = static_cast<uint8_t>(I);
    if (F == 1) {
      auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
      Control->SetTransparent(true);
      Control->SetTransparentColor(0);
      Control->SetDelay(7);
      Frame->Extensions()->Add(std::move(Control));
      for (int I = 0; I < 16; ++I) Frame->Data()[I] = 0;
    }
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(InStart("colours.gif"));
  editor::TGiffer& Main = Shown({"colours.gif"});
  Main.Action("OptimizeButton")->trigger();
  editor::TOptimizerForm* Form = Main.OptimizerForm();
  ASSERT_NE(Form, nullptr);
  EXPECT_EQ(Form->windowTitle(), "Optimization");
  Form->RadioButton("RadioButton7")->click();
  EXPECT_EQ(gif::GIFLibraryDefaults().QuantizeBits, 5);
  gif::GIFLibraryDefaults().QuantizeBits = 8;
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form->ToolButton("ToolButton1")->click();
  ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(editortest::Messages(Dialogs)[0], std::make_pair(std::string("GIF was be optimized."), std::string("Error!")));
  EXPECT_EQ(Main.FGif()->ReductionMethod(), gif::rdQuantize);
  EXPECT_EQ(Main.FGif()->QuantizeBits(), 5);
  for (int F = 0; F < 2; ++F) EXPECT_LE(OpaqueIndexes(*Main.FGif()->Frames().SubImages(F)).size(), 32u) << F;
  const gif::TGIFSubImage& Second = *Main.FGif()->Frames().SubImages(1);
  ASSERT_TRUE(Second.Transparent());
  const uint8_t T = Second.GraphicControlExtension()->TransparentColor();
  for (int I = 0; I < 256; ++I) EXPECT_EQ(Second.Data()[I] == T, I < 16) << I;
  EXPECT_EQ(Second.GraphicControlExtension()->Delay(), 7);
  EXPECT_TRUE(Main.Modified());
  gif::GIFLibraryDefaults().QuantizeBits = 8;

  // Closing the project closes the window.
  Main.ResetProject();
  editortest::RunPosted();
  EXPECT_EQ(Main.OptimizerForm(), nullptr);
}

TEST_F(FrameCommandsTest, TheOptimizerMirrorsTheProjectAndCanWorkOnOneFrame) {
  editor::TGiffer& Main = Open(2);
  Main.FGif()->SetReductionMethod(gif::rdQuantize);
  Main.FGif()->SetQuantizeBits(8);
  Main.FGif()->SetCompression(gif::ckRLE);
  Main.Action("Optimizepalette1")->trigger();
  editor::TOptimizerForm& Form = *Main.OptimizerForm();
  EXPECT_TRUE(Form.RadioButton("NoneColor")->isChecked());
  EXPECT_TRUE(Form.RadioButton("RadioButton14")->isChecked());
  Form.RadioButton("MonochromeColor")->setChecked(true);
  Form.CheckBox("AllFrameCb")->setChecked(false);
  Main.Preview()->SetFrameIndex(1);
  const std::vector<uint8_t> First(Main.FGif()->Frames().SubImages(0)->Data(),
                                   Main.FGif()->Frames().SubImages(0)->Data() + 24);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form.ToolButton1Click();
  EXPECT_EQ(Main.FGif()->ReductionMethod(), gif::rdMonochrome);
  EXPECT_EQ(Main.FGif()->Compression(), gif::ckRLE);
  EXPECT_EQ(std::vector<uint8_t>(Main.FGif()->Frames().SubImages(0)->Data(), Main.FGif()->Frames().SubImages(0)->Data() + 24),
            First);
  EXPECT_EQ(Main.FGif()->Frames().SubImages(1)->ColorMap()->Count(), 2);
}

}  // namespace
