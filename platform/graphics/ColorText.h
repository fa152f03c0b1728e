// Colours written as text: a colour name ("clRed", "clBtnFace"; any letter case) or a
// number, decimal or "$" followed by hexadecimal digits ("$00BBGGRR").
#pragma once

#include <optional>
#include <string>

#include "platform/base/Types.h"

namespace graphics {

// Nothing when Text is neither a colour name nor a 32-bit number.
std::optional<base::TColor> StringToColor(const std::string& Text);

}  // namespace graphics
