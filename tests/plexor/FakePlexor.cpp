// A stand-in libPlexor.so for the binding tests: each entry records its call. Built
// once complete and once without ordinal FAKE_PLEXOR_MISSING.
#include <cstdint>
#include <string>

#include "plexor/PlexorEntry.h"

namespace {

std::string Log;

void Record(const std::string& What, void* Window, const char* StartDir) {
  Log += What + "(" + std::to_string(reinterpret_cast<uintptr_t>(Window));
  if (StartDir) Log += std::string(",") + StartDir;
  Log += ");";
}

void About(void* Window) { Record("About", Window, nullptr); }
uint8_t Scan(void* Window, const char* StartDir) {
  Record("Scan", Window, StartDir);
  return std::string(StartDir) == "/scanned" ? 1 : 0;
}
void CutWizard(void* Window, const char* StartDir) { Record("CutWizard", Window, StartDir); }
void ProgramOptions(void* Window) { Record("ProgramOptions", Window, nullptr); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const char* FakePlexorLog() { return Log.c_str(); }

extern "C" __attribute__((visibility("default"))) void* PlexorEntry(int Ordinal) {
  if (Ordinal == FAKE_PLEXOR_MISSING) return nullptr;
  switch (Ordinal) {
    case plexor::OrdinalAbout: return reinterpret_cast<void*>(&About);
    case plexor::OrdinalScan: return reinterpret_cast<void*>(&Scan);
    case plexor::OrdinalCutWizard: return reinterpret_cast<void*>(&CutWizard);
    case plexor::OrdinalProgramOptions: return reinterpret_cast<void*>(&ProgramOptions);
    default: return nullptr;
  }
}
