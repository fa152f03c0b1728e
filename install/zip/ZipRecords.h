// The records of the zip format as the library reads and writes them. An archive is a
// run of entries (local header, optional 12-byte encryption header, data, optional
// data descriptor), then the central directory (one central header per entry), then
// the end record. All numbers are little-endian. Sizes and offsets are 64-bit in
// memory; archives that need more than 32 bits on disk (Zip64) are refused.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "install/zip/ObjLists.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Persistent.h"

namespace base {
class TStream;
}

namespace zip {

// No end record ("Incomplete Zip File").
class EIncompleteZip : public base::Exception {
 public:
  using base::Exception::Exception;
};
// A damaged entry ("Premature end of file reached").
class EFatalUnzipError : public base::Exception {
 public:
  using base::Exception::Exception;
};
// A dialog, a disk request or the operation was cancelled.
class EUserCanceled : public base::Exception {
 public:
  using base::Exception::Exception;
};
// An archive or entry that needs Zip64.
class EUnsupportedZip : public base::Exception {
 public:
  using base::Exception::Exception;
};

constexpr uint32_t LocalHeaderSignature = 0x04034b50;
constexpr uint32_t CentralHeaderSignature = 0x02014b50;
constexpr uint32_t EndCentralSignature = 0x06054b50;
constexpr uint32_t DataDescriptorSignature = 0x08074b50;
constexpr uint32_t Zip64LocatorSignature = 0x07064b50;
constexpr int LocalHeaderSize = 30;
constexpr int CentralHeaderSize = 46;
constexpr int EndCentralSize = 22;

// Compression methods: the older ones are read only.
constexpr uint16_t MethodStored = 0;
constexpr uint16_t MethodShrunk = 1;
constexpr uint16_t MethodReduced1 = 2;
constexpr uint16_t MethodReduced4 = 5;
constexpr uint16_t MethodImploded = 6;
constexpr uint16_t MethodDeflated = 8;

constexpr uint16_t EncryptedFlag = 0x0001;
constexpr uint16_t DataDescriptorFlag = 0x0008;

// Gives the stream of the next volume in place of the current one.
using TNextVolume = std::function<base::TStream*()>;

// One entry, in its local and central form.
class TZipHeaderInfo : public base::TPersistent {
 public:
  ANIMORA_CLASS(TZipHeaderInfo)
  TZipHeaderInfo() { Clear(); }

  uint16_t VersionMadeBy;
  uint16_t VersionNeeded;
  uint16_t Flag;
  uint16_t CompressionMethod;
  uint32_t DateTime;  // DOS time in the low 16 bits, date in the high 16
  uint32_t CRC32;
  uint64_t CompressedSize;  // with the 12-byte encryption header
  uint64_t UncompressedSize;
  uint16_t DiskNumberStart;
  uint16_t InternalAttributes;
  uint32_t ExternalAttributes;
  uint64_t LocalHeaderOffset;
  // Where the entry's central header starts; 0 when it was not read from one.
  uint64_t CentralOffset;
  bool Selected;

  void Clear();
  void Assign(const base::TPersistent* Source) override;
  void AssignTo(base::TPersistent* Dest) const override;

  // The name without folder, and the folder part (empty or ending in "/"), UTF-8.
  const std::string& FileName() const { return FFileName; }
  const std::string& Directory() const { return FDirectory; }
  void SetFileName(const std::string& Value);
  // A non-empty value without a final "/" gets one.
  void SetDirectory(const std::string& Value);
  std::string FullName() const { return FDirectory + FFileName; }
  // The name holds a NUL or another byte below 0x20; such an entry is never extracted.
  bool NameHoldsControlByte() const;
  // The name's bytes as stored: kept from reading until the name changes, then ASCII
  // as is or else UTF-8 with flag bit 11 set.
  const std::string& RawName() const { return FRawName; }
  uint16_t FileNameLength() const { return uint16_t(FRawName.size()); }

  // The extra field of the form the entry was read from, written back whole.
  const std::string& ExtraField() const { return FExtraField; }
  void SetExtraField(const std::string& Value) { FExtraField = Value; }
  uint16_t ExtraFieldLength() const { return uint16_t(FExtraField.size()); }
  // True when the extra field carries a Zip64 block (id 1).
  bool HasZip64Extra() const;

  // The comment length as the central header gives it, until the comment is held.
  uint16_t FileCommentLength() const { return FFileComment ? uint16_t(FFileComment->size()) : FFileCommentLength; }
  bool HasFileComment() const { return FileCommentLength() != 0; }
  bool HoldsFileComment() const { return FFileComment.has_value(); }
  std::string FileCommentText() const { return FFileComment.value_or(std::string()); }
  // Empty text: no comment.
  void SetFileCommentText(const std::string& Text);

  bool Encrypted() const { return Flag & EncryptedFlag; }
  bool HasDataDescriptor() const { return Flag & DataDescriptorFlag; }
  int64_t LocalSize() const { return LocalHeaderSize + FileNameLength() + ExtraFieldLength(); }
  int64_t CentralSize() const { return CentralHeaderSize + FileNameLength() + ExtraFieldLength() + FileCommentLength(); }

  // From the 46-byte central record and the stored name bytes.
  void SetFromCentral(const uint8_t* Record, const std::string& RawName);
  // From the 30-byte local record and the stored name bytes.
  void SetFromLocal(const uint8_t* Record, const std::string& RawName);

  // Signature, fixed fields, name, extra field and held comment. A size or offset
  // beyond 32 bits raises EUnsupportedZip.
  void WriteCentral(base::TStream& Stream) const;
  // Sets LocalHeaderOffset to the stream's position, then writes signature, fixed
  // fields, name and extra field.
  void WriteLocal(base::TStream& Stream);

  // Never raise on bad data: false leaves the stream where it was found. ReadCentral
  // keeps name, extra field and comment and may continue on the next volume;
  // ReadLocal keeps name and extra field and leaves the stream at the entry's data.
  bool ReadCentral(base::TStream*& Stream, const TNextVolume& NextVolume);
  bool ReadLocal(base::TStream& Stream);

 private:
  void SetName(const std::string& RawName);
  void EncodeName();

  std::string FFileName;
  std::string FDirectory;
  std::string FRawName;
  std::string FExtraField;
  uint16_t FFileCommentLength;
  std::optional<std::string> FFileComment;
};

// The end of central directory record.
class TEndCentral : public base::TPersistent {
 public:
  ANIMORA_CLASS(TEndCentral)
  TEndCentral() { Clear(); }

  uint32_t Signature;
  uint16_t ThisDisk;
  uint16_t CentralStartDisk;
  uint16_t EntriesThisDisk;
  uint16_t TotalEntries;
  uint64_t CentralSize;
  uint64_t CentralOffset;
  // Where the archive comment starts.
  uint64_t CommentPosition;
  // Where the record was found.
  uint64_t RecordPosition;
  // Set when an archive or entry comment changed in memory.
  bool CommentChanged;
  // The record's fields hold all-ones values that a Zip64 record stands for.
  bool NeedsZip64;

  void Clear();
  void Assign(const base::TPersistent* Source) override;
  void AssignTo(base::TPersistent* Dest) const override;

  uint16_t CommentLength() const { return FComment ? uint16_t(FComment->size()) : FCommentLength; }
  bool HasComment() const { return CommentLength() != 0; }
  bool HoldsComment() const { return FComment.has_value(); }
  std::string CommentText() const { return FComment.value_or(std::string()); }
  // Empty text: no comment.
  void SetCommentText(const std::string& Text);
  int64_t RecordSize() const { return EndCentralSize + CommentLength(); }

  // The 22-byte record and the held comment.
  void WriteRecord(base::TStream& Stream) const;
  // Searches the last 65528 bytes: a record that closes the archive exactly is
  // preferred, else the one nearest the end whose comment fits and whose directory
  // lies before it. Fills the fields and holds the comment.
  bool FindEndRecord(base::TStream& Stream);

 private:
  uint16_t FCommentLength;
  std::optional<std::string> FComment;
};

enum class TZipSortMode : uint8_t {
  ByName,
  ByFileName,
  ByDirectoryName,
  ByDate,
  ByCompressedSize,
  ByUnCompressedSize,
  ByRate,
  ByNone
};
using enum TZipSortMode;

// Entries ordered by SortMode.
class TSortedZip : public TSortedObjectList {
 public:
  ANIMORA_CLASS(TSortedZip)
  explicit TSortedZip(TDuplicates Duplicates) : TSortedObjectList(Duplicates) {}

  TZipHeaderInfo* Entries(int Index) const { return static_cast<TZipHeaderInfo*>(Items(Index)); }
  int Compare(base::TObject* Key1, base::TObject* Key2) const override;

  TZipSortMode SortMode = ByNone;
};

}  // namespace zip
