#include "editor/forms/CheckedField.h"

#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"

namespace editor {

void ShowConversionError(const QString& Text) {
  ui::Dialogs().MessageBox("'" + Text.toStdString() + "' is not a valid integer value", ui::ApplicationTitle(),
                           ui::mtError, ui::mbOK);
}

std::optional<int> ConvertedInteger(TEditN& Edit) {
  const std::optional<int> Value = ReadInteger(Edit);
  if (!Value) {
    ShowConversionError(Edit.text());
    Edit.setFocus();
  }
  return Value;
}

std::optional<int> CheckedInteger(TEditN& Edit, const std::string& Name, int Min, int Max) {
  const std::optional<int> Value = ConvertedInteger(Edit);
  if (!Value) return std::nullopt;
  std::string Problem;
  if (*Value < Min)
    Problem = Name + "<" + std::to_string(Min) + ".";
  else if (*Value > Max)
    Problem = Name + ">" + std::to_string(Max) + ".";
  if (Problem.empty()) return Value;
  ui::Dialogs().MessageBox(Problem, "Error!", ui::mtInformation, ui::mbOK);
  Edit.setFocus();
  return std::nullopt;
}

}  // namespace editor
