#include "editor/StartupForms.h"

#include "editor/forms/FrameOption.h"
#include "editor/forms/NewGIF.h"
#include "editor/forms/OpenWizDlg.h"
#include "editor/forms/SaveJPEGDlg.h"
#include "editor/forms/TextDlg.h"

namespace editor {

TStartupForms::TStartupForms(QWidget* Owner, TOptionSettings& Settings)
    : CreateGIFForm(std::make_unique<TCreateGIFForm>(Owner)),
      OptionForm(std::make_unique<TOptionForm>(Owner)),
      OpenWizForm(std::make_unique<TOpenWizForm>(Settings, Owner)),
      SaveJPEGForm(std::make_unique<TSaveJPEGForm>(Owner)),
      TextForm(std::make_unique<TTextForm>(Owner)) {}

// Each form leaves its owner's children as it goes, before the owner itself.
TStartupForms::~TStartupForms() = default;

}  // namespace editor
