// The Wizard menu's GIF wizard: each run makes a new wizard over the full view made at
// start-up; the wizard builds its animation through NewWizardProject.
#include <QLabel>

#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/forms/WizardMain.h"
#include "platform/ui/WindowCanvas.h"

namespace editor {

void TGiffer::GIFWizard1Click() {
  // A new wizard for every run, so each starts from its defaults.
  TGIFWizardForm Wizard(*this, *FForms->PreviewWizForm, this);
  Wizard.exec();
  // Only a finished build changed the project.
  if (!Wizard.Built() || !FGifImage) return;
  SetModified(true);
  BindProjectEvents();
}

void TGiffer::NewWizardProject(int Count, int Width, int Height) {
  ResetProject();
  FPanels[1]->setText(QStringLiteral("Creating GIF"));
  FPanels[1]->repaint();
  FFileNameValue.clear();
  EnableFrameTools(true);
  FPanels[1]->clear();
  NewBlankProject(Count, Width, Height, QStringLiteral("Veltrane Animora: New Gif"));
  FPreview->PreviewImage()->hide();
  EnableFrameTools(true);
  SetModified(true);
}

}  // namespace editor
