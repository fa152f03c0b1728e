#include "install/zip/ZipUtil.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/base/Events.h"
#include "platform/base/Format.h"
#include "platform/base/Stream.h"

namespace zip {

namespace {

// Days from 1899-12-30 to the civil date (proleptic Gregorian).
int64_t DaysFromEpoch(int Year, int Month, int Day) {
  const int Y = Month <= 2 ? Year - 1 : Year;
  const int Era = (Y >= 0 ? Y : Y - 399) / 400;
  const int YearOfEra = Y - Era * 400;
  const int DayOfYear = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
  const int DayOfEra = YearOfEra * 365 + YearOfEra / 4 - YearOfEra / 100 + DayOfYear;
  const int64_t FromUnix = int64_t(Era) * 146097 + DayOfEra - 719468;
  return FromUnix + 25569;
}

bool IsLeap(int Year) { return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0; }

TDateTime FromLocal(const std::tm& T) {
  return double(DaysFromEpoch(T.tm_year + 1900, T.tm_mon + 1, T.tm_mday)) +
         (T.tm_hour * 3600.0 + T.tm_min * 60.0 + T.tm_sec) / 86400.0;
}

TDateTime FromTime(std::time_t Seconds) {
  std::tm Local{};
  localtime_r(&Seconds, &Local);
  return FromLocal(Local);
}

}  // namespace

int Percent(int64_t Total, int64_t Part) { return base::PercentOf(Part, Total); }

void BackslashToSlash(std::string& Text) {
  for (char& C : Text)
    if (C == '\\') C = '/';
}

void SlashToBackslash(std::string& Text) {
  for (char& C : Text)
    if (C == '/') C = '\\';
}

bool HasWildcards(const std::string& Text) { return Text.find_first_of("*?[]") != std::string::npos; }

bool DosDateTimeToDateTime(uint32_t DosDateTime, TDateTime& Value) {
  const int Second = int(DosDateTime & 0x1F) * 2;
  const int Minute = int(DosDateTime >> 5) & 0x3F;
  const int Hour = int(DosDateTime >> 11) & 0x1F;
  const int Day = int(DosDateTime >> 16) & 0x1F;
  const int Month = int(DosDateTime >> 21) & 0x0F;
  const int Year = 1980 + int(DosDateTime >> 25);
  static constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Second > 59 || Minute > 59 || Hour > 23 || Month < 1 || Month > 12 || Day < 1) return false;
  if (Day > MonthDays[Month - 1] + (Month == 2 && IsLeap(Year) ? 1 : 0)) return false;
  Value = double(DaysFromEpoch(Year, Month, Day)) + (Hour * 3600.0 + Minute * 60.0 + Second) / 86400.0;
  return true;
}

TDateTime Now() { return FromTime(std::time(nullptr)); }

TDateTime FileDateTime(const std::string& Name) {
  struct stat Info {};
  if (::stat(Name.c_str(), &Info) != 0) return Now();
  return FromTime(Info.st_mtim.tv_sec);
}

TFileStamp FileStampOf(const std::string& Name) {
  struct stat Info {};
  if (::stat(Name.c_str(), &Info) != 0) return {};
  return {int64_t(Info.st_size), int64_t(Info.st_mtim.tv_sec), int64_t(Info.st_mtim.tv_nsec)};
}

void ForceFolders(const std::string& Folder) {
  if (Folder.empty() || FolderExists(Folder)) return;
  std::error_code Error;
  std::filesystem::create_directories(Folder, Error);
  if (Error || !FolderExists(Folder))
    throw EInOutError(base::Format("Cannot create folder \"%s\". %s", Folder.c_str(), Error.message().c_str()));
}

bool FileExists(const std::string& Name) {
  struct stat Info {};
  return ::stat(Name.c_str(), &Info) == 0 && !S_ISDIR(Info.st_mode);
}

bool FolderExists(const std::string& Folder) {
  struct stat Info {};
  return !Folder.empty() && ::stat(Folder.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

std::string GetCurrentFolder() {
  std::error_code Error;
  const auto Path = std::filesystem::current_path(Error);
  return Error ? std::string() : Path.string();
}

void SetCurrentFolder(const std::string& Folder) {
  if (::chdir(Folder.c_str()) != 0)
    throw EInOutError(base::Format("Cannot enter folder \"%s\". %s", Folder.c_str(), std::strerror(errno)));
}

void CopyFileBlocks(const std::string& Source, const std::string& Dest) {
  base::TFileStream In(Source, base::fmOpenRead);
  base::WriteFileAtomically(Dest, [&](base::TStream& Out) {
    uint8_t Block[2048];
    for (;;) {
      const int64_t N = In.Read(Block, sizeof Block);
      if (N <= 0) break;
      Out.WriteBuffer(Block, N);
    }
  });
}

std::string ConvertPathNames(const std::string& Path, int) { return Path; }

}  // namespace zip
