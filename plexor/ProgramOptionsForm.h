// The program-options dialog: the colour-reduction defaults of new images.
#pragma once

#include <memory>

#include "platform/ui/Form.h"
#include "platform/ui/SettingsStore.h"
#include "plexor/ColorOptions.h"

namespace Ui {
class TProgramOptionsForm;
}

namespace plexor {

class TProgramOptionsForm : public ui::TForm {
 public:
  ANIMORA_CLASS(TProgramOptionsForm)
  // Shows the values Store holds; OK writes them back to it.
  explicit TProgramOptionsForm(ui::TSettingsStore& Store, QWidget* Parent = nullptr);
  ~TProgramOptionsForm() override;

  TColorOptions Options() const;

  void ChangeTransparentBtnClick();
  void OkBtnClick();

 private:
  void ShowColor();

  std::unique_ptr<::Ui::TProgramOptionsForm> Ui;
  ui::TSettingsStore& FStore;
  base::TColor FTransparent;
};

}  // namespace plexor
