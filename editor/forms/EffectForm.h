// TEffectForm: what the option dialogs of the four frame transitions share. Each is
// made once and keeps its settings from one use to the next; Ok closes only when the
// boxes hold a usable run (a first frame from 1, a count from 2).
#pragma once

#include <QDialog>
#include <QObject>
#include <QPushButton>

#include "editor/controls/EditN.h"

class QCheckBox;

namespace editor {

// The largest first frame, count and line count a box takes.
inline constexpr int MaxEffectValue = 65535;

// The boxes every effect dialog starts with, as they stand after Ok.
class TEffectForm : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;
  virtual TEditN* FirstFrame() const = 0;
  virtual TEditN* CountFrame() const = 0;
  virtual QCheckBox* UsePaslette() const = 0;
  virtual QCheckBox* CopyFrame() const = 0;
  int FirstFrameValue() const;
  int CountFrameValue() const;

  void accept() override;

 protected:
  // False after showing what is wrong with a box of the form's own.
  virtual bool CheckOwnFields() { return true; }
};

// Integer boxes, Ok and Cancel: what every effect dialog wires the same way.
template <class TUi>
void SetUpEffectForm(TEffectForm& Form, TUi& Ui) {
  Ui.setupUi(&Form);
  Ui.FirstFrame->SetEditType(etInteger);
  Ui.CountFrame->SetEditType(etInteger);
  QObject::connect(Ui.OkButton, &QPushButton::clicked, &Form, &QDialog::accept);
  QObject::connect(Ui.CancelButton, &QPushButton::clicked, &Form, &QDialog::reject);
}

}  // namespace editor
