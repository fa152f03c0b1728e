#include "platform/ui/Shell.h"

#include <sys/stat.h>

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <filesystem>

#include "platform/base/Stream.h"

namespace ui {

namespace {

// A string value: backslash and control characters escaped.
std::string EscapeValue(const std::string& Text) {
  std::string Result;
  for (char C : Text) {
    switch (C) {
      case '\\': Result += "\\\\"; break;
      case '\n': Result += "\\n"; break;
      case '\t': Result += "\\t"; break;
      case '\r': Result += "\\r"; break;
      default: Result += C;
    }
  }
  return Result;
}

// One Exec argument: quoted when it holds a reserved character; '%' doubled.
std::string ExecArgument(const std::string& Argument) {
  static const std::string Reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string Quoted;
  bool NeedsQuotes = Argument.empty();
  for (char C : Argument) {
    if (Reserved.find(C) != std::string::npos) NeedsQuotes = true;
    if (C == '"' || C == '`' || C == '$' || C == '\\') Quoted += '\\';
    Quoted += C;
    if (C == '%') Quoted += '%';
  }
  return NeedsQuotes ? '"' + Quoted + '"' : Quoted;
}

class TSystemShell : public TShell {
 public:
  bool OpenUrl(const std::string& FileOrAddress) override {
    const QString Text = QString::fromStdString(FileOrAddress);
    const QUrl Url = QDir::isAbsolutePath(Text) ? QUrl::fromLocalFile(Text) : QUrl::fromUserInput(Text);
    return QDesktopServices::openUrl(Url);
  }
  bool StartProgram(const std::string& Program, const std::vector<std::string>& Arguments,
                    const std::string& WorkFolder) override {
    QStringList List;
    for (const std::string& Argument : Arguments) List << QString::fromStdString(Argument);
    return QProcess::startDetached(QString::fromStdString(Program), List, QString::fromStdString(WorkFolder));
  }
  std::string CreateDesktopLink(const TShellLink& Link) override {
    const QString Desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QDir().mkpath(Desktop);
    return WriteDesktopEntry(Desktop.toStdString(), Link);
  }
};

}  // namespace

std::unique_ptr<TShell> NewSystemShell() { return std::make_unique<TSystemShell>(); }

std::string DesktopEntryText(const TShellLink& Link) {
  std::string Text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
  Text += "Name=" + EscapeValue(Link.Name) + "\n";
  Text += "Exec=" + EscapeValue(ExecArgument(Link.Program)) + "\n";
  Text += "Path=" + EscapeValue(Link.WorkFolder) + "\n";
  if (!Link.Icon.empty()) Text += "Icon=" + EscapeValue(Link.Icon) + "\n";
  Text += "Terminal=false\n";
  return Text;
}

std::string WriteDesktopEntry(const std::string& Folder, const TShellLink& Link) {
  namespace fs = std::filesystem;
  fs::path Target = fs::path(Folder) / (Link.Name + ".desktop");
  for (int N = 1; fs::exists(fs::symlink_status(Target)); ++N)
    Target = fs::path(Folder) / (Link.Name + "(" + std::to_string(N) + ").desktop");
  const std::string Text = DesktopEntryText(Link);
  base::WriteFileAtomically(Target.string(), [&](base::TStream& S) {
    S.WriteBuffer(Text.data(), static_cast<int64_t>(Text.size()));
  });
  chmod(Target.c_str(), 0755);
  return Target.string();
}

}  // namespace ui
