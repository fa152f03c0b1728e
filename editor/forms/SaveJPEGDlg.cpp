#include "editor/forms/SaveJPEGDlg.h"

#include "ui_SaveJPEGDlg.h"

namespace editor {

TSaveJPEGForm::TSaveJPEGForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TSaveJPEGForm>()) {
  Ui->setupUi(this);
  connect(Ui->CompressQual, &QSlider::valueChanged, this, &TSaveJPEGForm::CompressQualChange);
  connect(Ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TSaveJPEGForm::~TSaveJPEGForm() = default;

QSlider* TSaveJPEGForm::CompressQual() const { return Ui->CompressQual; }
QLabel* TSaveJPEGForm::CompQualLabel() const { return Ui->CompQualLabel; }
QCheckBox* TSaveJPEGForm::Grayscale() const { return Ui->Grayscale; }
QCheckBox* TSaveJPEGForm::Smoothing() const { return Ui->Smoothing; }

void TSaveJPEGForm::CompressQualChange() { Ui->CompQualLabel->setText(QString::number(Ui->CompressQual->value())); }

}  // namespace editor
