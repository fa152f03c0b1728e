#include "editor/forms/NewGIF.h"

#include <charconv>
#include <optional>
#include <string>

#include "editor/controls/EditN.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "ui_NewGIF.h"

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

TCreateGIFForm::TCreateGIFForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TCreateGIFForm>()) {
  Ui->setupUi(this);
  for (TEditN* Edit : {Ui->FrameCountEdit, Ui->FrameWidthEdit, Ui->FrameHeightEdit}) Edit->SetEditType(etInteger);
  connect(Ui->OkButton, &QPushButton::clicked, this, &TCreateGIFForm::FormCloseQuery);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TCreateGIFForm::~TCreateGIFForm() = default;

TEditN* TCreateGIFForm::FrameCountEdit() const { return Ui->FrameCountEdit; }
TEditN* TCreateGIFForm::FrameWidthEdit() const { return Ui->FrameWidthEdit; }
TEditN* TCreateGIFForm::FrameHeightEdit() const { return Ui->FrameHeightEdit; }
int TCreateGIFForm::FrameCount() const { return ReadInteger(*Ui->FrameCountEdit).value_or(0); }
int TCreateGIFForm::FrameWidth() const { return ReadInteger(*Ui->FrameWidthEdit).value_or(0); }
int TCreateGIFForm::FrameHeight() const { return ReadInteger(*Ui->FrameHeightEdit).value_or(0); }

void TCreateGIFForm::accept() { FormCloseQuery(); }

void TCreateGIFForm::FormCloseQuery() {
  struct Field {
    TEditN* Edit;
    const char* Name;
    int Max;
  };
  const Field Fields[] = {{Ui->FrameCountEdit, "Frame count", MaxFrameCount},
                          {Ui->FrameWidthEdit, "Frame width", MaxFrameSide},
                          {Ui->FrameHeightEdit, "Frame height", MaxFrameSide}};
  long long Pixels = 1;
  for (const Field& F : Fields) {
    const std::optional<int> Value = ReadInteger(*F.Edit);
    std::string Problem;
    if (!Value) {
      // What the framework's conversion error says, in its error box.
      ui::Dialogs().MessageBox("'" + F.Edit->text().toStdString() + "' is not a valid integer value",
                               ui::ApplicationTitle(), ui::mtError, ui::mbOK);
      F.Edit->setFocus();
      return;
    }
    if (*Value < 1)
      Problem = std::string(F.Name) + "<1.";
    else if (*Value > F.Max)
      Problem = std::string(F.Name) + ">" + std::to_string(F.Max) + ".";
    if (!Problem.empty()) {
      ui::Dialogs().MessageBox(Problem, "Error!", ui::mtInformation, ui::mbOK);
      F.Edit->setFocus();
      return;
    }
    Pixels *= *Value;
  }
  if (Pixels > MaxTotalPixels) {
    ui::Dialogs().MessageBox("Frames too large.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  QDialog::accept();
}

}  // namespace editor
