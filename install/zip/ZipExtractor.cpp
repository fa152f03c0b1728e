#include "install/zip/ZipExtractor.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "install/zip/ZipUtil.h"

namespace zip {

base::TStream& TZipExtractor::Archive() { return *FArchive; }

bool TZipExtractor::ConfirmOverwrite(int FileIndex, std::string& FName) {
  bool OverWriteIt = OverwriteMode() == TUZOverwriteMode::Always;
  if (OverwriteMode() == TUZOverwriteMode::Prompt) {
    if (OnPromptForOverwrite)
      OnPromptForOverwrite(this, OverWriteIt, FileIndex, FName);
    else
      OverWriteIt = AskYesNo("Replace existing file " + Filename(FileIndex) + "?", "File exists alert");
  }
  if (!OverWriteIt && OnSkippingFile) OnSkippingFile(this, srNoOverwrite, FileIndex);
  return OverWriteIt;
}

void TZipExtractor::StartUnZip(int FileIndex, const std::string& FName, bool& Skip) {
  if (OnStartUnZip) OnStartUnZip(this, FileIndex, FName, Skip);
}

void TZipExtractor::Progress(int FilePercent, uint64_t PieceBytes) {
  if (OnFilePercentDone) OnFilePercentDone(this, FilePercent);
  if (OnTotalPercentDone) {
    FTotalDone += static_cast<int64_t>(PieceBytes);
    OnTotalPercentDone(this, Percent(FTotalToExtract, FTotalDone));
  }
}

void TZipExtractor::EndUnZip(int FileIndex, const std::string& FName) {
  if (OnEndUnZip) OnEndUnZip(this, FileIndex, FName);
}

void TZipExtractor::BadCRC(uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex) {
  if (OnBadCRC) OnBadCRC(this, CalcCRC, StoredCRC, FileIndex);
}

bool TZipExtractor::BadPassword(int FileIndex) {
  if (!OnBadPassword) return false;
  std::string NewPassword = Password();
  OnBadPassword(this, FileIndex, NewPassword);
  if (NewPassword == Password()) return false;
  SetPassword(NewPassword);
  return true;
}

void TZipExtractor::SkippingBadPassword(int FileIndex) {
  if (OnSkippingFile) OnSkippingFile(this, srBadPassword, FileIndex);
}

void TZipExtractor::EntryFailed(int FileIndex, const std::string& Message) {
  if (OnEntryFailed) OnEntryFailed(this, FileIndex, Message);
}

void TZipExtractor::FindEntryEnds() {
  // Local header starts per volume, sorted: each entry ends where the next one starts.
  std::vector<std::pair<uint32_t, uint64_t>> Starts;
  for (int I = 0; I < Count(); ++I) Starts.emplace_back(Entries(I).DiskNumberStart, Entries(I).LocalHeaderOffset);
  if (!Recovered()) Starts.emplace_back(FEndCentral.CentralStartDisk, FEndCentral.CentralOffset);
  std::sort(Starts.begin(), Starts.end());
  FEntryEnds.clear();
  for (int I = 0; I < Count(); ++I) {
    auto Next = std::upper_bound(Starts.begin(), Starts.end(),
                                 std::pair<uint32_t, uint64_t>(Entries(I).DiskNumberStart, Entries(I).LocalHeaderOffset));
    bool SameVolume = Next != Starts.end() && Next->first == Entries(I).DiskNumberStart;
    FEntryEnds.push_back(SameVolume ? Next->second : UINT64_MAX);
  }
}

int TZipExtractor::UnZip() {
  FCanceled = false;
  OpenZip();
  struct TClose {
    TZipExtractor* Self;
    ~TClose() { Self->CloseZip(); }
  } Close{this};
  if (!DestDir().empty() && !FolderExists(DestDir())) ForceFolders(DestDir());
  // A spanned archive is extracted in volume order.
  const TZipSortMode Mode = SortMode();
  const bool Resort = Volumes() > 1 && Mode != ByNone;
  if (Resort) Sort(ByNone);
  struct TRestore {
    TZipExtractor* Self;
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
  if (Selected <= 0 || StopNow) return Selected;

  FindEntryEnds();
  ExtractState State(DestDir());
  State.ExtractedCount = Selected;
  for (int I = 0; I < Count(); ++I) {
    if (!Entries(I).Selected) continue;
    do ExtractEntry(State, *this, I);
    while (State.Retry);
  }
  return State.ExtractedCount;
}

}  // namespace zip
