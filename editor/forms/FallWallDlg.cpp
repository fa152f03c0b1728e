#include "editor/forms/FallWallDlg.h"

#include <QCheckBox>
#include <algorithm>

#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "ui_FallWallDlg.h"

namespace editor {

TFallWallForm::TFallWallForm(QWidget* Parent) : TEffectForm(Parent), Ui(std::make_unique<::Ui::TFallWallForm>()) {
  SetUpEffectForm(*this, *Ui);
  Ui->FallCB->SetFlat(true);
  connect(Ui->ScaleCB, &QCheckBox::toggled, this, &TFallWallForm::ScaleCBClick);
}

TFallWallForm::~TFallWallForm() = default;

TEditN* TFallWallForm::FirstFrame() const { return Ui->FirstFrame; }
TEditN* TFallWallForm::CountFrame() const { return Ui->CountFrame; }
QCheckBox* TFallWallForm::UsePaslette() const { return Ui->UsePaslette; }
QCheckBox* TFallWallForm::CopyFrame() const { return Ui->CopyFrame; }
TComboBox97* TFallWallForm::FallCB() const { return Ui->FallCB; }
QCheckBox* TFallWallForm::Unfold() const { return Ui->Unfold; }
QCheckBox* TFallWallForm::ScaleCB() const { return Ui->ScaleCB; }

TFallDirection TFallWallForm::Direction() const {
  return static_cast<TFallDirection>(std::max(0, Ui->FallCB->currentIndex()));
}

TFallMode TFallWallForm::Mode() const { return FallModeOf(Ui->Unfold->isChecked(), Ui->ScaleCB->isChecked()); }

void TFallWallForm::showEvent(QShowEvent* Event) {
  FormShow();
  TEffectForm::showEvent(Event);
}

void TFallWallForm::FormShow() {
  if (Ui->FallCB->currentIndex() < 0) Ui->FallCB->setCurrentIndex(0);
}

void TFallWallForm::ScaleCBClick() { Ui->Unfold->setEnabled(!Ui->ScaleCB->isChecked()); }

}  // namespace editor
