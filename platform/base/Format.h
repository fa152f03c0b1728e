// printf-style formatting into std::string, for the run-time library's message texts.
#pragma once

#include <string>

namespace base {

std::string Format(const char* Pattern, ...) __attribute__((format(printf, 1, 2)));

}  // namespace base
