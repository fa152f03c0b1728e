#include "editor/forms/LinesDlg.h"

#include <QCheckBox>
#include <QRadioButton>

#include "editor/controls/EditN.h"
#include "editor/forms/CheckedField.h"
#include "ui_LinesDlg.h"

namespace editor {

TLinesForm::TLinesForm(QWidget* Parent) : TEffectForm(Parent), Ui(std::make_unique<::Ui::TLinesForm>()) {
  SetUpEffectForm(*this, *Ui);
  Ui->EditCount->SetEditType(etInteger);
}

TLinesForm::~TLinesForm() = default;

TEditN* TLinesForm::FirstFrame() const { return Ui->FirstFrame; }
TEditN* TLinesForm::CountFrame() const { return Ui->CountFrame; }
QCheckBox* TLinesForm::UsePaslette() const { return Ui->UsePaslette; }
QCheckBox* TLinesForm::CopyFrame() const { return Ui->CopyFrame; }
TEditN* TLinesForm::EditCount() const { return Ui->EditCount; }
QRadioButton* TLinesForm::Horiz() const { return Ui->Horiz; }
QRadioButton* TLinesForm::Vert() const { return Ui->Vert; }
int TLinesForm::LineCount() const { return ReadInteger(*Ui->EditCount).value_or(0); }

bool TLinesForm::CheckOwnFields() {
  return CheckedInteger(*Ui->EditCount, "Count of lines", 1, MaxEffectValue).has_value();
}

}  // namespace editor
