// The dialog service on Qt's message boxes and common dialogs, each modal to the active
// window.
#pragma once

#include "platform/ui/DialogService.h"

namespace ui {

class TQtDialogService : public TDialogService {
 public:
  TModalResult MessageBox(const std::string& Text, const std::string& Caption, TMsgDlgType Type,
                          TMsgDlgButtons Buttons) override;
  bool ExecuteOpen(TOpenDialog& Dialog) override;
  bool ExecuteSave(TSaveDialog& Dialog) override;
  bool ExecuteColor(TColorDialog& Dialog) override;
  bool ExecuteFont(TFontDialog& Dialog) override;
  bool ExecutePrint(TPrintDialog& Dialog) override;
  bool ExecutePrinterSetup(TPrinterSetupDialog& Dialog) override;
  bool SelectDirectory(const std::string& Caption, std::string& Directory) override;
};

}  // namespace ui
