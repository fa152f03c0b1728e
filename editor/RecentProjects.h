// The recent-projects list and its file File.dat in the start folder: one full path a
// line, oldest first, at most seven. A path enters when its project is closed; one
// already listed (compared case-sensitively) keeps its place.
#pragma once

#include <string>
#include <vector>

namespace editor {

class TRecentProjects {
 public:
  static constexpr int MaxCount = 7;

  // Appends Path unless it is listed or empty; beyond MaxCount the oldest goes.
  // True when the list changed.
  bool Add(const std::string& Path);
  const std::vector<std::string>& Items() const { return FItems; }

  // Adds each line in order. A missing file is an empty list; a file that exists but
  // cannot be read raises EFOpenError. Empty or overlong lines are passed over.
  void LoadFromFile(const std::string& FileName);
  // Lines ended by CR LF, written beside the target and renamed over it.
  void SaveToFile(const std::string& FileName) const;

 private:
  std::vector<std::string> FItems;
};

// StartDir/File.dat
std::string RecentProjectsFileName(const std::string& StartDir);

}  // namespace editor
