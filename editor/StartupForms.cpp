#include "editor/StartupForms.h"

#include "editor/Main.h"
#include "editor/forms/EditPropDlg.h"
#include "editor/forms/ExchangePlace.h"
#include "editor/forms/ExtensTypeDlg.h"
#include "editor/forms/FallWallDlg.h"
#include "editor/forms/FrameOption.h"
#include "editor/forms/LinesDlg.h"
#include "editor/forms/MoveApart.h"
#include "editor/forms/MoveFrame.h"
#include "editor/forms/NewGIF.h"
#include "editor/forms/OpenWizDlg.h"
#include "editor/forms/PrevWizDlj.h"
#include "editor/forms/RainDFlg.h"
#include "editor/forms/RotationEffectDlg.h"
#include "editor/forms/SaveJPEGDlg.h"
#include "editor/forms/TextDlg.h"
#include "editor/forms/WizardMain.h"

namespace editor {

TStartupForms::TStartupForms(TGiffer& Main, TOptionSettings& Settings)
    : ExchangePlaceForm(std::make_unique<TExchangePlaceForm>(&Main)),
      MoveFrameForm(std::make_unique<TMoveFrameForm>(&Main)),
      EditPropertyForm(std::make_unique<TEditPropertyForm>(&Main)),
      ExtensTypeForm(std::make_unique<TExtensType>(&Main)),
      CreateGIFForm(std::make_unique<TCreateGIFForm>(&Main)),
      FallWallForm(std::make_unique<TFallWallForm>(&Main)),
      RainForm(std::make_unique<TRainForm>(&Main)),
      MoveApartForm(std::make_unique<TMoveApartForm>(&Main)),
      LinesForm(std::make_unique<TLinesForm>(&Main)),
      OptionForm(std::make_unique<TOptionForm>(&Main)),
      PreviewWizForm(std::make_unique<TPreviewWizForm>(&Main)),
      GIFWizardForm(std::make_unique<TGIFWizardForm>(Main, *PreviewWizForm, &Main)),
      OpenWizForm(std::make_unique<TOpenWizForm>(Settings, &Main)),
      SaveJPEGForm(std::make_unique<TSaveJPEGForm>(&Main)),
      TextForm(std::make_unique<TTextForm>(&Main)),
      RotationEffectForm(std::make_unique<TRotationEffectForm>(Main, &Main)) {}

// Each form leaves its owner's children as it goes, before the owner itself.
TStartupForms::~TStartupForms() = default;

}  // namespace editor
