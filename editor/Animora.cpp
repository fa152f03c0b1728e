// The program: the splash while it starts, the image-tools library bound before any
// window, the main window with the forms it starts, then the message loop.
#include <QApplication>
#include <string>
#include <vector>

#include "editor/Main.h"
#include "editor/ProgramSetup.h"
#include "editor/forms/LoadingDlg.h"
#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/Shell.h"
#include "plexor/Binding.h"

int main(int argc, char** argv) {
  ui::TApplication Application(argc, argv);
  auto Splash = std::make_unique<editor::TLoadForm>();
  Splash->show();
  Splash->repaint();
  QApplication::processEvents();

  const editor::TProgramSetup Setup;

  std::unique_ptr<plexor::TPlexorLibrary> Plexor;
  try {
    Plexor = std::make_unique<plexor::TPlexorLibrary>(plexor::ProgramFolder());
  } catch (const std::exception& Error) {
    Splash.reset();
    ui::Dialogs().MessageBox(std::string("Animora cannot start without its image-tools library.\n") + Error.what(),
                             ui::ApplicationTitle(), ui::mtError, ui::mbOK);
    return 1;
  }

  ui::TSettingsStore Store;
  editor::TGiffer Giffer(Store, *Plexor, ui::NewSystemClipboard(), ui::NewSystemShell());
  Giffer.SetArguments(std::vector<std::string>(argv + 1, argv + argc));

  Splash.reset();
  Giffer.show();
  return QApplication::exec();
}
