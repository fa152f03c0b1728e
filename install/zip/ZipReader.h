// TZipReader: reads a zip archive's directory (also of damaged and multi-volume
// archives), keeps the entries in archive order and in a sorted view, selects entries
// by wildcard patterns, checks passwords and extracts the selected entries through the
// extraction engine. Names in memory are UTF-8 with "/".
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "install/zip/LFNFileStream.h"
#include "install/zip/ZipCrypt.h"
#include "install/zip/ZipHooks.h"
#include "install/zip/ZipRecords.h"
#include "install/zip/ZipUtil.h"
#include "platform/base/Persistent.h"
#include "platform/base/Strings.h"

namespace zip {

enum class TUZOverwriteMode : uint8_t { Prompt, Always, Never };
enum class TIncompleteZipMode : uint8_t { izAssumeMulti, izAssumeBad };
using enum TIncompleteZipMode;
enum class TSkipReason : uint8_t { srBadPassword = 0, srNoOverwrite = 1 };
using enum TSkipReason;
enum class TMultiMode : uint8_t { mmNone, mmSpan, mmBlocks };
using enum TMultiMode;

class TZipReader : public base::TPersistent {
 public:
  ANIMORA_CLASS(TZipReader)
  TZipReader();
  ~TZipReader() override;
  TZipReader(const TZipReader&) = delete;
  TZipReader& operator=(const TZipReader&) = delete;

  // The archive; a relative name is taken from the current folder. A name ending in
  // "?" asks the hooks for the archive. A new name forgets the directory.
  const std::string& ZipName() const { return FZipName; }
  virtual void SetZipName(const std::string& Value);
  // Kept without a final "/" ("/" itself stays); empty means the current folder; "?"
  // asks the hooks for the folder.
  const std::string& DestDir() const { return FDestDir; }
  void SetDestDir(const std::string& Value);
  // Kept with a final "/" unless empty.
  const std::string& RootDir() const { return FRootDir; }
  void SetRootDir(const std::string& Value);
  // Takes effect at the next directory read.
  TZipSortMode SortMode() const { return FSortMode; }
  void SetSortMode(TZipSortMode Value) { FSortMode = Value; }
  bool RecreateDirs() const { return FRecreateDirs; }
  void SetRecreateDirs(bool Value) { FRecreateDirs = Value; }
  TUZOverwriteMode OverwriteMode() const { return FOverwriteMode; }
  void SetOverwriteMode(TUZOverwriteMode Value) { FOverwriteMode = Value; }
  const base::TStringList& FilesList() const { return FFilesList; }
  void SetFilesList(const base::TStrings& Value) { FFilesList.Assign(&Value); }
  bool DoAll() const { return FDoAll; }
  void SetDoAll(bool Value) { FDoAll = Value; }
  TIncompleteZipMode IncompleteZipMode() const { return FIncompleteZipMode; }
  void SetIncompleteZipMode(TIncompleteZipMode Value) { FIncompleteZipMode = Value; }
  bool KeepZipOpen() const { return FKeepZipOpen; }
  void SetKeepZipOpen(bool Value) { FKeepZipOpen = Value; }
  bool DoProcessMessages() const { return FDoProcessMessages; }
  void SetDoProcessMessages(bool Value) { FDoProcessMessages = Value; }
  bool RetainAttributes() const { return FRetainAttributes; }
  void SetRetainAttributes(bool Value) { FRetainAttributes = Value; }
  int ThisVersion() const { return 210; }
  void SetThisVersion(int) {}
  const std::string& Password() const { return FPassword; }
  void SetPassword(const std::string& Value) { FPassword = Value; }
  // Not owned; none by default.
  TZipHooks* Hooks() const { return FHooks; }
  void SetHooks(TZipHooks* Value) { FHooks = Value; }

  // Stops the running operation at its next check with EUserCanceled.
  void Cancel() { FCanceled = true; }

  // Opens the archive and reads its directory unless the one held is still current
  // (same size and modification time); CloseZip closes it unless KeepZipOpen.
  void OpenZip();
  void CloseZip();
  // Closes the archive, forgets everything read and empties ZipName.
  void ClearZip();

  // Entries of the sorted view; 0 when no directory is held. An index out of range
  // raises EListError "Index %d is out of range".
  int Count() const;
  const TZipHeaderInfo& Entries(int Index) const;
  std::string Filename(int Index) const;
  // The entry's time; the current time when its DOS time is invalid.
  TDateTime DateTime(int Index) const;
  std::string FileComment(int Index) const;
  void SetFileComment(int Index, const std::string& Text);
  std::string ZipComment();
  void SetZipComment(const std::string& Text);
  // Drops a separate view; ByNone makes the entry list the view, another mode a new
  // sorted view of every entry. Mode becomes SortMode.
  void Sort(TZipSortMode Mode);
  // Marks the entries to extract (DoAll, else the first matching FilesList pattern,
  // matched on the file name, or on the folder and name when the pattern holds a
  // "/"); returns their number and sets TotalToExtract.
  int SelectEntries();
  int64_t TotalToExtract() const { return FTotalToExtract; }
  // The directory was rebuilt from the local headers.
  bool Recovered() const { return FRecovered; }
  int Volumes() const { return FVolumes; }

  // Extracts the selected entries below DestDir (made when missing); returns the
  // number of entries extracted (folder entries included), 0 when OnStartUnZipInfo
  // stops the run. The current folder of the process is never changed.
  int UnZip();

  std::function<void(base::TObject* Sender, int NumFiles, int64_t TotalBytes, bool& StopNow)> OnStartUnZipInfo;
  std::function<void(base::TObject* Sender, int FileIndex, const std::string& FName, bool& Skip)> OnStartUnZip;
  std::function<void(base::TObject* Sender, int Percent)> OnFilePercentDone;
  std::function<void(base::TObject* Sender, int Percent)> OnTotalPercentDone;
  std::function<void(base::TObject* Sender, int FileIndex, const std::string& FName)> OnEndUnZip;
  std::function<void(base::TObject* Sender, bool& OverWriteIt, int FileIndex, std::string& FName)>
      OnPromptForOverwrite;
  std::function<void(base::TObject* Sender, TSkipReason Reason, int FileIndex)> OnSkippingFile;
  std::function<void(base::TObject* Sender, int FileIndex, std::string& NewPassword)> OnBadPassword;
  std::function<void(base::TObject* Sender, uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex)> OnBadCRC;
  std::function<void(base::TObject* Sender, TIncompleteZipMode& IncompleteMode)> OnInCompleteZip;
  // Volumes count from 1; FName is ZipName at the first request and the last answer
  // when the request is repeated; an empty answer cancels.
  std::function<void(base::TObject* Sender, int NextDisk, std::string& FName)> OnGetNextDisk;
  // Why an entry failed (a refused path, a wrong password, a method not built, damaged
  // data, a failed write), once per failed entry, for programs that report failures by
  // entry.
  std::function<void(base::TObject* Sender, int FileIndex, const std::string& Message)> OnEntryFailed;

 protected:
  virtual bool GetCheckDiskLabels() const { return FCheckDiskLabels; }
  virtual void SetCheckDiskLabels(bool Value) { FCheckDiskLabels = Value; }
  virtual TMultiMode GetMultiMode() const { return FMultiMode; }
  virtual void SetMultiMode(TMultiMode Value) { FMultiMode = Value; }

  void ReadDirectory();
  // Rebuilds the entry list from the local headers; false when none was found.
  bool RecoverDirectory();
  // Closes the archive and opens volume Disk (from 1) as OnGetNextDisk names it.
  base::TStream* GetNextDisk(int Disk);
  bool DiskLabelMatches(int Disk) const;
  // Reads and checks the 12-byte encryption header of FCurrentEntry at the archive's
  // position, asking OnBadPassword for another password while it does not fit.
  // True leaves the keys ready for the data; false has raised OnSkippingFile.
  bool CheckPassword(int FileIndex);
  void DecryptBuffer(uint8_t* Data, size_t Count) { FKeys.Decrypt(Data, Count); }
  // Pumps messages when DoProcessMessages; a pending Cancel() raises EUserCanceled.
  void CheckCancel(const std::string& Message);
  // A Yes/No question through the hooks; none means cancelled (EUserCanceled).
  bool AskYesNo(const std::string& Text, const std::string& Caption);
  void Inform(const std::string& Text, const std::string& Caption);
  TSortedZip* SortedView() const { return FSorted; }
  // Holds Entries (in archive order) and End as the directory of the archive as it now
  // lies on disk, sorted by SortMode, so that it is not read again: what a writer
  // does with the archive it has just written.
  void HoldDirectory(std::vector<std::unique_ptr<TZipHeaderInfo>> Entries, const TEndCentral& End, int Volumes);

  std::unique_ptr<TLFNFileStream> FArchive;
  TEndCentral FEndCentral;
  TZipHeaderInfo FCurrentEntry;
  TZipKeys FKeys;
  int FCurrentVolume = 0;
  int64_t FTotalToExtract = 0;
  int64_t FTotalDone = 0;
  bool FCanceled = false;

 private:
  // What the extraction engine asks of the component during UnZip.
  class TUnZipHost;
  void CheckIndex(int Index) const;
  void DropLists();
  void Incomplete();
  void ReadEntries();
  void ReadCentralHeaders();
  base::TStream* OpenVolume(const std::string& Name);

  std::string FZipName;
  std::string FDestDir;
  std::string FRootDir;
  TZipSortMode FSortMode = ByNone;
  bool FRecreateDirs = false;
  TUZOverwriteMode FOverwriteMode = TUZOverwriteMode::Prompt;
  base::TStringList FFilesList;
  bool FDoAll = false;
  TIncompleteZipMode FIncompleteZipMode = izAssumeMulti;
  bool FKeepZipOpen = false;
  bool FDoProcessMessages = true;
  bool FRetainAttributes = true;
  std::string FPassword;
  TZipHooks* FHooks = nullptr;

  std::unique_ptr<TSortedZip> FEntries;
  std::unique_ptr<TSortedZip> FSortedOwned;
  TSortedZip* FSorted = nullptr;
  TFileStamp FStamp;
  int FVolumes = 1;
  bool FRecovered = false;
  TMultiMode FMultiMode = mmNone;
  bool FCheckDiskLabels = true;
};

}  // namespace zip
