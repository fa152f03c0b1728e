// Small file, folder, percentage and date utilities of the zip library.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/Exceptions.h"

namespace zip {

// An input/output failure of the file system (a folder that cannot be entered).
class EInOutError : public base::Exception {
 public:
  using base::Exception::Exception;
};

// Days since 1899-12-30 in local time, the fraction the time of day.
using TDateTime = double;

// What identifies one state of a file: its size and modification time to the nanosecond.
struct TFileStamp {
  int64_t Size = -1;
  int64_t Seconds = 0;
  int64_t Nanoseconds = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// Part as a whole percentage of Total, halves to even, 0 to 100; 0 when Total <= 0.
int Percent(int64_t Total, int64_t Part);

void BackslashToSlash(std::string& Text);
void SlashToBackslash(std::string& Text);
// True when Text holds "*", "?", "[" or "]".
bool HasWildcards(const std::string& Text);

// DOS time in the low 16 bits, date in the high 16; false when it names no real moment.
bool DosDateTimeToDateTime(uint32_t DosDateTime, TDateTime& Value);
TDateTime Now();
// The file's modification time; the current time when it cannot be had.
TDateTime FileDateTime(const std::string& Name);
// The file's stamp; Size -1 when it cannot be had.
TFileStamp FileStampOf(const std::string& Name);

// Creates Folder and every missing parent; EInOutError when that fails.
void ForceFolders(const std::string& Folder);
bool FileExists(const std::string& Name);
bool FolderExists(const std::string& Folder);
std::string GetCurrentFolder();
// EInOutError when the folder cannot be entered.
void SetCurrentFolder(const std::string& Folder);
// Copies Source over Dest in blocks of 2048 bytes, Dest replaced only once complete.
void CopyFileBlocks(const std::string& Source, const std::string& Dest);
// Names here have no separate short form, and the long name is the one written, so
// both modes give Path as it stands.
std::string ConvertPathNames(const std::string& Path, int Mode);

}  // namespace zip
