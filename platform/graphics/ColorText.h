// Colours written as text: a colour name ("clRed", "clBtnFace"; any letter case) or a
// number, decimal or "$" followed by hexadecimal digits ("$00BBGGRR").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/base/Types.h"

namespace graphics {

// Nothing when Text is neither a colour name nor a 32-bit number.
std::optional<base::TColor> StringToColor(const std::string& Text);
// The first colour name of Color, else "$" and eight hexadecimal digits.
std::string ColorToString(base::TColor Color);
// Every name ColorToString gives a colour that is not a system colour.
std::vector<std::string> PlainColorNames();

}  // namespace graphics
