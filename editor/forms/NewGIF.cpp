#include "editor/forms/NewGIF.h"

#include <optional>

#include "editor/controls/EditN.h"
#include "editor/forms/CheckedField.h"
#include "platform/ui/DialogService.h"
#include "ui_NewGIF.h"

namespace editor {

TCreateGIFForm::TCreateGIFForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TCreateGIFForm>()) {
  Ui->setupUi(this);
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
    const std::optional<int> Value = CheckedInteger(*F.Edit, F.Name, 1, F.Max);
    if (!Value) return;
    Pixels *= *Value;
  }
  if (Pixels > MaxTotalPixels) {
    ui::Dialogs().MessageBox("Frames too large.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  QDialog::accept();
}

}  // namespace editor
