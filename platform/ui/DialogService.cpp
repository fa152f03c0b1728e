#include "platform/ui/DialogService.h"

#include "platform/ui/Application.h"
#include "platform/ui/QtDialogService.h"

namespace ui {

namespace {

TDialogService* Current = nullptr;

}  // namespace

void TOpenDialog::SetFiles(const std::vector<std::string>& Value) {
  FFiles = Value;
  FFileName = FFiles.empty() ? std::string() : FFiles.front();
}

bool TOpenDialog::Execute() { return Dialogs().ExecuteOpen(*this); }
bool TSaveDialog::Execute() { return Dialogs().ExecuteSave(*this); }
bool TColorDialog::Execute() { return Dialogs().ExecuteColor(*this); }
bool TFontDialog::Execute() { return Dialogs().ExecuteFont(*this); }
bool TPrintDialog::Execute() { return Dialogs().ExecutePrint(*this); }
bool TPrinterSetupDialog::Execute() { return Dialogs().ExecutePrinterSetup(*this); }

TDialogService& Dialogs() {
  if (Current) return *Current;
  static TQtDialogService Qt;
  return Qt;
}

void SetDialogService(TDialogService* Service) { Current = Service; }

TDialogServiceOverride::TDialogServiceOverride(TDialogService& Service) : FPrevious(Current) {
  Current = &Service;
}

TDialogServiceOverride::~TDialogServiceOverride() { Current = FPrevious; }

TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons) {
  const std::string Caption = Type == mtCustom ? ApplicationTitle() : MessageCaption(Type);
  return Dialogs().MessageBox(Text, Caption, Type, Buttons);
}

void ShowMessage(const std::string& Text) { Dialogs().MessageBox(Text, ApplicationTitle(), mtCustom, mbOK); }

}  // namespace ui
