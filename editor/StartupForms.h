// The dialogs the program makes once, when the main window is made, in the order the
// program starts them. They live as long as the main window and keep their controls'
// values from one use to the next. A form that joins them gets one member here and one
// line in the constructor, in its place of the order.
#pragma once

#include <memory>

class QWidget;

namespace editor {

class TCreateGIFForm;
class TOpenWizForm;
class TOptionForm;
class TOptionSettings;
class TSaveJPEGForm;
class TTextForm;

struct TStartupForms {
  // Owner is the main window, so each dialog opens over it.
  TStartupForms(QWidget* Owner, TOptionSettings& Settings);
  ~TStartupForms();
  TStartupForms(const TStartupForms&) = delete;
  TStartupForms& operator=(const TStartupForms&) = delete;

  std::unique_ptr<TCreateGIFForm> CreateGIFForm;
  std::unique_ptr<TOptionForm> OptionForm;
  std::unique_ptr<TOpenWizForm> OpenWizForm;
  std::unique_ptr<TSaveJPEGForm> SaveJPEGForm;
  std::unique_ptr<TTextForm> TextForm;
};

}  // namespace editor
