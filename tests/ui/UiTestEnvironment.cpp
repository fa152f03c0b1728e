// One offscreen application object for the whole run, with settings in a temporary
// folder instead of the user's.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "platform/ui/Application.h"

namespace {

class TUiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    FSettingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, FSettingsDir->path());
    QStandardPaths::setTestModeEnabled(true);
    FApp = std::make_unique<ui::TApplication>(FArgc, FArgv);
  }
  void TearDown() override {
    FApp.reset();
    FSettingsDir.reset();
  }

 private:
  int FArgc = 1;
  char FName[16] = "ui_tests";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<QTemporaryDir> FSettingsDir;
  std::unique_ptr<ui::TApplication> FApp;
};

const testing::Environment* const Registered = testing::AddGlobalTestEnvironment(new TUiEnvironment);

}  // namespace
