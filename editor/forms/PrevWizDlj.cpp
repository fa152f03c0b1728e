#include "editor/forms/PrevWizDlj.h"

#include "platform/ui/WindowCanvas.h"
#include "ui_PrevWizDlj.h"

namespace editor {

TPreviewWizForm::TPreviewWizForm(QWidget* Parent) : QDialog(Parent), Ui(std::make_unique<::Ui::TPreviewWizForm>()) {
  Ui->setupUi(this);
  Ui->Image1->setFixedSize(241, 201);
}

TPreviewWizForm::~TPreviewWizForm() = default;

ui::TWindowCanvas* TPreviewWizForm::Image1() const { return Ui->Image1; }

void TPreviewWizForm::SetPicture(graphics::TBitmap& Picture) {
  Ui->Image1->Surface().Assign(&Picture);
  Ui->Image1->Invalidate();
}

}  // namespace editor
