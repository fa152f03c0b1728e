#include "editor/forms/FrameOption.h"

#include "editor/controls/EditN.h"
#include "editor/forms/CheckedField.h"
#include "ui_FrameOption.h"

namespace editor {

TOptionForm::TOptionForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TOptionForm>()) {
  Ui->setupUi(this);
  connect(Ui->OkButton, &QPushButton::clicked, this, &TOptionForm::FormCloseQuery);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TOptionForm::~TOptionForm() = default;

TEditN* TOptionForm::EditWidth() const { return Ui->EditWidth; }
TEditN* TOptionForm::EditHeight() const { return Ui->EditHeight; }
TEditN* TOptionForm::LeftEdit() const { return Ui->LeftEdit; }
TEditN* TOptionForm::TopEdit() const { return Ui->TopEdit; }

void TOptionForm::SetValues(int Width, int Height, int Left, int Top) {
  Ui->EditWidth->setText(QString::number(Width));
  Ui->EditHeight->setText(QString::number(Height));
  Ui->LeftEdit->setText(QString::number(Left));
  Ui->TopEdit->setText(QString::number(Top));
}

int TOptionForm::FrameWidth() const { return ReadInteger(*Ui->EditWidth).value_or(0); }
int TOptionForm::FrameHeight() const { return ReadInteger(*Ui->EditHeight).value_or(0); }
int TOptionForm::FrameLeft() const { return ReadInteger(*Ui->LeftEdit).value_or(0); }
int TOptionForm::FrameTop() const { return ReadInteger(*Ui->TopEdit).value_or(0); }

void TOptionForm::accept() { FormCloseQuery(); }

void TOptionForm::FormCloseQuery() {
  const std::optional<int> Width = CheckedInteger(*Ui->EditWidth, "Frame width", 1, MaxFrameValue);
  if (!Width) return;
  const std::optional<int> Height = CheckedInteger(*Ui->EditHeight, "Frame height", 1, MaxFrameValue);
  if (!Height) return;
  // The frame's far edges must lie on a logical screen of 16-bit sides too.
  if (!CheckedInteger(*Ui->LeftEdit, "Left position", 0, MaxFrameValue - *Width)) return;
  if (!CheckedInteger(*Ui->TopEdit, "Top position", 0, MaxFrameValue - *Height)) return;
  QDialog::accept();
}

}  // namespace editor
