// The installer's wizard driven through its controls, offscreen, with the dialogs
// answered by script, the settings in a file of the test's own and the desktop in a
// temporary folder.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "editor/Settings.h"
#include "install/ArchiveLocation.h"
#include "install/Gradient.h"
#include "install/Main.h"
#include "platform/base/Crc32.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/Shell.h"
#include "tests/install/ArchiveFixture.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace install;
using namespace uitest;
using namespace installtest;
namespace fs = std::filesystem;

namespace {

struct TStart {
  std::string Program;
  std::vector<std::string> Arguments;
  std::string WorkFolder;
};

// Desktop entries go to a folder of the test's; programs are recorded, not started.
class TTestShell : public ui::TShell {
 public:
  TTestShell(std::string Desktop, std::vector<TStart>& Starts) : FDesktop(std::move(Desktop)), FStarts(Starts) {}
  bool OpenUrl(const std::string&) override { return false; }
  bool StartProgram(const std::string& Program, const std::vector<std::string>& Arguments,
                    const std::string& WorkFolder) override {
    FStarts.push_back({Program, Arguments, WorkFolder});
    return true;
  }
  std::string CreateDesktopLink(const ui::TShellLink& Link) override { return ui::WriteDesktopEntry(FDesktop, Link); }

 private:
  std::string FDesktop;
  std::vector<TStart>& FStarts;
};

std::string FileText(const fs::path& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

std::string EntryLine(const std::string& Text, const std::string& Key) {
  const size_t At = Text.find("\n" + Key + "=");
  if (At == std::string::npos) return "<none>";
  const size_t Begin = At + Key.size() + 2;
  return Text.substr(Begin, Text.find('\n', Begin) - Begin);
}

// Every file and folder below Root, not following links: kind, permission bits and, for
// files, size and CRC.
std::map<std::string, std::string> TreeOf(const fs::path& Root) {
  std::map<std::string, std::string> Tree;
  for (const auto& Entry : fs::recursive_directory_iterator(Root)) {
    const auto Mode = static_cast<unsigned>(Entry.symlink_status().permissions());
    std::string What = Entry.is_symlink() ? "link" : Entry.is_directory() ? "folder" : "file";
    What += " mode " + std::to_string(Mode >> 6 & 7) + std::to_string(Mode >> 3 & 7) + std::to_string(Mode & 7);
    if (Entry.is_regular_file()) {
      const std::string Data = FileText(Entry.path());
      What += " size " + std::to_string(Data.size()) + " crc " + std::to_string(base::Crc32(Data.data(), Data.size()));
    }
    Tree[Entry.path().lexically_relative(Root).string()] = What;
  }
  return Tree;
}

class InstallerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FTemp.isValid());
    FRoot = FTemp.path().toStdString();
    fs::create_directories(Desktop());
    FSettings = std::make_unique<ui::TSettingsStore>(FRoot + "/settings/Animora.ini");
  }

  std::string Desktop() const { return FRoot + "/Desktop"; }
  std::string ArchiveName() const { return FRoot + "/dist/Animora.dat"; }

  // A wizard on a shown window of the stored size.
  std::unique_ptr<TForm1> MakeForm(const std::string& DesktopFolder) {
    auto Form = std::make_unique<TForm1>(*FSettings, std::make_unique<TTestShell>(DesktopFolder, FStarts),
                                         ArchiveName());
    Form->show();
    return Form;
  }
  std::unique_ptr<TForm1> MakeForm() { return MakeForm(Desktop()); }

  template <typename T>
  static T* Find(QWidget* Form, const char* Name) {
    T* Found = Form->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Found, nullptr) << Name;
    return Found;
  }
  static QToolButton* Button(QWidget* Form, const char* Name) { return Find<QToolButton>(Form, Name); }
  static int VisiblePage(QWidget* Form) {
    int Shown = 0;
    for (int Page = 1; Page <= 4; ++Page) {
      const std::string Name = "Panel" + std::to_string(Page);
      if (Find<QWidget>(Form, Name.c_str())->isVisible()) {
        EXPECT_EQ(Shown, 0) << "two pages shown";
        Shown = Page;
      }
    }
    return Shown;
  }
  // Goes from the first page to the folder page and sets the folder.
  static void ToFolderPage(QWidget* Form, const std::string& Folder) {
    Button(Form, "NextButton")->click();
    Button(Form, "NextButton")->click();
    Find<QLineEdit>(Form, "EditDir")->setText(QString::fromStdString(Folder));
  }

  QTemporaryDir FTemp;
  std::string FRoot;
  std::unique_ptr<ui::TSettingsStore> FSettings;
  std::vector<TStart> FStarts;
};

TEST_F(InstallerTest, NavigationSetsPagesAndButtons) {
  auto Form = MakeForm();
  struct {
    const char* Press;  // nullptr: the state at start
    int Page;
    bool BackEnabled;
    const char* NextText;
  } const Steps[] = {
      {nullptr, 1, false, "Next"},     {"NextButton", 2, true, "Next"},  {"NextButton", 3, true, "Copy"},
      {"BackButton", 2, true, "Copy"}, {"BackButton", 1, false, "Copy"}, {"BackButton", 1, false, "Copy"},
      {"NextButton", 2, true, "Copy"}, {"NextButton", 3, true, "Copy"},
  };
  int Step = 0;
  for (const auto& S : Steps) {
    if (S.Press) Button(Form.get(), S.Press)->click();
    EXPECT_EQ(VisiblePage(Form.get()), S.Page) << "step " << Step;
    EXPECT_EQ(Button(Form.get(), "BackButton")->isEnabled(), S.BackEnabled) << "step " << Step;
    EXPECT_EQ(Button(Form.get(), "NextButton")->text().toStdString(), S.NextText) << "step " << Step;
    for (const char* Name : {"BackButton", "NextButton", "ExitButton"})
      EXPECT_TRUE(Button(Form.get(), Name)->isVisible()) << Name << " step " << Step;
    ++Step;
  }
}

TEST_F(InstallerTest, ThePagesShowTheirTextsAndTheDefaultFolder) {
  auto Form = MakeForm();
  EXPECT_EQ(Find<QLabel>(Form.get(), "Label3")->text(), QStringLiteral("Welcame !"));
  EXPECT_EQ(Find<QLabel>(Form.get(), "Label11")->text(), QStringLiteral("Installing Veltrane Animora on you computer"));
  EXPECT_FALSE(Form->findChild<QWidget*>(QStringLiteral("Memo1"))->property("plainText").toString().isEmpty());
  EXPECT_EQ(Find<QLineEdit>(Form.get(), "EditDir")->text().toStdString(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/Veltrane/Animora");
  EXPECT_EQ(Button(Form.get(), "BrowseDirButton")->toolTip(), QStringLiteral("Browse"));
  for (const char* Bar : {"ProgressBar1", "ProgressBar2"}) {
    EXPECT_EQ(Find<QProgressBar>(Form.get(), Bar)->minimum(), 0);
    EXPECT_EQ(Find<QProgressBar>(Form.get(), Bar)->maximum(), 100);
  }
}

TEST_F(InstallerTest, ThePanelKeepsItsOffsetFromTheLowerRightCorner) {
  auto Form = MakeForm();
  for (const QSize Size : {QSize(604, 381), QSize(1000, 700)}) {
    Form->resize(Size);
    EXPECT_EQ(Find<QWidget>(Form.get(), "InstallPanel")->pos(),
              QPoint(Form->frameGeometry().width() - 450, Form->frameGeometry().height() - 230));
  }
}

TEST_F(InstallerTest, TheBackgroundIsTheGradient) {
  auto Form = MakeForm();
  Form->resize(604, 381);
  const QImage Image = Form->grab().toImage();
  const auto Bands = GradientBands(Form->frameGeometry().height());
  // Left of the titles and the panel; a later band paints over the one before.
  for (int Y = 0; Y < Image.height(); ++Y) {
    QColor Expected;
    for (const TGradientBand& Band : Bands)
      if (Y >= Band.Top && Y < Band.Bottom) Expected = QColor(Band.Red, Band.Green, Band.Blue);
    ASSERT_EQ(Image.pixelColor(2, Y), Expected) << "row " << Y;
  }
}

TEST_F(InstallerTest, ClosingBeforeTheInstallationAsks) {
  for (int Page = 1; Page <= 3; ++Page) {
    auto Form = MakeForm();
    for (int I = 1; I < Page; ++I) Button(Form.get(), "NextButton")->click();
    {
      TScriptedDialogs Dialogs({Press(ui::mrCancel)});
      Button(Form.get(), "ExitButton")->click();
      ASSERT_EQ(Dialogs.Calls().size(), 1u);
      EXPECT_EQ(Dialogs.Calls()[0].Text, "Do you really want to exit?");
      EXPECT_EQ(Dialogs.Calls()[0].Caption, "Attention");
      EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtInformation);
      EXPECT_EQ(Dialogs.Calls()[0].Buttons, ui::mbOKCancel);
      EXPECT_TRUE(Form->isVisible());
      EXPECT_EQ(VisiblePage(Form.get()), Page);
    }
    TScriptedDialogs Dialogs({Press(ui::mrOk)});
    Form->close();
    EXPECT_TRUE(Dialogs.Done());
    EXPECT_FALSE(Form->isVisible()) << "page " << Page;
  }
}

TEST_F(InstallerTest, TheFolderBrowserReplacesTheFolderOnlyWhenChosen) {
  auto Form = MakeForm();
  ToFolderPage(Form.get(), "/opt/kept");
  TScriptedDialogs Dialogs({Cancel(TDialogKind::Folder), ChooseFolder("/opt/chosen")});
  Button(Form.get(), "BrowseDirButton")->click();
  EXPECT_EQ(Find<QLineEdit>(Form.get(), "EditDir")->text(), QStringLiteral("/opt/kept"));
  Button(Form.get(), "BrowseDirButton")->click();
  EXPECT_EQ(Find<QLineEdit>(Form.get(), "EditDir")->text(), QStringLiteral("/opt/chosen"));
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].Caption, "Select Directory");
}

TEST_F(InstallerTest, OnlyAFullPathOtherThanTheRootIsTaken) {
  MakeArchive(ArchiveName(), EditorFiles());
  for (const char* Folder : {"", "  ", "relative/Animora", "/", "//", "/./"}) {
    auto Form = MakeForm();
    ToFolderPage(Form.get(), Folder);
    TScriptedDialogs Dialogs({Press(ui::mrOk)});
    Button(Form.get(), "NextButton")->click();
    ASSERT_EQ(Dialogs.Calls().size(), 1u) << Folder;
    EXPECT_NE(Dialogs.Calls()[0].Text.find("full path"), std::string::npos);
    EXPECT_EQ(VisiblePage(Form.get()), 3) << Folder;
    EXPECT_TRUE(Button(Form.get(), "NextButton")->isVisible());
    EXPECT_FALSE(FSettings->ValueExists(ui::OptionSection, "TB1Width"));
    Form->hide();
  }
}

TEST_F(InstallerTest, AnInstallationUnpacksWritesTheSettingsAndTheDesktopEntry) {
  const auto Files = EditorFiles();
  MakeArchive(ArchiveName(), Files);
  // Values of an earlier installation that the new one replaces.
  FSettings->WriteInteger(ui::OptionSection, "TB1Width", 100);
  FSettings->WriteInteger(ui::OptionSection, "TB2Width", 101);
  FSettings->WriteInteger(ui::OptionSection, "TB3Width", 102);
  const std::string Folder = FRoot + "/Programs/Veltrane Animora";
  auto Form = MakeForm();
  ToFolderPage(Form.get(), Folder + "/");
  TScriptedDialogs Dialogs({Press(ui::mrCancel)});
  Button(Form.get(), "NextButton")->click();

  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Installation complete. Run Veltrane Animora?");
  EXPECT_EQ(Dialogs.Calls()[0].Caption, "Attention");
  EXPECT_EQ(Dialogs.Calls()[0].Buttons, ui::mbOKCancel);
  EXPECT_FALSE(Form->isVisible()) << "the installer closes without asking";
  EXPECT_TRUE(FStarts.empty());
  EXPECT_EQ(Find<QProgressBar>(Form.get(), "ProgressBar2")->value(), 100);
  EXPECT_EQ(Find<QLabel>(Form.get(), "Label11")->text(), QStringLiteral("Creating icon"));
  EXPECT_EQ(Find<QLabel>(Form.get(), "Label12")->text(), QStringLiteral("Creating icon"));

  for (const auto& [Name, Data] : Files) EXPECT_EQ(FileText(Folder + "/" + Name), Data) << Name;

  // What the editor reads at its next start.
  ui::TSettingsStore EditorStore(FSettings->FileName());
  const editor::TLayout Layout = editor::ReadLayout(editor::TOptionSettings(EditorStore));
  EXPECT_EQ(Layout.ToolBar1Width, 382);
  EXPECT_EQ(Layout.ToolBar4Width, 240);
  EXPECT_EQ(Layout.ToolBar3Width, 158);
  EXPECT_EQ(EditorStore.ReadString(ui::OptionSection, "TB1Width", ""), "382");

  const std::string Entry = FileText(Desktop() + "/Animora.desktop");
  EXPECT_EQ(EntryLine(Entry, "Type"), "Application");
  EXPECT_EQ(EntryLine(Entry, "Name"), "Animora");
  EXPECT_EQ(EntryLine(Entry, "Exec"), "\"" + Folder + "/Animora\"");
  EXPECT_EQ(EntryLine(Entry, "Path"), Folder);
  EXPECT_EQ(EntryLine(Entry, "Icon"), Folder + "/Animora.png");
  EXPECT_TRUE(fs::exists(Folder + "/Animora.png"));
}

TEST_F(InstallerTest, ASecondInstallationNumbersTheEntryAndStartsTheEditorInItsFolder) {
  // Any zip archive installs, also one made by Info-ZIP.
  MakeArchive(ArchiveName(), EditorFiles(), TArchiveMaker::InfoZip);
  const std::string Folder = FRoot + "/Animora";
  for (const char* Entry : {"Animora.desktop", "Animora(1).desktop"}) {
    auto Form = MakeForm();
    ToFolderPage(Form.get(), Folder);
    TScriptedDialogs Dialogs({Press(ui::mrOk)});
    Button(Form.get(), "NextButton")->click();
    EXPECT_TRUE(Dialogs.Done());
    EXPECT_TRUE(fs::exists(Desktop() + "/" + Entry)) << Entry;
    EXPECT_FALSE(Form->isVisible());
  }
  ASSERT_EQ(FStarts.size(), 2u);
  EXPECT_EQ(FStarts[1].Program, Folder + "/Animora");
  EXPECT_TRUE(FStarts[1].Arguments.empty());
  EXPECT_EQ(FStarts[1].WorkFolder, Folder);
}

TEST_F(InstallerTest, ADesktopEntryThatCannotBeWrittenIsReported) {
  MakeArchive(ArchiveName(), EditorFiles());
  auto Form = MakeForm(FRoot + "/no such desktop");
  ToFolderPage(Form.get(), FRoot + "/Animora");
  TScriptedDialogs Dialogs({Press(ui::mrOk), Press(ui::mrCancel)});
  Button(Form.get(), "NextButton")->click();
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].Text.rfind("The desktop entry could not be written: ", 0), 0u)
      << Dialogs.Calls()[0].Text;
  EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtError);
  EXPECT_EQ(Dialogs.Calls()[1].Text, "Installation complete. Run Veltrane Animora?");
  EXPECT_TRUE(FSettings->ValueExists(ui::OptionSection, "TB1Width"));
}

TEST_F(InstallerTest, AFailedUnpackingIsReportedAndWritesNothing) {
  struct {
    const char* Name;
    std::function<void(const std::string&)> Damage;
  } const Cases[] = {
      {"missing", [](const std::string& Archive) { fs::remove(Archive); }},
      {"truncated", [](const std::string& Archive) { fs::resize_file(Archive, fs::file_size(Archive) / 2); }},
      {"corrupt data", [](const std::string& Archive) { CorruptEntryData(Archive, "Help/index.htm"); }},
      {"not a zip", [](const std::string& Archive) { std::ofstream(Archive, std::ios::binary) << "no archive"; }},
  };
  for (const auto& C : Cases) {
    MakeArchive(ArchiveName(), EditorFiles());
    C.Damage(ArchiveName());
    auto Form = MakeForm();
    ToFolderPage(Form.get(), FRoot + "/Animora");
    {
      TScriptedDialogs Dialogs({Press(ui::mrOk)});
      Button(Form.get(), "NextButton")->click();
      ASSERT_EQ(Dialogs.Calls().size(), 1u) << C.Name;
      EXPECT_EQ(Dialogs.Calls()[0].Text.rfind("The installation failed: ", 0), 0u) << Dialogs.Calls()[0].Text;
      EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtError);
    }
    EXPECT_EQ(VisiblePage(Form.get()), 3) << C.Name;
    for (const char* Name : {"BackButton", "NextButton", "ExitButton"})
      EXPECT_TRUE(Button(Form.get(), Name)->isVisible()) << Name << " " << C.Name;
    EXPECT_FALSE(FSettings->ValueExists(ui::OptionSection, "TB1Width")) << C.Name;
    EXPECT_TRUE(fs::is_empty(Desktop())) << C.Name;
    // Not installed: leaving still asks.
    TScriptedDialogs Dialogs({Press(ui::mrOk)});
    Form->close();
    EXPECT_EQ(Dialogs.Calls().at(0).Text, "Do you really want to exit?");
  }
}

TEST_F(InstallerTest, AFolderThatTakesNoFileIsReportedByFilesWithTheFirstFewReasons) {
  TArchiveFiles Many;
  for (int I = 0; I < 30; ++I) Many.emplace_back("Help/page" + std::to_string(I) + ".htm", "page");
  struct {
    const char* Name;
    TArchiveFiles Files;
    std::vector<std::string> Lines;  // the first, then those after the five reasons
  } const Cases[] = {
      {"the editor", EditorFiles(), {"The installation failed: 0 of the 5 files could be extracted."}},
      {"thirty pages", Many, {"The installation failed: 0 of the 30 files could be extracted.", "... and 25 more."}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    MakeArchive(ArchiveName(), C.Files);
    // Where every file should go a folder stands, so no file can be put in place,
    // while the folder entries find their folders made.
    const std::string Folder = FRoot + "/" + C.Name;
    for (const auto& File : C.Files) fs::create_directories(Folder + "/" + File.first);
    auto Form = MakeForm();
    ToFolderPage(Form.get(), Folder);
    TScriptedDialogs Dialogs({Press(ui::mrOk)});
    Button(Form.get(), "NextButton")->click();
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    std::vector<std::string> Lines;
    std::istringstream Text(Dialogs.Calls()[0].Text);
    for (std::string Line; std::getline(Text, Line);) Lines.push_back(Line);
    ASSERT_EQ(Lines.size(), C.Lines.size() + 5) << Dialogs.Calls()[0].Text;
    EXPECT_EQ(Lines.front(), C.Lines.front());
    EXPECT_EQ(std::vector<std::string>(Lines.begin() + 6, Lines.end()),
              std::vector<std::string>(C.Lines.begin() + 1, C.Lines.end()));
    for (size_t I = 1; I <= 5; ++I) EXPECT_NE(Lines[I].find("Is a directory"), std::string::npos) << Lines[I];
    EXPECT_EQ(VisiblePage(Form.get()), 3);
  }
}

TEST_F(InstallerTest, TheWindowDoesNotCloseWhileUnpacking) {
  MakeArchive(ArchiveName(), EditorFiles());
  auto Form = MakeForm();
  ToFolderPage(Form.get(), FRoot + "/Animora");
  TScriptedDialogs Dialogs({Press(ui::mrCancel)});
  bool Tried = false;
  bool Closed = true;
  // Runs from the messages the unpacking lets through.
  QTimer::singleShot(0, Form.get(), [&] {
    Tried = true;
    Closed = Form->close();
  });
  Button(Form.get(), "NextButton")->click();
  EXPECT_TRUE(Tried);
  EXPECT_FALSE(Closed);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Installation complete. Run Veltrane Animora?");
  EXPECT_TRUE(fs::exists(FRoot + "/Animora/Animora"));
}

TEST_F(InstallerTest, TheRealPackageInstallsEveryFileWithItsMode) {
  // This build's program folder, staged and packed by the script scripts/package uses.
  const std::string Stage = FRoot + "/stage";
  fs::create_directories(Stage);
  const std::string Pack = std::string("'") + PACK_PROGRAM + "' '" + BUILD_DIR + "' '" + Stage + "' '" + ArchiveName() + "'";
  fs::create_directories(fs::path(ArchiveName()).parent_path());
  ASSERT_EQ(std::system((Pack + " >/dev/null").c_str()), 0) << Pack;

  const std::string Folder = FRoot + "/Programs/Veltrane Animora";
  auto Form = MakeForm();
  ToFolderPage(Form.get(), Folder);
  TScriptedDialogs Dialogs({Press(ui::mrCancel)});
  Button(Form.get(), "NextButton")->click();
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Installation complete. Run Veltrane Animora?");

  const auto Shipped = TreeOf(Stage);
  EXPECT_EQ(TreeOf(Folder), Shipped);
  // What the desktop entry and the editor itself need.
  for (const char* Name : {"Animora", "libPlexor.so", "Animora.png", "Help/index.htm", "Image/Marble.bmp"})
    EXPECT_EQ(Shipped.count(Name), 1u) << Name;
  EXPECT_NE(fs::status(Folder + "/Animora").permissions() & fs::perms::owner_exec, fs::perms::none);
  const std::string Entry = FileText(Desktop() + "/Animora.desktop");
  EXPECT_EQ(EntryLine(Entry, "Exec"), "\"" + Folder + "/Animora\"");
  EXPECT_EQ(EntryLine(Entry, "Path"), Folder);
  EXPECT_EQ(EntryLine(Entry, "Icon"), Folder + "/Animora.png");
}

TEST_F(InstallerTest, TheProgramTakesTheArchiveBesideItselfWhateverFolderItStartsIn) {
  // A decoy in the folder the program is started from.
  std::ofstream(FRoot + "/Animora.dat") << "not this one";
  const fs::path Started = fs::current_path();
  fs::current_path(FRoot);
  const std::string Archive = ArchiveBesideProgram();
  fs::current_path(Started);
  EXPECT_EQ(Archive, fs::read_symlink("/proc/self/exe").parent_path().string() + "/Animora.dat");
}

TEST_F(InstallerTest, EveryWindowShowsTheProgramsIcon) {
  auto Form = MakeForm();
  const QImage Own = QIcon(":/install/Animora.png").pixmap(32).toImage();
  ASSERT_FALSE(Own.isNull());
  // The installer's message boxes and folder choice, wherever they are parented.
  QMessageBox Box;
  QFileDialog Folder;
  for (QWidget* Window : std::initializer_list<QWidget*>{Form.get(), &Box, &Folder})
    EXPECT_EQ(Window->windowIcon().pixmap(32).toImage(), Own) << Window->metaObject()->className();
}

}  // namespace
