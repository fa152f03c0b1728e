#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/base/Exceptions.h"
#include "platform/ui/Shell.h"

using namespace ui;

namespace {

std::string FileText(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

std::string Line(const std::string& Text, const std::string& Key) {
  const size_t At = Text.find("\n" + Key + "=");
  if (At == std::string::npos) return "<none>";
  const size_t Begin = At + Key.size() + 2;
  return Text.substr(Begin, Text.find('\n', Begin) - Begin);
}

TShellLink AnimoraLink(const std::string& Folder) {
  return {"Animora", Folder + "/Animora", Folder, Folder + "/Animora.png"};
}

}  // namespace

TEST(Shell, TheDesktopEntryStartsTheProgramInItsFolder) {
  const std::string Text = DesktopEntryText(AnimoraLink("/opt/Veltrane/Animora"));
  EXPECT_EQ(Text.rfind("[Desktop Entry]\n", 0), 0u);
  EXPECT_EQ(Line(Text, "Type"), "Application");
  EXPECT_EQ(Line(Text, "Name"), "Animora");
  EXPECT_EQ(Line(Text, "Exec"), "/opt/Veltrane/Animora/Animora");
  EXPECT_EQ(Line(Text, "Path"), "/opt/Veltrane/Animora");
  EXPECT_EQ(Line(Text, "Icon"), "/opt/Veltrane/Animora/Animora.png");
  EXPECT_EQ(Line(DesktopEntryText({"Animora", "/a/Animora", "/a", ""}), "Icon"), "<none>");
}

TEST(Shell, ExecIsQuotedByTheDesktopRules) {
  struct {
    std::string Program;
    std::string Exec;
  } const Cases[] = {
      {"/plain/Animora", "/plain/Animora"},
      {"/with space/Animora", "\"/with space/Animora\""},
      {"/cost$/Animora", "\"/cost\\\\$/Animora\""},  // "\$" in the quotes, the backslash escaped again as a value
      {"/100%/Animora", "/100%%/Animora"},
      {"/q\"uote/Animora", "\"/q\\\\\"uote/Animora\""},
  };
  for (const auto& C : Cases) EXPECT_EQ(Line(DesktopEntryText({"A", C.Program, "/", ""}), "Exec"), C.Exec) << C.Program;
}

TEST(Shell, ATakenNameIsNumbered) {
  QTemporaryDir Dir;
  const std::string Folder = Dir.path().toStdString();
  const std::string Names[] = {"Animora.desktop", "Animora(1).desktop", "Animora(2).desktop"};
  for (const std::string& Name : Names) {
    const std::string Path = WriteDesktopEntry(Folder, AnimoraLink("/opt/A"));
    EXPECT_EQ(Path, Folder + "/" + Name);
    EXPECT_EQ(FileText(Path), DesktopEntryText(AnimoraLink("/opt/A")));
    struct stat Info {};
    ASSERT_EQ(stat(Path.c_str(), &Info), 0);
    EXPECT_TRUE(Info.st_mode & S_IXUSR);
  }
  std::filesystem::remove(Folder + "/Animora(1).desktop");
  EXPECT_EQ(WriteDesktopEntry(Folder, AnimoraLink("/opt/A")), Folder + "/Animora(1).desktop");
}

TEST(Shell, AFolderThatCannotBeWrittenRaises) {
  EXPECT_THROW(WriteDesktopEntry("/nonexistent/desktop", AnimoraLink("/opt/A")), base::EFCreateError);
}

TEST(Shell, StartProgramRunsInTheWorkingFolder) {
  QTemporaryDir Dir;
  auto Shell = NewSystemShell();
  const std::string Marker = Dir.path().toStdString() + "/started";
  ASSERT_TRUE(Shell->StartProgram("/bin/sh", {"-c", "pwd > started"}, Dir.path().toStdString()));
  // The detached program finishes on its own; wait for its file without a time limit.
  while (!std::filesystem::exists(Marker) || FileText(Marker).empty()) std::this_thread::yield();
  EXPECT_EQ(FileText(Marker), std::filesystem::canonical(Dir.path().toStdString()).string() + "\n");
}

TEST(Shell, StartingAProgramThatDoesNotExistFails) {
  auto Shell = NewSystemShell();
  EXPECT_FALSE(Shell->StartProgram("/nonexistent/program", {}, "/"));
}
