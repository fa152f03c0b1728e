// The one way the program shows message boxes and common dialogs. Forms ask Dialogs(),
// which is the Qt service unless a test has put its own in place, so every dialog can be
// answered and its texts and captions checked without a screen.
#pragma once

#include <QFont>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/ui/MessageButtons.h"

class QPrinter;

namespace ui {

// An open dialog. Filter is "description|pattern|description|pattern...", patterns
// separated by ';'; FilterIndex counts from 1 and is where the dialog starts and what
// the user chose. DefaultExt (without the dot) is added to a name typed without one.
class TOpenDialog {
 public:
  virtual ~TOpenDialog() = default;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  bool AllowMultiSelect() const { return FAllowMultiSelect; }
  void SetAllowMultiSelect(bool Value) { FAllowMultiSelect = Value; }
  // The picture under the cursor is shown beside the file list.
  bool PicturePreview() const { return FPicturePreview; }
  void SetPicturePreview(bool Value) { FPicturePreview = Value; }
  // Every chosen file; FileName is the first.
  const std::vector<std::string>& Files() const { return FFiles; }
  void SetFiles(const std::vector<std::string>& Value);

  // True when the user chose; Cancel leaves every value as it was.
  virtual bool Execute();

 private:
  std::string FTitle;
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FInitialDir;
  std::string FFileName;
  std::string FDefaultExt;
  bool FAllowMultiSelect = false;
  bool FPicturePreview = false;
  std::vector<std::string> FFiles;
};

class TSaveDialog : public TOpenDialog {
 public:
  // Whether choosing an existing file asks first.
  bool OverwritePrompt() const { return FOverwritePrompt; }
  void SetOverwritePrompt(bool Value) { FOverwritePrompt = Value; }
  bool Execute() override;

 private:
  bool FOverwritePrompt = false;
};

// An open dialog that shows the chosen picture beside the file list.
class TOpenPictureDialog : public TOpenDialog {
 public:
  TOpenPictureDialog() { SetPicturePreview(true); }
};

class TColorDialog {
 public:
  base::TColor Color() const { return FColor; }
  void SetColor(base::TColor Value) { FColor = Value; }
  bool Execute();

 private:
  base::TColor FColor = 0;
};

// The font with the colour its text is drawn in.
class TFontDialog {
 public:
  const QFont& Font() const { return FFont; }
  void SetFont(const QFont& Value) { FFont = Value; }
  base::TColor Color() const { return FColor; }
  void SetColor(base::TColor Value) { FColor = Value; }
  bool Execute();

 private:
  QFont FFont;
  base::TColor FColor = 0;
};

// Both work on the printer they are given; what is chosen holds for its next print.
class TPrintDialog {
 public:
  explicit TPrintDialog(QPrinter& Printer) : FPrinter(Printer) {}
  QPrinter& Printer() const { return FPrinter; }
  bool Execute();

 private:
  QPrinter& FPrinter;
};

// Printer, paper and orientation; the output file stays as it was.
class TPrinterSetupDialog {
 public:
  explicit TPrinterSetupDialog(QPrinter& Printer) : FPrinter(Printer) {}
  QPrinter& Printer() const { return FPrinter; }
  bool Execute();

 private:
  QPrinter& FPrinter;
};

class TDialogService {
 public:
  virtual ~TDialogService() = default;
  virtual TModalResult MessageBox(const std::string& Text, const std::string& Caption, TMsgDlgType Type,
                                  TMsgDlgButtons Buttons) = 0;
  virtual bool ExecuteOpen(TOpenDialog& Dialog) = 0;
  virtual bool ExecuteSave(TSaveDialog& Dialog) = 0;
  virtual bool ExecuteColor(TColorDialog& Dialog) = 0;
  virtual bool ExecuteFont(TFontDialog& Dialog) = 0;
  virtual bool ExecutePrint(TPrintDialog& Dialog) = 0;
  virtual bool ExecutePrinterSetup(TPrinterSetupDialog& Dialog) = 0;
  // Directory is where the choice starts and, on OK, the chosen folder.
  virtual bool SelectDirectory(const std::string& Caption, std::string& Directory) = 0;
};

// The service in use; the Qt one unless replaced.
TDialogService& Dialogs();
// Puts Service in place (not owned); nullptr returns to the Qt service.
void SetDialogService(TDialogService* Service);

// Puts a service in place for its lifetime and then restores the one before.
class TDialogServiceOverride {
 public:
  explicit TDialogServiceOverride(TDialogService& Service);
  ~TDialogServiceOverride();
  TDialogServiceOverride(const TDialogServiceOverride&) = delete;
  TDialogServiceOverride& operator=(const TDialogServiceOverride&) = delete;

 private:
  TDialogService* FPrevious;
};

// A message box captioned by its kind ("Warning", "Confirm", ...; mtCustom: the
// application's title).
TModalResult MessageDlg(const std::string& Text, TMsgDlgType Type, TMsgDlgButtons Buttons);
// Text with an OK button, captioned by the application's title.
void ShowMessage(const std::string& Text);

}  // namespace ui
