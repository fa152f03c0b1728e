#include "plexor/Services.h"

#include <QImageReader>

#include "platform/ui/DialogService.h"
#include "plexor/CutWizardForm.h"
#include "plexor/ExchangeImage.h"
#include "plexor/ProgramOptionsForm.h"

namespace plexor {

std::string AboutText() {
  return "Veltrane Animora Pro\n\nImage tools: capture, cut wizard and program options.\n"
         "Copyright Veltrane.";
}

void ShowAbout(QWidget*) { ui::Dialogs().MessageBox(AboutText(), "About", ui::mtInformation, ui::mbOK); }

uint8_t Capture(QWidget*, const std::string& StartDir) {
  ui::TOpenDialog Dialog;
  Dialog.SetTitle("No scanner found - acquire the image from a file");
  Dialog.SetFilter("Pictures|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All files|*.*");
  Dialog.SetInitialDir(StartDir);
  if (!Dialog.Execute()) return 0;
  QImageReader Reader(QString::fromStdString(Dialog.FileName()));
  const QImage Image = Reader.read();
  if (Image.isNull()) {
    ui::MessageDlg("Cannot read the picture \"" + Dialog.FileName() + "\": " + Reader.errorString().toStdString(),
                   ui::mtError, ui::mbOK);
    return 0;
  }
  WriteBMPFile(ExchangeFileName(StartDir), DIBFromQImage(Image));
  return 1;
}

void RunCutWizard(QWidget* Window, const std::string& StartDir) {
  graphics::TDIBImage Image = ReadBMPFile(ExchangeFileName(StartDir));
  TCutWizardForm Form(std::move(Image), StartDir, Window);
  Form.ShowModal();
}

void RunProgramOptions(QWidget* Window, ui::TSettingsStore& Store) {
  TProgramOptionsForm Form(Store, Window);
  Form.ShowModal();
}

}  // namespace plexor
