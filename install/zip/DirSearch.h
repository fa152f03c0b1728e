// A search for the files of a folder, and optionally of its sub-folders, whose names
// match a wildcard pattern. Works on full paths: the process's current folder is
// never changed. Symbolically linked folders are not entered.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "install/zip/ZipUtil.h"
#include "platform/base/Object.h"

namespace zip {

struct TSearchRec {
  std::string Name;
  int64_t Size = 0;
  TDateTime Time = 0;
  TFileStamp Stamp;
};

class TDirSearch : public base::TObject {
 public:
  ANIMORA_CLASS(TDirSearch)
  // The starting folder and 20 below it.
  static constexpr int MaxLevels = 21;

  // An empty StartFolder is the current folder (names then come without a folder).
  TDirSearch(const std::string& StartFolder, bool Recurse, const std::string& Pattern);
  ~TDirSearch() override;

  // The full name of the next matching file, or empty when the search is exhausted.
  // A name without extension is matched with a "." appended, so "*." finds it.
  std::string NextFile(TSearchRec& SearchRecord);

  // A sub-folder that lies beyond the depth limit and is therefore not searched.
  std::function<void(const std::string& Folder)> OnFolderTooDeep;

 private:
  struct TSearchData;
  void OpenLevel(const std::string& Folder);
  std::vector<std::unique_ptr<TSearchData>> FLevels;
  std::string FPattern;
  bool FRecurse;
};

}  // namespace zip
