#include "install/zip/ZipRecords.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "install/zip/ZipNames.h"
#include "install/zip/ZipUtil.h"
#include "platform/base/ByteOrder.h"
#include "platform/base/Stream.h"

namespace zip {

using base::LoadLittleEndian;
using base::TSeekOrigin;
using base::TStream;

namespace {

constexpr int64_t EndSearchSpan = 0xFFF8;

uint32_t Get(const uint8_t* P, int Size) { return uint32_t(LoadLittleEndian(P, Size)); }

class TRecordWriter {
 public:
  void U16(uint64_t V) { Put(V, 2, 0xFFFF); }
  void U32(uint64_t V) { Put(V, 4, 0xFFFFFFFF); }
  void Bytes(const std::string& S) { Data.insert(Data.end(), S.begin(), S.end()); }
  void WriteTo(TStream& Stream) const { Stream.WriteBuffer(Data.data(), int64_t(Data.size())); }

 private:
  void Put(uint64_t V, int Size, uint64_t Max) {
    if (V > Max) throw EUnsupportedZip("Sizes and offsets beyond 4 GiB need Zip64, which is not supported");
    for (int I = 0; I < Size; ++I) Data.push_back(uint8_t(V >> (8 * I)));
  }
  std::vector<uint8_t> Data;
};

// Reads Count bytes, going on in the next volume when this one ends; a volume that
// yields nothing ends the read.
int64_t ReadAcross(TStream*& Stream, const TNextVolume& NextVolume, uint8_t* Buffer, int64_t Count) {
  int64_t Done = Stream->Read(Buffer, Count);
  while (Done < Count && NextVolume) {
    Stream = NextVolume();
    const int64_t N = Stream->Read(Buffer + Done, Count - Done);
    if (N <= 0) break;
    Done += N;
  }
  return Done;
}

int CompareText(const std::string& A, const std::string& B) {
  const size_t N = std::min(A.size(), B.size());
  for (size_t I = 0; I < N; ++I) {
    auto Fold = [](char C) { return int(static_cast<unsigned char>(C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C)); };
    const int D = Fold(A[I]) - Fold(B[I]);
    if (D != 0) return D;
  }
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

}  // namespace

// ---- TZipHeaderInfo ----

void TZipHeaderInfo::Clear() {
  VersionMadeBy = 20;
  VersionNeeded = 20;
  Flag = 0;
  CompressionMethod = MethodDeflated;
  DateTime = 0;
  CRC32 = 0xFFFFFFFF;
  CompressedSize = 0;
  UncompressedSize = 0;
  DiskNumberStart = 0;
  InternalAttributes = 1;
  ExternalAttributes = 32;
  LocalHeaderOffset = 0;
  CentralOffset = 0;
  Selected = false;
  FFileName.clear();
  FDirectory.clear();
  FRawName.clear();
  FExtraField.clear();
  FFileCommentLength = 0;
  FFileComment.reset();
}

void TZipHeaderInfo::Assign(const base::TPersistent* Source) {
  const auto* From = dynamic_cast<const TZipHeaderInfo*>(Source);
  if (!From) {
    TPersistent::Assign(Source);
    return;
  }
  if (From == this) return;
  VersionMadeBy = From->VersionMadeBy;
  VersionNeeded = From->VersionNeeded;
  Flag = From->Flag;
  CompressionMethod = From->CompressionMethod;
  DateTime = From->DateTime;
  CRC32 = From->CRC32;
  CompressedSize = From->CompressedSize;
  UncompressedSize = From->UncompressedSize;
  DiskNumberStart = From->DiskNumberStart;
  InternalAttributes = From->InternalAttributes;
  ExternalAttributes = From->ExternalAttributes;
  LocalHeaderOffset = From->LocalHeaderOffset;
  CentralOffset = From->CentralOffset;
  Selected = From->Selected;
  FFileName = From->FFileName;
  FDirectory = From->FDirectory;
  FRawName = From->FRawName;
  FExtraField = From->FExtraField;
  FFileCommentLength = From->FFileCommentLength;
  FFileComment = From->FFileComment;
}

void TZipHeaderInfo::AssignTo(base::TPersistent* Dest) const {
  if (auto* To = dynamic_cast<TZipHeaderInfo*>(Dest)) {
    To->Assign(this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TZipHeaderInfo::SetName(const std::string& RawName) {
  FRawName = RawName;
  const std::string Full = DecodeEntryName(RawName, Flag);
  const size_t Slash = Full.rfind('/');
  FDirectory = Slash == std::string::npos ? std::string() : Full.substr(0, Slash + 1);
  FFileName = Slash == std::string::npos ? Full : Full.substr(Slash + 1);
}

void TZipHeaderInfo::EncodeName() {
  FRawName = FDirectory + FFileName;
  if (IsAscii(FRawName))
    Flag &= uint16_t(~UTF8NameFlag);
  else
    Flag |= UTF8NameFlag;
}

bool TZipHeaderInfo::NameHoldsControlByte() const {
  return HoldsControlByte(FDirectory) || HoldsControlByte(FFileName);
}

void TZipHeaderInfo::SetFileName(const std::string& Value) {
  if (Value == FFileName) return;
  FFileName = Value;
  EncodeName();
}

void TZipHeaderInfo::SetDirectory(const std::string& Value) {
  std::string Folder = Value;
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  if (Folder == FDirectory) return;
  FDirectory = Folder;
  EncodeName();
}

void TZipHeaderInfo::SetFileCommentText(const std::string& Text) {
  if (Text.empty()) {
    FFileComment.reset();
    FFileCommentLength = 0;
  } else {
    FFileComment = Text.substr(0, 0xFFFF);
  }
}

bool TZipHeaderInfo::HasZip64Extra() const {
  const auto* P = reinterpret_cast<const uint8_t*>(FExtraField.data());
  for (size_t At = 0; At + 4 <= FExtraField.size(); At += 4 + Get(P + At + 2, 2))
    if (Get(P + At, 2) == 0x0001) return true;
  return false;
}

void TZipHeaderInfo::SetFromCentral(const uint8_t* R, const std::string& RawName) {
  VersionMadeBy = uint16_t(Get(R + 4, 2));
  VersionNeeded = uint16_t(Get(R + 6, 2));
  Flag = uint16_t(Get(R + 8, 2));
  CompressionMethod = uint16_t(Get(R + 10, 2));
  DateTime = Get(R + 12, 4);
  CRC32 = Get(R + 16, 4);
  CompressedSize = Get(R + 20, 4);
  UncompressedSize = Get(R + 24, 4);
  FFileCommentLength = uint16_t(Get(R + 32, 2));
  DiskNumberStart = uint16_t(Get(R + 34, 2));
  InternalAttributes = uint16_t(Get(R + 36, 2));
  ExternalAttributes = Get(R + 38, 4);
  LocalHeaderOffset = Get(R + 42, 4);
  CentralOffset = 0;
  FExtraField.clear();
  FFileComment.reset();
  Selected = false;
  SetName(RawName);
}

void TZipHeaderInfo::SetFromLocal(const uint8_t* R, const std::string& RawName) {
  VersionMadeBy = 0;
  VersionNeeded = uint16_t(Get(R + 4, 2));
  Flag = uint16_t(Get(R + 6, 2));
  CompressionMethod = uint16_t(Get(R + 8, 2));
  DateTime = Get(R + 10, 4);
  CRC32 = Get(R + 14, 4);
  CompressedSize = Get(R + 18, 4);
  UncompressedSize = Get(R + 22, 4);
  FFileCommentLength = 0;
  DiskNumberStart = 0;
  InternalAttributes = 0;
  ExternalAttributes = 0;
  LocalHeaderOffset = 0;
  CentralOffset = 0;
  FExtraField.clear();
  FFileComment.reset();
  Selected = false;
  SetName(RawName);
}

void TZipHeaderInfo::WriteCentral(TStream& Stream) const {
  const std::string Comment = FileCommentText();
  TRecordWriter W;
  W.U32(CentralHeaderSignature);
  W.U16(VersionMadeBy);
  W.U16(VersionNeeded);
  W.U16(Flag);
  W.U16(CompressionMethod);
  W.U32(DateTime);
  W.U32(CRC32);
  W.U32(CompressedSize);
  W.U32(UncompressedSize);
  W.U16(FRawName.size());
  W.U16(FExtraField.size());
  W.U16(Comment.size());
  W.U16(DiskNumberStart);
  W.U16(InternalAttributes);
  W.U32(ExternalAttributes);
  W.U32(LocalHeaderOffset);
  W.Bytes(FRawName);
  W.Bytes(FExtraField);
  W.Bytes(Comment);
  W.WriteTo(Stream);
}

void TZipHeaderInfo::WriteLocal(TStream& Stream) {
  const uint64_t Offset = uint64_t(Stream.Position());
  TRecordWriter W;
  W.U32(LocalHeaderSignature);
  W.U16(VersionNeeded);
  W.U16(Flag);
  W.U16(CompressionMethod);
  W.U32(DateTime);
  W.U32(CRC32);
  W.U32(CompressedSize);
  W.U32(UncompressedSize);
  W.U16(FRawName.size());
  W.U16(FExtraField.size());
  W.Bytes(FRawName);
  W.Bytes(FExtraField);
  W.WriteTo(Stream);
  LocalHeaderOffset = Offset;
}

bool TZipHeaderInfo::ReadCentral(TStream*& Stream, const TNextVolume& NextVolume) {
  const int64_t Start = Stream->Position();
  uint8_t R[CentralHeaderSize];
  int64_t N = Stream->Read(R, CentralHeaderSize);
  uint8_t Sig[4] = {0x50, 0x4B, 0x01, 0x02};
  if (N < CentralHeaderSize && NextVolume && std::memcmp(R, Sig, size_t(std::min<int64_t>(N, 4))) == 0) {
    TStream* Current = Stream;
    N += ReadAcross(Stream, NextVolume, R + N, CentralHeaderSize - N);
    if (Stream != Current) {
      // The header began at the end of the previous volume.
      if (N < CentralHeaderSize) return false;
    }
  }
  if (N < CentralHeaderSize || Get(R, 4) != CentralHeaderSignature) {
    Stream->Seek(Start, TSeekOrigin::soBeginning);
    return false;
  }
  const int64_t NameLength = Get(R + 28, 2);
  const int64_t ExtraLength = Get(R + 30, 2);
  const int64_t CommentLength = Get(R + 32, 2);
  std::string Tail(size_t(NameLength + ExtraLength + CommentLength), '\0');
  TStream* Before = Stream;
  if (ReadAcross(Stream, NextVolume, reinterpret_cast<uint8_t*>(Tail.data()), int64_t(Tail.size())) !=
      int64_t(Tail.size())) {
    if (Stream == Before) Stream->Seek(Start, TSeekOrigin::soBeginning);
    return false;
  }
  SetFromCentral(R, Tail.substr(0, size_t(NameLength)));
  FExtraField = Tail.substr(size_t(NameLength), size_t(ExtraLength));
  if (CommentLength > 0) FFileComment = Tail.substr(size_t(NameLength + ExtraLength));
  CentralOffset = uint64_t(Start);
  return true;
}

bool TZipHeaderInfo::ReadLocal(TStream& Stream) {
  const int64_t Start = Stream.Position();
  uint8_t R[LocalHeaderSize];
  if (Stream.Read(R, LocalHeaderSize) != LocalHeaderSize || Get(R, 4) != LocalHeaderSignature) {
    Stream.Seek(Start, TSeekOrigin::soBeginning);
    return false;
  }
  const int64_t NameLength = Get(R + 26, 2);
  const int64_t ExtraLength = Get(R + 28, 2);
  std::string Tail(size_t(NameLength + ExtraLength), '\0');
  if (Stream.Read(Tail.data(), int64_t(Tail.size())) != int64_t(Tail.size())) {
    Stream.Seek(Start, TSeekOrigin::soBeginning);
    return false;
  }
  SetFromLocal(R, Tail.substr(0, size_t(NameLength)));
  FExtraField = Tail.substr(size_t(NameLength));
  LocalHeaderOffset = uint64_t(Start);
  return true;
}

// ---- TEndCentral ----

void TEndCentral::Clear() {
  Signature = EndCentralSignature;
  ThisDisk = 0;
  CentralStartDisk = 0;
  EntriesThisDisk = 0;
  TotalEntries = 0;
  CentralSize = 0;
  CentralOffset = 0;
  CommentPosition = 0;
  RecordPosition = 0;
  CommentChanged = false;
  NeedsZip64 = false;
  FCommentLength = 0;
  FComment.reset();
}

void TEndCentral::Assign(const base::TPersistent* Source) {
  const auto* From = dynamic_cast<const TEndCentral*>(Source);
  if (!From) {
    TPersistent::Assign(Source);
    return;
  }
  if (From == this) return;
  Signature = From->Signature;
  ThisDisk = From->ThisDisk;
  CentralStartDisk = From->CentralStartDisk;
  EntriesThisDisk = From->EntriesThisDisk;
  TotalEntries = From->TotalEntries;
  CentralSize = From->CentralSize;
  CentralOffset = From->CentralOffset;
  CommentPosition = From->CommentPosition;
  RecordPosition = From->RecordPosition;
  NeedsZip64 = From->NeedsZip64;
  FCommentLength = From->FCommentLength;
  FComment = From->FComment;
}

void TEndCentral::AssignTo(base::TPersistent* Dest) const {
  if (auto* To = dynamic_cast<TEndCentral*>(Dest)) {
    To->Assign(this);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TEndCentral::SetCommentText(const std::string& Text) {
  if (Text.empty()) {
    FComment.reset();
    FCommentLength = 0;
  } else {
    FComment = Text.substr(0, 0xFFFF);
  }
}

void TEndCentral::WriteRecord(TStream& Stream) const {
  const std::string Comment = CommentText();
  TRecordWriter W;
  W.U32(Signature);
  W.U16(ThisDisk);
  W.U16(CentralStartDisk);
  W.U16(EntriesThisDisk);
  W.U16(TotalEntries);
  W.U32(CentralSize);
  W.U32(CentralOffset);
  W.U16(Comment.size());
  W.Bytes(Comment);
  W.WriteTo(Stream);
}

bool TEndCentral::FindEndRecord(TStream& Stream) {
  const int64_t Size = Stream.Size();
  if (Size < EndCentralSize) return false;
  const int64_t L = std::min(Size, EndSearchSpan);
  std::vector<uint8_t> Tail(static_cast<size_t>(L));
  Stream.Seek(Size - L, TSeekOrigin::soBeginning);
  if (Stream.Read(Tail.data(), L) != L) return false;
  const int64_t Base = Size - L;
  // A candidate's comment must fit in the file and its directory lie before it, unless
  // its values stand for those of a Zip64 record, whose locator lies just before it.
  auto Fits = [&](int64_t I) {
    const uint8_t* P = Tail.data() + I;
    if (Get(P, 4) != EndCentralSignature) return false;
    if (I + EndCentralSize + int64_t(Get(P + 20, 2)) > L) return false;
    const bool DirectoryHere = Get(P + 4, 2) == Get(P + 6, 2);
    if (!DirectoryHere || uint64_t(Get(P + 12, 4)) + Get(P + 16, 4) <= uint64_t(Base + I)) return true;
    const bool AllOnes = Get(P + 12, 4) == 0xFFFFFFFF || Get(P + 16, 4) == 0xFFFFFFFF;
    return AllOnes && I >= 20 && Get(P - 20, 4) == Zip64LocatorSignature;
  };
  int64_t Found = -1;
  int64_t Nearest = -1;
  for (int64_t I = L - EndCentralSize; I >= 0 && Found < 0; --I) {
    if (Tail[size_t(I)] != 0x50 || !Fits(I)) continue;
    if (I + EndCentralSize + int64_t(Get(Tail.data() + I + 20, 2)) == L) Found = I;
    if (Nearest < 0) Nearest = I;
  }
  if (Found < 0) Found = Nearest;
  if (Found < 0) return false;
  const uint8_t* P = Tail.data() + Found;
  ThisDisk = uint16_t(Get(P + 4, 2));
  CentralStartDisk = uint16_t(Get(P + 6, 2));
  EntriesThisDisk = uint16_t(Get(P + 8, 2));
  TotalEntries = uint16_t(Get(P + 10, 2));
  CentralSize = Get(P + 12, 4);
  CentralOffset = Get(P + 16, 4);
  FCommentLength = uint16_t(Get(P + 20, 2));
  RecordPosition = uint64_t(Base + Found);
  CommentPosition = RecordPosition + EndCentralSize;
  if (FCommentLength > 0)
    FComment = std::string(reinterpret_cast<const char*>(P + EndCentralSize), FCommentLength);
  else
    FComment.reset();
  const bool AllOnes = ThisDisk == 0xFFFF || CentralStartDisk == 0xFFFF || EntriesThisDisk == 0xFFFF ||
                       TotalEntries == 0xFFFF || CentralSize == 0xFFFFFFFF || CentralOffset == 0xFFFFFFFF;
  const int64_t Locator = int64_t(RecordPosition) - 20;
  NeedsZip64 = false;
  if (AllOnes && Locator >= 0) {
    uint8_t L4[4];
    Stream.Seek(Locator, TSeekOrigin::soBeginning);
    NeedsZip64 = Stream.Read(L4, 4) == 4 && Get(L4, 4) == Zip64LocatorSignature;
  }
  return true;
}

// ---- TSortedZip ----

int TSortedZip::Compare(base::TObject* Key1, base::TObject* Key2) const {
  const auto* A = static_cast<const TZipHeaderInfo*>(Key1);
  const auto* B = static_cast<const TZipHeaderInfo*>(Key2);
  auto DateOf = [](const TZipHeaderInfo* E) {
    TDateTime Value = 0;
    return DosDateTimeToDateTime(E->DateTime, Value) ? Value : 0.0;
  };
  auto RateOf = [](const TZipHeaderInfo* E) {
    return E->UncompressedSize < 1 ? 0 : Percent(int64_t(E->UncompressedSize), int64_t(E->CompressedSize));
  };
  switch (SortMode) {
    case ByName: return CompareText(A->FullName(), B->FullName());
    case ByFileName: return CompareText(A->FileName(), B->FileName());
    case ByDirectoryName: return CompareText(A->Directory(), B->Directory());
    case ByDate: return DateOf(B) > DateOf(A) ? 1 : -1;
    case ByCompressedSize: return B->CompressedSize > A->CompressedSize ? 1 : -1;
    case ByUnCompressedSize: return B->UncompressedSize > A->UncompressedSize ? 1 : -1;
    case ByRate: return RateOf(B) - RateOf(A);
    case ByNone: break;
  }
  if (A->DiskNumberStart != B->DiskNumberStart) return int(A->DiskNumberStart) - int(B->DiskNumberStart);
  return A->LocalHeaderOffset < B->LocalHeaderOffset ? -1 : A->LocalHeaderOffset > B->LocalHeaderOffset ? 1 : 0;
}

}  // namespace zip
