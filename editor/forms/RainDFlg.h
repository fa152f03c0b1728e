// TRainForm: the options of rain: the target's pixels strewn over the run.
#pragma once

#include <memory>

#include "editor/forms/EffectForm.h"

class QCheckBox;

namespace Ui {
class TRainForm;
}

namespace editor {

class TRainForm : public TEffectForm {
  Q_OBJECT

 public:
  explicit TRainForm(QWidget* Parent = nullptr);
  ~TRainForm() override;
  TEditN* FirstFrame() const override;
  TEditN* CountFrame() const override;
  QCheckBox* UsePaslette() const override;
  QCheckBox* CopyFrame() const override;

 private:
  std::unique_ptr<Ui::TRainForm> Ui;
};

}  // namespace editor
