#include "tools/ZipTool.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "install/zip/ZipUtil.h"
#include "platform/base/Format.h"

namespace ziptool {

namespace {

std::string StemOf(const std::string& Archive) {
  const size_t Dot = Archive.rfind('.');
  const size_t Slash = Archive.rfind('/');
  return Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash) ? Archive : Archive.substr(0, Dot);
}

}  // namespace

void Report(const std::string& Message) { std::fprintf(stderr, "ziptool: %s\n", Message.c_str()); }

void OpenArchive(zip::TZipReader& Reader, const std::string& Archive) {
  const std::string Stem = StemOf(Archive);
  std::string Name = Archive;
  if (!zip::FileExists(Archive)) {
    for (int N = 999; N >= 1; --N) {
      const std::string Block = base::Format("%s.%03d", Stem.c_str(), N);
      if (zip::FileExists(Block)) {
        Name = Block;
        break;
      }
    }
  }
  struct TAsked {
    int Disk = 0;
    int Tries = 0;
  };
  auto Asked = std::make_shared<TAsked>();
  Reader.OnGetNextDisk = [Stem, Archive, Asked](base::TObject*, int Disk, std::string& FName) {
    Asked->Tries = Disk == Asked->Disk ? Asked->Tries + 1 : 0;
    Asked->Disk = Disk;
    const std::string Candidates[] = {base::Format("%s.%03d", Stem.c_str(), Disk),
                                      base::Format("%s.z%02d", Stem.c_str(), Disk), Archive};
    FName = Asked->Tries < 3 ? Candidates[Asked->Tries] : std::string();
  };
  Reader.SetZipName(Name);
  Reader.OpenZip();
}

int Guarded(const std::string& Archive, const std::function<int()>& Body) {
  try {
    return Body();
  } catch (const std::exception& E) {
    Report(Archive + ": " + E.what());
  } catch (...) {
    Report(Archive + ": unexpected failure");
  }
  return ExitRefused;
}

}  // namespace ziptool
