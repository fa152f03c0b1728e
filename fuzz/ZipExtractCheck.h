// What extracting arbitrary bytes as a zip archive must give, shared by the fuzz harness
// and the test that replays the inputs it once failed on. Each input is extracted, with
// a password set, into a fresh destination that lies deep inside a run folder of its
// own, beside a folder "outside" and with two links planted in it that lead there. The
// extraction may refuse anything with one of the library's exceptions, but nothing may
// appear in the run folder outside the destination and nothing may be written through
// a link: "outside" must keep exactly its one file, unchanged.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "install/zip/ZipReader.h"

namespace fuzzcheck {

namespace zipextract {

namespace fs = std::filesystem;

// Climbing out of the destination by fewer levels than this stays in the run folder.
inline const fs::path DestinationBelowRun = "a/b/c/d/e/f/g/dest";
inline const std::string TargetText = "must stay as it is\n";
// Declared sizes beyond this are not extracted, so no input fills the disk.
constexpr int64_t MaxExtractedBytes = int64_t{8} << 20;

// Lets everything below Folder be listed and removed, whatever modes extraction gave.
inline void MakeRemovable(const fs::path& Folder) {
  ::chmod(Folder.c_str(), 0700);
  std::error_code Error;
  for (fs::directory_iterator It(Folder, Error), End; !Error && It != End; It.increment(Error))
    if (It->is_directory(Error) && !It->is_symlink(Error)) MakeRemovable(It->path());
}

inline std::string FileText(const fs::path& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

// What lies in the run folder and should not: empty when all is well.
inline std::string Intruders(const fs::path& Run, const fs::path& Archive) {
  const fs::path Destination = Run / DestinationBelowRun;
  std::error_code Error;
  for (fs::recursive_directory_iterator It(Run, fs::directory_options::none, Error), End; !Error && It != End;
       It.increment(Error)) {
    const fs::path& Path = It->path();
    if (Path == Destination) {
      It.disable_recursion_pending();
      continue;
    }
    const fs::path Relative = Path.lexically_relative(Run);
    const bool OnTheWay = DestinationBelowRun.string().rfind(Relative.string() + "/", 0) == 0;
    if (OnTheWay || Path == Archive || Relative == "outside") continue;
    if (Relative == "outside/target.txt" && !It->is_symlink(Error)) {
      if (FileText(Path) != TargetText) return "a link was followed: " + Relative.string() + " was written";
      continue;
    }
    return (Relative.string().rfind("outside/", 0) == 0 ? "a link was followed: " : "created outside the destination: ") +
           Relative.string();
  }
  if (FileText(Run / "outside/target.txt") != TargetText) return "a link was followed: outside/target.txt is gone";
  return "";
}

}  // namespace zipextract

inline std::string CheckZipExtract(const uint8_t* Data, size_t Size) {
  namespace fs = std::filesystem;
  using namespace zipextract;
  // One folder for the process, removed when it ends.
  static const struct TSandbox {
    TSandbox() {
      std::string Pattern = (fs::temp_directory_path() / "zipextractfuzzXXXXXX").string();
      if (!::mkdtemp(Pattern.data())) std::abort();
      Path = Pattern;
    }
    ~TSandbox() {
      std::error_code Ignored;
      MakeRemovable(Path);
      fs::remove_all(Path, Ignored);
    }
    fs::path Path;
  } Sandbox;
  const fs::path Run = Sandbox.Path / "run";
  const fs::path Destination = Run / DestinationBelowRun;
  const fs::path Archive = Run / "input.zip";
  std::error_code Error;
  if (fs::exists(Run, Error)) MakeRemovable(Run);
  fs::remove_all(Run, Error);
  fs::create_directories(Destination);
  fs::create_directories(Run / "outside");
  std::ofstream(Run / "outside/target.txt", std::ios::binary) << TargetText;
  fs::create_directory_symlink("../../../../../../../../outside", Destination / "link");
  fs::create_symlink("../../../../../../../../outside/target.txt", Destination / "file-link");
  {
    std::ofstream Out(Archive, std::ios::binary);
    Out.write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
  }

  try {
    zip::TZipReader Reader;
    Reader.SetIncompleteZipMode(zip::izAssumeBad);
    Reader.SetDoProcessMessages(false);
    Reader.OnGetNextDisk = [&](base::TObject*, int, std::string& FName) { FName = Archive.string(); };
    Reader.SetZipName(Archive.string());
    Reader.SetPassword("fuzz");
    Reader.SetDestDir(Destination.string());
    Reader.SetRecreateDirs(true);
    Reader.SetDoAll(true);
    Reader.SetOverwriteMode(zip::TUZOverwriteMode::Always);
    Reader.OnStartUnZipInfo = [](base::TObject*, int, int64_t TotalBytes, bool& StopNow) {
      StopNow = TotalBytes > MaxExtractedBytes;
    };
    Reader.UnZip();
  } catch (const base::Exception&) {
  } catch (const std::exception& E) {
    return std::string("unexpected exception: ") + E.what();
  }
  return Intruders(Run, Archive);
}

}  // namespace fuzzcheck
