// The zip library's hooks for a Qt program: pending events run while it works, its
// questions, notices and choosers go through the program's dialog service, and its busy
// time shows the hourglass.
#pragma once

#include <memory>

#include "install/zip/ZipHooks.h"

namespace ui {
class THourGlass;
}

namespace install {

class TQtZipHooks : public zip::TZipHooks {
 public:
  TQtZipHooks();
  ~TQtZipHooks() override;

  void ProcessMessages() override;
  void SetBusy(bool Busy) override;
  zip::TZipAnswer Ask(const std::string& Text, const std::string& Caption) override;
  void Inform(const std::string& Text, const std::string& Caption) override;
  bool ChooseArchive(const std::string& Title, const std::string& Filter, const std::string& StartFolder,
                     std::string& FileName) override;
  bool ChooseFolder(const std::string& StartFolder, std::string& Folder) override;

 private:
  std::unique_ptr<ui::THourGlass> FHourGlass;
};

}  // namespace install
