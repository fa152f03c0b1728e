#include "platform/base/Format.h"

#include <cstdarg>
#include <cstdio>

namespace base {

std::string Format(const char* Pattern, ...) {
  va_list Args;
  va_start(Args, Pattern);
  va_list Copy;
  va_copy(Copy, Args);
  const int Length = std::vsnprintf(nullptr, 0, Pattern, Copy);
  va_end(Copy);
  std::string Result(Length > 0 ? static_cast<size_t>(Length) : 0, '\0');
  if (Length > 0) std::vsnprintf(Result.data(), Result.size() + 1, Pattern, Args);
  va_end(Args);
  return Result;
}

}  // namespace base
