#include "editor/ProgramSetup.h"

#include "gif/Library.h"
#include "platform/ui/Application.h"
#include "platform/ui/QtGlyphRasterizer.h"

namespace editor {

TProgramSetup::TProgramSetup() {
  ui::SetApplicationTitle("Animora Pro");
  ui::InstallQtGlyphRasterizer();
  gif::InitializeGIFLibrary();
}

TProgramSetup::~TProgramSetup() { gif::FinalizeGIFLibrary(); }

}  // namespace editor
