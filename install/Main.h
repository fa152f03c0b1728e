// TForm1: the installer's one window. Four pages (welcome, licence, target folder,
// progress) on a panel over a blue gradient; the last page unpacks "Animora.dat" into
// the chosen folder, writes the editor's first tool-bar widths into its settings, puts
// an entry for the editor on the desktop and offers to start it. Everything runs on the
// GUI thread in the button handlers; the unpacking pumps messages so the bars move.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "install/QtZipHooks.h"
#include "install/zip/ZipWriter.h"
#include "platform/ui/Form.h"

namespace Ui {
class TForm1;
}

namespace ui {
class TSettingsStore;
class TShell;
}  // namespace ui

namespace install {

class TForm1 : public ui::TForm {
  Q_OBJECT

 public:
  // ArchiveName is the full path of "Animora.dat"; Settings is the editor's store and
  // Shell makes the desktop entry and starts the editor.
  TForm1(ui::TSettingsStore& Settings, std::unique_ptr<ui::TShell> Shell, const std::string& ArchiveName,
         QWidget* Parent = nullptr);
  ~TForm1() override;

  void FormShow();
  void FormResize();
  void FormCloseQuery(bool& CanClose);
  void NextButtonClick();
  void BackButtonClick();
  void ExitButtonClick();
  void BrowseDirButtonClick();
  void ZipperFilePercentDone(int Percent);
  void ZipperTotalPercentDone(int Percent);

  void InstallFiles();
  // A desktop entry LinkName that starts Target in its folder; one that cannot be
  // written is reported.
  void CreateShortcut(const std::string& Target, const std::string& LinkName);

  // The folder the editor goes to when none is chosen.
  static std::string DefaultFolder();

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  int Page() const;
  void ShowPage(int Page);
  // A full path of a folder other than the root, without a final "/"; empty when the
  // text is not one, which has then been reported.
  std::string TargetFolder();
  // Unpacks into Folder; false when anything failed, which has been reported.
  bool Unpack(const std::string& Folder);
  void WriteFirstSettings();

  std::unique_ptr<Ui::TForm1> Ui;
  ui::TSettingsStore& FSettings;
  std::unique_ptr<ui::TShell> FShell;
  TQtZipHooks FZipHooks;
  // The library's one component, used here only for reading.
  zip::TZipWriter Zipper;
  // Why entries failed, in the order they failed.
  std::vector<std::string> FFailures;
  // Files (not folders) written whole by the running unpacking.
  int FFilesWritten = 0;
  bool FInstalled = false;
  bool FExtracting = false;
};

}  // namespace install
