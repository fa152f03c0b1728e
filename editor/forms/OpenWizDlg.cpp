#include "editor/forms/OpenWizDlg.h"

#include <QScreen>
#include <QShowEvent>

#include "editor/Settings.h"
#include "ui_OpenWizDlg.h"

namespace editor {

TOpenWizForm::TOpenWizForm(TOptionSettings& Settings, QWidget* Parent)
    : QDialog(Parent), FSettings(Settings), Ui(std::make_unique<::Ui::TOpenWizForm>()) {
  Ui->setupUi(this);
  connect(Ui->NewBtn, &QPushButton::clicked, this, &TOpenWizForm::NewBtnClick);
  connect(Ui->OpenBtn, &QPushButton::clicked, this, &TOpenWizForm::OpenBtnClick);
  connect(Ui->WizBtn, &QPushButton::clicked, this, &TOpenWizForm::WizBtnClick);
  connect(Ui->ImportBtn, &QPushButton::clicked, this, &TOpenWizForm::ImportBtnClick);
  connect(Ui->CloseBtn, &QPushButton::clicked, this, &TOpenWizForm::CloseBtnClick);
}

TOpenWizForm::~TOpenWizForm() = default;

QCheckBox* TOpenWizForm::ShowNextTime() const { return Ui->ShowNextTime; }

void TOpenWizForm::RunAndClose(const std::function<void()>& Command) {
  if (Command) Command();
  reject();
}

void TOpenWizForm::NewBtnClick() { RunAndClose(CreateButtonClick); }

void TOpenWizForm::OpenBtnClick() { RunAndClose(OpenButtonClick); }

void TOpenWizForm::WizBtnClick() { RunAndClose(GIFWizard1Click); }

void TOpenWizForm::ImportBtnClick() {
  RunAndClose([this] {
    if (CreateButtonClick) CreateButtonClick();
    if (HasProject && HasProject() && OpenImportWizard) OpenImportWizard();
  });
}

void TOpenWizForm::CloseBtnClick() { accept(); }

void TOpenWizForm::done(int Result) {
  FormClose();
  QDialog::done(Result);
}

void TOpenWizForm::FormClose() { FSettings.WriteBool(option::ShowOpenWiz, Ui->ShowNextTime->isChecked()); }

void TOpenWizForm::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  if (Event->spontaneous()) return;
  const QScreen* Screen = screen();
  if (Screen) move(Screen->availableGeometry().center() - rect().center());
}

}  // namespace editor
