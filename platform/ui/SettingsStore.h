// The program's settings: named text values in sections, kept by QSettings in an ini
// file of the user (organisation "Veltrane", application "Animora"). Integers are stored
// as decimal text and booleans as "1" and "0"; a value that is missing, or whose text is
// not what its kind needs, reads as the default given. Shared by the editor and the
// installer. QSettings writes its file atomically.
#pragma once

#include <QSettings>
#include <memory>
#include <string>

namespace ui {

// The section the program's values live in.
inline constexpr const char* OptionSection = "Option";

class TSettingsStore {
 public:
  // The program's own settings file.
  TSettingsStore();
  // Another ini file, for tools and tests.
  explicit TSettingsStore(const std::string& FileName);
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  // Any integer but 0 is true.
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  bool ValueExists(const std::string& Section, const std::string& Ident) const;

  // Writes pending changes to the file now; done on destruction too.
  void UpdateFile();
  std::string FileName() const;

 private:
  std::unique_ptr<QSettings> FSettings;
};

// Decimal text with an optional sign and surrounding blanks, within int; false otherwise.
bool ParseDecimal(const std::string& Text, int& Value);

}  // namespace ui
