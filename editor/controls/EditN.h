// TEditN: the dialogs' single-line edit box. It filters typed keys by a value type,
// keeps the typed value in numeric form, completes partly typed dates and times and
// pads the text when the box is left. Its messages are shown after the handler that
// found the problem has returned, never from inside the change handling.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QTime>
#include <functional>
#include <optional>

#include "platform/base/Types.h"

namespace editor {

// Its settings are properties, so that a form's .ui file sets them by name.
class TEditN : public QLineEdit {
  Q_OBJECT

 public:
  enum class TEditTypes { etString, etInteger, etFloat, etDate, etTime };
  Q_ENUM(TEditTypes)
  enum class TEditAlign { etAlignRight, etAlignLeft, etAlignCenter, etAlignNone, etAlignValue };
  Q_ENUM(TEditAlign)

 private:
  Q_PROPERTY(TEditTypes EditType READ EditType WRITE SetEditType)
  Q_PROPERTY(TEditAlign EditAlign READ EditAlign WRITE SetEditAlign)
  Q_PROPERTY(int EditLengthAlign READ EditLengthAlign WRITE SetEditLengthAlign)
  Q_PROPERTY(int EditPrecision READ EditPrecision WRITE SetEditPrecision)
  Q_PROPERTY(bool TimeSeconds READ TimeSeconds WRITE SetTimeSeconds)
  Q_PROPERTY(bool FirstCharUpper READ FirstCharUpper WRITE SetFirstCharUpper)
  Q_PROPERTY(QString FirstCharUpList READ FirstCharUpList WRITE SetFirstCharUpList)
  Q_PROPERTY(int WidthOnFocus READ WidthOnFocus WRITE SetWidthOnFocus)
  Q_PROPERTY(int ColorOnFocus READ ColorOnFocus WRITE SetColorOnFocus)
  Q_PROPERTY(int ColorOnNotFocus READ ColorOnNotFocus WRITE SetColorOnNotFocus)
  Q_PROPERTY(int FontColorOnFocus READ FontColorOnFocus WRITE SetFontColorOnFocus)
  Q_PROPERTY(int FontColorOnNotFocus READ FontColorOnNotFocus WRITE SetFontColorOnNotFocus)

 public:
  using TNotify = std::function<void(QWidget* Sender)>;

  explicit TEditN(QWidget* Parent = nullptr);

  TEditTypes EditType() const { return FEditType; }
  void SetEditType(TEditTypes Value) { FEditType = Value; }
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAlign(TEditAlign Value) { FEditAlign = Value; }
  int EditLengthAlign() const { return FEditLengthAlign; }
  void SetEditLengthAlign(int Value) { FEditLengthAlign = Value; }
  int EditPrecision() const { return FEditPrecision; }
  void SetEditPrecision(int Value) { FEditPrecision = Value; }
  QChar EditKeyByTab() const { return FEditKeyByTab; }
  void SetEditKeyByTab(QChar Value) { FEditKeyByTab = Value; }

  int ValueInteger() const { return FValueInteger; }
  void SetValueInteger(int Value) { FValueInteger = Value; }
  double ValueFloat() const { return FValueFloat; }
  void SetValueFloat(double Value) { FValueFloat = Value; }
  QDate ValueDate() const { return FValueDate; }
  void SetValueDate(QDate Value) { FValueDate = Value; }
  QTime ValueTime() const { return FValueTime; }
  void SetValueTime(QTime Value) { FValueTime = Value; }
  bool TimeSeconds() const { return FTimeSeconds; }
  void SetTimeSeconds(bool Value) { FTimeSeconds = Value; }

  bool FirstCharUpper() const { return FFirstCharUpper; }
  void SetFirstCharUpper(bool Value) { FFirstCharUpper = Value; }
  QString FirstCharUpList() const { return FFirstCharUpList; }
  void SetFirstCharUpList(const QString& Value) { FFirstCharUpList = Value; }

  int WidthOnFocus() const { return FWidthOnFocus; }
  void SetWidthOnFocus(int Value) { FWidthOnFocus = Value; }
  base::TColor ColorOnFocus() const { return FColorOnFocus; }
  void SetColorOnFocus(base::TColor Value) { FColorOnFocus = Value; }
  base::TColor ColorOnNotFocus() const { return FColorOnNotFocus; }
  void SetColorOnNotFocus(base::TColor Value);
  base::TColor FontColorOnFocus() const { return FFontColorOnFocus; }
  void SetFontColorOnFocus(base::TColor Value) { FFontColorOnFocus = Value; }
  base::TColor FontColorOnNotFocus() const { return FFontColorOnNotFocus; }
  void SetFontColorOnNotFocus(base::TColor Value);

  // The maximum length as the box understands it: 0 means no limit.
  int MaxLength() const;
  void SetMaxLength(int Value);

  // The clock that "today" and "now" come from.
  std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

  TNotify OnEnter;
  TNotify OnExit;
  TNotify OnChange;

 protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;

  virtual void DoEnter();
  virtual void DoExit();
  virtual void Change();

 private:
  // Returns the character to insert; a null character drops the key.
  QChar FilterKey(QChar Key);
  void ApplyColors(base::TColor Background, base::TColor Text);
  void NormalizeDate();
  void NormalizeTime();
  // The typing limit of a type, never below the text already there.
  void SetTypingLimit(int Limit);
  // A text the box completes itself is shown whole, even beyond the typing limit.
  void SetWholeText(const QString& Value);
  void ReportLater(const QString& Text);

  TEditTypes FEditType = TEditTypes::etString;
  TEditAlign FEditAlign = TEditAlign::etAlignNone;
  int FEditLengthAlign = 0;
  int FEditPrecision = 0;
  QChar FEditKeyByTab = QChar(9);
  int FValueInteger = 0;
  double FValueFloat = 0;
  QDate FValueDate;
  QTime FValueTime;
  bool FTimeSeconds = false;
  bool FFirstCharUpper = false;
  QString FFirstCharUpList = QStringLiteral(" (");
  int FWidthOnFocus = 0;
  base::TColor FColorOnFocus = 0xFFFFFF;
  base::TColor FColorOnNotFocus = 0xC0C0C0;
  base::TColor FFontColorOnFocus = 0x0000FF;
  base::TColor FFontColorOnNotFocus = 0;

  QString FSavedText;
  int FSavedMinWidth = 0;
  int FSavedMaxWidth = 0;
  QChar FDecimalSeparator;
  QChar FDateSeparator;
  QChar FTimeSeparator;
};

using TEditTypes = TEditN::TEditTypes;
using enum TEditN::TEditTypes;
using TEditAlign = TEditN::TEditAlign;
using enum TEditN::TEditAlign;

// The box's whole text as a decimal integer; none when it is not one.
std::optional<int> ReadInteger(const TEditN& Edit);

}  // namespace editor
