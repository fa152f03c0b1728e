#include "platform/ui/SettingsStore.h"

#include <cctype>
#include <charconv>

namespace ui {

namespace {

QString Key(const std::string& Section, const std::string& Ident) {
  return QString::fromStdString(Section) + QLatin1Char('/') + QString::fromStdString(Ident);
}

}  // namespace

bool ParseDecimal(const std::string& Text, int& Value) {
  size_t Begin = 0;
  size_t End = Text.size();
  while (Begin < End && std::isspace(static_cast<unsigned char>(Text[Begin]))) ++Begin;
  while (End > Begin && std::isspace(static_cast<unsigned char>(Text[End - 1]))) --End;
  if (Begin < End && Text[Begin] == '+') {
    ++Begin;
    if (Begin < End && Text[Begin] == '-') return false;
  }
  if (Begin == End) return false;
  const char* First = Text.data() + Begin;
  const char* Last = Text.data() + End;
  int Parsed = 0;
  const auto [Ptr, Error] = std::from_chars(First, Last, Parsed);
  if (Error != std::errc() || Ptr != Last) return false;
  Value = Parsed;
  return true;
}

TSettingsStore::TSettingsStore()
    : FSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Veltrane"),
                                            QStringLiteral("Animora"))) {}

TSettingsStore::TSettingsStore(const std::string& FileName)
    : FSettings(std::make_unique<QSettings>(QString::fromStdString(FileName), QSettings::IniFormat)) {}

TSettingsStore::~TSettingsStore() = default;

std::string TSettingsStore::ReadString(const std::string& Section, const std::string& Ident,
                                       const std::string& Default) const {
  const QVariant Value = FSettings->value(Key(Section, Ident));
  if (!Value.isValid()) return Default;
  // A hand-written value with commas in it comes back from the ini reader as a list.
  if (Value.typeId() == QMetaType::QStringList) return Value.toStringList().join(QLatin1Char(',')).toStdString();
  return Value.toString().toStdString();
}

int TSettingsStore::ReadInteger(const std::string& Section, const std::string& Ident, int Default) const {
  int Value = Default;
  if (!ValueExists(Section, Ident) || !ParseDecimal(ReadString(Section, Ident, {}), Value)) return Default;
  return Value;
}

bool TSettingsStore::ReadBool(const std::string& Section, const std::string& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TSettingsStore::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  FSettings->setValue(Key(Section, Ident), QString::fromStdString(Value));
}

void TSettingsStore::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, std::to_string(Value));
}

void TSettingsStore::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

bool TSettingsStore::ValueExists(const std::string& Section, const std::string& Ident) const {
  return FSettings->contains(Key(Section, Ident));
}

void TSettingsStore::UpdateFile() { FSettings->sync(); }

std::string TSettingsStore::FileName() const { return FSettings->fileName().toStdString(); }

}  // namespace ui
