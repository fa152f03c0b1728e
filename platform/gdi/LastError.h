// The calling thread's last GDI error code and its text, for callers that turn a
// failed call (a zero handle) into an exception.
#pragma once

#include <cstdint>
#include <string>

namespace gdi {

enum : uint32_t {
  ERROR_SUCCESS = 0,
  ERROR_NOT_ENOUGH_MEMORY = 8,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_INVALID_HANDLE = 6,
};

uint32_t GetLastError();
void SetLastError(uint32_t Code);
// The system text of an error code; empty for success or an unknown code.
std::string ErrorText(uint32_t Code);

}  // namespace gdi
