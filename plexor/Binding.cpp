#include "plexor/Binding.h"

#include <QCoreApplication>
#include <QDir>

namespace plexor {

namespace {

template <typename F>
F Bind(TPlexorEntryFunction Entry, int Ordinal, const QString& Path) {
  void* Function = Entry(Ordinal);
  if (!Function)
    throw EPlexorError("Cannot bind the library \"" + Path.toStdString() + "\": it has no entry for ordinal " +
                       std::to_string(Ordinal) + ".");
  return reinterpret_cast<F>(Function);
}

}  // namespace

TPlexorLibrary::TPlexorLibrary(const std::string& Folder) {
  const QString Path = QDir(QString::fromStdString(Folder)).filePath(QLatin1String(LibraryFileName));
  FLibrary.setFileName(Path);
  if (!FLibrary.load())
    throw EPlexorError("Cannot load the library \"" + Path.toStdString() + "\": " +
                       FLibrary.errorString().toStdString());
  auto Entry = reinterpret_cast<TPlexorEntryFunction>(FLibrary.resolve(EntryName));
  if (!Entry) {
    const std::string Reason = FLibrary.errorString().toStdString();
    FLibrary.unload();
    throw EPlexorError("Cannot bind the library \"" + Path.toStdString() + "\": " + Reason);
  }
  try {
    FAbout = Bind<TPlexorAbout>(Entry, OrdinalAbout, Path);
    FScan = Bind<TPlexorScan>(Entry, OrdinalScan, Path);
    FCutWizard = Bind<TPlexorCutWizard>(Entry, OrdinalCutWizard, Path);
    FProgramOptions = Bind<TPlexorProgramOptions>(Entry, OrdinalProgramOptions, Path);
  } catch (...) {
    FLibrary.unload();
    throw;
  }
}

// The library stays loaded: windows it made may still be on their way out.
TPlexorLibrary::~TPlexorLibrary() = default;

void TPlexorLibrary::About(QWidget* Window) { FAbout(Window); }

uint8_t TPlexorLibrary::Scan(QWidget* Window, const std::string& StartDir) { return FScan(Window, StartDir.c_str()); }

void TPlexorLibrary::CutWizard(QWidget* Window, const std::string& StartDir) {
  FCutWizard(Window, StartDir.c_str());
}

void TPlexorLibrary::ProgramOptions(QWidget* Window) { FProgramOptions(Window); }

std::string ProgramFolder() { return QCoreApplication::applicationDirPath().toStdString(); }

}  // namespace plexor
