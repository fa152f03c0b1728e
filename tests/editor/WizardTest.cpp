// The GIF wizard under offscreen Qt: its pages and defaults, the delay rounding, what a
// build makes (frames, timing, loop, backgrounds, text through each transition), and
// the refusals that leave the project as it was.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "editor/Preview.h"
#include "editor/controls/EditN.h"
#include "editor/forms/PrevWizDlj.h"
#include "editor/forms/WizardMain.h"
#include "gif/AppExtNSLoop.h"
#include "gif/GraphicControlExtension.h"
#include "platform/ui/QtGlyphRasterizer.h"
#include "platform/ui/WindowCanvas.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

constexpr base::TColor Sand = 0x80C0F0;

// A 24-bit BMP of Width x Height in Sand.
void WriteBackground(const std::string& FileName, int Width, int Height) {
  graphics::TBitmap Bitmap;
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
  Bitmap.Canvas().Brush().SetColor(Sand);
  Bitmap.Canvas().FillRect(base::Rect(0, 0, Width, Height));
  Bitmap.SaveToFile(FileName);
}

base::TColor ColorAt(gif::TGIFImage& Image, int Frame, int X, int Y) {
  gif::TGIFSubImage* Sub = Image.Frames().SubImages(Frame);
  return Sub->ActiveColorMap()->Colors(Sub->Pixels(X, Y));
}

// Pixels of Frame that are not the background.
int Marked(gif::TGIFImage& Image, int Frame) {
  gif::TGIFSubImage* Sub = Image.Frames().SubImages(Frame);
  int Count = 0;
  for (int Y = 0; Y < Sub->Height(); ++Y)
    for (int X = 0; X < Sub->Width(); ++X) Count += ColorAt(Image, Frame, X, Y) != Sand;
  return Count;
}

class WizardTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ui::InstallQtGlyphRasterizer();
    Shown();
  }

 public:
  using MainWindowTest::InStart;
  // The start-up wizard, or the one the menu is running.
  editor::TGIFWizardForm& Wizard() { return FRunning ? *FRunning : *Giffer->Forms().GIFWizardForm; }
  editor::TGIFWizardForm* FRunning = nullptr;
  template <class T>
  T* Find(const char* Name) {
    T* Found = Wizard().findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Found, nullptr) << Name;
    return Found;
  }
  void Set(const char* Name, const std::string& Text) { Find<QLineEdit>(Name)->setText(QString::fromStdString(Text)); }
  void Click(const char* Name) { Find<QAbstractButton>(Name)->click(); }
  void Check(const char* Name, bool On) { Find<QAbstractButton>(Name)->setChecked(On); }
  // Shown without a modal loop; Next walks the pages.
  void Start() {
    Wizard().show();
    editortest::RunPosted();
  }
  // From page 1 to the build, with Effect checked on page 3.
  void Build(const char* Effect = "NoneRB") {
    Click("NextButton");
    Click("NextButton");
    Check(Effect, true);
    Click("NextButton");
    if (std::string(Effect) != "NoneRB") Click("NextButton");
  }
};

TEST(WizardDelay, RoundsHalvesToEven) {
  const std::pair<int, int> Cases[] = {{105, 10}, {115, 12}, {4, 0}, {100, 10}, {655350, 65535}};
  for (const auto& [Ms, Hundredths] : Cases) EXPECT_EQ(editor::WizardDelay(Ms), Hundredths) << Ms;
}

TEST_F(WizardTest, TheWizardStartsOnPageOneWithItsDefaults) {
  Start();
  EXPECT_EQ(Wizard().windowTitle(), "Veltrane GIF Wizard");
  EXPECT_EQ(Find<QLineEdit>("BackGroundEdit")->text().toStdString(), editor::TGIFWizardForm::DefaultBackground());
  EXPECT_FALSE(Find<QWidget>("EditWidth")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>("EditWidth")->text(), "150");
  EXPECT_EQ(Find<QLineEdit>("EditCount")->text(), "10");
  EXPECT_EQ(Find<QLineEdit>("EditN1")->text(), "100");
  EXPECT_FALSE(Find<QAbstractButton>("BackButton")->isEnabled());
  EXPECT_FALSE(Find<QWidget>("Panel3")->isHidden());
  for (const char* Page : {"Panel4", "Panel5", "Panel6", "Panel7", "Panel8", "Panel9"})
    EXPECT_TRUE(Find<QWidget>(Page)->isHidden()) << Page;
  Click("UseBackParam");
  EXPECT_TRUE(Find<QWidget>("EditWidth")->isEnabled());
  EXPECT_EQ(Wizard().TextFont().Name(), "MS Sans Serif");
  EXPECT_EQ(Wizard().TextFont().Height(), -11);
}

TEST_F(WizardTest, PagesGoForwardAndBackAndKeepTheChosenEffect) {
  Start();
  Set("BackGroundEdit", "");
  Click("NextButton");
  EXPECT_FALSE(Find<QWidget>("Panel4")->isHidden());
  EXPECT_TRUE(Find<QAbstractButton>("BackButton")->isEnabled());
  // No background: the edits' size.
  EXPECT_EQ(Find<ui::TWindowCanvas>("PreviewImage")->Surface().Width(), 150);
  Click("NextButton");
  Check("RainRB", true);
  Click("NextButton");
  EXPECT_FALSE(Find<QWidget>("Panel7")->isHidden());
  Click("BackButton");
  EXPECT_FALSE(Find<QWidget>("Panel5")->isHidden());
  EXPECT_TRUE(Find<QWidget>("Panel7")->isHidden());
  EXPECT_TRUE(Find<QRadioButton>("RainRB")->isChecked());
  Click("BackButton");
  Click("BackButton");
  EXPECT_FALSE(Find<QWidget>("Panel3")->isHidden());
  EXPECT_FALSE(Find<QAbstractButton>("BackButton")->isEnabled());
}

TEST_F(WizardTest, ABuildWithoutBackgroundMakesBlankTimedFrames) {
  struct Case {
    bool Loop;
    const char* Delay;
    int Hundredths;
  };
  for (const Case C : {Case{false, "100", 10}, Case{true, "115", 12}}) {
    Giffer.reset();
    Shown();
    Start();
    Set("BackGroundEdit", "");
    Set("EditN1", C.Delay);
    Check("LoopCheckBox", C.Loop);
    Build();
    ASSERT_TRUE(Wizard().Built());
    gif::TGIFImage& Project = *Giffer->FGif();
    ASSERT_EQ(Project.Frames().Count(), 10);
    for (int Index = 0; Index < 10; ++Index) {
      gif::TGIFSubImage* Frame = Project.Frames().SubImages(Index);
      EXPECT_EQ(Frame->Width(), 150);
      EXPECT_EQ(Frame->Height(), 100);
      ASSERT_EQ(Frame->Extensions()->Count(), Index == 0 && C.Loop ? 2 : 1);
      if (Index == 0 && C.Loop) {
        auto* Loop = dynamic_cast<gif::TGIFAppExtNSLoop*>(Frame->Extensions()->Items(0));
        ASSERT_NE(Loop, nullptr);
        EXPECT_EQ(Loop->Loops(), 0);
      }
      auto* Control = dynamic_cast<gif::TGIFGraphicControlExtension*>(
          Frame->Extensions()->Items(Frame->Extensions()->Count() - 1));
      ASSERT_NE(Control, nullptr);
      EXPECT_EQ(Control->Delay(), C.Hundredths);
    }
    EXPECT_EQ(Giffer->windowTitle(), "Veltrane Animora: New Gif");
    EXPECT_TRUE(Giffer->FFileName().empty());
    EXPECT_EQ(Giffer->FProjectOpen(), 1);
    EXPECT_TRUE(Giffer->Modified());
    EXPECT_EQ(Giffer->Preview()->PreviewGif()->Frames().Count(), 10);
    // The next build asks about this project first.
    TScriptedDialogs Dialogs({uitest::Press(ui::mrNo)});
    Start();
    Set("BackGroundEdit", "");
    Build();
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
    EXPECT_EQ(editortest::Messages(Dialogs)[0], (std::pair<std::string, std::string>{"Save changes?", "Warning"}));
  }
}

TEST_F(WizardTest, RefusalsChangeNothingAndGiveTheWizardBack) {
  WriteBackground(InStart("sand.bmp"), 40, 30);
  struct Case {
    std::function<void(WizardTest&)> Prepare;
    const char* Effect;
    std::string Message;
  };
  const Case Cases[] = {
      {[](WizardTest& T) { T.Set("BackGroundEdit", T.InStart("missing.jpg")); }, "NoneRB",
       "Background file not found."},
      {[](WizardTest& T) {
         T.Set("BackGroundEdit", "");
         T.Set("EditCount", "x");
       },
       "NoneRB", "One of parameter = 0."},
      {[](WizardTest& T) {
         T.Set("BackGroundEdit", T.InStart("sand.bmp"));
         T.Set("EditCount", "2");
         T.Check("FullRound", true);
       },
       "FallWallRB", "Count of frame<3."},
      {[](WizardTest& T) {
         T.Set("BackGroundEdit", "");
         T.Set("EditLines", "0");
       },
       "LinesRB", "Count of lines<1."},
  };
  for (const Case& C : Cases) {
    Start();
    C.Prepare(*this);
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Build(C.Effect);
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u) << C.Message;
    EXPECT_EQ(editortest::Messages(Dialogs)[0].first, C.Message);
    EXPECT_EQ(Giffer->FGif(), nullptr);
    EXPECT_FALSE(Wizard().Built());
    EXPECT_TRUE(Wizard().isVisible());
    EXPECT_TRUE(Find<QAbstractButton>("NextButton")->isEnabled());
    EXPECT_TRUE(Find<QAbstractButton>("CancelButton")->isEnabled());
    // The page the build started from is still shown.
    const char* Page = std::string(C.Effect) == "NoneRB" ? "Panel5" : std::string(C.Effect) == "LinesRB" ? "Panel9" : "Panel6";
    EXPECT_FALSE(Find<QWidget>(Page)->isHidden()) << C.Message;
    Wizard().reject();
    Check("FullRound", false);
    Set("EditLines", "5");
    Set("EditCount", "10");
  }
}

TEST_F(WizardTest, ACancelledSaveQuestionKeepsTheOpenProject) {
  maintest::WriteGIF(InStart("old.gif"));
  Giffer->LoadProject(InStart("old.gif"));
  gif::TGIFImage* Old = Giffer->FGif();
  Start();
  Set("BackGroundEdit", "");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrCancel)});
  Build();
  EXPECT_EQ(Giffer->FGif(), Old);
  EXPECT_EQ(Giffer->FFileName(), InStart("old.gif"));
  EXPECT_FALSE(Wizard().Built());
}

TEST_F(WizardTest, YesToASaveThatLeavesFramesUnsavedKeepsTheOpenProject) {
  maintest::WriteGIF(InStart("old.gif"));
  Giffer->LoadProject(InStart("old.gif"));
  {
    TScriptedDialogs Dialogs({uitest::SaveAs(InStart("old.bmp"))});
    Giffer->Action("Saveas1")->trigger();
    ASSERT_TRUE(Dialogs.Done());
  }
  gif::TGIFImage* Old = Giffer->FGif();
  ASSERT_TRUE(Giffer->Modified()) << "one of two frames went into old.bmp";
  Start();
  Set("BackGroundEdit", "");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrYes)});
  Build();
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_EQ(Giffer->FGif(), Old);
  EXPECT_EQ(Old->Frames().Count(), 2);
  EXPECT_EQ(Giffer->FFileName(), InStart("old.bmp"));
  EXPECT_TRUE(Giffer->Modified());
  EXPECT_FALSE(Wizard().Built());
}

TEST_F(WizardTest, EveryTransitionShowsTheTextOnABackground) {
  WriteBackground(InStart("sand.bmp"), 60, 40);
  struct Case {
    const char* Effect;
    std::function<void(WizardTest&)> Options;
    int TextFrame;  // a frame that shows all of the text
  };
  const Case Cases[] = {
      {"NoneRB", {}, 0},
      {"FallWallRB", {}, 5},
      {"FallWallRB", [](WizardTest& T) { T.Check("FullRound", true); }, 2},
      {"RainRB", {}, 5},
      {"MoveApartRB", {}, 0},
      {"MoveApartRB", [](WizardTest& T) { T.Check("DiminishButton", true); T.Check("MoveApartCopyFrame", true); }, 4},
      {"LinesRB", {}, 0},
  };
  for (const Case& C : Cases) {
    Start();
    Set("BackGroundEdit", InStart("sand.bmp"));
    Set("EditCount", "6");
    Set("EditText", "WWWW");
    Check("FullRound", false);
    Check("DiminishButton", false);
    Check("IncreaseButton", true);
    Check("MoveApartCopyFrame", false);
    Click("NextButton");
    Click("NextButton");
    Check(C.Effect, true);
    if (std::string(C.Effect) != "NoneRB") Click("NextButton");
    if (C.Options) C.Options(*this);
    // The project of the case before is let go.
    TScriptedDialogs Dialogs;
    if (Giffer->FGif()) Dialogs.Then(uitest::Press(ui::mrNo));
    Click("NextButton");
    ASSERT_TRUE(Wizard().Built()) << C.Effect;
    gif::TGIFImage& Project = *Giffer->FGif();
    ASSERT_EQ(Project.Frames().Count(), 6);
    EXPECT_EQ(Project.Frames().SubImages(0)->Width(), 60);
    const int Text = Marked(Project, C.TextFrame);
    EXPECT_GT(Text, 20) << C.Effect << " " << C.TextFrame;
    // The background is kept around the text.
    EXPECT_EQ(ColorAt(Project, C.TextFrame, 59, 39), Sand) << C.Effect;
  }
}

TEST_F(WizardTest, TheBuiltAnimationSavesWithItsDelayAndLoop) {
  WriteBackground(InStart("sand.bmp"), 30, 20);
  WhenModal<editor::TGIFWizardForm>([this](editor::TGIFWizardForm& Running) {
    FRunning = &Running;
    Set("BackGroundEdit", InStart("sand.bmp"));
    Set("EditCount", "3");
    Set("EditN1", "250");
    Check("LoopCheckBox", true);
    Build();
  });
  Giffer->Action("WizardButton")->trigger();
  FRunning = nullptr;
  ASSERT_NE(Giffer->FGif(), nullptr);
  EXPECT_TRUE(Giffer->Modified());
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("built.gif"))});
  ASSERT_TRUE(Giffer->SaveButtonClick());
  gif::TGIFImage Saved;
  Saved.LoadFromFile(InStart("built.gif"));
  ASSERT_EQ(Saved.Frames().Count(), 3);
  EXPECT_EQ(Saved.Frames().SubImages(2)->GraphicControlExtension()->Delay(), 25);
  auto* Loop = dynamic_cast<gif::TGIFAppExtNSLoop*>(Saved.Frames().SubImages(0)->Extensions()->Items(0));
  ASSERT_NE(Loop, nullptr);
  EXPECT_EQ(Loop->Loops(), 0);
}

TEST_F(WizardTest, EveryRunFromTheMenuStartsFromTheDefaults) {
  for (int Run = 0; Run < 2; ++Run) {
    std::string Offered;
    WhenModal<editor::TGIFWizardForm>([&](editor::TGIFWizardForm& Running) {
      FRunning = &Running;
      Offered = Find<QLineEdit>("EditCount")->text().toStdString();
      Set("EditCount", "3");
      Running.reject();
    });
    Giffer->Action("WizardButton")->trigger();
    FRunning = nullptr;
    EXPECT_EQ(Offered, "10") << Run;
  }
  EXPECT_EQ(Giffer->FGif(), nullptr);
}

TEST_F(WizardTest, TheTextIsStampedInTheColourTheFontDialogReturns) {
  WriteBackground(InStart("sand.bmp"), 60, 40);
  constexpr base::TColor Blue = 0xFF0000;
  Start();
  {
    TScriptedDialogs Dialogs({uitest::ChooseFont(QFont("Arial", 14), Blue)});
    Click("SelectFont");
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
  }
  Set("BackGroundEdit", InStart("sand.bmp"));
  Set("EditCount", "1");
  Set("EditText", "WWWW");
  Build();
  ASSERT_TRUE(Wizard().Built());
  gif::TGIFImage& Project = *Giffer->FGif();
  int Stamped = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 60; ++X) Stamped += ColorAt(Project, 0, X, Y) == Blue;
  EXPECT_GT(Stamped, 20);
}

TEST_F(WizardTest, TheShippedBackgroundBuildsWithTheDefaults) {
  const std::string Marble = std::string(ANIMORA_PROGRAM_DIR) + "/Image/Marble.bmp";
  Start();
  Set("BackGroundEdit", Marble);
  Set("EditText", "Hello");
  Build();
  ASSERT_TRUE(Wizard().Built());
  gif::TGIFImage& Project = *Giffer->FGif();
  ASSERT_EQ(Project.Frames().Count(), 10);
  EXPECT_EQ(Project.Frames().SubImages(9)->Width(), 150);
  EXPECT_EQ(Project.Frames().SubImages(9)->Height(), 100);
}

TEST_F(WizardTest, OneFrameOnlyTakesTheText) {
  WriteBackground(InStart("sand.bmp"), 40, 20);
  for (const char* Effect : {"NoneRB", "FallWallRB", "RainRB", "MoveApartRB", "LinesRB"}) {
    Giffer.reset();
    Shown();
    Start();
    Set("BackGroundEdit", InStart("sand.bmp"));
    Set("EditCount", "1");
    Set("EditText", "WWW");
    Build(Effect);
    ASSERT_TRUE(Wizard().Built()) << Effect;
    ASSERT_EQ(Giffer->FGif()->Frames().Count(), 1);
    EXPECT_GT(Marked(*Giffer->FGif(), 0), 10) << Effect;
  }
}

TEST_F(WizardTest, TheBackgroundGivesEveryFrameItsSizeWhateverTheEditsSay) {
  WriteBackground(InStart("sand.bmp"), 30, 20);
  Start();
  Set("BackGroundEdit", InStart("sand.bmp"));
  Click("UseBackParam");
  Set("EditWidth", "50");
  Set("EditHeight", "70");
  Set("EditCount", "2");
  Build();
  ASSERT_TRUE(Wizard().Built());
  for (int Frame = 0; Frame < 2; ++Frame) {
    EXPECT_EQ(Giffer->FGif()->Frames().SubImages(Frame)->Width(), 30);
    EXPECT_EQ(Giffer->FGif()->Frames().SubImages(Frame)->Height(), 20);
  }
}

TEST_F(WizardTest, DoubleClickShowsTheFullView) {
  Start();
  Set("BackGroundEdit", "");
  Click("NextButton");
  auto& Picture = Find<ui::TWindowCanvas>("PreviewImage")->Surface();
  Picture.Canvas().SetPixels(5, 5, 0x0000FF);
  WhenModal<editor::TPreviewWizForm>([](editor::TPreviewWizForm& View) {
    EXPECT_EQ(View.windowTitle(), "Preview");
    // At the top left, as it is: the view neither stretches nor fits it.
    EXPECT_EQ(View.Image1()->size(), QSize(241, 201));
    EXPECT_EQ(View.Image1()->Surface().Canvas().Pixels(5, 5), 0x0000FF);
    View.reject();
  });
  QTest::mouseDClick(Find<QWidget>("PreviewImage"), Qt::LeftButton);
  EXPECT_TRUE(Giffer->Forms().PreviewWizForm->isHidden());
}

TEST_F(WizardTest, SizesNoProjectCanHoldAreRefusedBeforeTheOpenProjectGoes) {
  maintest::WriteGIF(InStart("old.gif"));
  Giffer->LoadProject(InStart("old.gif"));
  gif::TGIFImage* Old = Giffer->FGif();
  struct Case {
    const char* Width;
    const char* Height;
    const char* Count;
    std::string Message;
  };
  const Case Cases[] = {
      {"65535", "65535", "1", "A frame of 65535 x 65535 has more than 67108864 pixels."},
      {"8193", "8192", "1", "A frame of 8193 x 8192 has more than 67108864 pixels."},
      {"8192", "8192", "9", "9 frames of 8192 x 8192 are more than an animation can hold."},
  };
  for (const Case& C : Cases) {
    Start();
    Set("BackGroundEdit", "");
    Set("EditWidth", "150");
    Set("EditHeight", "100");
    Click("NextButton");
    // Sizes given after the preview was made, so the build is the first to see them.
    Set("EditWidth", C.Width);
    Set("EditHeight", C.Height);
    Set("EditCount", C.Count);
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Click("NextButton");
    Check("NoneRB", true);
    Click("NextButton");
    const auto Shown = editortest::Messages(Dialogs);
    ASSERT_EQ(Shown.size(), 1u) << C.Message;
    EXPECT_EQ(Shown[0], std::make_pair(C.Message, std::string("Error!")));
    EXPECT_EQ(Giffer->FGif(), Old);
    EXPECT_EQ(Giffer->FFileName(), InStart("old.gif"));
    EXPECT_FALSE(Giffer->Modified());
    EXPECT_FALSE(Wizard().Built());
    EXPECT_TRUE(Find<QAbstractButton>("NextButton")->isEnabled());
    Wizard().reject();
  }
  // The preview of page 1 is a frame of that size too.
  Start();
  Set("BackGroundEdit", "");
  Set("EditWidth", "65535");
  Set("EditHeight", "65535");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Click("NextButton");
  const auto Shown = editortest::Messages(Dialogs);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].first, "A frame of 65535 x 65535 has more than 67108864 pixels.");
  EXPECT_FALSE(Find<QWidget>("Panel3")->isHidden());
  Wizard().reject();
}

TEST_F(WizardTest, TheBackgroundIsChosenInAPictureDialogWithAPreview) {
  Start();
  WriteBackground(InStart("sand.bmp"), 4, 4);
  TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("sand.bmp")})});
  Click("ChoseBack");
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Kind, uitest::TDialogKind::Open);
  EXPECT_TRUE(Dialogs.Calls()[0].PicturePreview);
  EXPECT_TRUE(Dialogs.Calls()[0].Filter.starts_with("All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|"));
  EXPECT_EQ(Find<QLineEdit>("BackGroundEdit")->text().toStdString(), InStart("sand.bmp"));
  Wizard().reject();
}

}  // namespace
