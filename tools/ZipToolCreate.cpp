// ziptool create ARCHIVE [--level N] [--password P] [--blocks BYTES] NAME...: adds the
// files (folders with everything below them, stored as entries ending in "/") to
// ARCHIVE, names relative to the current folder ("." adds what the current folder
// holds); an existing ARCHIVE is updated and never added to itself.
// --blocks writes numbered block files of at most BYTES each. A name that does not
// exist or cannot be read is reported and the status is 1.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "install/zip/ZipWriter.h"
#include "tools/ZipTool.h"

namespace ziptool {

namespace {

// The folder itself, then its contents in name order, sub-folders depth first.
void AddTree(const std::string& Name, base::TStringList& Files) {
  Files.Add(Name);
  std::error_code Error;
  if (std::filesystem::is_symlink(Name, Error) || !std::filesystem::is_directory(Name, Error)) return;
  std::vector<std::string> Children;
  for (const auto& Entry : std::filesystem::directory_iterator(Name, Error))
    Children.push_back(Entry.path().filename().string());
  std::sort(Children.begin(), Children.end());
  const std::string Prefix = Name.back() == '/' ? Name : Name + "/";
  for (const std::string& Child : Children) AddTree(Prefix + Child, Files);
}

bool ParseNumber(const std::string& Text, long long Low, long long High, long long& Value) {
  char* End = nullptr;
  Value = std::strtoll(Text.c_str(), &End, 10);
  return !Text.empty() && *End == 0 && Value >= Low && Value <= High;
}

}  // namespace

int Create(const TArgs& Args) {
  if (Args.empty()) return ExitUsage;
  const std::string Archive = Args[0];
  zip::TZipWriter Writer;
  base::TStringList Files;
  for (size_t I = 1; I < Args.size(); ++I) {
    const std::string& A = Args[I];
    long long Value = 0;
    if (A == "--level" || A == "--password" || A == "--blocks") {
      if (I + 1 >= Args.size()) return ExitUsage;
      const std::string& V = Args[++I];
      if (A == "--password") {
        Writer.SetPassword(V);
      } else if (A == "--level") {
        if (!ParseNumber(V, 0, 9, Value)) return ExitUsage;
        Writer.SetPackLevel(static_cast<int>(Value));
      } else {
        if (!ParseNumber(V, 1, INT64_MAX, Value)) return ExitUsage;
        Writer.MultiZipInfo().MultiMode = zip::mmBlocks;
        Writer.MultiZipInfo().BlockSize = Value;
        Writer.MultiZipInfo().FirstBlockSize = Value;
      }
    } else {
      AddTree(A, Files);
    }
  }
  if (Files.Count() == 0) return ExitUsage;
  return Guarded(Archive, [&] {
    int Status = ExitOk;
    Writer.Loaded();
    Writer.SetStorePaths(true);
    Writer.SetDoProcessMessages(false);
    Writer.OnNoSuchFile = [&](base::TObject*, const std::string& Name) {
      Report(Name + ": no such file");
      Status = ExitRefused;
    };
    Writer.OnFileNotAdded = [&](base::TObject*, const std::string& Name, const std::string& Reason) {
      Report(Name + ": " + Reason);
      Status = ExitRefused;
    };
    Writer.OnSkippingFile = [&](base::TObject*, zip::TSkipReason, int) {};
    Writer.SetZipName(Archive);
    Writer.SetFilesList(Files);
    Writer.ZipFiles();
    return Status;
  });
}

}  // namespace ziptool
