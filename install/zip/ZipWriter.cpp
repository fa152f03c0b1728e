#include "install/zip/ZipWriter.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "install/zip/DirSearch.h"
#include "install/zip/LFNFileStream.h"
#include "install/zip/SourceFiles.h"
#include "install/zip/VolumeLabels.h"
#include "install/zip/ZipUtil.h"
#include "platform/base/Crc32.h"
#include "platform/base/Format.h"

namespace zip {

namespace {

constexpr uint64_t FourGiB = uint64_t{1} << 32;
constexpr int CrcBlockSize = 64001;

std::string Lower(std::string Text) {
  for (char& C : Text)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Text;
}

std::string FolderOf(const std::string& Name) {
  const size_t Slash = Name.find_last_of('/');
  return Slash == std::string::npos ? std::string() : Name.substr(0, Slash + 1);
}

std::string FileNameOf(const std::string& Name) {
  const size_t Slash = Name.find_last_of('/');
  return Slash == std::string::npos ? Name : Name.substr(Slash + 1);
}

std::string TemporaryFolder() {
  const char* Dir = std::getenv("TMPDIR");
  return Dir && *Dir ? Dir : "/tmp";
}

}  // namespace

// The state of one ZipFiles run.
struct TZipWriter::TRun {
  std::string OutputName;
  bool Update = false;
  std::unique_ptr<base::TAtomicFileStream> Atomic;
  std::unique_ptr<base::TFileStream> Volume;
  std::unique_ptr<TS_BufferStream> Out;
  std::vector<std::string> VolumeFiles;  // every volume file this run created
  // The archive being updated and every file this run writes: never added to itself,
  // whatever name leads to them.
  std::vector<TFileIdentity> Own;
  TEndCentral End;
  std::vector<std::unique_ptr<TZipHeaderInfo>> Entries;  // archive order
  std::map<std::string, int> Names;                      // lower-cased full name -> index
  int CurrentVolume = 0;
  int64_t Budget = 0;
  std::vector<std::string> DisposeList;
  int64_t TotalBytes = 0;
  int64_t TotalDone = 0;
  int Added = 0;

  // The file being added.
  std::unique_ptr<TLFNFileStream> Source;
  int64_t FileSize = 0;
  int64_t FileRead = 0;
  uint32_t Crc = base::Crc32Start;
  std::string StagingName;
  std::unique_ptr<base::TFileStream> StagingFile;
  std::unique_ptr<TS_BufferStream> Staging;
  bool Encrypting = false;
  TZipKeys Keys;
  base::TStringList Files;  // the files still to add
  std::vector<uint8_t> Cipher;

  base::TStream& Target() { return Staging ? static_cast<base::TStream&>(*Staging) : *Out; }
  bool MultiVolume(TMultiMode Mode) const { return Mode != mmNone; }

  void Owns(const std::string& Name) {
    TFileIdentity Identity;
    if (FileIdentityOf(Name, Identity)) Own.push_back(Identity);
  }
  bool IsOwn(const TFileIdentity& Identity) const { return std::find(Own.begin(), Own.end(), Identity) != Own.end(); }

  void CloseStaging() {
    Staging.reset();
    StagingFile.reset();
    if (!StagingName.empty()) std::remove(StagingName.c_str());
    StagingName.clear();
  }
};

// What the compressor reads and writes through during one entry.
class TZipWriter::TEntryStreams : public TDeflateStreams {
 public:
  TEntryStreams(TZipWriter& Writer, TRun& Run) : W(Writer), R(Run) {}

  int32_t ReadSourceData(uint8_t* Buffer, int32_t Size) override {
    const int64_t Got = R.Source->Read(Buffer, Size);
    if (Got <= 0) return 0;
    R.FileRead += Got;
    R.TotalDone += Got;
    if (W.OnFilePercentDone) W.OnFilePercentDone(&W, Percent(R.FileSize, R.FileRead));
    if (W.OnTotalPercentDone) W.OnTotalPercentDone(&W, Percent(R.TotalBytes, R.TotalDone));
    R.Crc = base::Crc32Update(R.Crc, Buffer, static_cast<size_t>(Got));
    return static_cast<int32_t>(Got);
  }

  // Encryption works on a copy: the bytes may still be the compressor's window.
  void WriteCompressedData(const uint8_t* Buffer, int32_t Count) override {
    if (R.Encrypting) {
      R.Cipher.resize(static_cast<size_t>(Count));
      for (int32_t I = 0; I < Count; ++I) R.Cipher[static_cast<size_t>(I)] = W.EncryptByte(R, Buffer[I]);
      R.Target().WriteBuffer(R.Cipher.data(), Count);
    } else {
      R.Target().WriteBuffer(Buffer, Count);
    }
    W.TZipReader::CheckCancel("User Aborted Operation");
  }

 private:
  TZipWriter& W;
  TRun& R;
};

TZipWriter::TZipWriter() = default;

TZipWriter::~TZipWriter() = default;

void TZipWriter::SetStorePaths(bool Value) {
  FStorePaths = Value;
  if (!Value) {
    FStoreVolumes = false;
    FRelativePaths = false;
  }
}

void TZipWriter::SetRelativePaths(bool Value) {
  FRelativePaths = Value;
  if (Value) {
    FStorePaths = true;
    FRecurse = true;
  }
}

void TZipWriter::SetStoreVolumes(bool Value) {
  FStoreVolumes = Value;
  if (Value) FStorePaths = true;
}

void TZipWriter::SetMultiMode(TMultiMode Value) {
  FMultiZipInfo.MultiMode = Value;
  TZipReader::SetMultiMode(Value);
}

void TZipWriter::SetCheckDiskLabels(bool Value) {
  FMultiZipInfo.CheckDiskLabels = Value;
  TZipReader::SetCheckDiskLabels(Value);
}

void TZipWriter::Loaded() {
  SetCheckDiskLabels(FMultiZipInfo.CheckDiskLabels);
  SetMultiMode(FMultiZipInfo.MultiMode);
}

void TZipWriter::SetZipName(const std::string& Value) {
  if (Value == ZipName()) return;
  if (FEndCentral.CommentChanged && FileExists(ZipName())) {
    SetFilesList(base::TStringList());
    ZipFiles();
    FEndCentral.CommentChanged = false;
  }
  TZipReader::SetZipName(Value);
}

void TZipWriter::FailFile(const std::string& Name, const std::string& Reason) {
  if (OnFileNotAdded) OnFileNotAdded(this, Name, Reason);
}

std::string TZipWriter::VolumeName(int Volume) const {
  const std::string& Name = ZipName();
  const size_t Slash = Name.find_last_of('/');
  const size_t Dot = Name.find_last_of('.');
  const std::string Stem = Dot != std::string::npos && (Slash == std::string::npos || Dot > Slash) ? Name.substr(0, Dot) : Name;
  return Stem + base::Format(".%3.3d", Volume);
}

int64_t TZipWriter::DriveFreeSpace() const { return FreeSpaceOf(FRun && !FRun->OutputName.empty() ? FRun->OutputName : ZipName()); }

int64_t TZipWriter::VolumeSpaceLeft(TRun& Run) { return Run.Budget - Run.Out->Size(); }

std::string TZipWriter::StoredPathOf(const std::string& Name) const {
  if (!FStorePaths) return std::string();
  std::string Folder = FolderOf(Name);
  if (FRelativePaths && !TZipReader::RootDir().empty() && Folder.compare(0, TZipReader::RootDir().size(), TZipReader::RootDir()) == 0)
    Folder.erase(0, TZipReader::RootDir().size());
  return Folder;
}

std::string TZipWriter::StoredNameOf(const std::string& Name, bool IsFolder) const {
  std::string Path = Name;
  while (IsFolder && Path.size() > 1 && Path.back() == '/') Path.pop_back();
  std::string Stored = StoredPathOf(Path) + FileNameOf(Path);
  if (FRelativePaths && !DestDir().empty()) Stored = DestDir() + "/" + Stored;
  Stored = SafeStoredName(Stored);
  if (IsFolder && !Stored.empty()) Stored += '/';
  return Stored;
}

bool TZipWriter::MatchesEntry(const std::string& Name, const TZipHeaderInfo& Entry) const {
  return Lower(StoredNameOf(Name, FolderExists(Name))) == Lower(Entry.FullName());
}

int TZipWriter::ZipFiles() {
  FCanceled = false;
  TRun Run;
  FRun = &Run;
  const TZipSortMode SavedSort = SortMode();
  const bool SavedKeep = KeepZipOpen();
  SetKeepZipOpen(true);
  Run.Files.Assign(&FilesList());
  const TMultiMode Mode = GetMultiMode();
  bool OutputOpened = false;
  try {
    Run.Budget = Mode == mmSpan ? DriveFreeSpace() : Mode == mmBlocks ? FMultiZipInfo.FirstBlockSize : 0;
    Run.Update = FileExists(ZipName());
    if (Run.Update) {
      Run.Owns(ZipName());
      OpenZip();
      Sort(ByNone);
      if (FEndCentral.ThisDisk != 0)
        throw base::Exception("Cannot update \"" + ZipName() + "\": it is a multi-volume archive");
    }
    if (Run.Files.Count() > 0) ExpandFilesList(Run);
    FDeflater.AllocateBuffers();
    OutputOpened = true;
    OpenOutputArchive(Run);
    if (Run.Update) MergeExistingEntries(Run);

    if (Run.Files.Count() > 0 && OnStartZipInfo) {
      bool StopNow = false;
      OnStartZipInfo(this, Run.Files.Count(), Run.TotalBytes, Run.End, StopNow);
      if (StopNow) throw EUserCanceled("User canceled Zip operation.");
    }
    for (int I = 0; I < Run.Files.Count(); ++I) AddOneFile(Run, Run.Files.Strings(I));

    // Central directory, then the end record.
    Run.End.CentralOffset = static_cast<uint64_t>(Run.Out->Position());
    Run.End.CentralStartDisk = static_cast<uint16_t>(Run.CurrentVolume);
    uint64_t CentralSize = 0;
    int OnThisDisk = 0;
    for (size_t I = 0; I < Run.Entries.size(); ++I) {
      const TZipHeaderInfo& E = *Run.Entries[I];
      if (Run.MultiVolume(Mode) && VolumeSpaceLeft(Run) < E.CentralSize()) {
        NextOutputVolume(Run);
        OnThisDisk = 0;
        if (VolumeSpaceLeft(Run) < E.CentralSize()) throw base::Exception("The volume is too small for the archive");
        if (I == 0) {
          Run.End.CentralOffset = 0;
          Run.End.CentralStartDisk = static_cast<uint16_t>(Run.CurrentVolume);
        }
      }
      E.WriteCentral(*Run.Out);
      CentralSize += static_cast<uint64_t>(E.CentralSize());
      ++OnThisDisk;
    }
    Run.End.CentralSize = CentralSize;
    if (Run.MultiVolume(Mode) && VolumeSpaceLeft(Run) < Run.End.RecordSize()) {
      NextOutputVolume(Run);
      OnThisDisk = 0;
      if (VolumeSpaceLeft(Run) < Run.End.RecordSize()) throw base::Exception("The volume is too small for the archive");
    }
    if (Run.Entries.size() > 0xFFFF) throw EUnsupportedZip("More than 65535 entries need Zip64");
    Run.End.TotalEntries = static_cast<uint16_t>(Run.Entries.size());
    Run.End.EntriesThisDisk = static_cast<uint16_t>(OnThisDisk);
    Run.End.ThisDisk = static_cast<uint16_t>(Run.CurrentVolume);
    Run.End.RecordPosition = static_cast<uint64_t>(Run.Out->Position());
    Run.End.CommentPosition = Run.End.RecordPosition + EndCentralSize;
    Run.End.WriteRecord(*Run.Out);
    WriteSpanLabel(Run);

    // Finish: the output takes its final name.
    FDeflater.FreeBuffers();
    Run.Out->Flush();
    Run.Out.reset();
    FArchive.reset();
    if (Run.Atomic) {
      Run.Atomic->Commit();
      Run.Atomic.reset();
    }
    Run.Volume.reset();
    if (Mode == mmBlocks) {
      if (Run.CurrentVolume == 0) {
        if (std::rename(Run.OutputName.c_str(), ZipName().c_str()) != 0)
          throw base::EFCreateError("Cannot rename \"" + Run.OutputName + "\" to \"" + ZipName() + "\"");
      } else {
        if (Run.Update) std::remove(ZipName().c_str());
        TZipReader::SetZipName(Run.OutputName);
      }
    }
    Run.VolumeFiles.clear();
    if (FDispose) DisposeFiles(Run);
    // What was written is the directory now held.
    SetSortMode(SavedSort);
    HoldDirectory(std::move(Run.Entries), Run.End, Run.CurrentVolume + 1);
  } catch (...) {
    FDeflater.FreeBuffers();
    Run.CloseStaging();
    Run.Source.reset();
    Run.Out.reset();
    Run.Atomic.reset();  // removes the unfinished file beside the archive
    Run.Volume.reset();
    if (OutputOpened)
      for (const std::string& Name : Run.VolumeFiles) std::remove(Name.c_str());
    SetSortMode(SavedSort);
    SetKeepZipOpen(SavedKeep);
    FRun = nullptr;
    CloseZip();
    throw;
  }
  SetSortMode(SavedSort);
  SetKeepZipOpen(SavedKeep);
  FRun = nullptr;
  CloseZip();
  return Run.Added;
}

void TZipWriter::ExpandFilesList(TRun& Run) {
  Run.TotalBytes = 0;
  Run.TotalDone = 0;
  std::set<std::string> InArchive;
  if (FZipAction == zaFreshen && Run.Update)
    for (int I = 0; I < Count(); ++I) InArchive.insert(Lower(Entries(I).FullName()));
  const auto Fresh = [&](const std::string& Name, bool IsFolder) {
    return FZipAction != zaFreshen || InArchive.count(Lower(StoredNameOf(Name, IsFolder))) != 0;
  };

  base::TStringList& Files = Run.Files;
  std::vector<std::string> Patterns;
  for (int I = 0; I < Files.Count();) {
    std::string Name = Files.Strings(I);
    if (HasWildcards(Name)) {
      Patterns.push_back(Name);
      Files.Delete(I);
      continue;
    }
    if (Name.find('/') == std::string::npos) Name = TZipReader::RootDir() + Name;
    TSourceFile File;
    if (!StatSourceFile(Name, File)) {
      Files.Delete(I);
      if (OnNoSuchFile) OnNoSuchFile(this, Name);
      continue;
    }
    if (!Fresh(Name, File.IsFolder)) {
      Files.Delete(I);
      continue;
    }
    Files.SetStrings(I, Name);
    Run.TotalBytes += static_cast<int64_t>(File.Size);
    ++I;
  }
  for (const std::string& Pattern : Patterns) {
    std::string Folder = FolderOf(Pattern);
    if (Folder.empty()) Folder = TZipReader::RootDir();
    TDirSearch Search(Folder, FRecurse, FileNameOf(Pattern));
    TSearchRec Rec;
    for (std::string Name = Search.NextFile(Rec); !Name.empty(); Name = Search.NextFile(Rec)) {
      if (!Fresh(Name, false)) continue;
      Files.Add(Name);
      Run.TotalBytes += Rec.Size;
    }
  }
}

void TZipWriter::MergeExistingEntries(TRun& Run) {
  base::TStringList& Files = Run.Files;
  for (int Index = 0; Index < Count(); ++Index) {
    const TZipHeaderInfo& Entry = Entries(Index);
    bool Keep = true;
    for (int I = 0; I < Files.Count(); ++I) {
      const std::string Name = Files.Strings(I);
      if (!MatchesEntry(Name, Entry)) continue;
      TSourceFile File;
      const bool Newer = StatSourceFile(Name, File) && File.DosDateTime > Entry.DateTime;
      Files.Delete(I);
      // The old entry goes only once its replacement is written.
      if ((FZipAction == zaReplace || Newer) && AddOneFile(Run, Name)) Keep = false;
      break;
    }
    if (Keep) CopyExistingEntry(Run, Entry);
  }
}

bool TZipWriter::AddOneFile(TRun& Run, const std::string& FileName) {
  const TMultiMode Mode = GetMultiMode();
  std::string Name = FileName;
  TSourceFile File;
  if (!StatSourceFile(Name, File)) {
    if (OnNoSuchFile) OnNoSuchFile(this, Name);
    return false;
  }
  const auto GiveUp = [&](const std::string& Reason) {
    Run.TotalBytes -= static_cast<int64_t>(File.Size);
    Run.Source.reset();
    if (!Reason.empty()) FailFile(Name, Reason);
    return false;
  };
  if (Run.IsOwn(File.Identity)) return GiveUp(std::string());
  if (File.NotAddable) return GiveUp(File.NotAddable);
  if (File.Size >= FourGiB) return GiveUp("File of 4 GiB or more (Zip64 is not written)");
  if (!File.IsFolder) {
    try {
      Run.Source = std::make_unique<TLFNFileStream>(Name, base::fmOpenRead | base::fmShareDenyNone);
    } catch (const base::Exception& E) {
      return GiveUp(E.Message());
    }
  }
  if (FStore83Names) Name = ConvertPathNames(Name, 0);
  const std::string Stored = StoredNameOf(Name, File.IsFolder);
  // A folder stored as nothing ("." or "/") is the top of what is stored, with no
  // entry of its own.
  if (Stored.empty()) return GiveUp(File.IsFolder ? std::string() : std::string("No name to store"));
  if (!IsValidUtf8(Stored)) return GiveUp("File name is not valid UTF-8");

  auto Record = std::make_unique<TZipHeaderInfo>();
  Record->VersionMadeBy = UnixVersionMadeBy;
  Record->ExternalAttributes = File.ExternalAttributes;
  Record->DateTime = File.DosDateTime;
  Record->UncompressedSize = File.Size;
  // A folder entry is all folder: its name part is empty.
  Record->SetDirectory(File.IsFolder ? Stored : FolderOf(Stored));
  Record->SetFileName(File.IsFolder ? std::string() : FileNameOf(Stored));
  Record->InternalAttributes = 2;
  Record->DiskNumberStart = static_cast<uint16_t>(Run.CurrentVolume);
  if (File.IsFolder) {
    Record->CompressionMethod = MethodStored;
    Record->InternalAttributes = 0;
  }

  const auto Same = Run.Names.find(Lower(Record->FullName()));
  if (Same != Run.Names.end()) {
    if (OnSkippingFile) OnSkippingFile(this, srNoOverwrite, Same->second);
    return GiveUp(std::string());
  }

  try {
    if (Run.MultiVolume(Mode)) {
      if (Record->LocalSize() >= VolumeSpaceLeft(Run)) {
        NextOutputVolume(Run);
        if (Record->LocalSize() >= VolumeSpaceLeft(Run)) throw base::Exception("The volume is too small for the archive");
        Record->DiskNumberStart = static_cast<uint16_t>(Run.CurrentVolume);
      }
      std::string Template = TemporaryFolder() + "/KPy76p09XXXXXX.tmp";
      const int Fd = mkstemps(Template.data(), 4);
      if (Fd < 0) throw base::EFCreateError("Cannot create a staging file in " + TemporaryFolder());
      ::close(Fd);
      Run.StagingName = Template;
      Run.StagingFile = std::make_unique<base::TFileStream>(Template, base::fmOpenReadWrite);
      Run.Staging = std::make_unique<TS_BufferStream>(*Run.StagingFile);
    }
    Record->LocalHeaderOffset = static_cast<uint64_t>(Run.Out->Position());
    bool Skip = false;
    if (OnStartZip) OnStartZip(this, Name, *Record, Skip);
    if (Skip) {
      Run.CloseStaging();
      return GiveUp(std::string());
    }

    Record->CRC32 = 0xFFFFFFFF;
    Record->CompressedSize = 0;
    Record->WriteLocal(*Run.Out);
    const uint64_t LocalOffset = Record->LocalHeaderOffset;
    Run.FileSize = static_cast<int64_t>(File.Size);
    Run.FileRead = 0;
    const bool Encrypt = !Password().empty() && !File.IsFolder;
    uint32_t CheckCrc = 0;
    int64_t CheckSize = 0;
    if (Encrypt) {
      CheckCrc = ComputeFileCrc(Run);
      CheckSize = Run.FileRead;
      Run.FileRead = 0;
      WriteEncryptionHeader(Run, CheckCrc);
    }
    uint64_t Compressed = 0;
    uint32_t Crc = 0;
    if (!File.IsFolder) {
      Run.Crc = base::Crc32Start;
      TEntryStreams Streams(*this, Run);
      TDeflateRecord Deflate;
      Deflate.Flags = Record->Flag;
      Deflate.CompressionMethod = Record->CompressionMethod;
      Deflate.InternalAttributes = Record->InternalAttributes;
      Compressed = static_cast<uint64_t>(FDeflater.DeflateEntry(Streams, FPackLevel, Deflate));
      Run.Encrypting = false;
      Record->Flag = Deflate.Flags;
      Record->CompressionMethod = Deflate.CompressionMethod;
      Record->InternalAttributes = Deflate.InternalAttributes;
      Crc = base::Crc32Final(Run.Crc);
    }
    std::string Failure;
    if (Encrypt && (Crc != CheckCrc || Run.FileRead != CheckSize)) Failure = "File changed while it was added";
    if (static_cast<uint64_t>(Run.FileRead) >= FourGiB || Compressed + 12 >= FourGiB)
      Failure = "File of 4 GiB or more (Zip64 is not written)";
    if (!Failure.empty()) {
      Run.CloseStaging();
      Run.Out->Seek(static_cast<int64_t>(LocalOffset), base::TSeekOrigin::soBeginning);
      Run.Out->SetSize(static_cast<int64_t>(LocalOffset));
      return GiveUp(Failure);
    }

    const int64_t End = Run.Out->Position();
    Run.Out->Seek(static_cast<int64_t>(LocalOffset), base::TSeekOrigin::soBeginning);
    Record->CRC32 = Crc;
    Record->UncompressedSize = static_cast<uint64_t>(Run.FileRead);
    if (Encrypt) {
      Record->Flag |= EncryptedFlag;
      Compressed += 12;
    }
    Record->CompressedSize = Compressed;
    Record->WriteLocal(*Run.Out);
    if (Run.Staging)
      CopyStagedData(Run);
    else
      Run.Out->Seek(End, base::TSeekOrigin::soBeginning);
    Run.CloseStaging();
    Run.Source.reset();
    if (OnEndZip)
      OnEndZip(this, Name, static_cast<int64_t>(Record->UncompressedSize), static_cast<int64_t>(Compressed),
               Run.Out->Size());
  } catch (...) {
    Run.Encrypting = false;
    Run.CloseStaging();
    Run.Source.reset();
    throw;
  }
  RecordNewEntry(Run, std::move(Record), FileName);
  return true;
}

void TZipWriter::RecordNewEntry(TRun& Run, std::unique_ptr<TZipHeaderInfo> Entry, const std::string& Name) {
  ++Run.Added;
  Run.Names[Lower(Entry->FullName())] = static_cast<int>(Run.Entries.size());
  Run.Entries.push_back(std::move(Entry));
  if (FDispose) Run.DisposeList.push_back(Name);
}

// The entry's local header, extra field, data and data descriptor go over byte for
// byte: none of them holds an offset.
void TZipWriter::CopyExistingEntry(TRun& Run, const TZipHeaderInfo& Entry) {
  base::TStream& Old = *FArchive;
  const int64_t From = static_cast<int64_t>(Entry.LocalHeaderOffset);
  Old.Seek(From, base::TSeekOrigin::soBeginning);
  TZipHeaderInfo Local;
  if (!Local.ReadLocal(Old)) throw EFatalUnzipError("Premature end of file reached");
  int64_t Count = Local.LocalSize() + static_cast<int64_t>(Entry.CompressedSize);
  if (Entry.HasDataDescriptor()) {
    // The descriptor may or may not start with its signature.
    Old.Seek(From + Count, base::TSeekOrigin::soBeginning);
    uint8_t Sig[4] = {};
    const bool Signed = Old.Read(Sig, 4) == 4 &&
                        (uint32_t(Sig[0]) | uint32_t(Sig[1]) << 8 | uint32_t(Sig[2]) << 16 | uint32_t(Sig[3]) << 24) ==
                            DataDescriptorSignature;
    Count += Signed ? 16 : 12;
  }
  if (Run.MultiVolume(GetMultiMode()) && Local.LocalSize() >= VolumeSpaceLeft(Run)) {
    NextOutputVolume(Run);
    if (Local.LocalSize() >= VolumeSpaceLeft(Run)) throw base::Exception("The volume is too small for the archive");
  }
  auto Copy = std::make_unique<TZipHeaderInfo>();
  Copy->Assign(&Entry);
  Copy->DiskNumberStart = static_cast<uint16_t>(Run.CurrentVolume);
  Copy->LocalHeaderOffset = static_cast<uint64_t>(Run.Out->Position());
  Old.Seek(From, base::TSeekOrigin::soBeginning);
  WriteSplit(Run, Old, Count);
  Run.Names[Lower(Copy->FullName())] = static_cast<int>(Run.Entries.size());
  Run.Entries.push_back(std::move(Copy));
}

uint8_t TZipWriter::EncryptByte(TRun& Run, uint8_t Value) {
  const uint8_t Cipher = Value ^ Run.Keys.StreamByte();
  Run.Keys.Update(Value);
  return Cipher;
}

void TZipWriter::DisposeFiles(TRun& Run) {
  for (const std::string& Name : Run.DisposeList) {
    bool Skip = false;
    if (OnDisposeFile) OnDisposeFile(this, Name, Skip);
    if (!Skip) std::remove(Name.c_str());
  }
}

void TZipWriter::OpenOutputArchive(TRun& Run) {
  const TMultiMode Mode = GetMultiMode();
  if (Mode == mmNone) {
    Run.OutputName = ZipName();
    Run.Atomic = std::make_unique<base::TAtomicFileStream>(ZipName());
    Run.Owns(Run.Atomic->FileName());
    Run.Out = std::make_unique<TS_BufferStream>(*Run.Atomic);
  } else {
    Run.OutputName = Mode == mmBlocks ? VolumeName(Run.CurrentVolume + 1) : ZipName();
    Run.Volume = std::make_unique<base::TFileStream>(Run.OutputName, base::fmCreate);
    Run.VolumeFiles.push_back(Run.OutputName);
    Run.Owns(Run.OutputName);
    Run.Out = std::make_unique<TS_BufferStream>(*Run.Volume);
  }
  if (Run.Update) {
    Run.End.Assign(&FEndCentral);
    Run.End.EntriesThisDisk = 0;
    Run.End.TotalEntries = 0;
  }
}

void TZipWriter::NextOutputVolume(TRun& Run) {
  const TMultiMode Mode = GetMultiMode();
  if (Mode == mmNone) return;
  if (Mode == mmSpan && !OnGetNextDisk) throw base::Exception("The disk is full and no next disk can be asked for");
  Run.Out->Flush();
  Run.Out.reset();
  Run.Volume.reset();
  if (Mode == mmBlocks) {
    ++Run.CurrentVolume;
    Run.OutputName = VolumeName(Run.CurrentVolume + 1);
    Run.Budget = FMultiZipInfo.BlockSize;
  } else {
    WriteSpanLabel(Run);
    std::string FName = Run.OutputName;
    OnGetNextDisk(this, Run.CurrentVolume + 2, FName);
    if (FName.empty()) throw EUserCanceled("User canceled Zip operation.");
    ++Run.CurrentVolume;
    Run.OutputName = FName;
    Run.Budget = DriveFreeSpace();
  }
  Run.Volume = std::make_unique<base::TFileStream>(Run.OutputName, base::fmCreate);
  Run.VolumeFiles.push_back(Run.OutputName);
  Run.Owns(Run.OutputName);
  Run.Out = std::make_unique<TS_BufferStream>(*Run.Volume);
}

void TZipWriter::WriteSpanLabel(TRun& Run) {
  if (GetMultiMode() != mmSpan || !FMultiZipInfo.WriteDiskLabels) return;
  SetVolumeLabelOf(VolumeRootOf(Run.OutputName), base::Format("PKBACK# %3.3d", Run.CurrentVolume + 1));
}

void TZipWriter::WriteSplit(TRun& Run, base::TStream& Source, int64_t Count) {
  const bool Multi = Run.MultiVolume(GetMultiMode());
  while (Count > 0) {
    int64_t Space = Multi ? VolumeSpaceLeft(Run) : Count;
    if (Space <= 0) {
      NextOutputVolume(Run);
      Space = VolumeSpaceLeft(Run);
      if (Space <= 0) throw base::Exception("The volume is too small for the archive");
    }
    const int64_t N = Space < Count ? Space : Count;
    if (Run.Out->CopyFrom(Source, N) != N) throw EFatalUnzipError("Premature end of file reached");
    Count -= N;
  }
}

void TZipWriter::CopyStagedData(TRun& Run) {
  Run.Staging->Flush();
  const int64_t Size = Run.Staging->Size();
  Run.Staging->Seek(0, base::TSeekOrigin::soBeginning);
  WriteSplit(Run, *Run.Staging, Size);
}

uint32_t TZipWriter::ComputeFileCrc(TRun& Run) {
  std::vector<uint8_t> Block(CrcBlockSize);
  uint32_t Crc = base::Crc32Start;
  for (;;) {
    const int64_t Got = Run.Source->Read(Block.data(), CrcBlockSize);
    if (Got <= 0) break;
    Crc = base::Crc32Update(Crc, Block.data(), static_cast<size_t>(Got));
    Run.FileRead += Got;
  }
  Run.Source->Seek(0, base::TSeekOrigin::soBeginning);
  return base::Crc32Final(Crc);
}

void TZipWriter::WriteEncryptionHeader(TRun& Run, uint32_t Crc) {
  Run.Keys.Init(Password());
  uint8_t Header[EncryptionHeaderSize];
  SystemRandomBytes(Header, EncryptionHeaderSize - 2);
  Header[10] = static_cast<uint8_t>(Crc >> 16);
  Header[11] = static_cast<uint8_t>(Crc >> 24);
  for (uint8_t& B : Header) B = EncryptByte(Run, B);
  Run.Target().WriteBuffer(Header, EncryptionHeaderSize);
  Run.Encrypting = true;
}

}  // namespace zip
