#include "editor/forms/RainDFlg.h"

#include <QCheckBox>

#include "editor/controls/EditN.h"
#include "ui_RainDFlg.h"

namespace editor {

TRainForm::TRainForm(QWidget* Parent) : TEffectForm(Parent), Ui(std::make_unique<::Ui::TRainForm>()) {
  SetUpEffectForm(*this, *Ui);
}

TRainForm::~TRainForm() = default;

TEditN* TRainForm::FirstFrame() const { return Ui->FirstFrame; }
TEditN* TRainForm::CountFrame() const { return Ui->CountFrame; }
QCheckBox* TRainForm::UsePaslette() const { return Ui->UsePaslette; }
QCheckBox* TRainForm::CopyFrame() const { return Ui->CopyFrame; }

}  // namespace editor
