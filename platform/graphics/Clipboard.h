// Clipboard formats as the window system numbers them: the framework's bitmap format,
// and formats registered by name (from 0xC000 on, one number per name for the life of
// the process). What lies on the clipboard is kept by a clipboard service that the
// windowing layer installs; without one the clipboard holds nothing and refuses data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/Bitmap.h"

namespace graphics {

using TClipboardFormat = uint16_t;
constexpr TClipboardFormat CF_BITMAP = 2;

// 0 for an empty name.
TClipboardFormat RegisterClipboardFormat(const std::string& Name);
// The name a format was registered under; empty for the predefined and unknown ones.
std::string GetClipboardFormatName(TClipboardFormat Format);

// What one format holds: a bitmap for CF_BITMAP, bytes for the registered formats.
struct TClipboardData {
  gdi::HBITMAP Bitmap = nullptr;
  std::vector<uint8_t> Bytes;
};

class TClipboardService {
 public:
  virtual ~TClipboardService() = default;
  // False when the clipboard refuses the data. A bitmap given here becomes the
  // service's, refused or not.
  virtual bool SetData(TClipboardFormat Format, TClipboardData Data) = 0;
  // The data of a format on the clipboard; a bitmap stays the service's.
  virtual std::optional<TClipboardData> GetData(TClipboardFormat Format) = 0;
};

// Installs the service (not owned; none uninstalls it).
void SetClipboardService(TClipboardService* Service);
// False without a service.
bool SetClipboardData(TClipboardFormat Format, TClipboardData Data);
std::optional<TClipboardData> GetClipboardData(TClipboardFormat Format);

}  // namespace graphics
