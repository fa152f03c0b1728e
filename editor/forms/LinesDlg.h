// TLinesForm: the options of lines: the first frame cut into bands that retreat to alternate sides.
#pragma once

#include <memory>

#include "editor/forms/EffectForm.h"

class QCheckBox;
class QRadioButton;

namespace Ui {
class TLinesForm;
}

namespace editor {

class TLinesForm : public TEffectForm {
  Q_OBJECT

 public:
  explicit TLinesForm(QWidget* Parent = nullptr);
  ~TLinesForm() override;
  TEditN* FirstFrame() const override;
  TEditN* CountFrame() const override;
  QCheckBox* UsePaslette() const override;
  QCheckBox* CopyFrame() const override;
  TEditN* EditCount() const;
  QRadioButton* Horiz() const;
  QRadioButton* Vert() const;
  int LineCount() const;

 protected:
  bool CheckOwnFields() override;

 private:
  std::unique_ptr<Ui::TLinesForm> Ui;
};

}  // namespace editor
