// The dialogs the program makes once, when the main window is made, in the order the
// program starts them. They live as long as the main window and keep their controls'
// values from one use to the next. A form that joins them gets one member here and one
// line in the constructor, in its place of the order.
#pragma once

#include <memory>

namespace editor {

class TCreateGIFForm;
class TEditPropertyForm;
class TExchangePlaceForm;
class TExtensType;
class TFallWallForm;
class TGIFWizardForm;
class TGiffer;
class TLinesForm;
class TMoveApartForm;
class TMoveFrameForm;
class TOpenWizForm;
class TOptionForm;
class TOptionSettings;
class TPreviewWizForm;
class TRainForm;
class TRotationEffectForm;
class TSaveJPEGForm;
class TTextForm;

struct TStartupForms {
  // Main is each dialog's parent, so it opens over the main window.
  TStartupForms(TGiffer& Main, TOptionSettings& Settings);
  ~TStartupForms();
  TStartupForms(const TStartupForms&) = delete;
  TStartupForms& operator=(const TStartupForms&) = delete;

  std::unique_ptr<TExchangePlaceForm> ExchangePlaceForm;
  std::unique_ptr<TMoveFrameForm> MoveFrameForm;
  std::unique_ptr<TEditPropertyForm> EditPropertyForm;
  std::unique_ptr<TExtensType> ExtensTypeForm;
  std::unique_ptr<TCreateGIFForm> CreateGIFForm;
  std::unique_ptr<TFallWallForm> FallWallForm;
  std::unique_ptr<TRainForm> RainForm;
  std::unique_ptr<TMoveApartForm> MoveApartForm;
  std::unique_ptr<TLinesForm> LinesForm;
  std::unique_ptr<TOptionForm> OptionForm;
  // The wizard shows its animation in the full view, so the view comes first.
  std::unique_ptr<TPreviewWizForm> PreviewWizForm;
  // Made with the others; the Wizard menu runs a new one each time.
  std::unique_ptr<TGIFWizardForm> GIFWizardForm;
  std::unique_ptr<TOpenWizForm> OpenWizForm;
  std::unique_ptr<TSaveJPEGForm> SaveJPEGForm;
  std::unique_ptr<TTextForm> TextForm;
  std::unique_ptr<TRotationEffectForm> RotationEffectForm;
};

}  // namespace editor
