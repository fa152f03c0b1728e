// TZipExtractor: the reading component with its extraction driver. UnZip selects the
// entries, raises OnStartUnZipInfo and hands each selected entry to the extraction
// engine, with the component's settings, volumes, password check and events.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/zip/ExtractEntry.h"
#include "install/zip/ZipReader.h"

namespace zip {

class TZipExtractor : public TZipReader, private TExtractHost {
 public:
  ANIMORA_CLASS(TZipExtractor)

  // Extracts the selected entries below DestDir (made when missing); returns the
  // selected count less one for each entry skipped or failed. The current folder of
  // the process is never changed.
  int UnZip();

  // Why an entry failed (a refused path, damaged data, a failed write), once per
  // failed entry, for programs that report failures by entry.
  std::function<void(base::TObject* Sender, int FileIndex, const std::string& Message)> OnEntryFailed;

 private:
  const std::string& RootDir() const override { return TZipReader::RootDir(); }
  bool RecreateDirs() const override { return TZipReader::RecreateDirs(); }
  bool RetainAttributes() const override { return TZipReader::RetainAttributes(); }
  const TZipHeaderInfo& Entry(int FileIndex) const override { return Entries(FileIndex); }
  TZipHeaderInfo& CurrentEntry() override { return FCurrentEntry; }
  uint64_t EntryEnd(int FileIndex) const override { return FEntryEnds[static_cast<size_t>(FileIndex)]; }
  base::TStream& Archive() override;
  int CurrentVolume() const override { return FCurrentVolume; }
  bool SpansVolumes() const override { return Volumes() > 1; }
  bool CanAskForVolumes() const override { return static_cast<bool>(OnGetNextDisk); }
  void GetNextDisk(int Disk) override { TZipReader::GetNextDisk(Disk); }
  bool CheckPassword(int FileIndex) override { return TZipReader::CheckPassword(FileIndex); }
  void DecryptBuffer(uint8_t* Data, size_t Count) override { TZipReader::DecryptBuffer(Data, Count); }
  void CheckCancel() override { TZipReader::CheckCancel("User aborted operation"); }
  bool ConfirmOverwrite(int FileIndex, std::string& FName) override;
  void Inform(const std::string& Text, const std::string& Caption) override { TZipReader::Inform(Text, Caption); }
  void StartUnZip(int FileIndex, const std::string& FName, bool& Skip) override;
  void Progress(int FilePercent, uint64_t PieceBytes) override;
  void EndUnZip(int FileIndex, const std::string& FName) override;
  void BadCRC(uint32_t CalcCRC, uint32_t StoredCRC, int FileIndex) override;
  bool BadPassword(int FileIndex) override;
  void SkippingBadPassword(int FileIndex) override;
  void EntryFailed(int FileIndex, const std::string& Message) override;
  void FindEntryEnds();

  std::vector<uint64_t> FEntryEnds;
};

}  // namespace zip
