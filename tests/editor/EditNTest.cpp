#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <memory>

#include "editor/controls/EditN.h"
#include "tests/editor/EditorTestSupport.h"

using editor::TEditAlign;
using editor::TEditN;
using editor::TEditTypes;
using editortest::Messages;
using editortest::RunPosted;
using editortest::SendFocus;
using uitest::TScriptedDialogs;
using MessageList = std::vector<std::pair<std::string, std::string>>;

namespace {

const char* const RangeText = "Range Max. : -2147483647 <-> 2147483647";
const char* const FormatText =
    "Range Max. :\r - Integer : -2147483647 <-> 2147483647\r - Float   : 5.0e-324 <-> 1.7e+308";

// The locale a box reads its separators from when it is made.
class LocaleScope {
 public:
  explicit LocaleScope(const QLocale& Locale) { QLocale::setDefault(Locale); }
  ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

std::unique_ptr<TEditN> MakeEdit(TEditTypes Type) {
  auto Edit = std::make_unique<TEditN>();
  Edit->SetEditType(Type);
  return Edit;
}

// 8 December 2026, 14:05:09.
QDateTime FixedNow() { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)); }

struct TypingCase {
  TEditTypes Type;
  bool GermanLocale;
  bool FirstCharUpper;
  const char* Keys;
  const char* Expected;
};

void PrintTo(const TypingCase& C, std::ostream* Out) { *Out << "type " << int(C.Type) << " keys \"" << C.Keys << "\""; }

class EditNTyping : public testing::TestWithParam<TypingCase> {};

TEST_P(EditNTyping, KeepsOnlyTheKeysOfItsType) {
  const TypingCase& Case = GetParam();
  LocaleScope Locale(Case.GermanLocale ? German : English);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(Case.Type);
  Edit->SetFirstCharUpper(Case.FirstCharUpper);
  QTest::keyClicks(Edit.get(), QString::fromUtf8(Case.Keys));
  EXPECT_EQ(Edit->text().toStdString(), Case.Expected);
  RunPosted();
  EXPECT_TRUE(Dialogs.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, EditNTyping,
                         testing::Values(TypingCase{TEditTypes::etInteger, false, false, "-5-", "-5"},
                                         TypingCase{TEditTypes::etInteger, false, false, "1#2$3%4'5", "12345"},
                                         TypingCase{TEditTypes::etInteger, false, false, "4a.b,2 ", "42"},
                                         TypingCase{TEditTypes::etFloat, false, false, "1.2.3", "1.23"},
                                         TypingCase{TEditTypes::etFloat, false, false, "-1,5-", "-1.5"},
                                         TypingCase{TEditTypes::etFloat, true, false, "3.14", "3,14"},
                                         TypingCase{TEditTypes::etFloat, true, false, "3,1.4", "3,14"},
                                         TypingCase{TEditTypes::etFloat, false, false, "#2$%'", "2"},
                                         TypingCase{TEditTypes::etDate, false, false, "1-2/3#$%'x", "123"},
                                         TypingCase{TEditTypes::etTime, false, false, "9:30am", "930"},
                                         TypingCase{TEditTypes::etString, false, false, "a#b (c", "a#b (c"},
                                         TypingCase{TEditTypes::etString, false, true, "hello (world) again",
                                                    "Hello (World) Again"}));

TEST(EditN, FirstMinusGivesAnIntegerBoxElevenCharacters) {
  auto Edit = MakeEdit(TEditTypes::etInteger);
  EXPECT_EQ(Edit->MaxLength(), 0);
  QTest::keyClicks(Edit.get(), "5");
  EXPECT_EQ(Edit->MaxLength(), 0);
  QTest::keyClicks(Edit.get(), "-");
  EXPECT_EQ(Edit->MaxLength(), 11);
}

TEST(EditN, RejectedKeysInsertNothing) {
  auto Edit = MakeEdit(TEditTypes::etInteger);
  QTest::keyClicks(Edit.get(), "x");
  EXPECT_TRUE(Edit->text().isEmpty());
}

struct ValueCase {
  TEditTypes Type;
  const char* Text;
  const char* ShownText;
  int Integer;
  double Float;
  const char* Message;
};

void PrintTo(const ValueCase& C, std::ostream* Out) { *Out << "type " << int(C.Type) << " text \"" << C.Text << "\""; }

class EditNValue : public testing::TestWithParam<ValueCase> {};

TEST_P(EditNValue, ReadsTheValueAndReportsAfterTheChange) {
  const ValueCase& Case = GetParam();
  LocaleScope Locale(English);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(Case.Type);
  size_t ShownDuringChange = 0;
  Edit->OnChange = [&](QWidget*) { ShownDuringChange += Dialogs.Calls().size(); };
  Edit->setText(QString::fromUtf8(Case.Text));
  EXPECT_EQ(Edit->text().toStdString(), Case.ShownText);
  EXPECT_EQ(Edit->ValueInteger(), Case.Integer);
  EXPECT_DOUBLE_EQ(Edit->ValueFloat(), Case.Float);
  EXPECT_EQ(ShownDuringChange, 0u);
  if (*Case.Message) Dialogs.Then(uitest::Press(ui::mrOk));
  RunPosted();
  if (*Case.Message)
    EXPECT_EQ(Messages(Dialogs), (MessageList{{Case.Message, ui::ApplicationTitle()}}));
  else
    EXPECT_TRUE(Dialogs.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, EditNValue,
    testing::Values(ValueCase{TEditTypes::etInteger, "42", "42", 42, 42, ""},
                    ValueCase{TEditTypes::etInteger, "12-", "12-", -12, -12, ""},
                    ValueCase{TEditTypes::etInteger, "1a2+3", "123", 123, 123, ""},
                    ValueCase{TEditTypes::etInteger, "2147483647", "2147483647", 2147483647, 2147483647, ""},
                    ValueCase{TEditTypes::etInteger, "2147483648", "2147483648", 0, 0, RangeText},
                    ValueCase{TEditTypes::etInteger, "-2147483648", "-2147483648", 0, 0, RangeText},
                    ValueCase{TEditTypes::etInteger, "99999999999999999999999", "99999999999999999999999", 0, 0,
                              RangeText},
                    ValueCase{TEditTypes::etInteger, "1-2-", "1-2-", 0, 0, FormatText},
                    ValueCase{TEditTypes::etInteger, "-", "-", 0, 0, ""},
                    ValueCase{TEditTypes::etFloat, "2.75", "2.75", 2, 2.75, ""},
                    ValueCase{TEditTypes::etFloat, "+2.5-", "2.5-", -2, -2.5, ""},
                    ValueCase{TEditTypes::etFloat, "1,5", "1,5", 0, 0, FormatText},
                    ValueCase{TEditTypes::etFloat, "1e5x", "15", 15, 15, ""},
                    ValueCase{TEditTypes::etFloat, "99999999999", "99999999999", 2147483647, 99999999999.0, ""}));

TEST(EditN, ChangeFiresOnChangeForEveryType) {
  for (TEditTypes Type : {TEditTypes::etString, TEditTypes::etDate, TEditTypes::etTime, TEditTypes::etInteger}) {
    auto Edit = MakeEdit(Type);
    int Changes = 0;
    Edit->OnChange = [&](QWidget* Sender) {
      EXPECT_EQ(Sender, Edit.get());
      ++Changes;
    };
    Edit->setText("12");
    EXPECT_EQ(Changes, 1);
  }
}

TEST(EditN, MessageOfADestroyedBoxIsStillShownSafely) {
  TScriptedDialogs Dialogs;
  {
    auto Edit = MakeEdit(TEditTypes::etInteger);
    Edit->setText("99999999999");
  }
  RunPosted();
  EXPECT_TRUE(Dialogs.Calls().empty());
}

struct ExitCase {
  TEditTypes Type;
  TEditAlign Align;
  int Length;
  int Precision;
  bool GermanLocale;
  const char* Text;
  const char* Expected;
};

void PrintTo(const ExitCase& C, std::ostream* Out) {
  *Out << "type " << int(C.Type) << " align " << int(C.Align) << " length " << C.Length << " text \"" << C.Text << "\"";
}

class EditNExit : public testing::TestWithParam<ExitCase> {};

TEST_P(EditNExit, PadsAndAlignsWhenLeft) {
  const ExitCase& Case = GetParam();
  LocaleScope Locale(Case.GermanLocale ? German : English);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(Case.Type);
  Edit->SetEditAlign(Case.Align);
  Edit->SetEditLengthAlign(Case.Length);
  Edit->SetEditPrecision(Case.Precision);
  Edit->setText(QString::fromUtf8(Case.Text));
  SendFocus(*Edit, QEvent::FocusIn);
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->text().toStdString(), Case.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Padding, EditNExit,
    testing::Values(ExitCase{TEditTypes::etString, TEditAlign::etAlignCenter, 6, 0, false, "ab", "  ab  "},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignCenter, 6, 0, false, "abc", "  abc "},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignCenter, 7, 0, false, "abc", "  abc  "},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignRight, 5, 0, false, "ab", "   ab"},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignLeft, 5, 0, false, "  ab", "ab   "},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignRight, 2, 0, false, "abc", "abc"},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignNone, 6, 0, false, "ab", "ab"},
                    ExitCase{TEditTypes::etString, TEditAlign::etAlignRight, 0, 0, false, "ab", "ab"},
                    ExitCase{TEditTypes::etInteger, TEditAlign::etAlignValue, 4, 0, false, "5-", "-005"},
                    ExitCase{TEditTypes::etInteger, TEditAlign::etAlignValue, 4, 0, false, "42", "0042"},
                    ExitCase{TEditTypes::etInteger, TEditAlign::etAlignNone, 4, 0, false, "12-", "-12"},
                    ExitCase{TEditTypes::etFloat, TEditAlign::etAlignNone, 0, 2, true, "3", "3,00"},
                    ExitCase{TEditTypes::etFloat, TEditAlign::etAlignNone, 0, 2, true, "3,14159", "3,14"},
                    ExitCase{TEditTypes::etFloat, TEditAlign::etAlignNone, 0, 3, false, "2.5", "2.500"},
                    ExitCase{TEditTypes::etFloat, TEditAlign::etAlignNone, 0, 2, false, "", "0.00"},
                    ExitCase{TEditTypes::etFloat, TEditAlign::etAlignValue, 6, 1, false, "2", "0002.0"}));

TEST(EditN, StringFirstCharUpperCapitalisesOnExit) {
  auto Edit = MakeEdit(TEditTypes::etString);
  Edit->SetFirstCharUpper(true);
  Edit->setText("zebra");
  SendFocus(*Edit, QEvent::FocusIn);
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->text(), "Zebra");
}

struct CompletionCase {
  TEditTypes Type;
  bool Seconds;
  const char* Text;
  const char* Expected;
  const char* Message;
};

void PrintTo(const CompletionCase& C, std::ostream* Out) {
  *Out << "type " << int(C.Type) << (C.Seconds ? " with seconds" : "") << " text \"" << C.Text << "\"";
}

class EditNCompletion : public testing::TestWithParam<CompletionCase> {};

TEST_P(EditNCompletion, CompletesDatesAndTimes) {
  const CompletionCase& Case = GetParam();
  LocaleScope Locale(German);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(Case.Type);
  Edit->Clock = FixedNow;
  Edit->SetTimeSeconds(Case.Seconds);
  Edit->setText(QString::fromUtf8(Case.Text));
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->text().toStdString(), Case.Expected);
  if (*Case.Message) Dialogs.Then(uitest::Press(ui::mrOk));
  RunPosted();
  if (*Case.Message)
    EXPECT_EQ(Messages(Dialogs), (MessageList{{Case.Message, ui::ApplicationTitle()}}));
  else
    EXPECT_TRUE(Dialogs.Calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Completion, EditNCompletion,
    testing::Values(CompletionCase{TEditTypes::etDate, false, "", "08.12.2026", ""},
                    CompletionCase{TEditTypes::etDate, false, "5", "05.12.2026", ""},
                    CompletionCase{TEditTypes::etDate, false, "17", "17.12.2026", ""},
                    CompletionCase{TEditTypes::etDate, false, "053", "05.03.2026", ""},
                    CompletionCase{TEditTypes::etDate, false, "0501", "05.01.2026", ""},
                    CompletionCase{TEditTypes::etDate, false, "05017", "05.01.2027", ""},
                    CompletionCase{TEditTypes::etDate, false, "050127", "05.01.2027", ""},
                    CompletionCase{TEditTypes::etDate, false, "0501031", "05.01.2031", ""},
                    CompletionCase{TEditTypes::etDate, false, "05.01.1999", "05.01.1999", ""},
                    CompletionCase{TEditTypes::etDate, false, "3102", "3102", "Date incorrect"},
                    CompletionCase{TEditTypes::etDate, false, "13/13", "13/13", "Date incorrect"},
                    CompletionCase{TEditTypes::etTime, false, "", "14:05:09", ""},
                    CompletionCase{TEditTypes::etTime, true, "", "14:05:09", ""},
                    CompletionCase{TEditTypes::etTime, false, "9", "09:00", ""},
                    CompletionCase{TEditTypes::etTime, true, "9", "09:00:00", ""},
                    CompletionCase{TEditTypes::etTime, false, "123", "12:03", ""},
                    CompletionCase{TEditTypes::etTime, true, "12345", "12:34:05", ""},
                    CompletionCase{TEditTypes::etTime, false, "12345", "12:34", ""},
                    CompletionCase{TEditTypes::etTime, true, "123456", "12:34:56", ""},
                    CompletionCase{TEditTypes::etTime, false, "1234567", "14:05", "Time incorrect"},
                    CompletionCase{TEditTypes::etTime, false, "2561", "14:05", "Time incorrect"},
                    CompletionCase{TEditTypes::etTime, true, "2561", "14:05:09", "Time incorrect"}));

TEST(EditN, DateValuesFollowTheDateRead) {
  LocaleScope Locale(German);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(TEditTypes::etDate);
  Edit->Clock = FixedNow;
  Edit->setText("0501");
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->ValueDate(), QDate(2026, 1, 5));
  // Days since 30 December 1899.
  EXPECT_EQ(Edit->ValueInteger(), 46027);
  EXPECT_DOUBLE_EQ(Edit->ValueFloat(), 46027.0);

  Edit->setText("3102");
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->ValueDate(), QDate(2026, 12, 8));
  Dialogs.Then(uitest::Press(ui::mrOk));
  RunPosted();
  EXPECT_EQ(Messages(Dialogs), (MessageList{{"Date incorrect", ui::ApplicationTitle()}}));
}

TEST(EditN, TimeValueFollowsTheTimeRead) {
  LocaleScope Locale(German);
  TScriptedDialogs Dialogs;
  auto Edit = MakeEdit(TEditTypes::etTime);
  Edit->Clock = FixedNow;
  Edit->setText("0630");
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->ValueTime(), QTime(6, 30));
  EXPECT_DOUBLE_EQ(Edit->ValueFloat(), 0.25 + 30.0 / 1440.0);
}

TEST(EditN, NowCompletedIntoAnEnteredTimeBoxKeepsItsFullText) {
  LocaleScope Locale(German);
  for (const bool Seconds : {false, true}) {
    auto Edit = MakeEdit(TEditTypes::etTime);
    Edit->Clock = FixedNow;
    Edit->SetTimeSeconds(Seconds);
    SendFocus(*Edit, QEvent::FocusIn);
    SendFocus(*Edit, QEvent::FocusOut);
    EXPECT_EQ(Edit->text().toStdString(), "14:05:09") << Seconds;
    // Entering again does not cut it to the typing limit either.
    SendFocus(*Edit, QEvent::FocusIn);
    EXPECT_EQ(Edit->text().toStdString(), "14:05:09") << Seconds;
  }
}

TEST(EditN, AFailedTimeTakesTheMomentItselfAsItsNumber) {
  LocaleScope Locale(German);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  auto Edit = MakeEdit(TEditTypes::etTime);
  Edit->Clock = FixedNow;
  Edit->setText("2561");
  SendFocus(*Edit, QEvent::FocusOut);
  RunPosted();
  EXPECT_EQ(Edit->ValueTime(), QTime(14, 5, 9));
  // 8 December 2026 is day 46364; 14:05:09 is 50709 seconds into it.
  EXPECT_DOUBLE_EQ(Edit->ValueFloat(), 46364.0 + 50709.0 / 86400.0);
}

TEST(EditN, TheSettingsArePropertiesAFormFileSetsByName) {
  auto Edit = MakeEdit(TEditTypes::etString);
  EXPECT_TRUE(Edit->setProperty("EditType", QStringLiteral("etFloat")));
  EXPECT_TRUE(Edit->setProperty("EditAlign", QVariant::fromValue(TEditAlign::etAlignValue)));
  EXPECT_TRUE(Edit->setProperty("EditLengthAlign", 6));
  EXPECT_TRUE(Edit->setProperty("EditPrecision", 2));
  EXPECT_TRUE(Edit->setProperty("ColorOnFocus", 0x00FFFF));
  EXPECT_TRUE(Edit->setProperty("FontColorOnNotFocus", 0x800000));
  EXPECT_EQ(Edit->EditType(), TEditTypes::etFloat);
  EXPECT_EQ(Edit->EditAlign(), TEditAlign::etAlignValue);
  EXPECT_EQ(Edit->EditLengthAlign(), 6);
  EXPECT_EQ(Edit->EditPrecision(), 2);
  EXPECT_EQ(Edit->ColorOnFocus(), 0x00FFFF);
  EXPECT_EQ(Edit->FontColorOnNotFocus(), 0x800000);
}

TEST(EditN, EnterSetsTheLengthLimitsOfItsType) {
  struct Case {
    TEditTypes Type;
    bool Seconds;
    int Limit;
  };
  for (const Case& C :
       {Case{TEditTypes::etFloat, false, 16}, Case{TEditTypes::etDate, false, 10}, Case{TEditTypes::etTime, true, 8},
        Case{TEditTypes::etTime, false, 5}, Case{TEditTypes::etString, false, 0}}) {
    auto Edit = MakeEdit(C.Type);
    Edit->SetTimeSeconds(C.Seconds);
    SendFocus(*Edit, QEvent::FocusIn);
    EXPECT_EQ(Edit->MaxLength(), C.Limit);
  }
}

TEST(EditN, EscRestoresTheTextOfEntering) {
  auto Edit = MakeEdit(TEditTypes::etString);
  Edit->setText("before");
  SendFocus(*Edit, QEvent::FocusIn);
  QTest::keyClicks(Edit.get(), " and after");
  QTest::keyClick(Edit.get(), Qt::Key_Escape);
  EXPECT_EQ(Edit->text(), "before");
}

TEST(EditN, FocusColoursComeAndGo) {
  auto Edit = MakeEdit(TEditTypes::etString);
  EXPECT_EQ(Edit->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
  SendFocus(*Edit, QEvent::FocusIn);
  EXPECT_EQ(Edit->palette().color(QPalette::Base), QColor(Qt::white));
  EXPECT_EQ(Edit->palette().color(QPalette::Text), QColor(Qt::red));
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(Edit->palette().color(QPalette::Text), QColor(Qt::black));
}

TEST(EditN, WidthOnFocusIsUndoneOnExit) {
  auto Edit = MakeEdit(TEditTypes::etString);
  Edit->setMinimumWidth(40);
  Edit->SetWidthOnFocus(150);
  SendFocus(*Edit, QEvent::FocusIn);
  EXPECT_EQ(Edit->minimumWidth(), 150);
  EXPECT_EQ(Edit->maximumWidth(), 150);
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Edit->minimumWidth(), 40);
  EXPECT_EQ(Edit->maximumWidth(), QWIDGETSIZE_MAX);
}

TEST(EditN, EnterAndExitEventsFireLast) {
  auto Edit = MakeEdit(TEditTypes::etInteger);
  Edit->SetEditAlign(TEditAlign::etAlignValue);
  Edit->SetEditLengthAlign(3);
  Edit->setText("7");
  std::vector<std::string> Seen;
  Edit->OnEnter = [&](QWidget*) {
    Seen.push_back("enter " + Edit->palette().color(QPalette::Base).name().toStdString());
  };
  Edit->OnExit = [&](QWidget*) { Seen.push_back("exit " + Edit->text().toStdString()); };
  SendFocus(*Edit, QEvent::FocusIn);
  SendFocus(*Edit, QEvent::FocusOut);
  EXPECT_EQ(Seen, (std::vector<std::string>{"enter #ffffff", "exit 007"}));
}

TEST(EditN, TheTabKeyOfTheBoxMovesToTheNextControl) {
  QWidget Form;
  auto* First = new TEditN(&Form);
  auto* Second = new TEditN(&Form);
  First->SetEditKeyByTab('\r');
  First->setText("12");
  Form.show();
  QApplication::setActiveWindow(&Form);
  First->setFocus();
  ASSERT_TRUE(First->hasFocus());
  QTest::keyClick(First, Qt::Key_Return);
  EXPECT_TRUE(Second->hasFocus());
  EXPECT_EQ(First->text(), "12");
}

}  // namespace
