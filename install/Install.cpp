// The installer program: the wizard window, maximised, over the message loop; closing it
// ends the program. The archive is looked for beside this program, wherever it was
// started from.
#include <QApplication>

#include "install/ArchiveLocation.h"
#include "install/Main.h"
#include "platform/ui/Application.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/Shell.h"

int main(int argc, char** argv) {
  ui::TApplication Application(argc, argv);
  ui::TSettingsStore Settings;
  install::TForm1 Form1(Settings, ui::NewSystemShell(), install::ArchiveBesideProgram());
  Form1.showMaximized();
  return QApplication::exec();
}
