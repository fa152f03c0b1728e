#include "platform/gdi/LastError.h"

namespace gdi {
namespace {
thread_local uint32_t LastError = ERROR_SUCCESS;
}

uint32_t GetLastError() { return LastError; }
void SetLastError(uint32_t Code) { LastError = Code; }

std::string ErrorText(uint32_t Code) {
  switch (Code) {
    case ERROR_NOT_ENOUGH_MEMORY: return "Not enough storage is available to process this command.";
    case ERROR_INVALID_HANDLE: return "The handle is invalid.";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
    default: return {};
  }
}

}  // namespace gdi
