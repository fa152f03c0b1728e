#include "editor/forms/MoveApart.h"

#include <QCheckBox>
#include <QRadioButton>

#include "editor/controls/EditN.h"
#include "ui_MoveApart.h"

namespace editor {

TMoveApartForm::TMoveApartForm(QWidget* Parent) : TEffectForm(Parent), Ui(std::make_unique<::Ui::TMoveApartForm>()) {
  SetUpEffectForm(*this, *Ui);
}

TMoveApartForm::~TMoveApartForm() = default;

TEditN* TMoveApartForm::FirstFrame() const { return Ui->FirstFrame; }
TEditN* TMoveApartForm::CountFrame() const { return Ui->CountFrame; }
QCheckBox* TMoveApartForm::UsePaslette() const { return Ui->UsePaslette; }
QCheckBox* TMoveApartForm::CopyFrame() const { return Ui->CopyFrame; }
QRadioButton* TMoveApartForm::IncreaseButton() const { return Ui->IncreaseButton; }
QRadioButton* TMoveApartForm::DiminishButton() const { return Ui->DiminishButton; }
QRadioButton* TMoveApartForm::Horizontal() const { return Ui->Horizontal; }
QRadioButton* TMoveApartForm::Vertical() const { return Ui->Vertical; }
QCheckBox* TMoveApartForm::Scale() const { return Ui->Scale; }

}  // namespace editor
