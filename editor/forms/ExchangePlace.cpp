#include "editor/forms/ExchangePlace.h"

#include "editor/controls/EditN.h"
#include "ui_ExchangePlace.h"

namespace editor {

TExchangePlaceForm::TExchangePlaceForm(QWidget* Parent)
    : QDialog(Parent), Ui(std::make_unique<::Ui::TExchangePlaceForm>()) {
  Ui->setupUi(this);
  for (TEditN* Edit : {Ui->FirstFrameEdit, Ui->SecondFrameEdit}) {
    Edit->SetEditType(etInteger);
    Edit->setText(QStringLiteral("1"));
  }
  connect(Ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TExchangePlaceForm::~TExchangePlaceForm() = default;

TEditN* TExchangePlaceForm::FirstFrameEdit() const { return Ui->FirstFrameEdit; }
TEditN* TExchangePlaceForm::SecondFrameEdit() const { return Ui->SecondFrameEdit; }

}  // namespace editor
