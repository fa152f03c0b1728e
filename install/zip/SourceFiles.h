// What the zip writer learns from the file system about a file it adds: size, DOS date
// and time (local time, 2-second steps), Unix mode as the entry's external attributes,
// and free space for spanned output; plus the name checks for stored names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace zip {

// Which file a name leads to, whatever the name: device and inode.
struct TFileIdentity {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  friend bool operator==(const TFileIdentity&, const TFileIdentity&) = default;
};

// Version made by: Unix (3), format 2.0; external attributes then hold mode << 16.
constexpr uint16_t UnixVersionMadeBy = 0x0314;

struct TSourceFile {
  bool IsFolder = false;
  // Why the file is never added nor opened (a FIFO would block, a device never ends);
  // null for regular files and folders.
  const char* NotAddable = nullptr;
  uint64_t Size = 0;
  uint32_t DosDateTime = 0;
  uint32_t ExternalAttributes = 0;  // mode << 16, 0x10 folder, 0x01 not writable
  TFileIdentity Identity;
};

// False when Name names nothing.
bool StatSourceFile(const std::string& Name, TSourceFile& File);
// The identity of the file Name leads to; false when it names nothing.
bool FileIdentityOf(const std::string& Name, TFileIdentity& Identity);

// Local time in DOS form: time in the low 16 bits, date in the high; times before 1980
// become 1980-01-01 00:00, after 2107 the last moment of 2107.
uint32_t DosDateTimeOf(std::time_t Time);

// Free bytes for an unprivileged writer of the file system holding Path (its folder
// when Path does not exist yet); 0 when it cannot be had.
int64_t FreeSpaceOf(const std::string& Path);

// Bytes from the system's random source.
void SystemRandomBytes(uint8_t* Buffer, size_t Count);

// A name as it may be stored: "/" between parts, no leading "/" and no "." or ".."
// parts, so that extraction can never leave the destination folder.
std::string SafeStoredName(const std::string& Name);

bool IsValidUtf8(const std::string& Text);

}  // namespace zip
