// TZipReader::UnZip: selects the entries, raises OnStartUnZipInfo and hands each
// selected entry to the extraction engine, with the component's settings, volumes,
// password check and events.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "install/zip/ExtractEntry.h"
#include "install/zip/ZipReader.h"
#include "install/zip/ZipUtil.h"

namespace zip {

class TZipReader::TUnZipHost final : public TExtractHost {
 public:
  explicit TUnZipHost(TZipReader& Reader) : Z(Reader) { FindEntryEnds(); }

 private:
  const std::string& RootDir() const override { return Z.RootDir(); }
  bool RecreateDirs() const override { return Z.RecreateDirs(); }
  bool RetainAttributes() const override { return Z.RetainAttributes(); }
  const TZipHeaderInfo& Entry(int FileIndex) const override { return Z.Entries(FileIndex); }
  TZipHeaderInfo& CurrentEntry() override { return Z.FCurrentEntry; }
  uint64_t EntryEnd(int FileIndex) const override { return FEntryEnds[static_cast<size_t>(FileIndex)]; }
  base::TStream& Archive() override { return *Z.FArchive; }
  int CurrentVolume() const override { return Z.FCurrentVolume; }
  int Volumes() const override { return Z.Volumes(); }
  bool CanAskForVolumes() const override { return static_cast<bool>(Z.OnGetNextDisk); }
  void GetNextDisk(int Disk) override { Z.GetNextDisk(Disk); }
  bool CheckPassword(int FileIndex) override { return Z.CheckPassword(FileIndex); }
  void DecryptBuffer(uint8_t* Data, size_t Count) override { Z.DecryptBuffer(Data, Count); }
  void CheckCancel() override { Z.CheckCancel("User aborted operation"); }
  bool ConfirmOverwrite(int FileIndex, std::string& FName) override;
  void Inform(const std::string& Text, const std::string& Caption) override { Z.Inform(Text, Caption); }
  void StartUnZip(int FileIndex, const std::string& FName, bool& Skip) override;
  void Progress(int FilePercent, uint64_t PieceBytes) override;
  void EndUnZip(int FileIndex, const std::string& FName) override;
  void BadCRC(uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex) override;
  bool BadPassword(int FileIndex) override;
  void SkippingBadPassword(int FileIndex) override;
  void EntryFailed(int FileIndex, const std::string& Message) override;
  void FindEntryEnds();

  TZipReader& Z;
  std::vector<uint64_t> FEntryEnds;
};

bool TZipReader::TUnZipHost::ConfirmOverwrite(int FileIndex, std::string& FName) {
  bool OverWriteIt = Z.OverwriteMode() == TUZOverwriteMode::Always;
  if (Z.OverwriteMode() == TUZOverwriteMode::Prompt) {
    if (Z.OnPromptForOverwrite)
      Z.OnPromptForOverwrite(&Z, OverWriteIt, FileIndex, FName);
    else
      OverWriteIt = Z.AskYesNo("Replace existing file " + Z.Filename(FileIndex) + "?", "File exists alert");
  }
  if (!OverWriteIt && Z.OnSkippingFile) Z.OnSkippingFile(&Z, srNoOverwrite, FileIndex);
  return OverWriteIt;
}

void TZipReader::TUnZipHost::StartUnZip(int FileIndex, const std::string& FName, bool& Skip) {
  if (Z.OnStartUnZip) Z.OnStartUnZip(&Z, FileIndex, FName, Skip);
}

void TZipReader::TUnZipHost::Progress(int FilePercent, uint64_t PieceBytes) {
  if (Z.OnFilePercentDone) Z.OnFilePercentDone(&Z, FilePercent);
  if (Z.OnTotalPercentDone) {
    Z.FTotalDone += static_cast<int64_t>(PieceBytes);
    Z.OnTotalPercentDone(&Z, Percent(Z.FTotalToExtract, Z.FTotalDone));
  }
}

void TZipReader::TUnZipHost::EndUnZip(int FileIndex, const std::string& FName) {
  if (Z.OnEndUnZip) Z.OnEndUnZip(&Z, FileIndex, FName);
}

void TZipReader::TUnZipHost::BadCRC(uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex) {
  if (Z.OnBadCRC) Z.OnBadCRC(&Z, CalcCRC, StoredCRC, FileIndex);
}

bool TZipReader::TUnZipHost::BadPassword(int FileIndex) {
  if (!Z.OnBadPassword) return false;
  std::string NewPassword = Z.Password();
  Z.OnBadPassword(&Z, FileIndex, NewPassword);
  if (NewPassword == Z.Password()) return false;
  Z.SetPassword(NewPassword);
  return true;
}

void TZipReader::TUnZipHost::SkippingBadPassword(int FileIndex) {
  if (Z.OnSkippingFile) Z.OnSkippingFile(&Z, srBadPassword, FileIndex);
}

void TZipReader::TUnZipHost::EntryFailed(int FileIndex, const std::string& Message) {
  if (Z.OnEntryFailed) Z.OnEntryFailed(&Z, FileIndex, Message);
}

void TZipReader::TUnZipHost::FindEntryEnds() {
  // Local header starts per volume, sorted: each entry ends where the next one starts.
  std::vector<std::pair<uint32_t, uint64_t>> Starts;
  for (int I = 0; I < Z.Count(); ++I) Starts.emplace_back(Z.Entries(I).DiskNumberStart, Z.Entries(I).LocalHeaderOffset);
  if (!Z.Recovered()) Starts.emplace_back(Z.FEndCentral.CentralStartDisk, Z.FEndCentral.CentralOffset);
  std::sort(Starts.begin(), Starts.end());
  FEntryEnds.clear();
  for (int I = 0; I < Z.Count(); ++I) {
    auto Next = std::upper_bound(Starts.begin(), Starts.end(),
                                 std::pair<uint32_t, uint64_t>(Z.Entries(I).DiskNumberStart, Z.Entries(I).LocalHeaderOffset));
    bool SameVolume = Next != Starts.end() && Next->first == Z.Entries(I).DiskNumberStart;
    FEntryEnds.push_back(SameVolume ? Next->second : UINT64_MAX);
  }
}

int TZipReader::UnZip() {
  FCanceled = false;
  OpenZip();
  struct TClose {
    TZipReader* Self;
    ~TClose() { Self->CloseZip(); }
  } Close{this};
  if (!DestDir().empty() && !FolderExists(DestDir())) ForceFolders(DestDir());
  // A spanned archive is extracted in volume order.
  const TZipSortMode Mode = SortMode();
  const bool Resort = Volumes() > 1 && Mode != ByNone;
  if (Resort) Sort(ByNone);
  struct TRestore {
    TZipReader* Self;
    bool Resort;
    TZipSortMode Mode;
    ~TRestore() {
      if (Resort) Self->Sort(Mode);
    }
  } Restore{this, Resort, Mode};

  FTotalDone = 0;
  int Selected = SelectEntries();
  bool StopNow = false;
  if (OnStartUnZipInfo) OnStartUnZipInfo(this, Selected, FTotalToExtract, StopNow);
  if (Selected <= 0 || StopNow) return 0;

  TUnZipHost Host(*this);
  ExtractState State(DestDir());
  State.ExtractedCount = Selected;
  for (int I = 0; I < Count(); ++I) {
    if (!Entries(I).Selected) continue;
    do ExtractEntry(State, Host, I);
    while (State.Retry);
  }
  return State.ExtractedCount;
}

}  // namespace zip
