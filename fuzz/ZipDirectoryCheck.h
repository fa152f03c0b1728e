// What reading arbitrary bytes as a zip archive's directory must give, shared by the
// fuzz harness and the test that replays the inputs it once failed on: either one of
// the library's exceptions, or a directory whose entries can be listed, sorted and
// selected. Both incomplete-archive modes are tried; volume requests get the same file.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "install/zip/ZipReader.h"
#include "platform/base/Strings.h"

namespace fuzzcheck {

inline std::string CheckZipDirectory(const uint8_t* Data, size_t Size) {
  static const std::string Name = [] {
    char Pattern[] = "/tmp/zipdirfuzzXXXXXX";
    const int Handle = ::mkstemp(Pattern);
    if (Handle >= 0) ::close(Handle);
    return std::string(Pattern);
  }();
  if (FILE* File = std::fopen(Name.c_str(), "wb")) {
    if (Size > 0) std::fwrite(Data, 1, Size, File);
    std::fclose(File);
  }
  for (const zip::TIncompleteZipMode Mode : {zip::izAssumeMulti, zip::izAssumeBad}) {
    try {
      zip::TZipReader Reader;
      Reader.SetIncompleteZipMode(Mode);
      Reader.OnGetNextDisk = [](base::TObject*, int, std::string& FName) { FName = Name; };
      Reader.SetZipName(Name);
      Reader.OpenZip();
      std::string Names;
      for (int I = 0; I < Reader.Count(); ++I) {
        Names += Reader.Filename(I);
        Names += Reader.FileComment(I);
        Reader.DateTime(I);
      }
      Reader.ZipComment();
      for (const zip::TZipSortMode Sort : {zip::ByName, zip::ByDate, zip::ByRate, zip::ByNone}) {
        Reader.Sort(Sort);
        if (Reader.Count() > 0) Reader.Entries(Reader.Count() - 1);
      }
      base::TStringList Patterns{"*.txt", "d*/[a-c]?*", "*"};
      Reader.SetFilesList(Patterns);
      Reader.SetRecreateDirs(true);
      if (Reader.SelectEntries() > Reader.Count()) return "more entries selected than held";
      // Reading it again keeps the directory held.
      const int Count = Reader.Count();
      Reader.OpenZip();
      if (Reader.Count() != Count) return "the same archive read twice gave another directory";
      Reader.CloseZip();
    } catch (const base::Exception&) {
    } catch (const std::exception& E) {
      return std::string("unexpected exception: ") + E.what();
    }
  }
  return "";
}

}  // namespace fuzzcheck
