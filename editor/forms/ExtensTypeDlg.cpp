#include "editor/forms/ExtensTypeDlg.h"

#include "ui_ExtensTypeDlg.h"

namespace editor {

TExtensType::TExtensType(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TExtensType>()) {
  Ui->setupUi(this);
  connect(Ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TExtensType::~TExtensType() = default;

QRadioButton* TExtensType::CommentRB() const { return Ui->CommentRB; }
QRadioButton* TExtensType::GraphContrExt() const { return Ui->GraphContrExt; }
QRadioButton* TExtensType::NetscapeLoop() const { return Ui->NetscapeLoop; }

}  // namespace editor
