// The GIF library's error class and the small enumerations of its error model.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/Exceptions.h"

namespace gif {

// Errors found in GIF data or in the library's own object model.
class GIFException : public base::EInvalidGraphic {
 public:
  using base::EInvalidGraphic::EInvalidGraphic;
};

enum class TGIFSeverity : uint8_t { sevInfo, sevWarning, sevError };
using enum TGIFSeverity;

enum class TGIFVersion : uint8_t { verUnknown, ver87a, ver89a };
using enum TGIFVersion;

// "87a" and "89a"; empty for verUnknown.
const char* GIFVersionText(TGIFVersion Version);

[[noreturn]] void RaiseGIFError(const std::string& Message);

}  // namespace gif
