#include "platform/base/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <random>

#include "platform/base/Exceptions.h"
#include "platform/base/Format.h"

namespace base {

int64_t TStream::Size() {
  const int64_t Here = Position();
  const int64_t End = Seek(0, TSeekOrigin::soEnd);
  Seek(Here, TSeekOrigin::soBeginning);
  return End;
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  std::vector<uint8_t> Buffer(static_cast<size_t>(std::min<int64_t>(Count, 1 << 16)));
  int64_t Done = 0;
  while (Done < Count) {
    const int64_t Chunk = std::min<int64_t>(Count - Done, static_cast<int64_t>(Buffer.size()));
    Source.ReadBuffer(Buffer.data(), Chunk);
    WriteBuffer(Buffer.data(), Chunk);
    Done += Chunk;
  }
  return Done;
}

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  const int64_t Available = Size() - Pos;
  const int64_t N = std::clamp<int64_t>(Count, 0, std::max<int64_t>(Available, 0));
  if (N > 0) std::memcpy(Buffer, Data.data() + Pos, static_cast<size_t>(N));
  Pos += N;
  return N;
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  if (Pos + Count > Size()) SetSize(Pos + Count);
  std::memcpy(Data.data() + Pos, Buffer, static_cast<size_t>(Count));
  Pos += Count;
  return Count;
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case TSeekOrigin::soBeginning: Pos = Offset; break;
    case TSeekOrigin::soCurrent: Pos += Offset; break;
    case TSeekOrigin::soEnd: Pos = Size() + Offset; break;
  }
  Pos = std::max<int64_t>(Pos, 0);
  return Pos;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  try {
    Data.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
  Pos = std::min(Pos, Size());
}

void TMemoryStream::Clear() {
  Data.clear();
  Data.shrink_to_fit();
  Pos = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const int64_t Count = Stream.Size();
  SetSize(Count);
  if (Count != 0) Stream.ReadBuffer(Data.data(), Count);
  Pos = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(File);
}

void TMemoryStream::SaveToStream(TStream& Stream) {
  if (!Data.empty()) Stream.WriteBuffer(Data.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  WriteFileAtomically(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}

namespace {

std::string SystemErrorText(int Error) { return std::strerror(Error); }

}  // namespace

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : Name(FileName) {
  if (Mode == fmCreate) {
    Handle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (Handle < 0)
      throw EFCreateError(Format("Cannot create file \"%s\". %s", FileName.c_str(),
                                 SystemErrorText(errno).c_str()));
    return;
  }
  const int Access = (Mode & 3) == fmOpenWrite ? O_WRONLY : (Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
  Handle = ::open(FileName.c_str(), Access | O_CLOEXEC);
  struct stat Info {};
  if (Handle >= 0 && ::fstat(Handle, &Info) == 0 && S_ISDIR(Info.st_mode)) {
    CloseHandle();
    errno = EISDIR;
  }
  if (Handle < 0)
    throw EFOpenError(Format("Cannot open file \"%s\". %s", FileName.c_str(), SystemErrorText(errno).c_str()));
}

TFileStream::TFileStream(AdoptHandle, int AHandle, std::string FileName)
    : Handle(AHandle), Name(std::move(FileName)) {}

TFileStream::~TFileStream() { CloseHandle(); }

void TFileStream::CloseHandle() {
  if (Handle >= 0) ::close(Handle);
  Handle = -1;
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t Done = 0;
  auto* P = static_cast<uint8_t*>(Buffer);
  while (Done < Count) {
    const ssize_t N = ::read(Handle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t Done = 0;
  const auto* P = static_cast<const uint8_t*>(Buffer);
  while (Done < Count) {
    const ssize_t N = ::write(Handle, P + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int Whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET : Origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  const off_t Result = ::lseek(Handle, Offset, Whence);
  return Result < 0 ? ::lseek(Handle, 0, SEEK_CUR) : Result;
}

void TFileStream::SetSize(int64_t NewSize) {
  if (::ftruncate(Handle, NewSize) != 0) throw EStreamError("Stream write error");
  if (Position() > NewSize) SetPosition(NewSize);
}

namespace {

// Creates a new file beside Target with a random suffix; the umask applies as for
// any new file, and an existing target's permission bits are kept.
std::pair<int, std::string> CreateSibling(const std::string& Target) {
  std::string TempName;
  std::random_device Seed;
  std::mt19937 Random(Seed());
  struct stat Existing {};
  const bool Replacing = ::stat(Target.c_str(), &Existing) == 0;
  for (int Attempt = 0; Attempt < 100; ++Attempt) {
    TempName = Format("%s.%08x.tmp", Target.c_str(), static_cast<unsigned>(Random()));
    const int Handle = ::open(TempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Handle >= 0) {
      if (Replacing) ::fchmod(Handle, Existing.st_mode & 07777);
      return {Handle, TempName};
    }
    if (errno != EEXIST) break;
  }
  throw EFCreateError(Format("Cannot create file \"%s\". %s", Target.c_str(), SystemErrorText(errno).c_str()));
}

}  // namespace

TAtomicFileStream::TAtomicFileStream(const std::string& TargetName)
    : TAtomicFileStream(TargetName, CreateSibling(TargetName)) {}

TAtomicFileStream::TAtomicFileStream(const std::string& TargetName, std::pair<int, std::string> Created)
    : TFileStream(AdoptHandle{}, Created.first, std::move(Created.second)), Target(TargetName) {}

TAtomicFileStream::~TAtomicFileStream() {
  if (!Committed) {
    CloseHandle();
    ::unlink(FileName().c_str());
  }
}

void TAtomicFileStream::Commit() {
  const bool Synced = ::fsync(Handle) == 0;
  const bool Closed = ::close(Handle) == 0;
  Handle = -1;
  if (!Synced || !Closed || ::rename(FileName().c_str(), Target.c_str()) != 0) {
    const int Error = errno;
    ::unlink(FileName().c_str());
    Committed = true;
    throw EFCreateError(Format("Cannot create file \"%s\". %s", Target.c_str(), SystemErrorText(Error).c_str()));
  }
  Committed = true;
}

void WriteFileAtomically(const std::string& FileName, const std::function<void(TStream&)>& Writer) {
  TAtomicFileStream Stream(FileName);
  Writer(Stream);
  Stream.Commit();
}

}  // namespace base
