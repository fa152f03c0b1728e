#include "install/QtZipHooks.h"

#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"

namespace install {

TQtZipHooks::TQtZipHooks() = default;
TQtZipHooks::~TQtZipHooks() = default;

void TQtZipHooks::ProcessMessages() { ui::ProcessMessages(); }

void TQtZipHooks::SetBusy(bool Busy) {
  if (Busy && !FHourGlass) FHourGlass = std::make_unique<ui::THourGlass>();
  if (!Busy) FHourGlass.reset();
}

zip::TZipAnswer TQtZipHooks::Ask(const std::string& Text, const std::string& Caption) {
  switch (ui::Dialogs().MessageBox(Text, Caption, ui::mtConfirmation, ui::mbYesNo)) {
    case ui::mrYes: return zip::TZipAnswer::Yes;
    case ui::mrNo: return zip::TZipAnswer::No;
    default: return zip::TZipAnswer::Cancel;
  }
}

void TQtZipHooks::Inform(const std::string& Text, const std::string& Caption) {
  ui::Dialogs().MessageBox(Text, Caption, ui::mtInformation, ui::mbOK);
}

bool TQtZipHooks::ChooseArchive(const std::string& Title, const std::string& Filter, const std::string& StartFolder,
                                std::string& FileName) {
  ui::TOpenDialog Dialog;
  Dialog.SetTitle(Title);
  Dialog.SetFilter(Filter);
  Dialog.SetInitialDir(StartFolder);
  if (!ui::Dialogs().ExecuteOpen(Dialog)) return false;
  FileName = Dialog.FileName();
  return true;
}

bool TQtZipHooks::ChooseFolder(const std::string& StartFolder, std::string& Folder) {
  Folder = StartFolder;
  return ui::Dialogs().SelectDirectory("", Folder);
}

}  // namespace install
