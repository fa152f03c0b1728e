#include "install/zip/SourceFiles.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace zip {

namespace {

const char* NotAddableKind(mode_t Mode) {
  if (S_ISREG(Mode) || S_ISDIR(Mode)) return nullptr;
  if (S_ISFIFO(Mode)) return "Not a regular file or folder: a FIFO";
  if (S_ISSOCK(Mode)) return "Not a regular file or folder: a socket";
  if (S_ISCHR(Mode) || S_ISBLK(Mode)) return "Not a regular file or folder: a device";
  return "Not a regular file or folder";
}

}  // namespace

bool StatSourceFile(const std::string& Name, TSourceFile& File) {
  struct stat St {};
  if (::stat(Name.c_str(), &St) != 0) return false;
  File.IsFolder = S_ISDIR(St.st_mode);
  File.NotAddable = NotAddableKind(St.st_mode);
  File.Identity = {static_cast<uint64_t>(St.st_dev), static_cast<uint64_t>(St.st_ino)};
  File.Size = File.IsFolder ? 0 : static_cast<uint64_t>(St.st_size);
  File.DosDateTime = DosDateTimeOf(St.st_mtime);
  File.ExternalAttributes = (static_cast<uint32_t>(St.st_mode & 0xFFFF) << 16) | (File.IsFolder ? 0x10u : 0u) |
                            (::access(Name.c_str(), W_OK) != 0 ? 0x01u : 0u);
  return true;
}

bool FileIdentityOf(const std::string& Name, TFileIdentity& Identity) {
  struct stat St {};
  if (::stat(Name.c_str(), &St) != 0) return false;
  Identity = {static_cast<uint64_t>(St.st_dev), static_cast<uint64_t>(St.st_ino)};
  return true;
}

uint32_t DosDateTimeOf(std::time_t Time) {
  std::tm T{};
  if (localtime_r(&Time, &T) == nullptr || T.tm_year < 80) return (1u << 21) | (1u << 16);
  if (T.tm_year > 207) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  const uint32_t Date = (static_cast<uint32_t>(T.tm_year - 80) << 9) | (static_cast<uint32_t>(T.tm_mon + 1) << 5) |
                        static_cast<uint32_t>(T.tm_mday);
  const uint32_t Clock = (static_cast<uint32_t>(T.tm_hour) << 11) | (static_cast<uint32_t>(T.tm_min) << 5) |
                         static_cast<uint32_t>(T.tm_sec / 2);
  return (Date << 16) | Clock;
}

int64_t FreeSpaceOf(const std::string& Path) {
  struct statvfs S {};
  if (::statvfs(Path.c_str(), &S) != 0) {
    const size_t Slash = Path.find_last_of('/');
    const std::string Folder = Slash == std::string::npos ? "." : Slash == 0 ? "/" : Path.substr(0, Slash);
    if (::statvfs(Folder.c_str(), &S) != 0) return 0;
  }
  return static_cast<int64_t>(S.f_bavail) * static_cast<int64_t>(S.f_frsize);
}

void SystemRandomBytes(uint8_t* Buffer, size_t Count) {
  while (Count > 0) {
    const ssize_t Got = ::getrandom(Buffer, Count, 0);
    if (Got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("No random bytes from the system");
    }
    Buffer += Got;
    Count -= static_cast<size_t>(Got);
  }
}

std::string SafeStoredName(const std::string& Name) {
  std::string Result;
  size_t Start = 0;
  while (Start <= Name.size()) {
    size_t End = Name.find_first_of("/\\", Start);
    if (End == std::string::npos) End = Name.size();
    const std::string Part = Name.substr(Start, End - Start);
    const bool Separator = End < Name.size();
    if (!Part.empty() && Part != "." && Part != "..") {
      Result += Part;
      if (Separator) Result += '/';
    }
    Start = End + 1;
  }
  return Result;
}

bool IsValidUtf8(const std::string& Text) {
  size_t I = 0;
  while (I < Text.size()) {
    const unsigned char C = static_cast<unsigned char>(Text[I]);
    int More;
    uint32_t Code;
    if (C < 0x80) {
      ++I;
      continue;
    } else if ((C & 0xE0) == 0xC0) {
      More = 1;
      Code = C & 0x1F;
    } else if ((C & 0xF0) == 0xE0) {
      More = 2;
      Code = C & 0x0F;
    } else if ((C & 0xF8) == 0xF0) {
      More = 3;
      Code = C & 0x07;
    } else {
      return false;
    }
    if (I + static_cast<size_t>(More) >= Text.size()) return false;
    for (int K = 1; K <= More; ++K) {
      const unsigned char D = static_cast<unsigned char>(Text[I + static_cast<size_t>(K)]);
      if ((D & 0xC0) != 0x80) return false;
      Code = (Code << 6) | (D & 0x3F);
    }
    static const uint32_t Least[4] = {0, 0x80, 0x800, 0x10000};
    if (Code < Least[More] || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return false;
    I += static_cast<size_t>(More) + 1;
  }
  return true;
}

}  // namespace zip
