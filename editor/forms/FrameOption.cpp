#include "editor/forms/FrameOption.h"

#include <charconv>
#include <optional>
#include <string>

#include "editor/controls/EditN.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "ui_FrameOption.h"

namespace editor {

namespace {

std::optional<int> ReadInteger(const TEditN& Edit) {
  const std::string Text = Edit.text().toStdString();
  int Value = 0;
  const char* Last = Text.data() + Text.size();
  const auto [Ptr, Error] = std::from_chars(Text.data(), Last, Value);
  if (Error != std::errc() || Ptr != Last || Text.empty()) return std::nullopt;
  return Value;
}

}  // namespace

TOptionForm::TOptionForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TOptionForm>()) {
  Ui->setupUi(this);
  for (TEditN* Edit : {Ui->EditWidth, Ui->EditHeight, Ui->LeftEdit, Ui->TopEdit}) Edit->SetEditType(etInteger);
  connect(Ui->OkButton, &QPushButton::clicked, this, &TOptionForm::FormCloseQuery);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TOptionForm::~TOptionForm() = default;

TEditN* TOptionForm::EditWidth() const { return Ui->EditWidth; }
TEditN* TOptionForm::EditHeight() const { return Ui->EditHeight; }
TEditN* TOptionForm::LeftEdit() const { return Ui->LeftEdit; }
TEditN* TOptionForm::TopEdit() const { return Ui->TopEdit; }

void TOptionForm::SetValues(int Width, int Height, int Left, int Top) {
  Ui->EditWidth->setText(QString::number(Width));
  Ui->EditHeight->setText(QString::number(Height));
  Ui->LeftEdit->setText(QString::number(Left));
  Ui->TopEdit->setText(QString::number(Top));
}

int TOptionForm::FrameWidth() const { return ReadInteger(*Ui->EditWidth).value_or(0); }
int TOptionForm::FrameHeight() const { return ReadInteger(*Ui->EditHeight).value_or(0); }
int TOptionForm::FrameLeft() const { return ReadInteger(*Ui->LeftEdit).value_or(0); }
int TOptionForm::FrameTop() const { return ReadInteger(*Ui->TopEdit).value_or(0); }

void TOptionForm::accept() { FormCloseQuery(); }

void TOptionForm::FormCloseQuery() {
  struct Field {
    TEditN* Edit;
    const char* Name;
    int Min;
  };
  const Field Fields[] = {{Ui->EditWidth, "Frame width", 1},
                          {Ui->EditHeight, "Frame height", 1},
                          {Ui->LeftEdit, "Left position", 0},
                          {Ui->TopEdit, "Top position", 0}};
  for (const Field& F : Fields) {
    const std::optional<int> Value = ReadInteger(*F.Edit);
    if (!Value) {
      // What the framework's conversion error says, in its error box.
      ui::Dialogs().MessageBox("'" + F.Edit->text().toStdString() + "' is not a valid integer value",
                               ui::ApplicationTitle(), ui::mtError, ui::mbOK);
      F.Edit->setFocus();
      return;
    }
    std::string Problem;
    if (*Value < F.Min)
      Problem = std::string(F.Name) + "<" + std::to_string(F.Min) + ".";
    else if (*Value > MaxFrameValue)
      Problem = std::string(F.Name) + ">" + std::to_string(MaxFrameValue) + ".";
    if (!Problem.empty()) {
      ui::Dialogs().MessageBox(Problem, "Error!", ui::mtInformation, ui::mbOK);
      F.Edit->setFocus();
      return;
    }
  }
  QDialog::accept();
}

}  // namespace editor
