#include "editor/forms/EffectForm.h"

#include "editor/controls/EditN.h"
#include "editor/forms/CheckedField.h"

namespace editor {

int TEffectForm::FirstFrameValue() const { return ReadInteger(*FirstFrame()).value_or(0); }
int TEffectForm::CountFrameValue() const { return ReadInteger(*CountFrame()).value_or(0); }

void TEffectForm::accept() {
  if (!CheckedInteger(*FirstFrame(), "First frame", 1, MaxEffectValue)) return;
  if (!CheckedInteger(*CountFrame(), "Count of frame", 2, MaxEffectValue)) return;
  if (!CheckOwnFields()) return;
  QDialog::accept();
}

}  // namespace editor
