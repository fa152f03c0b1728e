// Helpers of the editor tests: posted work, focus changes, a temporary start folder
// and a settings file of its own.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFocusEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/SettingsStore.h"
#include "tests/ui/ScriptedDialogs.h"

namespace editortest {

// Runs what the controls and forms posted for later, such as their messages.
inline void RunPosted() { QCoreApplication::processEvents(); }

inline void SendFocus(QWidget& Widget, QEvent::Type Type) {
  QFocusEvent Event(Type, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&Widget, &Event);
}

// A fresh folder removed with the object.
struct StartFolder {
  QTemporaryDir Dir;
  std::string Path() const { return QDir(Dir.path()).absolutePath().toStdString(); }
};

// An ini file in a folder of its own.
struct TempSettings {
  StartFolder Folder;
  ui::TSettingsStore Store{Folder.Path() + "/Animora.ini"};
};

// The texts of the message boxes shown, with their captions.
inline std::vector<std::pair<std::string, std::string>> Messages(const uitest::TScriptedDialogs& Dialogs) {
  std::vector<std::pair<std::string, std::string>> Result;
  for (const uitest::TDialogCall& Call : Dialogs.Calls())
    if (Call.Kind == uitest::TDialogKind::Message) Result.emplace_back(Call.Text, Call.Caption);
  return Result;
}

}  // namespace editortest
