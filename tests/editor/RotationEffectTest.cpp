// The rotation effect under offscreen Qt: the run of rotated frames through gif.dat,
// what it appends and overwrites, the wrap option, and the checks made before anything
// is written.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QStatusBar>
#include <filesystem>
#include <functional>

#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/controls/FastIMG.h"
#include "editor/forms/RotationEffectDlg.h"
#include "gif/GIFImage.h"
#include "platform/ui/BitmapImage.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

using TPattern = std::function<bool(int X, int Y)>;  // white where true, top row first

constexpr int Side = 8;
constexpr uint16_t Delay = 25;

// A GIF of Count black and white frames of 8 x 8, each with the delay 25.
void WritePatternGIF(const std::string& FileName, int Count, const TPattern& White) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(Side);
  Image.Header().SetScreenHeight(Side);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  for (int Index = 0; Index < Count; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(Delay);
    Frame->Extensions()->Add(std::move(Control));
    Frame->SetBounds(0, 0, Side, Side);
    Frame->AllocatePixels();
    for (int Y = 0; Y < Side; ++Y)
      for (int X = 0; X < Side; ++X) Frame->Scanline(Y)[X] = White(X, Y) ? 1 : 0;
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

class RotationEffectTest : public MainWindowTest {
 protected:
  editor::TRotationEffectForm& Open(int Count, const TPattern& White) {
    WritePatternGIF(InStart("source.gif"), Count, White);
    editor::TGiffer& Giffer = Shown({"source.gif"});
    EXPECT_EQ(Giffer.FGif()->Frames().Count(), Count);
    return *Giffer.Forms().RotationEffectForm;
  }
  static void Set(editor::TRotationEffectForm& Form, const char* First, const char* Number) {
    Form.EditFirstF()->setText(First);
    Form.EditNumberFrame()->setText(Number);
  }
  // Where frame Index of the project matches White, pixel by pixel.
  void ExpectFrame(int Index, const TPattern& White) {
    const QImage Frame = ui::BitmapToQImage(*Giffer->FGif()->Frames().SubImages(Index)->GetBitmap());
    ASSERT_EQ(Frame.size(), QSize(Side, Side)) << Index;
    for (int Y = 0; Y < Side; ++Y)
      for (int X = 0; X < Side; ++X)
        ASSERT_EQ(Frame.pixel(X, Y) | 0xFF000000, White(X, Y) ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
            << "frame " << Index << " at " << X << "," << Y;
  }
  uint16_t DelayOf(int Index) {
    const gif::TGIFGraphicControlExtension* Control =
        Giffer->FGif()->Frames().SubImages(Index)->GraphicControlExtension();
    return Control ? Control->Delay() : 0;
  }
};

const TPattern RightHalf = [](int X, int) { return X >= 4; };
const TPattern AllWhite = [](int, int) { return true; };

}  // namespace

TEST(RotationStep, IsTheRoundedShareOfAFullTurn) {
  struct Case {
    int Passes, Step, Last;
  };
  for (const Case& C : {Case{12, 30, 360}, Case{10, 36, 360}, Case{7, 51, 357}, Case{8, 45, 360}, Case{1, 360, 360}}) {
    EXPECT_EQ(editor::RotationStep(C.Passes), C.Step) << C.Passes;
    EXPECT_EQ(C.Passes * editor::RotationStep(C.Passes), C.Last) << C.Passes;
  }
}

TEST_F(RotationEffectTest, TheDefaultsAppendTwelveTurnsOfTheFirstFrame) {
  editor::TRotationEffectForm& Form = Open(1, RightHalf);
  EXPECT_EQ(Form.EditFirstF()->text(), "1");
  EXPECT_EQ(Form.EditNumberFrame()->text(), "12");
  ASSERT_TRUE(Giffer->Action("Rotation1")->isEnabled());
  WhenModal<editor::TRotationEffectForm>([](editor::TRotationEffectForm& Shown) {
    Shown.findChild<QPushButton*>("OkButton")->click();
  });
  Giffer->Action("Rotation1")->trigger();

  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 13);
  ExpectFrame(0, RightHalf);
  // 90 degrees (frame 4): the right half turns to the top; column 0 maps outside.
  ExpectFrame(3, [](int X, int Y) { return X >= 1 && Y <= 3; });
  // 360 degrees (frame 13) is the source again.
  ExpectFrame(12, RightHalf);
  EXPECT_TRUE(Giffer->Modified());
  EXPECT_EQ(Giffer->Preview()->FFrameIndex(), 12);
  EXPECT_EQ(Giffer->Preview()->FrameList()->count(), 13);
  EXPECT_EQ(Giffer->Preview()->PreviewGif()->Frames().Count(), 13);
  EXPECT_EQ(Form.StatusBar1()->currentMessage(), "Save frame:11");
  EXPECT_TRUE(std::filesystem::exists(InStart("gif.dat")));
  // The preview image stays 8-bit for the next run.
  EXPECT_EQ(Form.PrevImage()->DataType(), editor::dtFast256);
  EXPECT_EQ(Form.PrevImage()->Convert_256(), editor::cmDither);
}

TEST_F(RotationEffectTest, FramesAfterTheSourceAreOverwrittenWithTheirTiming) {
  editor::TRotationEffectForm& Form = Open(5, RightHalf);
  // First 2, number 4: three passes of 120 degrees into frames 3 to 5.
  Set(Form, "2", "4");
  Form.OkButtonClick();
  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 5);
  ExpectFrame(0, RightHalf);
  ExpectFrame(1, RightHalf);
  ExpectFrame(4, RightHalf);
  for (int Index = 0; Index < 5; ++Index) EXPECT_EQ(DelayOf(Index), Delay) << Index;
  // A second run goes the 8-bit way and gives the same turn.
  Set(Form, "1", "2");
  Form.OkButtonClick();
  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 5);
  ExpectFrame(2, RightHalf);
  ExpectFrame(1, [](int X, int Y) { return X <= 4 && X >= 1 && Y <= 6; });
}

TEST_F(RotationEffectTest, CornersAreBlackUnlessTheRotationWraps) {
  editor::TRotationEffectForm& Form = Open(1, AllWhite);
  Set(Form, "1", "2");
  Form.OkButtonClick();
  ASSERT_EQ(Giffer->FGif()->Frames().Count(), 3);
  // 180 degrees about (4, 4): the left column and the bottom row map outside.
  ExpectFrame(1, [](int X, int Y) { return X >= 1 && Y <= 6; });
  Form.rRotateWrap()->setChecked(true);
  Form.OkButtonClick();
  ExpectFrame(1, AllWhite);
}

TEST_F(RotationEffectTest, BadNumbersAreRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* First;
    const char* Number;
    const char* Message;
  };
  editor::TRotationEffectForm& Form = Open(2, RightHalf);
  for (const Case& C : {Case{"0", "12", "First frame<1."}, Case{"3", "12", "First frame>2."},
                        Case{"2", "1", "Number of frame<2."}}) {
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Set(Form, C.First, C.Number);
    Form.OkButtonClick();
    ASSERT_EQ(editortest::Messages(Dialogs).size(), 1u) << C.Message;
    EXPECT_EQ(editortest::Messages(Dialogs)[0].first, C.Message);
    EXPECT_EQ(editortest::Messages(Dialogs)[0].second, "Error!");
  }
  EXPECT_FALSE(std::filesystem::exists(InStart("gif.dat")));
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 2);
  EXPECT_FALSE(Giffer->Modified());
}

TEST_F(RotationEffectTest, AnExchangeFileThatCannotBeWrittenChangesNothing) {
  editor::TRotationEffectForm& Form = Open(1, RightHalf);
  std::filesystem::create_directory(InStart("gif.dat"));
  EXPECT_THROW(Form.OkButtonClick(), std::exception);
  EXPECT_EQ(Giffer->FGif()->Frames().Count(), 1);
  ExpectFrame(0, RightHalf);
  EXPECT_FALSE(Giffer->Modified());
}
