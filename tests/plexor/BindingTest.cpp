#include <gtest/gtest.h>

#include <QLibrary>
#include <QTemporaryDir>
#include <string>

#include "plexor/Binding.h"

using namespace plexor;

namespace {

std::string FakeLog(const std::string& Folder) {
  QLibrary Library(QString::fromStdString(Folder + "/libPlexor.so"));
  auto Log = reinterpret_cast<const char* (*)()>(Library.resolve("FakePlexorLog"));
  return Log ? Log() : "<no log>";
}

std::string BindError(const std::string& Folder) {
  try {
    TPlexorLibrary Library(Folder);
  } catch (const EPlexorError& E) {
    return E.Message();
  }
  return "<bound>";
}

}  // namespace

TEST(PlexorBinding, EachOrdinalReachesItsEntryWithItsArguments) {
  TPlexorLibrary Library(FAKE_PLEXOR_DIR);
  auto* Window = reinterpret_cast<QWidget*>(uintptr_t{0x1234});
  Library.About(Window);
  EXPECT_EQ(Library.Scan(Window, "/scanned"), 1);
  EXPECT_EQ(Library.Scan(Window, "/start"), 0);
  Library.CutWizard(Window, "/start");
  Library.ProgramOptions(Window);
  EXPECT_EQ(FakeLog(FAKE_PLEXOR_DIR),
            "About(4660);Scan(4660,/scanned);Scan(4660,/start);CutWizard(4660,/start);ProgramOptions(4660);");
}

TEST(PlexorBinding, AMissingLibraryIsReportedWithItsPath) {
  QTemporaryDir Empty;
  const std::string Folder = Empty.path().toStdString();
  const std::string Error = BindError(Folder);
  EXPECT_EQ(Error.rfind("Cannot load the library \"" + Folder + "/libPlexor.so\": ", 0), 0u) << Error;
}

TEST(PlexorBinding, AMissingOrdinalIsReported) {
  EXPECT_EQ(BindError(FAKE_PLEXOR_PARTIAL_DIR),
            "Cannot bind the library \"" FAKE_PLEXOR_PARTIAL_DIR "/libPlexor.so\": it has no entry for ordinal 13.");
}

TEST(PlexorBinding, ALibraryWithoutTheEntryIsReported) {
  const std::string Error = BindError(FAKE_PLEXOR_NOENTRY_DIR);
  EXPECT_EQ(Error.rfind("Cannot bind the library \"" FAKE_PLEXOR_NOENTRY_DIR "/libPlexor.so\": ", 0), 0u) << Error;
}

TEST(PlexorBinding, TheBuiltLibraryBindsEveryOrdinal) {
  EXPECT_NO_THROW(TPlexorLibrary Library(PLEXOR_DIR));
}
