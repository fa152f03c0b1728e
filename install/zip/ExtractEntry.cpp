#include "install/zip/ExtractEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "install/zip/Explode.h"
#include "install/zip/Unreduce.h"
#include "install/zip/Unshrink.h"
#include "install/zip/ZipNames.h"
#include "install/zip/ZipUtil.h"
#include "platform/base/Stream.h"

namespace zip {

namespace {

constexpr unsigned HostUnix = 3;

std::string ErrorText() { return std::strerror(errno); }

class EWriteFailed : public base::Exception {
 public:
  using base::Exception::Exception;
};

// The folder below the destination named by Components[0..Count), made when missing;
// a symbolic link on the way is refused, never followed. The state keeps it open for
// the next entry. -1 on failure.
int FolderFor(ExtractState& State, const std::vector<std::string>& Components, size_t Count) {
  std::vector<std::string> Path(Components.begin(), Components.begin() + static_cast<ptrdiff_t>(Count));
  if (State.LastFolder >= 0 && Path == State.LastPath) return State.LastFolder;
  if (State.LastFolder >= 0) ::close(State.LastFolder);
  State.LastFolder = -1;
  int Fd = ::dup(State.DestFolder);
  const int Flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  for (size_t I = 0; I < Count && Fd >= 0; ++I) {
    int Next = ::openat(Fd, Path[I].c_str(), Flags);
    if (Next < 0 && errno == ENOENT && (::mkdirat(Fd, Path[I].c_str(), 0777) == 0 || errno == EEXIST))
      Next = ::openat(Fd, Path[I].c_str(), Flags);
    ::close(Fd);
    Fd = Next;
  }
  if (Fd >= 0) {
    State.LastFolder = Fd;
    State.LastPath = std::move(Path);
  }
  return Fd;
}

// The DOS date and time (local time) as seconds since the epoch.
time_t DosToTime(uint32_t DosDateTime) {
  std::tm T{};
  uint32_t Date = DosDateTime >> 16, Time = DosDateTime & 0xFFFF;
  T.tm_year = static_cast<int>((Date >> 9) + 80);
  T.tm_mon = static_cast<int>(((Date >> 5) & 15)) - 1;
  T.tm_mday = static_cast<int>(Date & 31);
  T.tm_hour = static_cast<int>(Time >> 11);
  T.tm_min = static_cast<int>((Time >> 5) & 63);
  T.tm_sec = static_cast<int>((Time & 31) * 2);
  T.tm_isdst = -1;
  return std::mktime(&T);
}

// The entry's compressed bytes from the archive in chunks, on across volumes,
// decrypted.
class TArchiveSource : public TByteSource {
 public:
  TArchiveSource(ExtractState& State, TExtractHost& Host, bool Decrypt)
      : FState(State), FHost(Host), FDecrypt(Decrypt) {}

  std::span<const uint8_t> NextChunk() override {
    TZipHeaderInfo& Entry = FHost.CurrentEntry();
    if (FState.CompressedLeft == 0) return {};
    FHost.CheckCancel();
    size_t N = static_cast<size_t>(std::min<uint64_t>(Entry.CompressedSize, ExtractState::ChunkSize));
    N = static_cast<size_t>(std::min<uint64_t>(N, FState.CompressedLeft));
    Entry.CompressedSize -= N;
    FState.CompressedLeft -= N;
    uint8_t* Buffer = FState.Input.data();
    size_t Got = static_cast<size_t>(std::max<int64_t>(FHost.Archive().Read(Buffer, static_cast<int64_t>(N)), 0));
    while (Got < N) {
      if (FHost.CurrentVolume() + 1 >= FHost.Volumes() || !FHost.CanAskForVolumes())
        throw EFatalUnzipError("Premature end of file reached");
      FHost.GetNextDisk(FHost.CurrentVolume() + 2);
      int64_t More = FHost.Archive().Read(Buffer + Got, static_cast<int64_t>(N - Got));
      if (More > 0) Got += static_cast<size_t>(More);
    }
    if (FDecrypt) FHost.DecryptBuffer(Buffer, N);
    return {Buffer, N};
  }

 private:
  ExtractState& FState;
  TExtractHost& FHost;
  bool FDecrypt;
};

// Output to the temporary file in pieces that end at multiples of the chunk size of
// the entry, each adding to the CRC and raising the progress events.
class TFileSink : public TOutputSink {
 public:
  TFileSink(ExtractState& State, TExtractHost& Host, int Fd, uint64_t Size, const std::string& Name)
      : FState(State), FHost(Host), FFd(Fd), FSize(Size), FName(Name) {}

  void Write(const uint8_t* Data, size_t Count) override {
    while (Count > 0) {
      size_t Piece = ExtractState::ChunkSize - FState.BytesWritten % ExtractState::ChunkSize;
      if (Piece > Count) Piece = Count;
      WriteAll(Data, Piece);
      FState.UpdateCrc32(Data, Piece);
      FState.BytesWritten += Piece;
      FHost.Progress(Percent(static_cast<int64_t>(FSize), static_cast<int64_t>(FState.BytesWritten)), Piece);
      Data += Piece;
      Count -= Piece;
    }
  }

 private:
  void WriteAll(const uint8_t* Data, size_t Count) {
    while (Count > 0) {
      ssize_t N = ::write(FFd, Data, Count);
      if (N < 0 && errno == EINTR) continue;
      if (N <= 0) throw EWriteFailed("Cannot write " + FName + ": " + (N < 0 ? ErrorText() : "short write"));
      Data += N;
      Count -= static_cast<size_t>(N);
    }
  }

  ExtractState& FState;
  TExtractHost& FHost;
  int FFd;
  uint64_t FSize;
  const std::string& FName;
};

// A new temporary file beside the target, removed on destruction unless kept.
class TTempFile {
 public:
  TTempFile(int Folder, const std::string& Target, uint64_t& Counter) : FFolder(Folder) {
    for (int Attempt = 0; Attempt < 100 && FFd < 0; ++Attempt) {
      FName.assign(1, '.');
      FName.append(Target, 0, 200);
      FName.append(1, '.');
      FName.append(std::to_string(::getpid()));
      FName.append(1, '-');
      FName.append(std::to_string(++Counter));
      FName.append(".part");
      FFd = ::openat(Folder, FName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (FFd < 0 && errno != EEXIST) break;
    }
  }
  ~TTempFile() {
    if (FFd >= 0) ::close(FFd);
    if (!FName.empty() && !FKept) ::unlinkat(FFolder, FName.c_str(), 0);
  }
  int Fd() const { return FFd; }
  const std::string& Name() const { return FName; }
  // Closes with errors checked.
  bool Close() {
    int Fd = FFd;
    FFd = -1;
    return ::close(Fd) == 0;
  }
  void Keep() { FKept = true; }

 private:
  int FFolder;
  int FFd = -1;
  std::string FName;
  bool FKept = false;
};

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix) {
  if (Text.size() < Prefix.size()) return false;
  for (size_t I = 0; I < Prefix.size(); ++I)
    if (std::tolower(static_cast<unsigned char>(Text[I])) != std::tolower(static_cast<unsigned char>(Prefix[I])))
      return false;
  return true;
}

// What a path below the destination is called in the events: DestDir, "/", the path.
std::string DestPrefix(const ExtractState& State) {
  if (State.DestDir.empty() || State.DestDir.back() == '/') return State.DestDir;
  return State.DestDir + '/';
}

std::string Joined(const std::vector<std::string>& Components, size_t Count) {
  std::string Path;
  for (size_t I = 0; I < Count; ++I) Path += (I == 0 ? "" : "/") + Components[I];
  return Path;
}

bool MethodBuilt(uint16_t Method) {
  return Method == MethodStored || Method == MethodShrunk || (Method >= MethodReduced1 && Method <= MethodReduced4) ||
         Method == MethodImploded || Method == MethodDeflated;
}

void Fail(ExtractState& State, TExtractHost& Host, int FileIndex, const std::string& Message) {
  --State.ExtractedCount;
  Host.EntryFailed(FileIndex, Message);
}

void SkipEntryData(ExtractState& State, TExtractHost& Host) {
  Host.Archive().Seek(static_cast<int64_t>(Host.CurrentEntry().CompressedSize), base::TSeekOrigin::soCurrent);
  --State.ExtractedCount;
}

}  // namespace

bool SafeRelativePath(const std::string& Path, std::vector<std::string>& Components) {
  Components.clear();
  if (Path.empty() || Path[0] == '/' || Path[0] == '\\') return false;
  if (Path.size() >= 2 && Path[1] == ':' && std::isalpha(static_cast<unsigned char>(Path[0]))) return false;
  size_t Start = 0;
  while (Start <= Path.size()) {
    size_t End = Path.find_first_of("/\\", Start);
    if (End == std::string::npos) End = Path.size();
    std::string Part = Path.substr(Start, End - Start);
    if (Part == "..") return false;
    if (!Part.empty() && Part != ".") Components.push_back(Part);
    Start = End + 1;
  }
  return true;
}

void ExtractEntry(ExtractState& State, TExtractHost& Host, int FileIndex) {
  State.Retry = false;
  TZipHeaderInfo& Entry = Host.CurrentEntry();
  Entry.Assign(&Host.Entry(FileIndex));
  const std::string FullName = Entry.FullName();
  if (Entry.NameHoldsControlByte()) {
    Fail(State, Host, FileIndex, PrintableName(FullName) + ": refused, the name holds a control byte");
    return;
  }

  if (!Entry.FileName().empty()) {
    // A single archive is read whatever disk its entries name.
    if (Host.Volumes() > 1 && Entry.DiskNumberStart != Host.CurrentVolume()) {
      if (Entry.DiskNumberStart >= Host.Volumes()) {
        Fail(State, Host, FileIndex, FullName + ": refused, it starts beyond the last volume");
        return;
      }
      Host.GetNextDisk(Entry.DiskNumberStart + 1);
    }
    base::TStream& Archive = Host.Archive();
    Archive.Seek(static_cast<int64_t>(Entry.LocalHeaderOffset), base::TSeekOrigin::soBeginning);
    uint8_t Local[LocalHeaderSize];
    if (Archive.Read(Local, LocalHeaderSize) != LocalHeaderSize ||
        (Local[0] | Local[1] << 8 | Local[2] << 16 | static_cast<uint32_t>(Local[3]) << 24) != LocalHeaderSignature) {
      Fail(State, Host, FileIndex, FullName + ": no local header at its offset");
      return;
    }
    const int64_t Skip = (Local[26] | Local[27] << 8) + (Local[28] | Local[29] << 8);
    if (Entry.LocalHeaderOffset + LocalHeaderSize + Skip + Entry.CompressedSize > Host.EntryEnd(FileIndex)) {
      Fail(State, Host, FileIndex, FullName + ": refused, its data overlaps another entry");
      return;
    }
    Archive.Seek(Skip, base::TSeekOrigin::soCurrent);
  }

  // Where the entry goes, relative to the destination folder.
  std::vector<std::string> Path;
  if (!SafeRelativePath(FullName, Path)) {
    Fail(State, Host, FileIndex, FullName + ": refused, the path leaves the destination folder");
    return;
  }
  std::string Folder = Entry.Directory();
  if (Host.RecreateDirs() && !Host.RootDir().empty() && StartsWithNoCase(Folder, Host.RootDir()))
    Folder = Folder.substr(Host.RootDir().size());
  std::vector<std::string> Relative;
  if (Host.RecreateDirs()) SafeRelativePath(Folder, Relative);
  if (!Entry.FileName().empty() && !Path.empty()) Relative.push_back(Path.back());
  size_t FolderCount = Entry.FileName().empty() ? Relative.size() : Relative.size() - 1;

  if (Entry.FileName().empty()) {
    if (Host.RecreateDirs()) {
      if (FolderFor(State, Relative, FolderCount) < 0) {
        Fail(State, Host, FileIndex, FullName + ": cannot make the folder: " + ErrorText());
        return;
      }
      bool Skip = false;
      const std::string Made = Joined(Relative, FolderCount);
      Host.StartUnZip(FileIndex, DestPrefix(State) + Made + (Made.empty() ? "" : "/"), Skip);
    }
    return;
  }
  if (Relative.empty()) {
    Fail(State, Host, FileIndex, FullName + ": refused, the entry has no name");
    return;
  }

  // Known before any password is asked for: no data of this entry can be decoded.
  if (!MethodBuilt(Entry.CompressionMethod)) {
    Host.Inform("Unknown compression method", "Zip Error");
    if (!Entry.Encrypted()) Host.BadCRC(base::Crc32Final(base::Crc32Start), Entry.CRC32, FileIndex);
    Fail(State, Host, FileIndex, FullName + ": unknown compression method " + std::to_string(Entry.CompressionMethod));
    return;
  }
  if (Entry.Encrypted()) {
    if (Entry.CompressedSize < 12) {
      Fail(State, Host, FileIndex, FullName + ": refused, shorter than its encryption header");
      return;
    }
    if (!Host.CheckPassword(FileIndex)) {
      SkipEntryData(State, Host);
      Host.EntryFailed(FileIndex, FullName + ": wrong password");
      return;
    }
  }
  State.CompressedLeft = Entry.CompressedSize;
  State.UncompressedLeft = Entry.UncompressedSize;

  std::string FName = DestPrefix(State) + Joined(Relative, Relative.size());
  int Target = FolderFor(State, Relative, FolderCount);
  if (Target < 0) {
    Fail(State, Host, FileIndex, FullName + ": cannot make its folder: " + ErrorText());
    return;
  }
  struct stat Existing;
  if (::fstatat(Target, Relative.back().c_str(), &Existing, AT_SYMLINK_NOFOLLOW) == 0) {
    const std::string Asked = FName;
    if (!Host.ConfirmOverwrite(FileIndex, FName)) {
      SkipEntryData(State, Host);
      return;
    }
    // The handler gave another name, which must lie below the destination.
    if (FName != Asked) {
      const std::string Prefix = DestPrefix(State);
      if (FName.compare(0, Prefix.size(), Prefix) != 0 || !SafeRelativePath(FName.substr(Prefix.size()), Relative) ||
          Relative.empty()) {
        Fail(State, Host, FileIndex, FName + ": refused, the path leaves the destination folder");
        return;
      }
      Target = FolderFor(State, Relative, Relative.size() - 1);
      if (Target < 0) {
        Fail(State, Host, FileIndex, FName + ": cannot make its folder: " + ErrorText());
        return;
      }
    }
  }
  const std::string Name = Relative.back();

  TTempFile Temp(Target, Name, State.TempCounter);
  if (Temp.Fd() < 0) {
    Fail(State, Host, FileIndex, FullName + ": cannot create a file beside " + FName + ": " + ErrorText());
    return;
  }
  State.BytesWritten = 0;
  State.Crc = base::Crc32Start;
  bool Skip = false;
  Host.StartUnZip(FileIndex, FName, Skip);
  if (Skip) {
    --State.ExtractedCount;
    return;
  }

  TArchiveSource Source(State, Host, Entry.Encrypted());
  TBitInput Input(Source);
  TFileSink Sink(State, Host, Temp.Fd(), Entry.UncompressedSize, FName);
  State.Window.Begin(Sink, Entry.UncompressedSize);
  bool Decoded = false;
  try {
    if (Entry.CompressionMethod == MethodStored) {
      Decoded = true;
      for (auto Chunk = Source.NextChunk(); !Chunk.empty() && Decoded; Chunk = Source.NextChunk())
        Decoded = State.Window.PutBytes(Chunk.data(), Chunk.size());
      if (Decoded) State.Window.Flush();
    } else if (Entry.CompressionMethod == MethodDeflated) {
      Decoded = State.Inflater.InflateEntry(Input, State.Window) == drSuccess;
    } else if (Entry.CompressionMethod == MethodShrunk) {
      Decoded = UnshrinkEntry(Input, State.Window, Entry.UncompressedSize) == drSuccess;
    } else if (Entry.CompressionMethod >= MethodReduced1 && Entry.CompressionMethod <= MethodReduced4) {
      Decoded = UnreduceEntry(Input, State.Window, Entry.CompressionMethod - 1, Entry.UncompressedSize) == drSuccess;
    } else {
      Decoded = ExplodeEntry(Input, State.Window, Entry.Flag, State.CompressedLeft, Entry.UncompressedSize) == drSuccess;
    }
  } catch (const EWriteFailed& E) {
    Fail(State, Host, FileIndex, E.Message());
    return;
  }
  const uint32_t CalcCRC = base::Crc32Final(State.Crc);
  if (!Decoded || CalcCRC != Entry.CRC32 || State.BytesWritten != Entry.UncompressedSize) {
    if (Entry.Encrypted()) {
      State.Retry = Host.BadPassword(FileIndex);
      if (!State.Retry) Host.SkippingBadPassword(FileIndex);
    } else {
      Host.BadCRC(CalcCRC, Entry.CRC32, FileIndex);
    }
    if (!State.Retry) Fail(State, Host, FileIndex, FullName + ": damaged data (CRC or size does not match)");
    return;
  }

  // Time, then mode, then the rename: the file appears whole, with its attributes.
  const timespec Times[2] = {{DosToTime(Entry.DateTime), 0}, {DosToTime(Entry.DateTime), 0}};
  ::futimens(Temp.Fd(), Times);
  if (Host.RetainAttributes()) {
    const mode_t Mask = State.Umask;
    mode_t Mode = 0666;
    if (Entry.VersionMadeBy >> 8 == HostUnix && (Entry.ExternalAttributes >> 16) != 0)
      Mode = (Entry.ExternalAttributes >> 16) & 0777;
    else if (Entry.ExternalAttributes & 1)
      Mode = 0444;
    ::fchmod(Temp.Fd(), Mode & ~Mask);
  }
  if (!Temp.Close() || ::renameat(Target, Temp.Name().c_str(), Target, Name.c_str()) != 0) {
    Fail(State, Host, FileIndex, "Cannot write " + FName + ": " + ErrorText());
    return;
  }
  Temp.Keep();
  Host.EndUnZip(FileIndex, FName);
}

}  // namespace zip
