// The program-options dialog: the colour-reduction defaults of new images.
#pragma once

#include "platform/ui/Form.h"
#include "platform/ui/SettingsStore.h"
#include "plexor/ColorOptions.h"

class QComboBox;
class QFrame;
class QPushButton;
class QSpinBox;

namespace plexor {

class TProgramOptionsForm : public ui::TForm {
 public:
  ANIMORA_CLASS(TProgramOptionsForm)
  // Shows the values Store holds; OK writes them back to it.
  explicit TProgramOptionsForm(ui::TSettingsStore& Store, QWidget* Parent = nullptr);

  TColorOptions Options() const;

  void ChangeTransparentBtnClick();
  void OkBtnClick();

 private:
  void ShowColor();

  ui::TSettingsStore& FStore;
  base::TColor FTransparent;
  QFrame* FSwatch;
  QComboBox* FReduction;
  QSpinBox* FQuantize;
  QComboBox* FDither;
};

}  // namespace plexor
