#include "tests/ui/ScriptedDialogs.h"

#include <stdexcept>

namespace uitest {

std::string KindName(TDialogKind Kind) {
  switch (Kind) {
    case TDialogKind::Message: return "message box";
    case TDialogKind::Open: return "open dialog";
    case TDialogKind::Save: return "save dialog";
    case TDialogKind::Color: return "colour dialog";
    case TDialogKind::Font: return "font dialog";
    case TDialogKind::Print: return "print dialog";
    case TDialogKind::PrinterSetup: return "printer set-up dialog";
    case TDialogKind::Folder: return "folder choice";
  }
  return "dialog";
}

TDialogAnswer Press(ui::TModalResult Result) {
  TDialogAnswer A;
  A.Result = Result;
  return A;
}

TDialogAnswer OpenFiles(std::vector<std::string> Files, int FilterIndex) {
  TDialogAnswer A;
  A.Kind = TDialogKind::Open;
  A.Accept = true;
  A.Files = std::move(Files);
  A.FilterIndex = FilterIndex;
  return A;
}

TDialogAnswer SaveAs(std::string FileName, int FilterIndex) {
  TDialogAnswer A = OpenFiles({std::move(FileName)}, FilterIndex);
  A.Kind = TDialogKind::Save;
  return A;
}

TDialogAnswer ChooseColor(base::TColor Color) {
  TDialogAnswer A;
  A.Kind = TDialogKind::Color;
  A.Accept = true;
  A.Color = Color;
  return A;
}

TDialogAnswer ChooseFont(const QFont& Font, std::optional<base::TColor> Color) {
  TDialogAnswer A;
  A.Kind = TDialogKind::Font;
  A.Accept = true;
  A.Font = Font;
  A.FontColor = Color;
  return A;
}

TDialogAnswer ChooseFolder(std::string Folder) {
  TDialogAnswer A;
  A.Kind = TDialogKind::Folder;
  A.Accept = true;
  A.Folder = std::move(Folder);
  return A;
}

TDialogAnswer AcceptPrint() {
  TDialogAnswer A;
  A.Kind = TDialogKind::Print;
  A.Accept = true;
  return A;
}

TDialogAnswer AcceptPrinterSetup() {
  TDialogAnswer A = AcceptPrint();
  A.Kind = TDialogKind::PrinterSetup;
  return A;
}

TDialogAnswer Cancel(TDialogKind Kind) {
  TDialogAnswer A;
  A.Kind = Kind;
  A.Result = ui::mrCancel;
  return A;
}

TScriptedDialogs::TScriptedDialogs(std::vector<TDialogAnswer> Script)
    : FScript(Script.begin(), Script.end()), FOverride(*this) {}

TScriptedDialogs::~TScriptedDialogs() = default;

TDialogAnswer TScriptedDialogs::Next(TDialogCall Call) {
  FCalls.push_back(Call);
  const std::string What = KindName(Call.Kind) + (Call.Text.empty() ? "" : " \"" + Call.Text + "\"");
  if (FScript.empty()) throw std::logic_error("unexpected " + What);
  TDialogAnswer Answer = FScript.front();
  if (Answer.Kind != Call.Kind) throw std::logic_error("expected a " + KindName(Answer.Kind) + ", got " + What);
  FScript.pop_front();
  return Answer;
}

ui::TModalResult TScriptedDialogs::MessageBox(const std::string& Text, const std::string& Caption, ui::TMsgDlgType Type,
                                              ui::TMsgDlgButtons Buttons) {
  TDialogCall Call;
  Call.Text = Text;
  Call.Caption = Caption;
  Call.Type = Type;
  Call.Buttons = Buttons;
  const TDialogAnswer Answer = Next(Call);
  for (ui::TMsgDlgBtn Button : (Buttons.Empty() ? ui::TMsgDlgButtons(ui::mbOK) : Buttons).Buttons())
    if (ui::ModalResultOf(Button) == Answer.Result) return Answer.Result;
  throw std::logic_error("the answer is not a button of the message box \"" + Text + "\"");
}

bool TScriptedDialogs::AnswerFileDialog(ui::TOpenDialog& Dialog, TDialogKind Kind) {
  TDialogCall Call;
  Call.Kind = Kind;
  Call.Caption = Dialog.Title();
  Call.Filter = Dialog.Filter();
  Call.FilterIndex = Dialog.FilterIndex();
  Call.InitialDir = Dialog.InitialDir();
  Call.FileName = Dialog.FileName();
  Call.AllowMultiSelect = Dialog.AllowMultiSelect();
  Call.PicturePreview = Dialog.PicturePreview();
  const TDialogAnswer Answer = Next(Call);
  if (!Answer.Accept) return false;
  Dialog.SetFiles(Answer.Files);
  if (Answer.FilterIndex > 0) Dialog.SetFilterIndex(Answer.FilterIndex);
  return true;
}

bool TScriptedDialogs::ExecuteOpen(ui::TOpenDialog& Dialog) { return AnswerFileDialog(Dialog, TDialogKind::Open); }
bool TScriptedDialogs::ExecuteSave(ui::TSaveDialog& Dialog) { return AnswerFileDialog(Dialog, TDialogKind::Save); }

bool TScriptedDialogs::ExecuteColor(ui::TColorDialog& Dialog) {
  TDialogCall Call;
  Call.Kind = TDialogKind::Color;
  Call.Color = Dialog.Color();
  const TDialogAnswer Answer = Next(Call);
  if (Answer.Accept) Dialog.SetColor(Answer.Color);
  return Answer.Accept;
}

bool TScriptedDialogs::ExecuteFont(ui::TFontDialog& Dialog) {
  TDialogCall Call;
  Call.Kind = TDialogKind::Font;
  Call.Font = Dialog.Font();
  Call.Color = Dialog.Color();
  const TDialogAnswer Answer = Next(Call);
  if (!Answer.Accept) return false;
  Dialog.SetFont(Answer.Font);
  if (Answer.FontColor) Dialog.SetColor(*Answer.FontColor);
  return true;
}

bool TScriptedDialogs::ExecutePrint(ui::TPrintDialog&) {
  TDialogCall Call;
  Call.Kind = TDialogKind::Print;
  return Next(Call).Accept;
}

bool TScriptedDialogs::ExecutePrinterSetup(ui::TPrinterSetupDialog&) {
  TDialogCall Call;
  Call.Kind = TDialogKind::PrinterSetup;
  return Next(Call).Accept;
}

bool TScriptedDialogs::SelectDirectory(const std::string& Caption, std::string& Directory) {
  TDialogCall Call;
  Call.Kind = TDialogKind::Folder;
  Call.Caption = Caption;
  Call.InitialDir = Directory;
  const TDialogAnswer Answer = Next(Call);
  if (Answer.Accept) Directory = Answer.Folder;
  return Answer.Accept;
}

}  // namespace uitest
