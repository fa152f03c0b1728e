#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/ui/SettingsStore.h"

using namespace ui;

namespace {

std::string FileText(const std::string& Name) {
  QFile File(QString::fromStdString(Name));
  if (!File.open(QIODevice::ReadOnly)) return {};
  return File.readAll().toStdString();
}

}  // namespace

TEST(SettingsStore, TheProgramsFileIsTheUsersAnimoraIniInTheTestFolder) {
  TSettingsStore Store;
  const QString Expected = QSettings(QSettings::IniFormat, QSettings::UserScope, "Veltrane", "Animora").fileName();
  EXPECT_EQ(Store.FileName(), Expected.toStdString());
  EXPECT_NE(Store.FileName().find("/Veltrane/Animora.ini"), std::string::npos);
}

TEST(SettingsStore, ValuesAreTextInTheirSectionAndRoundTrip) {
  QTemporaryDir Dir;
  const std::string Name = (Dir.path() + "/settings.ini").toStdString();
  {
    TSettingsStore Store(Name);
    Store.WriteInteger(OptionSection, "Width", 600);
    Store.WriteInteger(OptionSection, "Left", -12);
    Store.WriteBool(OptionSection, "ShowOpenWiz", false);
    Store.WriteString(OptionSection, "DefaultTransparent", "$00010101");
    Store.UpdateFile();
    const std::string Text = FileText(Name);
    EXPECT_NE(Text.find("[Option]"), std::string::npos);
    EXPECT_NE(Text.find("Width=600"), std::string::npos);
    EXPECT_NE(Text.find("ShowOpenWiz=0"), std::string::npos);
  }
  TSettingsStore Again(Name);
  EXPECT_EQ(Again.ReadInteger(OptionSection, "Width", 1), 600);
  EXPECT_EQ(Again.ReadInteger(OptionSection, "Left", 1), -12);
  EXPECT_FALSE(Again.ReadBool(OptionSection, "ShowOpenWiz", true));
  EXPECT_EQ(Again.ReadString(OptionSection, "DefaultTransparent", ""), "$00010101");
  EXPECT_TRUE(Again.ValueExists(OptionSection, "Width"));
  EXPECT_FALSE(Again.ValueExists(OptionSection, "Heigth"));
  EXPECT_FALSE(Again.ValueExists("Other", "Width"));
}

TEST(SettingsStore, MissingOrUnreadableValuesReadAsTheirDefaults) {
  QTemporaryDir Dir;
  const QString Name = Dir.path() + "/hand-edited.ini";
  {
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("[Option]\nWidth=wide\nTop= 40 \nLeft=12px\nHeigth=99999999999\nTB1Left=\nShowOpenWiz=yes\n"
               "Dither=2\nQuantize=+7\nNote=a,b\n");
  }
  TSettingsStore Store(Name.toStdString());
  struct {
    const char* Ident;
    int Default;
    int Expected;
  } const Integers[] = {
      {"Width", 600, 600}, {"Top", 400, 40},     {"Left", 600, 600},   {"Heigth", 400, 400},
      {"TB1Left", 12, 12}, {"Quantize", 3, 7},   {"Missing", 5, 5},
  };
  for (const auto& C : Integers) EXPECT_EQ(Store.ReadInteger(OptionSection, C.Ident, C.Default), C.Expected) << C.Ident;
  EXPECT_TRUE(Store.ReadBool(OptionSection, "ShowOpenWiz", true));
  EXPECT_FALSE(Store.ReadBool(OptionSection, "ShowOpenWiz", false));
  EXPECT_TRUE(Store.ReadBool(OptionSection, "Dither", false));  // any number but 0
  EXPECT_EQ(Store.ReadString(OptionSection, "Note", ""), "a,b");
  EXPECT_EQ(Store.ReadString(OptionSection, "Absent", "dflt"), "dflt");
}

TEST(SettingsStore, DecimalParsing) {
  struct {
    const char* Text;
    bool Ok;
    int Value;
  } const Cases[] = {
      {"0", true, 0},       {"-5", true, -5},   {" 12 ", true, 12},   {"+3", true, 3},
      {"", false, 0},       {" ", false, 0},    {"1.5", false, 0},    {"0x10", false, 0},
      {"$10", false, 0},    {"2147483647", true, 2147483647},         {"2147483648", false, 0},
      {"--1", false, 0},    {"+-1", false, 0},
  };
  for (const auto& C : Cases) {
    int Value = 0;
    EXPECT_EQ(ParseDecimal(C.Text, Value), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(Value, C.Value) << C.Text;
    }
  }
}
