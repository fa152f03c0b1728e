// The Effect menu's transitions under offscreen Qt: each runs from its menu over a run
// of frames, refusals change nothing, the dialogs are made once and keep their boxes,
// and an effect that stops part-way keeps what it wrote.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/forms/FallWallDlg.h"
#include "editor/forms/LinesDlg.h"
#include "editor/forms/MoveApart.h"
#include "editor/forms/RainDFlg.h"
#include "gif/GraphicControlExtension.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

constexpr int Width = 20, Height = 10;

base::TColor Grey(int Index) {
  const auto Level = static_cast<base::TColor>(0x40 * Index);
  return Level | Level << 8 | Level << 16;
}

// Count frames of 20 x 10, frame i all Grey(i), each with a delay of 30.
void WriteGreyFrames(const std::string& FileName, int Count) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(Width);
  Image.Header().SetScreenHeight(Height);
  for (int Index = 0; Index < Count; ++Index) Image.GetGlobalColorMap()->Add(Grey(Index));
  for (int Index = 0; Index < Count; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(30);
    Frame->Extensions()->Add(std::move(Control));
    Frame->SetBounds(0, 0, Width, Height);
    Frame->AllocatePixels();
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>(Index);
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

base::TColor ColorAt(gif::TGIFImage& Image, int Frame, int X, int Y) {
  gif::TGIFSubImage* Sub = Image.Frames().SubImages(Frame);
  return Sub->ActiveColorMap()->Colors(Sub->Pixels(X, Y));
}

int CountOf(gif::TGIFImage& Image, int Frame, base::TColor Color) {
  int Count = 0;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) Count += ColorAt(Image, Frame, X, Y) == Color;
  return Count;
}

void Press(QWidget& Form, const char* Button) { Form.findChild<QPushButton*>(QString::fromLatin1(Button))->click(); }

class EffectCommandsTest : public MainWindowTest {
 public:
  editor::TGiffer& Open(int Frames) {
    WriteGreyFrames(InStart("grey.gif"), Frames);
    Shown({InStart("grey.gif")});
    return *Giffer;
  }
  // Runs Command, answering its dialog with Answer and then Ok.
  template <class TForm>
  void Run(const char* Command, std::function<void(TForm&)> Answer = {}) {
    WhenModal<TForm>([Answer](TForm& Form) {
      if (Answer) Answer(Form);
      Press(Form, "OkButton");
    });
    Giffer->Action(Command)->trigger();
  }
};

TEST_F(EffectCommandsTest, EveryEffectRunsFromItsMenuAndThePreviewShowsTheResult) {
  struct Case {
    const char* Name;
    std::function<void(EffectCommandsTest&)> Run;
    // What frame 1 of the project shows afterwards.
    std::function<void(gif::TGIFImage&)> Check;
    int Untouched;  // the first frame after the run
  };
  const Case Cases[] = {
      {"Fallwall1", [](EffectCommandsTest& T) { T.Run<editor::TFallWallForm>("Fallwall1"); },
       [](gif::TGIFImage& P) {
         // Band 5: the target's rows 5-9 slide into rows 0-4.
         EXPECT_EQ(ColorAt(P, 1, 3, 4), Grey(2));
         EXPECT_EQ(ColorAt(P, 1, 3, 5), Grey(1));
       },
       2},
      {"Rain1", [](EffectCommandsTest& T) { T.Run<editor::TRainForm>("Rain1"); },
       [](gif::TGIFImage& P) {
         EXPECT_GT(CountOf(P, 1, Grey(2)), 50);
         EXPECT_GT(CountOf(P, 0, Grey(2)), 25);
         EXPECT_LT(CountOf(P, 0, Grey(2)), CountOf(P, 1, Grey(2)));
       },
       2},
      {"Moveapart1", [](EffectCommandsTest& T) { T.Run<editor::TMoveApartForm>("Moveapart1"); },
       [](gif::TGIFImage& P) {
         // A window of 10 columns in the middle.
         EXPECT_EQ(ColorAt(P, 1, 4, 5), Grey(1));
         EXPECT_EQ(ColorAt(P, 1, 5, 5), Grey(2));
         EXPECT_EQ(ColorAt(P, 1, 14, 5), Grey(2));
         EXPECT_EQ(ColorAt(P, 1, 15, 5), Grey(1));
       },
       2},
      {"Lines1", [](EffectCommandsTest& T) { T.Run<editor::TLinesForm>("Lines1"); },
       [](gif::TGIFImage& P) {
         // The target under the first frame's rows cut 6 pixels shorter from alternate sides.
         EXPECT_EQ(ColorAt(P, 1, 5, 0), Grey(3));
         EXPECT_EQ(ColorAt(P, 1, 6, 0), Grey(0));
         EXPECT_EQ(ColorAt(P, 1, 13, 2), Grey(0));
         EXPECT_EQ(ColorAt(P, 1, 14, 2), Grey(3));
       },
       3},
  };
  for (const Case& C : Cases) {
    Open(4);
    C.Run(*this);
    gif::TGIFImage& Project = *Giffer->FGif();
    C.Check(Project);
    EXPECT_EQ(CountOf(Project, C.Untouched, Grey(C.Untouched)), Width * Height) << C.Name;
    EXPECT_TRUE(Giffer->Modified()) << C.Name;
    for (int Frame = 0; Frame < 4; ++Frame)
      EXPECT_EQ(Project.Frames().SubImages(Frame)->GraphicControlExtension()->Delay(), 30) << C.Name;
    // The preview plays a fresh copy with the new frames.
    gif::TGIFImage& Copy = *Giffer->Preview()->PreviewGif();
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) ASSERT_EQ(ColorAt(Copy, 1, X, Y), ColorAt(Project, 1, X, Y)) << C.Name;
    Giffer.reset();
  }
}

TEST_F(EffectCommandsTest, ARunPastTheLastFrameIsRefusedBeforeAnythingChanges) {
  Open(4);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  // f + c - 1 = 4 is accepted; 5 is not.
  Run<editor::TRainForm>("Rain1", [](editor::TRainForm& Form) {
    Form.FirstFrame()->setText("2");
    Form.CountFrame()->setText("4");
  });
  ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(editortest::Messages(Dialogs)[0].first, editor::RangeMessage);
  EXPECT_EQ(editortest::Messages(Dialogs)[0].second, "Error!");
  EXPECT_FALSE(Giffer->Modified());
  for (int Frame = 0; Frame < 4; ++Frame) EXPECT_EQ(CountOf(*Giffer->FGif(), Frame, Grey(Frame)), Width * Height);

  Run<editor::TRainForm>("Rain1", [](editor::TRainForm& Form) { Form.CountFrame()->setText("3"); });
  EXPECT_TRUE(Giffer->Modified());
  EXPECT_GT(CountOf(*Giffer->FGif(), 1, Grey(3)), 0);
}

TEST_F(EffectCommandsTest, TheDialogRefusesCountsThatGiveNoRunAndKeepsItsBoxes) {
  Open(4);
  struct Case {
    const char* Field;
    const char* Text;
    const char* Message;
    const char* Restore;
  };
  const Case Cases[] = {{"FirstFrame", "0", "First frame<1.", "1"},
                        {"CountFrame", "1", "Count of frame<2.", "4"},
                        {"EditCount", "0", "Count of lines<1.", "1"}};
  for (const Case& C : Cases) {
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    WhenModal<editor::TLinesForm>([&](editor::TLinesForm& Form) {
      Form.findChild<editor::TEditN*>(QString::fromLatin1(C.Field))->setText(QString::fromLatin1(C.Text));
      Press(Form, "OkButton");
      EXPECT_TRUE(Form.isVisible()) << C.Field;
      Form.findChild<editor::TEditN*>(QString::fromLatin1(C.Field))->setText(QString::fromLatin1(C.Restore));
      Press(Form, "CancelButton");
    });
    Giffer->Action("Lines1")->trigger();
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
    EXPECT_EQ(editortest::Messages(Dialogs)[0].first, C.Message);
    EXPECT_FALSE(Giffer->Modified());
  }
  // Made once: the same dialog, with the box as it was left.
  editor::TLinesForm* Form = Giffer->Forms().LinesForm.get();
  WhenModal<editor::TLinesForm>([Form](editor::TLinesForm& Shown) {
    EXPECT_EQ(&Shown, Form);
    EXPECT_EQ(Shown.EditCount()->text(), "1");
    Press(Shown, "CancelButton");
  });
  Giffer->Action("Lines1")->trigger();
}

TEST_F(EffectCommandsTest, FallWallScaleDisablesUnfold) {
  Open(3);
  editor::TFallWallForm& Form = *Giffer->Forms().FallWallForm;
  EXPECT_EQ(Form.FallCB()->count(), 4);
  EXPECT_EQ(Form.FallCB()->itemText(1), "Down to  Up");
  Form.ScaleCB()->setChecked(true);
  EXPECT_FALSE(Form.Unfold()->isEnabled());
  Form.Unfold()->setChecked(true);
  EXPECT_EQ(Form.Mode(), editor::fmScale);
  Form.ScaleCB()->setChecked(false);
  EXPECT_TRUE(Form.Unfold()->isEnabled());
  EXPECT_EQ(Form.Mode(), editor::fmUnfold);
}

TEST_F(EffectCommandsTest, AnEffectThatStopsPartWayKeepsTheFramesItWrote) {
  Open(4);
  // An empty frame in the middle of the run.
  gif::TGIFImage& Project = *Giffer->FGif();
  Project.Frames().Add(std::make_unique<gif::TGIFSubImage>(&Project));
  Project.Frames().Move(4, 2);
  Giffer->Preview()->Rebind();
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Run<editor::TMoveApartForm>("Moveapart1", [](editor::TMoveApartForm& Form) {
    Form.CountFrame()->setText("5");
    Form.DiminishButton()->setChecked(true);
  });
  ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(editortest::Messages(Dialogs)[0].first, "Frame 3 is empty");
  // Frame 0 took the whole target, frame 1 its band; the rest is as it was.
  EXPECT_EQ(CountOf(Project, 0, Grey(3)), Width * Height);
  EXPECT_EQ(ColorAt(*Giffer->Preview()->PreviewGif(), 0, 0, 0), Grey(3));
  EXPECT_GT(CountOf(Project, 1, Grey(3)), 0);
  EXPECT_EQ(CountOf(Project, 4, Grey(3)), Width * Height);
  EXPECT_TRUE(Giffer->Modified());
}

TEST_F(EffectCommandsTest, AnEffectStoppedBeforeItsFirstFrameLeavesTheProjectUnmodified) {
  Open(4);
  // The run's target has no picture, so nothing is drawn.
  gif::TGIFImage& Project = *Giffer->FGif();
  Project.Frames().Add(std::make_unique<gif::TGIFSubImage>(&Project));
  Giffer->Preview()->Rebind();
  ASSERT_FALSE(Giffer->Modified());
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Run<editor::TFallWallForm>("Fallwall1", [](editor::TFallWallForm& Form) { Form.CountFrame()->setText("5"); });
  ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
  EXPECT_EQ(editortest::Messages(Dialogs)[0].first, "Frame 5 is empty");
  EXPECT_FALSE(Giffer->Modified());
  for (int Frame = 0; Frame < 4; ++Frame) EXPECT_EQ(CountOf(Project, Frame, Grey(Frame)), Width * Height);
}

}  // namespace
