#include "editor/RecentProjects.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"

namespace editor {

namespace {

// Longer than any path the system accepts.
constexpr size_t MaxLineLength = 4096;

}  // namespace

bool TRecentProjects::Add(const std::string& Path) {
  if (Path.empty() || std::find(FItems.begin(), FItems.end(), Path) != FItems.end()) return false;
  FItems.push_back(Path);
  if (FItems.size() > MaxCount) FItems.erase(FItems.begin());
  return true;
}

void TRecentProjects::LoadFromFile(const std::string& FileName) {
  std::error_code Error;
  const auto Type = std::filesystem::status(FileName, Error).type();
  if (Type == std::filesystem::file_type::not_found) return;
  if (Type == std::filesystem::file_type::directory)
    throw base::EFOpenError("Cannot open file \"" + FileName + "\". " + std::strerror(EISDIR));
  base::TFileStream File(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  std::string Line;
  bool Overlong = false;
  auto EndLine = [&] {
    if (!Overlong) Add(Line);
    Line.clear();
    Overlong = false;
  };
  char Buffer[65536];
  int64_t Count = 0;
  while ((Count = File.Read(Buffer, sizeof Buffer)) > 0) {
    for (const char C : std::string_view(Buffer, static_cast<size_t>(Count))) {
      if (C == '\n') {
        EndLine();
      } else if (C != '\r') {
        if (Line.size() < MaxLineLength)
          Line += C;
        else
          Overlong = true;
      }
    }
  }
  EndLine();
}

void TRecentProjects::SaveToFile(const std::string& FileName) const {
  base::WriteFileAtomically(FileName, [this](base::TStream& Stream) {
    for (const std::string& Path : FItems) {
      const std::string Line = Path + "\r\n";
      Stream.WriteBuffer(Line.data(), static_cast<int64_t>(Line.size()));
    }
  });
}

std::string RecentProjectsFileName(const std::string& StartDir) { return StartDir + "/File.dat"; }

}  // namespace editor
