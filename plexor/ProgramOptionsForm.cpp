#include "plexor/ProgramOptionsForm.h"

#include <QPushButton>

#include "platform/ui/Application.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/DialogService.h"
#include "ui_ProgramOptionsForm.h"

namespace plexor {

TProgramOptionsForm::TProgramOptionsForm(ui::TSettingsStore& Store, QWidget* Parent)
    : TForm(Parent), Ui(std::make_unique<::Ui::TProgramOptionsForm>()), FStore(Store) {
  Ui->setupUi(this);
  const TColorOptions Current = ReadColorOptions(Store);
  FTransparent = Current.DefaultTransparent;
  Ui->ReductionCombo->setCurrentIndex(Current.DefaultReduction);
  Ui->QuantizeEdit->setValue(Current.Quantize);
  Ui->DitherCombo->setCurrentIndex(Current.Dither);
  connect(Ui->ChangeTransparentBtn, &QPushButton::clicked, this,
          ui::GuardedSlot([this] { ChangeTransparentBtnClick(); }));
  connect(Ui->OkBtn, &QPushButton::clicked, this, ui::GuardedSlot([this] { OkBtnClick(); }));
  SetButtonModalResult(Ui->CancelBtn, ui::mrCancel);
  ShowColor();
}

TProgramOptionsForm::~TProgramOptionsForm() = default;

TColorOptions TProgramOptionsForm::Options() const {
  return {FTransparent, Ui->ReductionCombo->currentIndex(), Ui->QuantizeEdit->value(), Ui->DitherCombo->currentIndex()};
}

void TProgramOptionsForm::ChangeTransparentBtnClick() {
  ui::TColorDialog Dialog;
  Dialog.SetColor(FTransparent);
  if (!Dialog.Execute()) return;
  FTransparent = Dialog.Color();
  ShowColor();
}

void TProgramOptionsForm::OkBtnClick() {
  WriteColorOptions(FStore, Options());
  SetModalResult(ui::mrOk);
}

void TProgramOptionsForm::ShowColor() {
  QPalette Colors = Ui->TransparentShape->palette();
  Colors.setColor(QPalette::Window, ui::ToQColor(FTransparent));
  Ui->TransparentShape->setPalette(Colors);
}

}  // namespace plexor
