#include "editor/ProgramSetup.h"

#include <QApplication>
#include <QIcon>

#include "gif/Library.h"
#include "platform/ui/Application.h"
#include "platform/ui/QtGlyphRasterizer.h"

// Resources of a static library are registered by hand.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace editor {

TProgramSetup::TProgramSetup() {
  ui::SetApplicationTitle("Animora Pro");
  InitIconResources();
  // Every window without an icon of its own shows the application's, dialogs included.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/animora.png")));
  ui::InstallQtGlyphRasterizer();
  gif::InitializeGIFLibrary();
}

TProgramSetup::~TProgramSetup() { gif::FinalizeGIFLibrary(); }

}  // namespace editor
