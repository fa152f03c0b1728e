// Byte streams: the abstract TStream with checked reads and writes, an in-memory
// stream and a file stream. Positions and sizes are 64-bit.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Object.h"

namespace base {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  ANIMORA_CLASS(TStream)
  // Read and Write move up to Count bytes and return how many moved.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
  virtual void SetSize(int64_t NewSize) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
  virtual int64_t Size();

  // Exactly Count bytes or EReadError "Stream read error" / EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position, or all of Source from its start when
  // Count is 0; returns the bytes copied.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

class TMemoryStream : public TStream {
 public:
  ANIMORA_CLASS(TMemoryStream)
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> Bytes) : Data(std::move(Bytes)) {}

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  int64_t Size() override { return static_cast<int64_t>(Data.size()); }

  uint8_t* Memory() { return Data.data(); }
  const std::vector<uint8_t>& Bytes() const { return Data; }
  void Clear();
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);

 private:
  std::vector<uint8_t> Data;
  int64_t Pos = 0;
};

// Open modes; the share flags are accepted for compatibility and not enforced.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

class TFileStream : public TStream {
 public:
  ANIMORA_CLASS(TFileStream)
  // EFOpenError "Cannot open file "%s". <reason>" or EFCreateError for fmCreate.
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return Name; }

 protected:
  struct AdoptHandle {};
  TFileStream(AdoptHandle, int Handle, std::string FileName);
  void CloseHandle();
  int Handle = -1;

 private:
  std::string Name;
};

// A file written beside its target under a temporary name and renamed over it by
// Commit, so a failed save never leaves a half-written target. Without Commit the
// temporary file is removed.
class TAtomicFileStream : public TFileStream {
 public:
  ANIMORA_CLASS(TAtomicFileStream)
  explicit TAtomicFileStream(const std::string& TargetName);
  ~TAtomicFileStream() override;
  void Commit();

 private:
  TAtomicFileStream(const std::string& TargetName, std::pair<int, std::string> Created);
  std::string Target;
  bool Committed = false;
};

// Runs Writer on a TAtomicFileStream for FileName and commits it.
void WriteFileAtomically(const std::string& FileName, const std::function<void(TStream&)>& Writer);

}  // namespace base
