#include "editor/forms/MoveFrame.h"

#include "editor/controls/EditN.h"
#include "ui_MoveFrame.h"

namespace editor {

TMoveFrameForm::TMoveFrameForm(QWidget* Parent)
    : QDialog(Parent), Ui(std::make_unique<::Ui::TMoveFrameForm>()) {
  Ui->setupUi(this);
  for (TEditN* Edit : {Ui->CurrentEdit, Ui->NewEdit}) {
    Edit->SetEditType(etInteger);
    Edit->setText(QStringLiteral("0"));
  }
  connect(Ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TMoveFrameForm::~TMoveFrameForm() = default;

TEditN* TMoveFrameForm::CurrentEdit() const { return Ui->CurrentEdit; }
TEditN* TMoveFrameForm::NewEdit() const { return Ui->NewEdit; }

}  // namespace editor
