// ziptool extract ARCHIVE DEST [--password P]: every entry into DEST, folders made as
// needed, existing files replaced. ziptool test ARCHIVE [--password P]: the same into
// a temporary folder that is removed afterwards. Exit status 1 when any entry failed,
// with one message per failed entry.
#include "tools/ZipToolExtract.h"

#include <cstdlib>
#include <filesystem>

#include "install/zip/ZipReader.h"

namespace ziptool {

namespace {

// ARCHIVE [DEST] [--password P]; false for anything else.
bool ParseArgs(const TArgs& Args, size_t Positional, std::vector<std::string>& Names, std::string& Password) {
  for (size_t I = 0; I < Args.size(); ++I) {
    if (Args[I] == "--password") {
      if (++I == Args.size()) return false;
      Password = Args[I];
    } else {
      Names.push_back(Args[I]);
    }
  }
  return Names.size() == Positional;
}

int Run(const std::string& Archive, const std::string& Dest, const std::string& Password) {
  return Guarded(Archive, [&] {
    zip::TZipReader Reader;
    OpenArchive(Reader, Archive);
    Reader.SetDestDir(Dest);
    Reader.SetDoAll(true);
    Reader.SetRecreateDirs(true);
    Reader.SetOverwriteMode(zip::TUZOverwriteMode::Always);
    Reader.SetPassword(Password);
    bool Failed = false;
    Reader.OnEntryFailed = [&](base::TObject*, int, const std::string& Message) {
      Report(Message);
      Failed = true;
    };
    Reader.UnZip();
    return Failed ? ExitRefused : ExitOk;
  });
}

}  // namespace

int Extract(const TArgs& Args) {
  std::vector<std::string> Names;
  std::string Password;
  if (!ParseArgs(Args, 2, Names, Password)) return ExitUsage;
  return Run(Names[0], Names[1], Password);
}

int Test(const TArgs& Args) {
  std::vector<std::string> Names;
  std::string Password;
  if (!ParseArgs(Args, 1, Names, Password)) return ExitUsage;
  std::string Folder = (std::filesystem::temp_directory_path() / "ziptool-test-XXXXXX").string();
  if (::mkdtemp(Folder.data()) == nullptr) {
    Report("cannot make a temporary folder");
    return ExitRefused;
  }
  int Status = Run(Names[0], Folder, Password);
  std::error_code Ignored;
  std::filesystem::remove_all(Folder, Ignored);
  return Status;
}

}  // namespace ziptool
