// The number a dialog's integer box holds, checked when the dialog's OK is pressed.
#pragma once

#include <optional>
#include <string>

#include "editor/controls/EditN.h"

namespace editor {

// Edit's value when it is an integer in Min..Max. Otherwise the problem is shown (the
// conversion error, or "<Name><Min." / "<Name>><Max." under "Error!"), the box takes the
// focus and there is none.
std::optional<int> CheckedInteger(TEditN& Edit, const std::string& Name, int Min, int Max);
// The framework's conversion error for Text, in its error box.
void ShowConversionError(const QString& Text);
// Edit's value when it is an integer; otherwise the conversion error is shown, the box
// takes the focus and there is none.
std::optional<int> ConvertedInteger(TEditN& Edit);

}  // namespace editor
