// The zip writer: builds a new archive, or rebuilds an existing one, from the names in
// FilesList. Existing entries are kept (copied byte for byte with their local extra
// field and data descriptor), replaced or refreshed as ZipAction says; new files are
// deflated, optionally encrypted with the traditional zip encryption, and the output
// may go to one file (written beside the target and renamed over it), to numbered
// block files or to removable disks. Entries record Unix modes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "install/zip/Deflate.h"
#include "install/zip/MultiZipInfo.h"
#include "install/zip/ZipReader.h"

namespace zip {

enum TZipAction : uint8_t { zaUpdate, zaReplace, zaFreshen };

class TZipWriter : public TZipReader {
 public:
  ANIMORA_CLASS(TZipWriter)
  TZipWriter();
  ~TZipWriter() override;

  // The run: returns the number of files added or replacing entries.
  int ZipFiles();
  // Writes a pending comment change into the archive before the name changes.
  void SetZipName(const std::string& Value) override;

  int PackLevel() const { return FPackLevel; }
  // Clamped to 0..9.
  void SetPackLevel(int Value) { FPackLevel = Value < 0 ? 0 : Value > 9 ? 9 : Value; }
  bool Recurse() const { return FRecurse; }
  void SetRecurse(bool Value) { FRecurse = Value; }
  bool Dispose() const { return FDispose; }
  void SetDispose(bool Value) { FDispose = Value; }
  bool StorePaths() const { return FStorePaths; }
  void SetStorePaths(bool Value);
  bool RelativePaths() const { return FRelativePaths; }
  void SetRelativePaths(bool Value);
  bool StoreVolumes() const { return FStoreVolumes; }
  void SetStoreVolumes(bool Value);
  TZipAction ZipAction() const { return FZipAction; }
  void SetZipAction(TZipAction Value) { FZipAction = Value; }
  TMultiZipInfo& MultiZipInfo() { return FMultiZipInfo; }
  void SetMultiZipInfo(const TMultiZipInfo& Value) { FMultiZipInfo.Assign(&Value); }
  bool Store83Names() const { return FStore83Names; }
  void SetStore83Names(bool Value) { FStore83Names = Value; }

  // After the settings were given: the reading side takes the multi-volume ones.
  void Loaded();

  std::function<void(base::TObject* Sender, int NumFiles, int64_t TotalBytes, TEndCentral& EndCentralRecord,
                     bool& StopNow)>
      OnStartZipInfo;
  std::function<void(base::TObject* Sender, const std::string& FName, TZipHeaderInfo& ZipHeader, bool& Skip)>
      OnStartZip;
  std::function<void(base::TObject* Sender, const std::string& FName, int64_t UncompressedSize,
                     int64_t CompressedSize, int64_t CurrentZipSize)>
      OnEndZip;
  std::function<void(base::TObject* Sender, const std::string& FName, bool& Skip)> OnDisposeFile;
  std::function<void(base::TObject* Sender, const std::string& FName)> OnNoSuchFile;
  // No operation of this component raises it.
  std::function<void(base::TObject* Sender, const std::string& FName, bool& Skip)> OnDeleteEntry;
  // A file that exists but is not added: it cannot be read, is 4 GiB or more, changed
  // while it was compressed, or its name is not valid UTF-8.
  std::function<void(base::TObject* Sender, const std::string& FName, const std::string& Reason)> OnFileNotAdded;

 protected:
  TMultiMode GetMultiMode() const override { return FMultiZipInfo.MultiMode; }
  void SetMultiMode(TMultiMode Value) override;
  bool GetCheckDiskLabels() const override { return FMultiZipInfo.CheckDiskLabels; }
  void SetCheckDiskLabels(bool Value) override;

 private:
  struct TRun;
  class TEntryStreams;

  void ExpandFilesList(TRun& Run);
  void MergeExistingEntries(TRun& Run);
  bool MatchesEntry(const std::string& Name, const TZipHeaderInfo& Entry) const;
  std::string StoredPathOf(const std::string& Name) const;
  std::string StoredNameOf(const std::string& Name, bool IsFolder) const;
  bool AddOneFile(TRun& Run, const std::string& Name);
  void RecordNewEntry(TRun& Run, std::unique_ptr<TZipHeaderInfo> Entry, const std::string& Name);
  void CopyExistingEntry(TRun& Run, const TZipHeaderInfo& Entry);
  void DisposeFiles(TRun& Run);
  void OpenOutputArchive(TRun& Run);
  void NextOutputVolume(TRun& Run);
  int64_t VolumeSpaceLeft(TRun& Run);
  int64_t DriveFreeSpace() const;
  void WriteSpanLabel(TRun& Run);
  void WriteSplit(TRun& Run, base::TStream& Source, int64_t Count);
  void CopyStagedData(TRun& Run);
  uint32_t ComputeFileCrc(TRun& Run);
  void WriteEncryptionHeader(TRun& Run, uint32_t Crc);
  uint8_t EncryptByte(TRun& Run, uint8_t Value);
  std::string VolumeName(int Volume) const;
  void FailFile(const std::string& Name, const std::string& Reason);

  int FPackLevel = 6;
  bool FRecurse = false;
  bool FDispose = false;
  bool FStorePaths = false;
  bool FRelativePaths = false;
  bool FStoreVolumes = false;
  TZipAction FZipAction = zaUpdate;
  TMultiZipInfo FMultiZipInfo;
  bool FStore83Names = false;
  TDeflater FDeflater;
  TRun* FRun = nullptr;
};

}  // namespace zip
