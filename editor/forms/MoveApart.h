// TMoveApartForm: the options of move apart: a window on the target that opens from the middle or closes toward it.
#pragma once

#include <memory>

#include "editor/forms/EffectForm.h"

class QCheckBox;
class QRadioButton;

namespace Ui {
class TMoveApartForm;
}

namespace editor {

class TMoveApartForm : public TEffectForm {
  Q_OBJECT

 public:
  explicit TMoveApartForm(QWidget* Parent = nullptr);
  ~TMoveApartForm() override;
  TEditN* FirstFrame() const override;
  TEditN* CountFrame() const override;
  QCheckBox* UsePaslette() const override;
  QCheckBox* CopyFrame() const override;
  QRadioButton* IncreaseButton() const;
  QRadioButton* DiminishButton() const;
  QRadioButton* Horizontal() const;
  QRadioButton* Vertical() const;
  QCheckBox* Scale() const;

 private:
  std::unique_ptr<Ui::TMoveApartForm> Ui;
};

}  // namespace editor
