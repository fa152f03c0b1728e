#include "platform/graphics/Clipboard.h"

#include <algorithm>
#include <mutex>

namespace graphics {
namespace {

constexpr TClipboardFormat FirstRegistered = 0xC000;

struct TFormatNames {
  std::mutex Lock;
  std::vector<std::string> Names;  // format FirstRegistered + i is Names[i]
};

TFormatNames& FormatNames() {
  static TFormatNames Names;
  return Names;
}

TClipboardService*& Service() {
  static TClipboardService* Installed = nullptr;
  return Installed;
}

}  // namespace

TClipboardFormat RegisterClipboardFormat(const std::string& Name) {
  if (Name.empty()) return 0;
  TFormatNames& Registry = FormatNames();
  std::lock_guard Guard(Registry.Lock);
  auto Found = std::find(Registry.Names.begin(), Registry.Names.end(), Name);
  if (Found == Registry.Names.end()) Found = Registry.Names.insert(Registry.Names.end(), Name);
  return static_cast<TClipboardFormat>(FirstRegistered + (Found - Registry.Names.begin()));
}

std::string GetClipboardFormatName(TClipboardFormat Format) {
  TFormatNames& Registry = FormatNames();
  std::lock_guard Guard(Registry.Lock);
  if (Format < FirstRegistered || Format - FirstRegistered >= static_cast<int>(Registry.Names.size())) return {};
  return Registry.Names[Format - FirstRegistered];
}

void SetClipboardService(TClipboardService* Installed) { Service() = Installed; }

bool SetClipboardData(TClipboardFormat Format, TClipboardData Data) {
  if (Service() == nullptr) return false;
  return Service()->SetData(Format, std::move(Data));
}

std::optional<TClipboardData> GetClipboardData(TClipboardFormat Format) {
  if (Service() == nullptr) return std::nullopt;
  return Service()->GetData(Format);
}

}  // namespace graphics
