// The exported entry of libPlexor.so. Nothing thrown crosses the C boundary: a failure
// is reported in a message box and a capture that failed returns 0.
#include <QWidget>

#include "platform/ui/Application.h"
#include "platform/ui/SettingsStore.h"
#include "plexor/PlexorEntry.h"
#include "plexor/Services.h"

namespace {

QWidget* WindowOf(void* Window) { return static_cast<QWidget*>(Window); }

void About(void* Window) { ui::Guarded([&] { plexor::ShowAbout(WindowOf(Window)); }); }

uint8_t Scan(void* Window, const char* StartDir) {
  uint8_t Result = 0;
  ui::Guarded([&] { Result = plexor::Capture(WindowOf(Window), StartDir ? StartDir : "."); });
  return Result;
}

void CutWizard(void* Window, const char* StartDir) {
  ui::Guarded([&] { plexor::RunCutWizard(WindowOf(Window), StartDir ? StartDir : "."); });
}

void ProgramOptions(void* Window) {
  ui::Guarded([&] {
    ui::TSettingsStore Store;
    plexor::RunProgramOptions(WindowOf(Window), Store);
  });
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* PlexorEntry(int Ordinal) {
  switch (Ordinal) {
    case plexor::OrdinalAbout: return reinterpret_cast<void*>(&About);
    case plexor::OrdinalScan: return reinterpret_cast<void*>(&Scan);
    case plexor::OrdinalCutWizard: return reinterpret_cast<void*>(&CutWizard);
    case plexor::OrdinalProgramOptions: return reinterpret_cast<void*>(&ProgramOptions);
    default: return nullptr;
  }
}
