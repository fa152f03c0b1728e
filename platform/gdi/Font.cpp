#include "platform/gdi/Font.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/LastError.h"

namespace gdi {

std::string LOGFONT::FaceName() const { return std::string(lfFaceName, strnlen(lfFaceName, LF_FACESIZE)); }

void LOGFONT::SetFaceName(const std::string& Name) {
  size_t Length = std::min<size_t>(Name.size(), LF_FACESIZE - 1);
  // Never keep half of a UTF-8 sequence.
  while (Length > 0 && Length < Name.size() && (static_cast<uint8_t>(Name[Length]) & 0xC0) == 0x80) --Length;
  std::memset(lfFaceName, 0, sizeof lfFaceName);
  std::memcpy(lfFaceName, Name.data(), Length);
}

HFONT CreateFontIndirect(const LOGFONT* Description) {
  if (Description == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return new FontObject(*Description);
}

const LOGFONT& DefaultFontDescription() {
  static const LOGFONT Description = [] {
    LOGFONT F;
    F.lfHeight = -11;
    F.SetFaceName("MS Sans Serif");
    return F;
  }();
  return Description;
}

}  // namespace gdi
