#include "editor/forms/TextDlg.h"

#include <QShowEvent>

#include "editor/controls/ComboBox97.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/DialogService.h"
#include "ui_TextDlg.h"

namespace editor {

TTextForm::TTextForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TTextForm>()) {
  Ui->setupUi(this);
  SetShadowColor(0xFFFFFF);
  connect(Ui->TextEdit, &QLineEdit::textChanged, this, &TTextForm::TextEditChange);
  connect(Ui->Button3, &QPushButton::clicked, this, &TTextForm::Button3Click);
  connect(Ui->ChangeColorBtn, &QPushButton::clicked, this, &TTextForm::ChangeColorBtnClick);
  connect(Ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TTextForm::~TTextForm() = default;

QLineEdit* TTextForm::TextEdit() const { return Ui->TextEdit; }
QLabel* TTextForm::SimpleLabel() const { return Ui->SimpleLabel; }
QCheckBox* TTextForm::ShadowCB() const { return Ui->ShadowCB; }
TComboBox97* TTextForm::PosComboBox() const { return Ui->PosComboBox; }
QLineEdit* TTextForm::DispEdit() const { return Ui->DispEdit; }
QFrame* TTextForm::Shape1() const { return Ui->Shape1; }

void TTextForm::SetShadowColor(base::TColor Value) {
  FShadowColor = Value;
  QPalette Colors = Ui->Shape1->palette();
  Colors.setColor(QPalette::Window, ui::ToQColor(Value));
  Ui->Shape1->setPalette(Colors);
}

void TTextForm::SetFontColor(base::TColor Value) {
  FFontColor = Value;
  QPalette Colors = Ui->SimpleLabel->palette();
  Colors.setColor(QPalette::WindowText, ui::ToQColor(Value));
  Ui->SimpleLabel->setPalette(Colors);
}

void TTextForm::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  if (!Event->spontaneous()) FormShow();
}

void TTextForm::FormShow() { Ui->PosComboBox->setCurrentIndex(0); }

void TTextForm::TextEditChange() { Ui->SimpleLabel->setText(Ui->TextEdit->text()); }

void TTextForm::Button3Click() {
  ui::TFontDialog Dialog;
  Dialog.SetFont(Ui->SimpleLabel->font());
  Dialog.SetColor(FFontColor);
  if (!Dialog.Execute()) return;
  Ui->SimpleLabel->setFont(Dialog.Font());
  SetFontColor(Dialog.Color());
}

void TTextForm::ChangeColorBtnClick() {
  ui::TColorDialog Dialog;
  Dialog.SetColor(FShadowColor);
  if (Dialog.Execute()) SetShadowColor(Dialog.Color());
}

}  // namespace editor
