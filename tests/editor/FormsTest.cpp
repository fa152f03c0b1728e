#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "editor/Settings.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/forms/LoadingDlg.h"
#include "editor/forms/NewGIF.h"
#include "editor/forms/OpenWizDlg.h"
#include "editor/forms/SaveJPEGDlg.h"
#include "editor/forms/TextDlg.h"
#include "tests/editor/EditorTestSupport.h"

using editortest::Messages;
using editortest::TempSettings;
using uitest::TScriptedDialogs;
using MessageList = std::vector<std::pair<std::string, std::string>>;

namespace {

template <typename T>
T* Child(QWidget& Form, const char* Name) {
  T* Found = Form.findChild<T*>(Name);
  EXPECT_NE(Found, nullptr) << Name;
  return Found;
}

void Click(QWidget& Form, const char* Button) {
  QPushButton* Found = Child<QPushButton>(Form, Button);
  if (Found) Found->click();
}

TEST(CreateGIFForm, StartsWithTwoFramesOfAHundredSquare) {
  editor::TCreateGIFForm Form;
  EXPECT_EQ(Form.windowTitle(), "Create GIF");
  EXPECT_EQ(Child<editor::TEditN>(Form, "FrameCountEdit")->text(), "2");
  EXPECT_EQ(Child<editor::TEditN>(Form, "FrameWidthEdit")->text(), "100");
  EXPECT_EQ(Child<editor::TEditN>(Form, "FrameHeightEdit")->text(), "100");
  EXPECT_EQ(Form.FrameCountEdit()->EditType(), editor::etInteger);
  EXPECT_TRUE(Child<QPushButton>(Form, "OkButton")->isDefault());
  EXPECT_EQ(Child<QPushButton>(Form, "OkButton")->text(), "Ok");
  EXPECT_EQ(Child<QPushButton>(Form, "CancelButton")->text(), "Cancel");
}

struct NewImageCase {
  const char* Count;
  const char* Width;
  const char* Height;
  const char* Message;
  bool ConversionError = false;
};

void PrintTo(const NewImageCase& C, std::ostream* Out) { *Out << C.Count << " x " << C.Width << " x " << C.Height; }

class CreateGIFFormOk : public testing::TestWithParam<NewImageCase> {};

TEST_P(CreateGIFFormOk, ChecksTheNumbers) {
  const NewImageCase& Case = GetParam();
  TScriptedDialogs Dialogs;
  if (*Case.Message) Dialogs.Then(uitest::Press(ui::mrOk));
  editor::TCreateGIFForm Form;
  Form.FrameCountEdit()->setText(Case.Count);
  Form.FrameWidthEdit()->setText(Case.Width);
  Form.FrameHeightEdit()->setText(Case.Height);
  Form.show();
  Click(Form, "OkButton");
  if (*Case.Message) {
    const std::string Caption = Case.ConversionError ? ui::ApplicationTitle() : "Error!";
    EXPECT_EQ(Messages(Dialogs), (MessageList{{Case.Message, Caption}}));
    EXPECT_EQ(Dialogs.Calls()[0].Type, Case.ConversionError ? ui::mtError : ui::mtInformation);
    EXPECT_EQ(Dialogs.Calls()[0].Buttons, ui::TMsgDlgButtons(ui::mbOK));
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Form.result(), QDialog::Rejected);
  } else {
    EXPECT_TRUE(Dialogs.Calls().empty());
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Form.FrameCount(), std::stoi(Case.Count));
    EXPECT_EQ(Form.FrameWidth(), std::stoi(Case.Width));
    EXPECT_EQ(Form.FrameHeight(), std::stoi(Case.Height));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, CreateGIFFormOk,
    testing::Values(NewImageCase{"2", "100", "100", ""}, NewImageCase{"1", "1", "1", ""},
                    NewImageCase{"10000", "100", "100", ""}, NewImageCase{"1", "16384", "16384", ""},
                    NewImageCase{"0", "100", "100", "Frame count<1."},
                    NewImageCase{"-3", "100", "100", "Frame count<1."},
                    NewImageCase{"10001", "100", "100", "Frame count>10000."},
                    NewImageCase{"2", "0", "100", "Frame width<1."}, NewImageCase{"2", "100", "-1", "Frame height<1."},
                    NewImageCase{"2", "16385", "100", "Frame width>16384."},
                    NewImageCase{"2", "100", "100000", "Frame height>16384."},
                    NewImageCase{"10000", "1000", "1000", "Frames too large."},
                    NewImageCase{"", "100", "100", "'' is not a valid integer value", true},
                    NewImageCase{"-", "100", "100", "'-' is not a valid integer value", true},
                    NewImageCase{"2", "", "100", "'' is not a valid integer value", true},
                    NewImageCase{"99999999999", "100", "100", "'99999999999' is not a valid integer value", true}));

TEST(CreateGIFForm, CancelAlwaysCloses) {
  TScriptedDialogs Dialogs;
  editor::TCreateGIFForm Form;
  Form.FrameCountEdit()->setText("0");
  Form.show();
  Click(Form, "CancelButton");
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Form.result(), QDialog::Rejected);
  EXPECT_TRUE(Dialogs.Calls().empty());
}

TEST(CreateGIFForm, EnterOnTheDefaultButtonIsChecked) {
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  editor::TCreateGIFForm Form;
  Form.FrameCountEdit()->setText("0");
  Form.show();
  Form.accept();
  EXPECT_TRUE(Form.isVisible());
  EXPECT_EQ(Messages(Dialogs), (MessageList{{"Frame count<1.", "Error!"}}));
}

TEST(SaveJPEGForm, QualityLabelFollowsTheTrackBar) {
  editor::TSaveJPEGForm Form;
  EXPECT_EQ(Form.windowTitle(), "JPEG option");
  QSlider* Quality = Child<QSlider>(Form, "CompressQual");
  ASSERT_NE(Quality, nullptr);
  EXPECT_EQ(Quality->minimum(), 0);
  EXPECT_EQ(Quality->maximum(), 100);
  EXPECT_EQ(Quality->singleStep(), 1);
  EXPECT_EQ(Quality->value(), 50);
  EXPECT_EQ(Child<QLabel>(Form, "CompQualLabel")->text(), "50");
  EXPECT_FALSE(Child<QCheckBox>(Form, "Grayscale")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(Form, "Smoothing")->isChecked());
  Quality->setValue(75);
  EXPECT_EQ(Form.CompQualLabel()->text(), "75");
  Quality->setValue(0);
  EXPECT_EQ(Form.CompQualLabel()->text(), "0");
}

TEST(SaveJPEGForm, ButtonsGiveTheirResults) {
  editor::TSaveJPEGForm Form;
  Form.show();
  Click(Form, "OkButton");
  EXPECT_EQ(Form.result(), QDialog::Accepted);
  Form.show();
  Click(Form, "CancelButton");
  EXPECT_EQ(Form.result(), QDialog::Rejected);
}

TEST(TextForm, StartsWithItsDefaults) {
  editor::TTextForm Form;
  EXPECT_EQ(Form.windowTitle(), "Text");
  EXPECT_EQ(Child<QLineEdit>(Form, "TextEdit")->text(), "Simple");
  EXPECT_EQ(Child<QLabel>(Form, "SimpleLabel")->text(), "Simple");
  EXPECT_EQ(Child<QPushButton>(Form, "Button3")->text(), "Font");
  EXPECT_TRUE(Child<QCheckBox>(Form, "ShadowCB")->isChecked());
  EXPECT_EQ(Child<QLineEdit>(Form, "DispEdit")->text(), "1");
  EXPECT_EQ(Child<QPushButton>(Form, "ChangeColorBtn")->text(), "Change");
  EXPECT_NE(Child<QFrame>(Form, "Shape1"), nullptr);
  EXPECT_EQ(Form.ShadowColor(), 0xFFFFFF);
  EXPECT_EQ(Form.Shape1()->palette().color(QPalette::Window), QColor(Qt::white));
  editor::TComboBox97* Position = Child<editor::TComboBox97>(Form, "PosComboBox");
  ASSERT_NE(Position, nullptr);
  EXPECT_TRUE(Position->Flat());
  QStringList Items;
  for (int I = 0; I < Position->count(); ++I) Items << Position->itemText(I);
  EXPECT_EQ(Items, (QStringList{"Left-Top", "Right-Top", "Right-Bottom", "Left-Bottom"}));
}

TEST(TextForm, SampleFollowsTheText) {
  editor::TTextForm Form;
  QTest::keyClicks(Form.TextEdit(), " text");
  EXPECT_EQ(Form.SimpleLabel()->text(), "Simple text");
}

TEST(TextForm, EveryShowSelectsTheFirstPosition) {
  editor::TTextForm Form;
  Form.show();
  Form.PosComboBox()->setCurrentIndex(2);
  Form.hide();
  Form.show();
  EXPECT_EQ(Form.PosComboBox()->currentIndex(), 0);
}

TEST(TextForm, FontDialogStartsFromTheSampleAndSetsIt) {
  const QFont Chosen("DejaVu Serif", 20);
  TScriptedDialogs Dialogs({uitest::Cancel(uitest::TDialogKind::Font), uitest::ChooseFont(Chosen)});
  editor::TTextForm Form;
  Form.SimpleLabel()->setFont(QFont("DejaVu Sans", 12));
  Click(Form, "Button3");
  EXPECT_EQ(Form.SimpleLabel()->font().pointSize(), 12);
  Click(Form, "Button3");
  EXPECT_EQ(Form.SimpleLabel()->font().family(), "DejaVu Serif");
  EXPECT_EQ(Form.SimpleLabel()->font().pointSize(), 20);
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].Font.family(), "DejaVu Sans");
  EXPECT_EQ(Dialogs.Calls()[0].Font.pointSize(), 12);
  EXPECT_TRUE(Dialogs.Done());
}

TEST(TextForm, ColourDialogStartsFromTheSwatchAndSetsIt) {
  TScriptedDialogs Dialogs({uitest::Cancel(uitest::TDialogKind::Color), uitest::ChooseColor(0x030201)});
  editor::TTextForm Form;
  Click(Form, "ChangeColorBtn");
  EXPECT_EQ(Form.ShadowColor(), 0xFFFFFF);
  Click(Form, "ChangeColorBtn");
  EXPECT_EQ(Form.ShadowColor(), 0x030201);
  EXPECT_EQ(Form.Shape1()->palette().color(QPalette::Window), QColor(1, 2, 3));
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].Color, 0xFFFFFF);
  EXPECT_EQ(Dialogs.Calls()[1].Color, 0xFFFFFF);
}

class OpenWizFormTest : public testing::Test {
 protected:
  OpenWizFormTest() : Settings(Temp.Store), Form(Settings) {
    Form.CreateButtonClick = [this] { Calls.push_back("new"); };
    Form.OpenButtonClick = [this] { Calls.push_back("open"); };
    Form.GIFWizard1Click = [this] { Calls.push_back("wizard"); };
    Form.HasProject = [this] { return ProjectExists; };
    Form.OpenImportWizard = [this] { Calls.push_back("import wizard"); };
  }
  TempSettings Temp;
  editor::TOptionSettings Settings;
  editor::TOpenWizForm Form;
  std::vector<std::string> Calls;
  bool ProjectExists = false;
};

TEST_F(OpenWizFormTest, StartsWithItsCaptions) {
  EXPECT_EQ(Form.windowTitle(), "Veltrane Animora");
  EXPECT_EQ(Child<QPushButton>(Form, "NewBtn")->text(), "Create new project");
  EXPECT_EQ(Child<QPushButton>(Form, "OpenBtn")->text(), "Open exist project");
  EXPECT_EQ(Child<QPushButton>(Form, "WizBtn")->text(), "GIF Wizard");
  EXPECT_EQ(Child<QPushButton>(Form, "ImportBtn")->text(), "Import Wizard");
  EXPECT_EQ(Child<QCheckBox>(Form, "ShowNextTime")->text(), "Show next time");
  EXPECT_TRUE(Form.ShowNextTime()->isChecked());
  EXPECT_EQ(Child<QPushButton>(Form, "CloseBtn")->text(), "Close");
  EXPECT_TRUE(Child<QPushButton>(Form, "CloseBtn")->isDefault());
}

struct ChooserCase {
  const char* Button;
  bool ProjectExists;
  std::vector<std::string> Calls;
};

void PrintTo(const ChooserCase& C, std::ostream* Out) {
  *Out << C.Button << (C.ProjectExists ? " with a project" : "");
}

class OpenWizFormButtons : public OpenWizFormTest, public testing::WithParamInterface<ChooserCase> {};

TEST_P(OpenWizFormButtons, EachButtonRunsItsCommandAndStoresTheSwitch) {
  ProjectExists = GetParam().ProjectExists;
  Form.ShowNextTime()->setChecked(false);
  Form.show();
  Click(Form, GetParam().Button);
  EXPECT_EQ(Calls, GetParam().Calls);
  EXPECT_FALSE(Form.isVisible());
  EXPECT_EQ(Temp.Store.ReadString(ui::OptionSection, "ShowOpenWiz", "absent"), "0");
  EXPECT_FALSE(Settings.ReadBool(editor::option::ShowOpenWiz));
}

INSTANTIATE_TEST_SUITE_P(Buttons, OpenWizFormButtons,
                         testing::Values(ChooserCase{"NewBtn", false, {"new"}}, ChooserCase{"OpenBtn", false, {"open"}},
                                         ChooserCase{"WizBtn", false, {"wizard"}},
                                         ChooserCase{"ImportBtn", false, {"new"}},
                                         ChooserCase{"ImportBtn", true, {"new", "import wizard"}},
                                         ChooserCase{"CloseBtn", false, {}}));

TEST_F(OpenWizFormTest, CloseGivesOkAndAnyCloseStoresTheSwitch) {
  Form.show();
  Click(Form, "CloseBtn");
  EXPECT_EQ(Form.result(), QDialog::Accepted);
  EXPECT_EQ(Temp.Store.ReadString(ui::OptionSection, "ShowOpenWiz", "absent"), "1");
  Form.ShowNextTime()->setChecked(false);
  Form.show();
  Form.close();
  EXPECT_EQ(Temp.Store.ReadString(ui::OptionSection, "ShowOpenWiz", "absent"), "0");
}

TEST(LoadForm, ShowsItsStretchedPicture) {
  editor::TLoadForm Form;
  EXPECT_EQ(Form.windowTitle(), "Loading");
  QLabel* Image = Child<QLabel>(Form, "Image1");
  ASSERT_NE(Image, nullptr);
  EXPECT_TRUE(Image->hasScaledContents());
  EXPECT_FALSE(Image->pixmap().isNull());
}

}  // namespace
