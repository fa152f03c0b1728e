// A dialog service for tests: it answers the program's message boxes and common dialogs
// from a script, in order, and records what each one showed. A dialog the script did not
// expect (none left, another kind, a result that is not one of the box's buttons) raises
// std::logic_error naming it, so the test fails where the surprise happened.
#pragma once

#include <QFont>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/DialogService.h"

namespace uitest {

enum class TDialogKind { Message, Open, Save, Color, Font, Print, PrinterSetup, Folder };

std::string KindName(TDialogKind Kind);

// What a dialog showed.
struct TDialogCall {
  TDialogKind Kind = TDialogKind::Message;
  std::string Text;     // message text
  std::string Caption;  // message caption, file dialog title, folder caption
  ui::TMsgDlgType Type = ui::mtCustom;
  ui::TMsgDlgButtons Buttons;
  std::string Filter;
  int FilterIndex = 0;
  std::string InitialDir;  // the folder a file or folder choice started in
  std::string FileName;    // the name a file dialog started with
  bool AllowMultiSelect = false;
  bool PicturePreview = false;  // an open dialog that shows the chosen picture
  base::TColor Color = 0;  // the colour a colour dialog started with
  QFont Font;              // the font a font dialog started with
};

struct TDialogAnswer {
  TDialogKind Kind = TDialogKind::Message;
  ui::TModalResult Result = ui::mrNone;  // a message box's button
  bool Accept = false;                   // the other dialogs: OK or Cancel
  std::vector<std::string> Files;
  int FilterIndex = 0;  // 0 keeps the dialog's
  base::TColor Color = 0;
  QFont Font;
  std::optional<base::TColor> FontColor;
  std::string Folder;
};

TDialogAnswer Press(ui::TModalResult Result);
TDialogAnswer OpenFiles(std::vector<std::string> Files, int FilterIndex = 0);
TDialogAnswer SaveAs(std::string FileName, int FilterIndex = 0);
TDialogAnswer ChooseColor(base::TColor Color);
// A colour other than none also answers the font dialog's colour.
TDialogAnswer ChooseFont(const QFont& Font, std::optional<base::TColor> Color = std::nullopt);
TDialogAnswer ChooseFolder(std::string Folder);
TDialogAnswer AcceptPrint();
TDialogAnswer AcceptPrinterSetup();
TDialogAnswer Cancel(TDialogKind Kind);

// Puts itself in place as the dialog service for its lifetime.
class TScriptedDialogs : public ui::TDialogService {
 public:
  explicit TScriptedDialogs(std::vector<TDialogAnswer> Script = {});
  ~TScriptedDialogs() override;

  void Then(TDialogAnswer Answer) { FScript.push_back(std::move(Answer)); }
  const std::vector<TDialogCall>& Calls() const { return FCalls; }
  // Every scripted answer has been given.
  bool Done() const { return FScript.empty(); }

  ui::TModalResult MessageBox(const std::string& Text, const std::string& Caption, ui::TMsgDlgType Type,
                              ui::TMsgDlgButtons Buttons) override;
  bool ExecuteOpen(ui::TOpenDialog& Dialog) override;
  bool ExecuteSave(ui::TSaveDialog& Dialog) override;
  bool ExecuteColor(ui::TColorDialog& Dialog) override;
  bool ExecuteFont(ui::TFontDialog& Dialog) override;
  bool ExecutePrint(ui::TPrintDialog& Dialog) override;
  bool ExecutePrinterSetup(ui::TPrinterSetupDialog& Dialog) override;
  bool SelectDirectory(const std::string& Caption, std::string& Directory) override;

 private:
  // Records Call and takes the next answer, which must be of its kind.
  TDialogAnswer Next(TDialogCall Call);
  bool AnswerFileDialog(ui::TOpenDialog& Dialog, TDialogKind Kind);

  std::deque<TDialogAnswer> FScript;
  std::vector<TDialogCall> FCalls;
  ui::TDialogServiceOverride FOverride;
};

}  // namespace uitest
