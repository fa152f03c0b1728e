// TFallWallForm: the options of the fall wall: the target comes in as a wall that falls from one side.
#pragma once

#include <memory>

#include "editor/effects/TransitionPlans.h"
#include "editor/forms/EffectForm.h"

class QCheckBox;

namespace Ui {
class TFallWallForm;
}

namespace editor {

class TComboBox97;

class TFallWallForm : public TEffectForm {
  Q_OBJECT

 public:
  explicit TFallWallForm(QWidget* Parent = nullptr);
  ~TFallWallForm() override;
  TEditN* FirstFrame() const override;
  TEditN* CountFrame() const override;
  QCheckBox* UsePaslette() const override;
  QCheckBox* CopyFrame() const override;
  TComboBox97* FallCB() const;
  QCheckBox* Unfold() const;
  QCheckBox* ScaleCB() const;
  TFallDirection Direction() const;
  TFallMode Mode() const;

 public slots:
  void FormShow();
  void ScaleCBClick();

 protected:
  void showEvent(QShowEvent* Event) override;

 private:
  std::unique_ptr<Ui::TFallWallForm> Ui;
};

}  // namespace editor
