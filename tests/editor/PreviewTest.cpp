// The preview window under offscreen Qt: stepping through the frames, adding and
// deleting, the play options as draw flags, the frame option dialog, and closing the
// editor while the preview plays.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/forms/FrameOption.h"
#include "gif/PainterClock.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/WindowCanvas.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

// The grey of frame Index: the same in either byte order of a colour.
QRgb GreyOf(int Index) {
  const int Level = 0x40 * Index;
  return qRgb(Level, Level, Level);
}

// A GIF of Count frames of Width by Height, frame i filled with GreyOf(i).
void WriteGreyFrames(const std::string& FileName, int Count, int Width = 6, int Height = 4) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(static_cast<uint16_t>(Width));
  Image.Header().SetScreenHeight(static_cast<uint16_t>(Height));
  for (int Index = 0; Index < Count; ++Index) {
    const auto Level = static_cast<base::TColor>(0x40 * Index);
    Image.GetGlobalColorMap()->Add(Level | Level << 8 | Level << 16);
  }
  for (int Index = 0; Index < Count; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, static_cast<uint16_t>(Width), static_cast<uint16_t>(Height));
    Frame->AllocatePixels();
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>(Index);
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

// Time that moves only when the painter waits; every pump may run a test's action.
class TStepClock : public gif::TPainterClock {
 public:
  int64_t Milliseconds() override { return Now; }
  base::TWaitResult WaitFor(base::TEvent&, int64_t TimeoutMs) override {
    Now += TimeoutMs > 0 ? TimeoutMs : 1;
    return base::wrTimeout;
  }
  void Sleep(int64_t Ms) override { Now += Ms > 0 ? Ms : 1; }
  bool ProcessMessages() override {
    ++Pumps;
    if (OnPump) OnPump(Pumps);
    return true;
  }
  int64_t Now = 0;
  int Pumps = 0;
  std::function<void(int)> OnPump;
};

class PreviewTest : public MainWindowTest {
 protected:
  void TearDown() override {
    gif::SetPainterClock(nullptr);
    gif::GIFLibraryDefaults().PlaySpeed = 100;
    MainWindowTest::TearDown();
  }
  // The editor with a project of Count grey frames.
  editor::TGifPreview& Open(int Count) {
    WriteGreyFrames(InStart("grey.gif"), Count);
    editor::TGiffer& Giffer = Shown({"grey.gif"});
    EXPECT_EQ(Giffer.FGif()->Frames().Count(), Count);
    return *Giffer.Preview();
  }
  // The grey the still picture shows.
  static QRgb Shown(editor::TGifPreview& Preview) {
    const QImage& Image = Preview.FrameImage()->Shown();
    return Image.isNull() ? 0 : Image.pixel(0, 0) | 0xFF000000;
  }
  using MainWindowTest::Shown;
};

struct StepCase {
  int Start;
  bool Next;
  int Expected;
};

TEST_F(PreviewTest, NextAndPreviousStepWithWrapAround) {
  editor::TGifPreview& Preview = Open(3);
  const StepCase Cases[] = {{0, true, 1}, {1, true, 2}, {2, true, 0}, {2, false, 1}, {0, false, 2}, {-4, false, 2}};
  for (const StepCase& Case : Cases) {
    Preview.SetFrameIndex(Case.Start);
    Preview.Button(Case.Next ? "NextFrameButton" : "PrevFrameButton")->click();
    EXPECT_EQ(Preview.FFrameIndex(), Case.Expected) << Case.Start;
    EXPECT_EQ(Preview.FrameList()->currentIndex(), Case.Expected) << Case.Start;
    EXPECT_EQ(Shown(Preview), GreyOf(Case.Expected)) << Case.Start;
    EXPECT_EQ(Giffer->StatusPanel(1)->text().toStdString(), " Frame " + std::to_string(Case.Expected + 1) + " of 3");
  }
}

TEST_F(PreviewTest, ShowCurrentFrameKeepsTheIndexInsideTheFrames) {
  editor::TGifPreview& Preview = Open(3);
  for (const auto& [Index, Expected] : {std::pair{7, 2}, {-3, 0}, {1, 1}}) {
    Preview.SetFrameIndex(Index);
    Preview.ShowCurrentFrame();
    EXPECT_EQ(Preview.FFrameIndex(), Expected);
    EXPECT_EQ(Shown(Preview), GreyOf(Expected));
  }
}

TEST_F(PreviewTest, TheFrameListJumpsToAFrame) {
  editor::TGifPreview& Preview = Open(3);
  ASSERT_EQ(Preview.FrameList()->count(), 3);
  EXPECT_EQ(Preview.FrameList()->itemText(2), "3");
  Preview.FrameList()->setCurrentIndex(2);
  Preview.FrameListChange();
  EXPECT_EQ(Preview.FFrameIndex(), 2);
  EXPECT_EQ(Shown(Preview), GreyOf(2));
}

TEST_F(PreviewTest, AddAppendsACopyOfTheLastFrame) {
  editor::TGifPreview& Preview = Open(2);
  EXPECT_FALSE(Giffer->Modified());
  Preview.Button("AddButton")->click();
  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 3);
  EXPECT_EQ(Preview.FFrameIndex(), 2);
  EXPECT_EQ(Preview.FrameList()->count(), 3);
  EXPECT_EQ(Preview.FrameList()->currentIndex(), 2);
  EXPECT_EQ(Preview.PreviewGif()->Frames().Count(), 3);
  EXPECT_EQ(Shown(Preview), GreyOf(1));
  EXPECT_TRUE(Giffer->Modified());
}

struct DeleteCase {
  int Count;
  int Index;
  std::vector<QRgb> Left;
  int Expected;
};

TEST_F(PreviewTest, DeleteRemovesTheCurrentFrameAndStepsOn) {
  const DeleteCase Cases[] = {{4, 1, {GreyOf(0), GreyOf(2), GreyOf(3)}, 2},
                              {4, 3, {GreyOf(0), GreyOf(1), GreyOf(2)}, 0},
                              {2, 0, {GreyOf(1)}, 0}};
  for (const DeleteCase& Case : Cases) {
    editor::TGifPreview& Preview = Open(Case.Count);
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Preview.SetFrameIndex(Case.Index);
    Preview.Button("DelButton")->click();
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u);
    EXPECT_EQ(editortest::Messages(Dialogs)[0].first, "Are you sure that you want delete this frame?");
    EXPECT_EQ(editortest::Messages(Dialogs)[0].second, "Warning");
    gif::TGIFImage& Project = *Giffer->FGif();
    ASSERT_EQ(Project.Frames().Count(), static_cast<int>(Case.Left.size()));
    EXPECT_EQ(Preview.FFrameIndex(), Case.Expected) << Case.Index;
    EXPECT_EQ(Shown(Preview), Case.Left[static_cast<size_t>(Case.Expected)]) << Case.Index;
    for (size_t Index = 0; Index < Case.Left.size(); ++Index) {
      const QImage Frame = ui::BitmapToQImage(*Project.Frames().SubImages(static_cast<int>(Index))->GetBitmap());
      EXPECT_EQ(Frame.pixel(0, 0) | 0xFF000000, Case.Left[Index]) << Case.Index;
    }
    EXPECT_EQ(Preview.FrameList()->count(), static_cast<int>(Case.Left.size()));
    EXPECT_TRUE(Giffer->Modified());
    Giffer.reset();
  }
}

TEST_F(PreviewTest, DeleteShowsTheFrameAfterTheOneThatMovedUp) {
  editor::TGifPreview& Preview = Open(4);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk), uitest::Press(ui::mrOk)});
  Preview.SetFrameIndex(1);
  Preview.Button("DelButton")->click();
  EXPECT_EQ(Preview.FFrameIndex(), 2);
  EXPECT_EQ(Shown(Preview), GreyOf(3));
  Preview.Button("DelButton")->click();
  EXPECT_EQ(Preview.FFrameIndex(), 0);
  EXPECT_EQ(Shown(Preview), GreyOf(0));
}

TEST_F(PreviewTest, ACancelledDeleteKeepsEveryFrame) {
  editor::TGifPreview& Preview = Open(3);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrCancel)});
  Preview.Button("DelButton")->click();
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 3);
  EXPECT_FALSE(Giffer->Modified());
}

TEST_F(PreviewTest, DeletingTheOnlyFrameLeavesAnEmptyProjectThatTakesANewFrame) {
  editor::TGifPreview& Preview = Open(2);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk), uitest::Press(ui::mrOk), uitest::Press(ui::mrOk)});
  Preview.Button("DelButton")->click();
  Preview.Button("DelButton")->click();
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 0);
  EXPECT_EQ(Preview.FFrameIndex(), 0);
  EXPECT_EQ(Preview.FrameList()->count(), 0);
  EXPECT_EQ(Giffer->StatusPanel(1)->text(), "");
  // Nothing left to delete: no question, no change.
  Preview.Button("DelButton")->click();
  EXPECT_EQ(editortest::Messages(Dialogs).size(), 2u);
  for (const char* Name : {"NextFrameButton", "PrevFrameButton", "StopGif"}) Preview.Button(Name)->click();
  EXPECT_EQ(Preview.FFrameIndex(), 0);
  Preview.Button("AddButton")->click();
  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 1);
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(0)->Width(), 10);
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(0)->Height(), 10);
  EXPECT_EQ(Preview.FrameList()->count(), 1);
}

TEST_F(PreviewTest, PlayOptionsBecomeTheDrawFlags) {
  editor::TGifPreview& Preview = Open(2);
  EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), 0x065A);
  Preview.Button("RunGif")->click();
  EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), 0x065E);
  Preview.Button("StopGif")->click();
  EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), 0x065A);
  struct Case {
    const char* Box;
    bool On;
    gif::TGIFDrawFlags Flags;
  };
  const Case Cases[] = {{"CBLoop", false, 0x064A},   {"CBTransparent", false, 0x0658}, {"CBDither", false, 0x045A},
                        {"CBAutoDither", false, 0x025A}, {"CBTile", true, 0x075A},     {"CBThreaded", true, 0x065B},
                        {"CBBuffered", true, 0x065A}};
  for (const Case& Each : Cases) {
    Preview.Option(Each.Box)->setChecked(Each.On);
    Preview.ApplyDrawOptions();
    EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), Each.Flags) << Each.Box;
    Preview.Option(Each.Box)->setChecked(!Each.On);
  }
  // Only thread and buffer together draw through the image's own bitmap.
  Preview.Option("CBThreaded")->setChecked(true);
  Preview.Option("CBBuffered")->setChecked(true);
  Preview.ApplyDrawOptions();
  EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), 0x061B);
}

TEST_F(PreviewTest, ACopyMadeAgainKeepsThePlayOptions) {
  editor::TGifPreview& Preview = Open(2);
  Preview.Option("CBLoop")->setChecked(false);
  Preview.Button("AddButton")->click();
  EXPECT_EQ(Preview.PreviewGif()->DrawFlags(), 0x064A);
}

TEST_F(PreviewTest, TheSpeedReachesTheDefaultsUnclampedAndTheCopyClamped) {
  editor::TGifPreview& Preview = Open(2);
  Preview.SpeedEdit()->setValue(5000);
  EXPECT_EQ(gif::GIFLibraryDefaults().PlaySpeed, 5000);
  EXPECT_EQ(Preview.PreviewGif()->PlaySpeed(), 1000);
  Preview.SpeedEdit()->setValue(50);
  EXPECT_EQ(Preview.PreviewGif()->PlaySpeed(), 50);
}

TEST_F(PreviewTest, ThePlayShowsItsFramesOnThePreview) {
  TStepClock Clock;
  editor::TGifPreview& Preview = Open(3);
  gif::SetPainterClock(&Clock);
  std::vector<QRgb> Seen;
  Clock.OnPump = [&](int) {
    const QImage& Image = Preview.PreviewImage()->Shown();
    if (!Image.isNull()) {
      const QRgb Pixel = Image.pixel(0, 0) | 0xFF000000;
      const bool Frame = Pixel == GreyOf(0) || Pixel == GreyOf(1) || Pixel == GreyOf(2);
      if (Frame && (Seen.empty() || Seen.back() != Pixel)) Seen.push_back(Pixel);
    }
    if (Seen.size() >= 4) Preview.Button("StopGif")->click();
  };
  Preview.Button("RunGif")->click();
  editortest::RunPosted();
  ASSERT_GE(Seen.size(), 4u);
  EXPECT_EQ((std::vector<QRgb>(Seen.begin(), Seen.begin() + 4)),
            (std::vector<QRgb>{GreyOf(0), GreyOf(1), GreyOf(2), GreyOf(0)}));
  EXPECT_TRUE(Preview.PreviewImage()->isHidden());
}

TEST_F(PreviewTest, ClosingTheEditorWhileItPlaysEndsThePlay) {
  TStepClock Clock;
  editor::TGifPreview& Preview = Open(3);
  gif::SetPainterClock(&Clock);
  bool Closed = false;
  Clock.OnPump = [&](int Pumps) {
    if (Pumps == 3) Closed = Giffer->close();
  };
  Preview.Button("RunGif")->click();
  editortest::RunPosted();
  EXPECT_TRUE(Closed);
  EXPECT_FALSE(Giffer->isVisible());
  EXPECT_EQ(Giffer->FGif(), nullptr);
  EXPECT_EQ(Preview.PreviewGif(), nullptr);
  // The play ended with the close rather than going on pumping.
  EXPECT_LT(Clock.Pumps, 100);
}

struct OptionCase {
  const char* Name;
  QString Width, Height, Left, Top;
  std::string Message;
};

TEST_F(PreviewTest, TheFrameOptionDialogChangesNothingUntilAllFourBoxesAreGood) {
  const OptionCase Cases[] = {{"empty", "", "4", "0", "0", "'' is not a valid integer value"},
                              {"overflow", "6", "99999999999", "0", "0", "'99999999999' is not a valid integer value"},
                              {"zero width", "0", "4", "0", "0", "Frame width<1."},
                              {"huge height", "6", "70000", "0", "0", "Frame height>65535."},
                              {"negative left", "6", "4", "-1", "0", "Left position<0."},
                              {"top too far", "6", "4", "0", "65536", "Top position>65531."},
                              // 65000 + 1000 must not wrap to a 464-pixel screen.
                              {"right edge too far", "1000", "4", "65000", "0", "Left position>64535."},
                              {"bottom edge too far", "6", "1000", "0", "64536", "Top position>64535."}};
  for (const OptionCase& Case : Cases) {
    editor::TGifPreview& Preview = Open(2);
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    bool StayedOpen = false;
    WhenModal<editor::TOptionForm>([&](editor::TOptionForm& Form) {
      Form.EditWidth()->setText(Case.Width);
      Form.EditHeight()->setText(Case.Height);
      Form.LeftEdit()->setText(Case.Left);
      Form.TopEdit()->setText(Case.Top);
      Form.findChild<QPushButton*>("OkButton")->click();
      StayedOpen = Form.isVisible();
      Form.findChild<QPushButton*>("CancelButton")->click();
    });
    Preview.Button("OptionButton")->click();
    EXPECT_TRUE(StayedOpen) << Case.Name;
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u) << Case.Name;
    EXPECT_EQ(editortest::Messages(Dialogs)[0].first, Case.Message) << Case.Name;
    const gif::TGIFSubImage& Frame = *Giffer->FGif()->Frames().SubImages(0);
    EXPECT_EQ(std::vector<int>({Frame.Width(), Frame.Height(), Frame.Left(), Frame.Top()}),
              std::vector<int>({6, 4, 0, 0}))
        << Case.Name;
    EXPECT_FALSE(Giffer->Modified()) << Case.Name;
    Giffer.reset();
  }
}

TEST_F(PreviewTest, TheFrameOptionDialogSetsSizeAndPosition) {
  editor::TGifPreview& Preview = Open(3);
  Preview.SetFrameIndex(1);
  std::vector<QString> Offered;
  WhenModal<editor::TOptionForm>([&](editor::TOptionForm& Form) {
    Offered = {Form.EditWidth()->text(), Form.EditHeight()->text(), Form.LeftEdit()->text(), Form.TopEdit()->text()};
    EXPECT_EQ(Form.windowTitle(), "Option of frame");
    Form.EditWidth()->setText("3");
    Form.EditHeight()->setText("2");
    Form.LeftEdit()->setText("1");
    Form.TopEdit()->setText("2");
    Form.findChild<QPushButton*>("OkButton")->click();
  });
  Giffer->Action("Frameoption1")->trigger();
  EXPECT_EQ(Offered, (std::vector<QString>{"6", "4", "0", "0"}));
  const gif::TGIFSubImage& Frame = *Giffer->FGif()->Frames().SubImages(1);
  EXPECT_EQ(std::vector<int>({Frame.Width(), Frame.Height(), Frame.Left(), Frame.Top()}),
            std::vector<int>({3, 2, 1, 2}));
  EXPECT_EQ(Shown(Preview), GreyOf(1));
  EXPECT_EQ(Preview.FrameImage()->Shown().size(), QSize(3, 2));
  EXPECT_TRUE(Giffer->Modified());
}

TEST_F(PreviewTest, AFrameAtTheFarEdgeMovesBackAndGrowsInOneGo) {
  editor::TGifPreview& Preview = Open(2);
  Giffer->FGif()->Frames().SubImages(0)->SetLeft(60000);
  WhenModal<editor::TOptionForm>([&](editor::TOptionForm& Form) {
    Form.EditWidth()->setText("6000");
    Form.LeftEdit()->setText("100");
    Form.findChild<QPushButton*>("OkButton")->click();
  });
  Preview.Button("OptionButton")->click();
  const gif::TGIFSubImage& Frame = *Giffer->FGif()->Frames().SubImages(0);
  EXPECT_EQ(std::vector<int>({Frame.Width(), Frame.Height(), Frame.Left(), Frame.Top()}),
            std::vector<int>({6000, 4, 100, 0}));
}

TEST_F(PreviewTest, TheMainWindowsFrameCommandsReachThePreview) {
  editor::TGifPreview& Preview = Open(2);
  for (const char* Name : {"Addframe1", "Delete1", "Frameoption1", "EditFrame"})
    EXPECT_TRUE(Giffer->Action(Name)->isEnabled()) << Name;
  EXPECT_TRUE(Preview.Button("EditButton")->isEnabled());
  Giffer->Action("Addframe1")->trigger();
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 3);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Giffer->Action("Delete1")->trigger();
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 2);
}

TEST_F(PreviewTest, WithoutAProjectTheToolsAreOff) {
  editor::TGiffer& Giffer = Shown();
  for (const char* Name :
       {"StopGif", "RunGif", "NextFrameButton", "AddButton", "DelButton", "OptionButton", "EditButton"})
    EXPECT_FALSE(Giffer.Preview()->Button(Name)->isEnabled()) << Name;
  EXPECT_EQ(Giffer.Preview()->PreviewGif(), nullptr);
  EXPECT_TRUE(Giffer.Preview()->FrameList()->Flat());
}

}  // namespace

namespace {

TEST_F(PreviewTest, OnlyStretchOrTileStretchThePictureOverItsAlignedPlace) {
  editor::TGifPreview& Preview = Open(2);
  auto Corner = [&Preview](bool FarCorner) {
    Preview.PreviewImage()->show();
    Preview.ApplyDrawOptions();
    editortest::RunPosted();
    const QImage& Image = Preview.PreviewImage()->Shown();
    EXPECT_GT(Image.width(), 6);
    return FarCorner ? Image.pixel(Image.width() - 1, Image.height() - 1) | 0xFF000000 : Image.pixel(0, 0) | 0xFF000000;
  };
  Preview.Option("CBStretch")->setChecked(true);
  EXPECT_EQ(Corner(true), GreyOf(0));
  // The picture keeps its place filling the client, but the frame is drawn at its size.
  Preview.Option("CBStretch")->setChecked(false);
  EXPECT_EQ(Corner(true), qRgb(255, 255, 255));
  EXPECT_EQ(Corner(false), GreyOf(0));
  Preview.Option("CBTile")->setChecked(true);
  EXPECT_EQ(Corner(true), GreyOf(0));
}

}  // namespace

namespace {

TEST_F(PreviewTest, ABufferedPlayWithTheCanvasCheckRunsToItsEndOnAWindowCanvas) {
  TStepClock Clock;
  gif::SetPainterClock(&Clock);
  WriteGreyFrames(InStart("grey.gif"), 3);
  gif::TGIFImage Image;
  Image.LoadFromFile(InStart("grey.gif"));
  // Disposal to the background paints through the work bitmap, where the check is.
  for (int Index = 0; Index < Image.Frames().Count(); ++Index) {
    gif::TGIFSubImage* Frame = Image.Frames().SubImages(Index);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame);
    Control->SetDisposal(gif::fdBackground);
    Control->SetDelay(2);
    Frame->Extensions()->Add(std::move(Control));
  }
  ui::TWindowCanvas Window;
  Window.Surface().SetWidth(6);
  Window.Surface().SetHeight(4);
  int Painted = 0;
  bool Ended = false;
  Image.OnAfterFramePaint = [&Painted](base::TObject*) { ++Painted; };
  Image.OnPlayEnd = [&Ended](base::TObject*) { Ended = true; };
  Image.SetDrawFlags(gif::dfAnimate | gif::dfCheckCanvas);
  Image.Draw(Window.Canvas(), base::Rect(0, 0, 6, 4));
  EXPECT_EQ(Painted, 3);
  EXPECT_TRUE(Ended);
}

}  // namespace
