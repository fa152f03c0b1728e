#include "install/zip/DirSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "install/zip/WildMatch.h"

namespace zip {

struct TDirSearch::TSearchData {
  std::string Folder;  // empty or with a final "/"
  std::vector<std::string> Names;
  size_t Next = 0;
};

TDirSearch::TDirSearch(const std::string& StartFolder, bool Recurse, const std::string& Pattern)
    : FPattern(Pattern), FRecurse(Recurse) {
  std::string Folder = StartFolder;
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  OpenLevel(Folder);
}

TDirSearch::~TDirSearch() = default;

void TDirSearch::OpenLevel(const std::string& Folder) {
  auto Level = std::make_unique<TSearchData>();
  Level->Folder = Folder;
  if (DIR* Dir = ::opendir(Folder.empty() ? "." : Folder.c_str())) {
    while (const dirent* Entry = ::readdir(Dir)) {
      const std::string Name = Entry->d_name;
      if (Name != "." && Name != "..") Level->Names.push_back(Name);
    }
    ::closedir(Dir);
  }
  // The file system's order is arbitrary; a sorted one makes runs repeatable.
  std::sort(Level->Names.begin(), Level->Names.end());
  FLevels.push_back(std::move(Level));
}

std::string TDirSearch::NextFile(TSearchRec& SearchRecord) {
  while (!FLevels.empty()) {
    TSearchData& Level = *FLevels.back();
    if (Level.Next >= Level.Names.size()) {
      FLevels.pop_back();
      continue;
    }
    const std::string Name = Level.Names[Level.Next++];
    const std::string Path = Level.Folder + Name;
    struct stat Info {};
    if (::lstat(Path.c_str(), &Info) != 0) continue;
    if (S_ISDIR(Info.st_mode)) {
      if (!FRecurse || Name[0] == '.') continue;
      if (int(FLevels.size()) < MaxLevels) {
        OpenLevel(Path + '/');
      } else if (OnFolderTooDeep) {
        OnFolderTooDeep(Path);
      }
      continue;
    }
    // A link counts as what it points to, but a linked folder is never entered.
    if (S_ISLNK(Info.st_mode) && ::stat(Path.c_str(), &Info) != 0) continue;
    if (!S_ISREG(Info.st_mode)) continue;
    if (!IsMatch(FPattern, Name.find('.') == std::string::npos ? Name + '.' : Name)) continue;
    SearchRecord.Name = Name;
    SearchRecord.Size = int64_t(Info.st_size);
    SearchRecord.Stamp = {int64_t(Info.st_size), int64_t(Info.st_mtim.tv_sec), int64_t(Info.st_mtim.tv_nsec)};
    SearchRecord.Time = FileDateTime(Path);
    return Path;
  }
  return {};
}

}  // namespace zip
