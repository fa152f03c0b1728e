#include <gtest/gtest.h>

#include <QSettings>
#include <map>

#include "platform/graphics/ColorText.h"
#include "editor/Settings.h"
#include "gif/GIFImage.h"
#include "tests/editor/EditorTestSupport.h"

using editor::TIntegerSetting;
using editor::TLayout;
using editor::TOptionSettings;
using editortest::TempSettings;
namespace option = editor::option;

namespace {

// What the file holds for Name, or "absent".
std::string Stored(const ui::TSettingsStore& Store, const char* Name) {
  return Store.ValueExists(ui::OptionSection, Name) ? Store.ReadString(ui::OptionSection, Name, "") : "absent";
}

struct IntegerDefault {
  const TIntegerSetting* Setting;
  const char* Name;
  int Default;
};

const IntegerDefault IntegerDefaults[] = {
    {&option::Width, "Width", 600},
    {&option::Heigth, "Heigth", 400},
    {&option::Left, "Left", 600},
    {&option::Top, "Top", 400},
    {&option::WinState, "WinState", 0},
    {&option::TB1Left, "TB1Left", 12},
    {&option::TB1Top, "TB1Top", 2},
    {&option::TB2Left, "TB2Left", 360},
    {&option::TB2Top, "TB2Top", 2},
    {&option::TB3Left, "TB3Left", 12},
    {&option::TB3Top, "TB3Top", 28},
    {&option::TB1Width, "TB1Width", 382},
    {&option::TB2Width, "TB2Width", 240},
    {&option::TB3Width, "TB3Width", 158},
    {&option::PreviewLeft, "PreviewLeft", 100},
    {&option::PreviewTop, "PreviewTop", 100},
    {&option::PreviewWidth, "PreviewWidth", 200},
    {&option::PreviewHeight, "PreviewHeight", 200},
    {&option::DefaultReduction, "DefaultReduction", 8},
    {&option::Quantize, "Quantize", 7},
    {&option::Dither, "Dither", 0},
};

TEST(OptionSettings, EveryIntegerHasItsNameAndDefault) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  for (const IntegerDefault& Entry : IntegerDefaults) {
    EXPECT_STREQ(Entry.Setting->Name, Entry.Name);
    EXPECT_EQ(Settings.ReadInteger(*Entry.Setting), Entry.Default) << Entry.Name;
  }
  EXPECT_STREQ(option::ShowOpenWiz.Name, "ShowOpenWiz");
  EXPECT_TRUE(Settings.ReadBool(option::ShowOpenWiz));
  EXPECT_STREQ(option::DefaultTransparent.Name, "DefaultTransparent");
  EXPECT_EQ(Settings.ReadString(option::DefaultTransparent), "$00010101");
}

TEST(OptionSettings, EveryIntegerRoundTrips) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  for (const IntegerDefault& Entry : IntegerDefaults) {
    const int Value = Entry.Setting->Min + 1 < Entry.Setting->Max ? Entry.Setting->Min + 1 : Entry.Setting->Max;
    Settings.WriteInteger(*Entry.Setting, Value);
    EXPECT_EQ(Stored(Temp.Store, Entry.Name), std::to_string(Value));
    EXPECT_EQ(Settings.ReadInteger(*Entry.Setting), Value) << Entry.Name;
  }
}

struct BadValue {
  const TIntegerSetting* Setting;
  const char* Text;
};

void PrintTo(const BadValue& C, std::ostream* Out) { *Out << C.Setting->Name << " = \"" << C.Text << "\""; }

class OptionSettingsBadValue : public testing::TestWithParam<BadValue> {};

TEST_P(OptionSettingsBadValue, ReadsAsTheDefault) {
  TempSettings Temp;
  Temp.Store.WriteString(ui::OptionSection, GetParam().Setting->Name, GetParam().Text);
  EXPECT_EQ(TOptionSettings(Temp.Store).ReadInteger(*GetParam().Setting), GetParam().Setting->Default);
}

INSTANTIATE_TEST_SUITE_P(HandEdited, OptionSettingsBadValue,
                         testing::Values(BadValue{&option::Width, "wide"}, BadValue{&option::Width, ""},
                                         BadValue{&option::Width, "0"}, BadValue{&option::Width, "-20"},
                                         BadValue{&option::Width, "99999999999"}, BadValue{&option::Heigth, "12px"},
                                         BadValue{&option::Left, "5px"}, BadValue{&option::Top, "1e3"},
                                         BadValue{&option::WinState, "3"}, BadValue{&option::WinState, "-1"},
                                         BadValue{&option::DefaultReduction, "10"}, BadValue{&option::Quantize, "2"},
                                         BadValue{&option::Quantize, "9"}, BadValue{&option::Dither, "7"},
                                         BadValue{&option::PreviewWidth, "$FF"}));

TEST(OptionSettings, BooleansAreOneAndZero) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  Settings.WriteBool(option::ShowOpenWiz, false);
  EXPECT_EQ(Stored(Temp.Store, "ShowOpenWiz"), "0");
  EXPECT_FALSE(Settings.ReadBool(option::ShowOpenWiz));
  Settings.WriteBool(option::ShowOpenWiz, true);
  EXPECT_EQ(Stored(Temp.Store, "ShowOpenWiz"), "1");
  EXPECT_TRUE(Settings.ReadBool(option::ShowOpenWiz));
  Temp.Store.WriteString(ui::OptionSection, "ShowOpenWiz", "no");
  EXPECT_TRUE(Settings.ReadBool(option::ShowOpenWiz));
  Temp.Store.WriteString(ui::OptionSection, "ShowOpenWiz", "2");
  EXPECT_TRUE(Settings.ReadBool(option::ShowOpenWiz));
}

TEST(Layout, WithNoSettingsTheWindowsOpenAtTheirDefaults) {
  TempSettings Temp;
  const TLayout Layout = editor::ReadLayout(TOptionSettings(Temp.Store));
  EXPECT_EQ(Layout.Main, (editor::TWindowBounds{600, 400, 600, 400}));
  EXPECT_EQ(Layout.MainState, editor::wsNormal);
  EXPECT_EQ(Layout.ToolBar1, base::Point(12, 2));
  EXPECT_EQ(Layout.ToolBar4, base::Point(360, 2));
  EXPECT_EQ(Layout.ToolBar3, base::Point(12, 28));
  EXPECT_EQ(Layout.ToolBar1Width, 382);
  EXPECT_EQ(Layout.ToolBar4Width, 240);
  EXPECT_EQ(Layout.ToolBar3Width, 158);
  EXPECT_EQ(Layout.Preview, (editor::TWindowBounds{100, 100, 200, 200}));
}

TEST(Layout, NormalWindowsWriteEverything) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  TLayout Layout;
  Layout.Main = {10, 20, 700, 500};
  Layout.ToolBar1 = {1, 2};
  Layout.ToolBar4 = {3, 4};
  Layout.ToolBar3 = {5, 6};
  Layout.Preview = {30, 40, 250, 260};
  editor::WriteLayout(Settings, Layout);
  const std::map<std::string, std::string> Expected{
      {"Width", "700"}, {"Heigth", "500"},     {"Left", "10"},       {"Top", "20"},           {"WinState", "0"},
      {"TB1Left", "1"}, {"TB1Top", "2"},       {"TB2Left", "3"},     {"TB2Top", "4"},         {"TB3Left", "5"},
      {"TB3Top", "6"},  {"PreviewLeft", "30"}, {"PreviewTop", "40"}, {"PreviewWidth", "250"}, {"PreviewHeight", "260"}};
  for (const auto& [Name, Value] : Expected) EXPECT_EQ(Stored(Temp.Store, Name.c_str()), Value) << Name;
  for (const char* Name : {"Height", "TB1Width", "TB2Width", "TB3Width", "ShowOpenWiz", "DefaultTransparent"})
    EXPECT_EQ(Stored(Temp.Store, Name), "absent") << Name;

  TLayout Read = editor::ReadLayout(Settings);
  Read.ToolBar1Width = Read.ToolBar4Width = Read.ToolBar3Width = 0;
  EXPECT_EQ(Read, Layout);
}

TEST(Layout, MaximisedKeepsTheLastNormalBounds) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  TLayout Layout;
  Layout.Main = {10, 20, 700, 500};
  Layout.Preview = {30, 40, 250, 260};
  editor::WriteLayout(Settings, Layout);
  Layout.Main = {0, 0, 1920, 1080};
  Layout.MainState = editor::wsMaximized;
  Layout.Preview = {0, 0, 900, 900};
  Layout.PreviewState = editor::wsMaximized;
  editor::WriteLayout(Settings, Layout);
  EXPECT_EQ(Stored(Temp.Store, "WinState"), "2");
  const TLayout Read = editor::ReadLayout(Settings);
  EXPECT_EQ(Read.MainState, editor::wsMaximized);
  EXPECT_EQ(Read.Main, (editor::TWindowBounds{10, 20, 700, 500}));
  EXPECT_EQ(Read.Preview, (editor::TWindowBounds{30, 40, 250, 260}));
}

TEST(Layout, MinimisedComesBackNormal) {
  TempSettings Temp;
  TOptionSettings Settings(Temp.Store);
  TLayout Layout;
  Layout.MainState = editor::wsMinimized;
  editor::WriteLayout(Settings, Layout);
  EXPECT_EQ(Stored(Temp.Store, "WinState"), "1");
  EXPECT_EQ(editor::ReadLayout(Settings).MainState, editor::wsNormal);
}

TEST(Layout, HeightIsNotRead) {
  TempSettings Temp;
  Temp.Store.WriteString(ui::OptionSection, "Height", "999");
  EXPECT_EQ(editor::ReadLayout(TOptionSettings(Temp.Store)).Main.Height, 400);
  Temp.Store.WriteString(ui::OptionSection, "Heigth", "321");
  EXPECT_EQ(editor::ReadLayout(TOptionSettings(Temp.Store)).Main.Height, 321);
}

void WriteAll(ui::TSettingsStore& Store, const std::map<std::string, std::string>& Values) {
  for (const auto& [Name, Value] : Values) Store.WriteString(ui::OptionSection, Name, Value);
}

class ColorDefaults : public testing::Test {
 protected:
  void SetUp() override { Saved = gif::GIFLibraryDefaults(); }
  void TearDown() override { gif::GIFLibraryDefaults() = Saved; }
  gif::TGIFLibraryDefaults Saved;
};

TEST_F(ColorDefaults, MissingValuesGiveTheDefaults) {
  TempSettings Temp;
  editor::ReadColorDefaults(TOptionSettings(Temp.Store));
  const gif::TGIFLibraryDefaults& D = gif::GIFLibraryDefaults();
  EXPECT_EQ(D.TransparentFill, 0x010101);
  EXPECT_EQ(D.ReductionMethod, gif::rdOptimizedWindows);
  EXPECT_EQ(D.QuantizeBits, 7);
  EXPECT_EQ(D.DitherKind, gif::dkNone);
}

TEST_F(ColorDefaults, StoredValuesReachTheLibrary) {
  TempSettings Temp;
  WriteAll(Temp.Store,
           {{"DefaultTransparent", "$00FF0000"}, {"DefaultReduction", "7"}, {"Quantize", "5"}, {"Dither", "1"}});
  editor::ReadColorDefaults(TOptionSettings(Temp.Store));
  const gif::TGIFLibraryDefaults& D = gif::GIFLibraryDefaults();
  EXPECT_EQ(D.TransparentFill, 0xFF0000);
  EXPECT_EQ(D.ReductionMethod, gif::rdQuantize);
  EXPECT_EQ(D.QuantizeBits, 5);
  EXPECT_EQ(D.DitherKind, gif::dkFloydSteinberg);
}

TEST_F(ColorDefaults, ABadTransparentColourDoesNotStopTheOthers) {
  TempSettings Temp;
  WriteAll(Temp.Store,
           {{"DefaultTransparent", "bluish"}, {"DefaultReduction", "2"}, {"Quantize", "4"}, {"Dither", "6"}});
  gif::GIFLibraryDefaults().TransparentFill = 0x123456;
  editor::ReadColorDefaults(TOptionSettings(Temp.Store));
  const gif::TGIFLibraryDefaults& D = gif::GIFLibraryDefaults();
  EXPECT_EQ(D.TransparentFill, 0x010101);
  EXPECT_EQ(D.ReductionMethod, gif::rdWindows256);
  EXPECT_EQ(D.QuantizeBits, 4);
  EXPECT_EQ(D.DitherKind, gif::dkBurkes);
}

struct ColorTextCase {
  const char* Text;
  std::optional<base::TColor> Expected;
};

void PrintTo(const ColorTextCase& C, std::ostream* Out) { *Out << "\"" << C.Text << "\""; }

class ColorText : public testing::TestWithParam<ColorTextCase> {};

TEST_P(ColorText, ReadsNamesAndNumbers) { EXPECT_EQ(graphics::StringToColor(GetParam().Text), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(Texts, ColorText,
                         testing::Values(ColorTextCase{"$00FF0000", 0xFF0000}, ColorTextCase{"$00010101", 0x010101},
                                         ColorTextCase{"$80000005", static_cast<base::TColor>(0x80000005u)},
                                         ColorTextCase{"255", 0xFF}, ColorTextCase{"-1", -1},
                                         ColorTextCase{"clRed", 0x0000FF}, ColorTextCase{"CLBLUE", 0xFF0000},
                                         ColorTextCase{"clWhite", 0xFFFFFF},
                                         ColorTextCase{"clBtnFace", static_cast<base::TColor>(0x8000000Fu)},
                                         ColorTextCase{"clInfoBk", static_cast<base::TColor>(0x80000018u)},
                                         ColorTextCase{"clScrollBar", static_cast<base::TColor>(0x80000000u)},
                                         ColorTextCase{"", std::nullopt}, ColorTextCase{"$", std::nullopt},
                                         ColorTextCase{"$1FFFFFFFF", std::nullopt},
                                         ColorTextCase{"clRedish", std::nullopt}, ColorTextCase{"12 ", std::nullopt},
                                         ColorTextCase{"4294967296", std::nullopt}));

TEST(OptionSettings, TheUsersFileKeepsTheSectionOption) {
  {
    ui::TSettingsStore Store;
    TOptionSettings Settings(Store);
    Settings.WriteInteger(option::Heigth, 321);
    Settings.WriteBool(option::ShowOpenWiz, false);
  }
  const QSettings File(QSettings::IniFormat, QSettings::UserScope, "Veltrane", "Animora");
  EXPECT_TRUE(File.fileName().endsWith("/Veltrane/Animora.ini")) << File.fileName().toStdString();
  EXPECT_EQ(File.value("Option/Heigth").toString(), "321");
  EXPECT_EQ(File.value("Option/ShowOpenWiz").toString(), "0");
  EXPECT_FALSE(File.contains("Option/Height"));
  ui::TSettingsStore Again;
  EXPECT_EQ(editor::ReadLayout(TOptionSettings(Again)).Main.Height, 321);
}

}  // namespace
