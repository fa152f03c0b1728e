#include "editor/forms/EditPropDlg.h"

#include "editor/controls/EditN.h"
#include "ui_EditPropDlg.h"

namespace editor {

TEditPropertyForm::TEditPropertyForm(QWidget* Parent)
    : QDialog(Parent), Ui(std::make_unique<::Ui::TEditPropertyForm>()) {
  Ui->setupUi(this);
  Ui->EditValue->SetEditType(etInteger);
  connect(Ui->Button1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TEditPropertyForm::~TEditPropertyForm() = default;

QLabel* TEditPropertyForm::PropertyName() const { return Ui->PropertyName; }
QComboBox* TEditPropertyForm::ValueComboBox() const { return Ui->ValueComboBox; }
QComboBox* TEditPropertyForm::DispComboBox() const { return Ui->DispComboBox; }
TEditN* TEditPropertyForm::EditValue() const { return Ui->EditValue; }

}  // namespace editor
