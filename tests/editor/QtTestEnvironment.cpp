// One offscreen application object for the whole run, with the settings kept in a
// temporary folder instead of the user's.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "platform/ui/Application.h"

namespace {

class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SettingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsDir->path());
    QStandardPaths::setTestModeEnabled(true);
    App = std::make_unique<ui::TApplication>(Argc, Argv);
  }
  void TearDown() override {
    App.reset();
    SettingsDir.reset();
  }

 private:
  int Argc = 1;
  char Name[16] = "editor_tests";
  char* Argv[2] = {Name, nullptr};
  std::unique_ptr<QTemporaryDir> SettingsDir;
  std::unique_ptr<ui::TApplication> App;
};

const testing::Environment* const Registered = testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
