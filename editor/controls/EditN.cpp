#include "editor/controls/EditN.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLocale>
#include <QMetaObject>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/base/Rounding.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/DialogService.h"

namespace editor {

namespace {

// QLineEdit's own "no limit".
constexpr int NoLimit = 32767;
constexpr int64_t IntegerLimit = 2147483647;

const char* const RangeMessage = "Range Max. : -2147483647 <-> 2147483647";
const char* const FormatMessage =
    "Range Max. :\r - Integer : -2147483647 <-> 2147483647\r - Float   : 5.0e-324 <-> 1.7e+308";

// The first character of a locale format that is not a letter.
QChar SeparatorOf(const QString& Format, QChar Fallback) {
  for (QChar C : Format)
    if (!C.isLetter()) return C;
  return Fallback;
}

QString OnlyDigits(const QString& Text) {
  QString Digits;
  for (QChar C : Text)
    if (C.isDigit()) Digits += C;
  return Digits;
}

// A '-' that is not first goes to the front (12- reads as -12).
QString MinusToFront(QString Text) {
  const qsizetype Minus = Text.indexOf('-', 1);
  if (Minus > 0) {
    Text.remove(Minus, 1);
    Text.prepend('-');
  }
  return Text;
}

QString PadLeft(const QString& Text, int Length, QChar Fill) {
  return Text.size() < Length ? QString(Length - Text.size(), Fill) + Text : Text;
}

QString PadRight(const QString& Text, int Length) {
  return Text.size() < Length ? Text + QString(Length - Text.size(), ' ') : Text;
}

// Whole days since 30 December 1899, the framework's date-time origin.
double DaySerial(QDate Date) { return static_cast<double>(QDate(1899, 12, 30).daysTo(Date)); }

double DayFraction(QTime Time) { return Time.msecsSinceStartOfDay() / 86400000.0; }

// A whole number of -?digits within 64 bits.
bool ParseInteger(const std::string& Text, int64_t& Value) {
  const char* End = Text.data() + Text.size();
  const auto [Ptr, Error] = std::from_chars(Text.data(), End, Value);
  return Error == std::errc() && Ptr == End && !Text.empty();
}

bool ParseFloat(std::string Text, char Separator, double& Value) {
  for (char& C : Text) {
    if (C == Separator)
      C = '.';
    else if (C == '.' || C == ',')
      return false;
  }
  const char* End = Text.data() + Text.size();
  const auto [Ptr, Error] = std::from_chars(Text.data(), End, Value, std::chars_format::fixed);
  return Error == std::errc() && Ptr == End && !Text.empty();
}

int ClampToInteger(double Value) {
  if (!(Value > -static_cast<double>(IntegerLimit))) return -static_cast<int>(IntegerLimit);
  if (!(Value < static_cast<double>(IntegerLimit))) return static_cast<int>(IntegerLimit);
  return static_cast<int>(std::trunc(Value));
}

}  // namespace

TEditN::TEditN(QWidget* Parent) : QLineEdit(Parent) {
  const QLocale Locale;
  FDecimalSeparator = Locale.decimalPoint().isEmpty() ? QChar('.') : Locale.decimalPoint().at(0);
  FDateSeparator = SeparatorOf(Locale.dateFormat(QLocale::ShortFormat), '/');
  FTimeSeparator = SeparatorOf(Locale.timeFormat(QLocale::ShortFormat), ':');
  const QDateTime Now = Clock();
  FValueDate = Now.date();
  FValueTime = Now.time();
  ApplyColors(FColorOnNotFocus, FFontColorOnNotFocus);
  connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TEditN::SetColorOnNotFocus(base::TColor Value) {
  FColorOnNotFocus = Value;
  if (!hasFocus()) ApplyColors(FColorOnNotFocus, FFontColorOnNotFocus);
}

void TEditN::SetFontColorOnNotFocus(base::TColor Value) {
  FFontColorOnNotFocus = Value;
  if (!hasFocus()) ApplyColors(FColorOnNotFocus, FFontColorOnNotFocus);
}

int TEditN::MaxLength() const { return maxLength() >= NoLimit ? 0 : maxLength(); }

void TEditN::SetMaxLength(int Value) { setMaxLength(Value <= 0 ? NoLimit : Value); }

void TEditN::ApplyColors(base::TColor Background, base::TColor Text) {
  QPalette Colors = palette();
  Colors.setColor(QPalette::Base, ui::ToQColor(Background));
  Colors.setColor(QPalette::Text, ui::ToQColor(Text));
  setPalette(Colors);
}

void TEditN::ReportLater(const QString& Text) {
  QMetaObject::invokeMethod(
      this, [Text] { ui::ShowMessage(Text.toStdString()); }, Qt::QueuedConnection);
}

void TEditN::keyPressEvent(QKeyEvent* Event) {
  const QString Typed = Event->text();
  const bool Shortcut = Event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (Typed.size() != 1 || Shortcut) {
    QLineEdit::keyPressEvent(Event);
    return;
  }
  const QChar Key = Typed.at(0);
  if (Key == FEditKeyByTab) {
    focusNextPrevChild(true);
    Event->accept();
    return;
  }
  if (Key.unicode() == 27) {
    setText(FSavedText);
    // Left to the dialog, which closes on Esc when it has a Cancel button.
    Event->ignore();
    return;
  }
  if (!Key.isPrint() && Key.unicode() != 8 && Key.unicode() != 13) {
    QLineEdit::keyPressEvent(Event);
    return;
  }
  const QChar Result = FilterKey(Key);
  if (Result.isNull()) {
    Event->accept();
    return;
  }
  if (Result == Key) {
    QLineEdit::keyPressEvent(Event);
    return;
  }
  QKeyEvent Replaced(Event->type(), Event->key(), Event->modifiers(), QString(Result), Event->isAutoRepeat(),
                     static_cast<quint16>(Event->count()));
  QLineEdit::keyPressEvent(&Replaced);
}

QChar TEditN::FilterKey(QChar Key) {
  const QString Current = text();
  const bool Control = Key.unicode() == 8 || Key.unicode() == 13;
  switch (FEditType) {
    case etInteger:
      if ((Current.contains('-') || Key == '-') && MaxLength() == 0) SetMaxLength(11);
      if (Key == '-') return Current.contains('-') ? QChar() : Key;
      return Control || Key.isDigit() ? Key : QChar();
    case etFloat:
      if (Key == '-') return Current.contains('-') ? QChar() : Key;
      if (Key == ',' || Key == '.') return Current.contains(',') || Current.contains('.') ? QChar() : FDecimalSeparator;
      return Control || Key.isDigit() ? Key : QChar();
    case etDate:
    case etTime:
      return Control || Key.isDigit() ? Key : QChar();
    case etString:
      if (FFirstCharUpper && !Control) {
        const bool AllSelected = hasSelectedText() && selectedText() == Current;
        if (Current.isEmpty() || AllSelected || FFirstCharUpList.contains(Current.back()))
          return QLocale().toUpper(QString(Key)).at(0);
      }
      return Key;
  }
  return Key;
}

void TEditN::focusInEvent(QFocusEvent* Event) {
  QLineEdit::focusInEvent(Event);
  // Coming back to the window is not entering the box.
  if (Event->reason() != Qt::ActiveWindowFocusReason && Event->reason() != Qt::PopupFocusReason) DoEnter();
}

void TEditN::focusOutEvent(QFocusEvent* Event) {
  QLineEdit::focusOutEvent(Event);
  if (Event->reason() != Qt::ActiveWindowFocusReason && Event->reason() != Qt::PopupFocusReason) DoExit();
}

void TEditN::DoEnter() {
  if (FEditType == etFloat && MaxLength() == 0) SetMaxLength(16);
  ApplyColors(FColorOnFocus, FFontColorOnFocus);
  FSavedText = text();
  if (FWidthOnFocus > 0) {
    FSavedMinWidth = minimumWidth();
    FSavedMaxWidth = maximumWidth();
    setFixedWidth(FWidthOnFocus);
  }
  if (FEditType == etDate) SetTypingLimit(10);
  if (FEditType == etTime) SetTypingLimit(FTimeSeconds ? 8 : 5);
  if (OnEnter) OnEnter(this);
}

void TEditN::DoExit() {
  ApplyColors(FColorOnNotFocus, FFontColorOnNotFocus);
  if (FWidthOnFocus > 0) {
    setMinimumWidth(FSavedMinWidth);
    setMaximumWidth(FSavedMaxWidth);
  }
  const int L = FEditLengthAlign;
  if (FEditType == etString && !text().isEmpty()) {
    QString S = text();
    if (FFirstCharUpper) S.replace(0, 1, QLocale().toUpper(S.left(1)));
    if (FEditAlign != etAlignNone && L > 0 && S.size() < L) {
      switch (FEditAlign) {
        case etAlignRight:
          S = PadLeft(S, L, ' ');
          break;
        case etAlignLeft: {
          qsizetype Start = 0;
          while (Start < S.size() && S.at(Start) == ' ') ++Start;
          S = PadRight(S.mid(Start), L);
          break;
        }
        case etAlignCenter: {
          const auto Before = base::Round((L - S.size()) / 2.0);
          S = PadRight(QString(Before, ' ') + S, L);
          break;
        }
        case etAlignNone:
        case etAlignValue:
          break;
      }
    }
    setText(S);
  }
  if (FEditType == etInteger && FEditAlign == etAlignValue && L > 0) setText(PadLeft(text(), L, '0'));
  if (FEditType == etInteger || FEditType == etFloat) setText(MinusToFront(text()));
  if (FEditType == etFloat && FEditPrecision > 0) {
    const QString Point = QLocale().decimalPoint();
    FDecimalSeparator = Point.isEmpty() ? QChar('.') : Point.at(0);
    QString S = text().isEmpty() ? QStringLiteral("0") : text();
    const qsizetype At = S.indexOf(FDecimalSeparator);
    if (At < 0)
      S += FDecimalSeparator + QString(FEditPrecision, '0');
    else
      S = S.left(At + 1) + S.mid(At + 1).left(FEditPrecision).leftJustified(FEditPrecision, '0');
    setText(S);
  }
  if (FEditType == etFloat && FEditAlign == etAlignValue && L > 0) setText(PadLeft(text(), L, '0'));
  if (FEditType == etDate) NormalizeDate();
  if (FEditType == etTime) NormalizeTime();
  if (OnExit) OnExit(this);
}

void TEditN::Change() {
  const QString Current = text();
  if ((FEditType != etInteger && FEditType != etFloat) || Current.isEmpty()) {
    if (OnChange) OnChange(this);
    return;
  }
  QString Clean;
  for (QChar C : Current)
    if (C.isDigit() || C == '-' || (FEditType == etFloat && (C == ',' || C == '.'))) Clean += C;
  if (Clean != Current) {
    // Setting the text runs this handling again on the cleaned text.
    setText(Clean);
    return;
  }
  FValueInteger = 0;
  FValueFloat = 0;
  if (Current == "-") return;
  const std::string Number = MinusToFront(Current).toStdString();
  if (FEditType == etInteger) {
    int64_t Value = 0;
    const bool Digits = Number.find_first_not_of("-0123456789") == std::string::npos;
    if (ParseInteger(Number, Value) && Value >= -IntegerLimit && Value <= IntegerLimit) {
      FValueInteger = static_cast<int>(Value);
      FValueFloat = static_cast<double>(Value);
    } else if (Digits && Number.find('-', 1) == std::string::npos) {
      ReportLater(RangeMessage);
    } else {
      ReportLater(FormatMessage);
    }
  } else {
    double Value = 0;
    if (ParseFloat(Number, static_cast<char>(FDecimalSeparator.unicode()), Value) && std::isfinite(Value)) {
      FValueFloat = Value;
      FValueInteger = ClampToInteger(Value);
    } else {
      ReportLater(FormatMessage);
    }
  }
  if (OnChange) OnChange(this);
}

void TEditN::NormalizeDate() {
  const QDate Today = Clock().date();
  const QString S(FDateSeparator);
  const QString Month = QString::number(Today.month()).rightJustified(2, '0');
  const QString Year = QString::number(Today.year()).rightJustified(4, '0');
  const QString D = OnlyDigits(text());
  QString Built;
  switch (D.size()) {
    case 0:
      Built = QString::number(Today.day()).rightJustified(2, '0') + S + Month + S + Year;
      break;
    case 1:
      Built = "0" + D + S + Month + S + Year;
      break;
    case 2:
      Built = D + S + Month + S + Year;
      break;
    case 3:
      Built = D.left(2) + S + "0" + D.mid(2, 1) + S + Year;
      break;
    case 4:
      Built = D.left(2) + S + D.mid(2, 2) + S + Year;
      break;
    case 5:
    case 6:
    case 7:
      Built = D.left(2) + S + D.mid(2, 2) + S + Year.left(8 - D.size()) + D.mid(4);
      break;
    case 8:
    case 9:
    case 10:
      Built = D.left(2) + S + D.mid(2, 2) + S + D.mid(4, 4);
      break;
    default:
      Built = D;
      break;
  }
  // Read back in the order it was built: day, month, year.
  const QStringList Parts = Built.split(S);
  const QDate Read = Parts.size() == 3 ? QDate(Parts[2].toInt(), Parts[1].toInt(), Parts[0].toInt()) : QDate();
  if (!Read.isValid()) {
    ReportLater("Date incorrect");
    FValueDate = Today;
  } else {
    SetWholeText(Built);
    FValueDate = Read;
  }
  FValueFloat = DaySerial(FValueDate);
  FValueInteger = static_cast<int>(FValueFloat);
}

void TEditN::SetTypingLimit(int Limit) { SetMaxLength(std::max<int>(Limit, static_cast<int>(text().size()))); }

void TEditN::SetWholeText(const QString& Value) {
  if (MaxLength() > 0 && Value.size() > MaxLength()) SetMaxLength(static_cast<int>(Value.size()));
  setText(Value);
}

void TEditN::NormalizeTime() {
  const QDateTime Moment = Clock();
  const QTime Now = Moment.time();
  const QString T(FTimeSeparator);
  const QString NowText = Now.toString("hh") + T + Now.toString("mm") + T + Now.toString("ss");
  const QString D = OnlyDigits(text());
  const qsizetype N = D.size();
  QString Built;
  if (N == 0) {
    Built = NowText;
  } else if (N == 1) {
    Built = "0" + D + T + "00";
  } else if (N == 2) {
    Built = D + T + "00";
  } else if (N == 3) {
    Built = D.left(2) + T + "0" + D.mid(2, 1);
  } else if (N == 4 || (N == 5 && !FTimeSeconds)) {
    Built = D.left(2) + T + D.mid(2, 2);
  } else if (N == 5) {
    Built = D.left(2) + T + D.mid(2, 2) + T + "0" + D.mid(4, 1);
  } else if (N <= 8 && FTimeSeconds) {
    Built = D.left(2) + T + D.mid(2, 2) + T + D.mid(4, 2);
  } else {
    Built = D;
  }
  if (FTimeSeconds && N >= 1 && N <= 4) Built += T + "00";
  const QStringList Parts = Built.split(T);
  QTime Read;
  if (Parts.size() == 2 || Parts.size() == 3)
    Read = QTime(Parts[0].toInt(), Parts[1].toInt(), Parts.size() == 3 ? Parts[2].toInt() : 0);
  if (!Read.isValid()) {
    ReportLater("Time incorrect");
    SetWholeText(FTimeSeconds ? NowText : NowText.left(5));
    FValueTime = Now;
    // The moment itself, day and time.
    FValueFloat = DaySerial(Moment.date()) + DayFraction(Now);
  } else {
    SetWholeText(Built);
    FValueTime = Read;
    FValueFloat = DayFraction(FValueTime);
  }
}

std::optional<int> ReadInteger(const TEditN& Edit) {
  const std::string Text = Edit.text().toStdString();
  int Value = 0;
  const char* Last = Text.data() + Text.size();
  const auto [Ptr, Error] = std::from_chars(Text.data(), Last, Value);
  if (Error != std::errc() || Ptr != Last || Text.empty()) return std::nullopt;
  return Value;
}

}  // namespace editor
