#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "plexor/ColorOptions.h"
#include "plexor/ProgramOptionsForm.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace plexor;

namespace {

class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() : Store((Dir.path() + "/Animora.ini").toStdString()) {}
  QTemporaryDir Dir;
  ui::TSettingsStore Store;
};

}  // namespace

TEST_F(OptionsTest, NothingStoredReadsTheDefaults) {
  EXPECT_EQ(ReadColorOptions(Store), (TColorOptions{0x00010101, 8, 7, 0}));
}

TEST_F(OptionsTest, OutOfRangeOrUnreadableValuesReadAsDefaultsOneByOne) {
  struct {
    const char* Transparent;
    const char* Reduction;
    const char* Quantize;
    const char* Dither;
    TColorOptions Expected;
  } const Cases[] = {
      {"$00FF0000", "3", "4", "6", {0x00FF0000, 3, 4, 6}},
      {"clRed", "10", "2", "7", {0x000000FF, 8, 7, 0}},
      {"nonsense", "-1", "9", "x", {0x00010101, 8, 7, 0}},
      {"255", "0", "8", "0", {255, 0, 8, 0}},
  };
  for (const auto& C : Cases) {
    Store.WriteString(ui::OptionSection, "DefaultTransparent", C.Transparent);
    Store.WriteString(ui::OptionSection, "DefaultReduction", C.Reduction);
    Store.WriteString(ui::OptionSection, "Quantize", C.Quantize);
    Store.WriteString(ui::OptionSection, "Dither", C.Dither);
    EXPECT_EQ(ReadColorOptions(Store), C.Expected) << C.Transparent;
  }
}

TEST_F(OptionsTest, WritingUsesTheStoredForms) {
  WriteColorOptions(Store, {0x00FF0000, 7, 5, 2});
  EXPECT_EQ(Store.ReadString(ui::OptionSection, "DefaultTransparent", ""), "$00FF0000");
  EXPECT_EQ(Store.ReadString(ui::OptionSection, "DefaultReduction", ""), "7");
  EXPECT_EQ(Store.ReadString(ui::OptionSection, "Quantize", ""), "5");
  EXPECT_EQ(Store.ReadString(ui::OptionSection, "Dither", ""), "2");
}

TEST_F(OptionsTest, OkStoresTheEditedValues) {
  WriteColorOptions(Store, {0x00123456, 2, 6, 1});
  TProgramOptionsForm Form(Store);
  EXPECT_EQ(Form.windowTitle(), "Program option");
  EXPECT_EQ(Form.findChild<QComboBox*>("ReductionCombo")->currentIndex(), 2);
  EXPECT_EQ(Form.findChild<QSpinBox*>("QuantizeEdit")->value(), 6);
  EXPECT_EQ(Form.findChild<QComboBox*>("DitherCombo")->currentIndex(), 1);
  uitest::TScriptedDialogs Dialogs({uitest::ChooseColor(0x00FF0000)});
  QTimer::singleShot(0, &Form, [&] {
    Form.findChild<QPushButton*>("ChangeTransparentBtn")->click();
    Form.findChild<QComboBox*>("ReductionCombo")->setCurrentIndex(7);
    Form.findChild<QSpinBox*>("QuantizeEdit")->setValue(4);
    Form.findChild<QComboBox*>("DitherCombo")->setCurrentIndex(6);
    Form.findChild<QPushButton*>("OkBtn")->click();
  });
  EXPECT_EQ(Form.ShowModal(), ui::mrOk);
  EXPECT_EQ(Dialogs.Calls()[0].Color, 0x00123456);
  EXPECT_EQ(ReadColorOptions(Store), (TColorOptions{0x00FF0000, 7, 4, 6}));
}

TEST_F(OptionsTest, CancelStoresNothing) {
  TProgramOptionsForm Form(Store);
  QTimer::singleShot(0, &Form, [&] {
    Form.findChild<QSpinBox*>("QuantizeEdit")->setValue(3);
    Form.findChild<QPushButton*>("CancelBtn")->click();
  });
  EXPECT_EQ(Form.ShowModal(), ui::mrCancel);
  EXPECT_FALSE(Store.ValueExists(ui::OptionSection, "Quantize"));
}
