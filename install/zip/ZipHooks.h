// What the zip library needs from a user interface, injected by the program that has
// one: message pumping during long work, a busy indication, questions, notices and
// the archive and folder choosers. The library never shows anything itself; with no
// hooks a question or a chooser counts as cancelled.
#pragma once

#include <cstdint>
#include <string>

namespace zip {

enum class TZipAnswer : uint8_t { Yes, No, Cancel };

class TZipHooks {
 public:
  virtual ~TZipHooks() = default;
  // Lets the user interface handle its pending events; a handler may call Cancel()
  // on the component, which then stops at its next check.
  virtual void ProcessMessages() = 0;
  // An hourglass while the directory is rebuilt.
  virtual void SetBusy(bool Busy) = 0;
  // A Yes/No question.
  virtual TZipAnswer Ask(const std::string& Text, const std::string& Caption) = 0;
  // A notice with an OK button.
  virtual void Inform(const std::string& Text, const std::string& Caption) = 0;
  // An open-file dialog; false when cancelled. Filter pairs are separated by "|".
  virtual bool ChooseArchive(const std::string& Title, const std::string& Filter, const std::string& StartFolder,
                             std::string& FileName) = 0;
  // A folder chooser that may create folders; false when cancelled.
  virtual bool ChooseFolder(const std::string& StartFolder, std::string& Folder) = 0;
};

}  // namespace zip
