#include "install/zip/ZipReader.h"

#include "install/zip/VolumeLabels.h"
#include "install/zip/WildMatch.h"
#include "platform/base/Format.h"

namespace zip {

namespace {

// However a handler answers, a volume is asked for at most this often.
constexpr int MaxDiskRequests = 16;

std::string FolderOf(const std::string& Name) {
  const size_t Slash = Name.rfind('/');
  return Slash == std::string::npos ? std::string() : Name.substr(0, Slash + 1);
}

}  // namespace

TZipReader::TZipReader() = default;

TZipReader::~TZipReader() = default;

void TZipReader::DropLists() {
  FSortedOwned.reset();
  FEntries.reset();
  FSorted = nullptr;
}

void TZipReader::SetZipName(const std::string& Value) {
  if (Value == FZipName) return;
  std::string Name = Value;
  if (!Name.empty() && Name.back() == '?') {
    const std::string Folder = FolderOf(Name);
    std::string Chosen;
    if (!FHooks || !FHooks->ChooseArchive("Open a Zip File",
                                          "Zip Files (*.ZIP)|*.zip|SFX Files (*.EXE)|*.exe|All Files (*.*)|*.*",
                                          FolderExists(Folder) ? Folder : GetCurrentFolder(), Chosen))
      throw EUserCanceled("User canceled setting zip file name.");
    Name = Chosen;
  }
  FZipName = Name;
  DropLists();
  FEndCentral.Clear();
  FStamp = {};
  FArchive.reset();
  FRecovered = false;
}

void TZipReader::SetDestDir(const std::string& Value) {
  std::string Folder = Value;
  if (Folder == "?") {
    std::string Chosen;
    if (!FHooks || !FHooks->ChooseFolder(FolderExists(FDestDir) ? FDestDir : GetCurrentFolder(), Chosen))
      throw EUserCanceled("User canceled Set Desination Directory");
    Folder = Chosen;
  }
  if (Folder.size() > 1 && Folder.back() == '/') Folder.pop_back();
  FDestDir = Folder;
}

void TZipReader::SetRootDir(const std::string& Value) {
  FRootDir = Value;
  if (!FRootDir.empty() && FRootDir.back() != '/') FRootDir += '/';
}

void TZipReader::OpenZip() {
  if (!FArchive) FArchive = std::make_unique<TLFNFileStream>(FZipName, base::fmOpenRead | base::fmShareDenyWrite);
  if (FEntries && FArchive->Stamp() == FStamp) return;
  ReadDirectory();
}

void TZipReader::CloseZip() {
  if (!FKeepZipOpen) FArchive.reset();
}

void TZipReader::ClearZip() {
  FArchive.reset();
  DropLists();
  FEndCentral.Clear();
  FRecovered = false;
  FStamp = {};
  FVolumes = 1;
  SetMultiMode(mmNone);
  FZipName.clear();
}

void TZipReader::HoldDirectory(std::vector<std::unique_ptr<TZipHeaderInfo>> Entries, const TEndCentral& End,
                               int Volumes) {
  DropLists();
  FEntries = std::make_unique<TSortedZip>(dupError);
  FEntries->SortMode = ByNone;
  for (std::unique_ptr<TZipHeaderInfo>& Entry : Entries) {
    FEntries->Add(Entry.get());
    Entry.release();
  }
  FEndCentral.Assign(&End);
  FEndCentral.CommentChanged = false;
  FStamp = FileStampOf(FZipName);
  FRecovered = false;
  FVolumes = Volumes;
  FCurrentVolume = End.ThisDisk;
  Sort(FSortMode);
}

void TZipReader::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw base::EListError(base::Format("Index %d is out of range", Index));
}

int TZipReader::Count() const { return FSorted ? FSorted->Count() : 0; }

const TZipHeaderInfo& TZipReader::Entries(int Index) const {
  CheckIndex(Index);
  return *FSorted->Entries(Index);
}

std::string TZipReader::Filename(int Index) const { return Entries(Index).FullName(); }

TDateTime TZipReader::DateTime(int Index) const {
  TDateTime Value = 0;
  return DosDateTimeToDateTime(Entries(Index).DateTime, Value) ? Value : Now();
}

std::string TZipReader::FileComment(int Index) const { return Entries(Index).FileCommentText(); }

void TZipReader::SetFileComment(int Index, const std::string& Text) {
  CheckIndex(Index);
  TZipHeaderInfo& Entry = *FSorted->Entries(Index);
  if (Entry.FileCommentText() == Text) return;
  Entry.SetFileCommentText(Text);
  FEndCentral.CommentChanged = true;
}

std::string TZipReader::ZipComment() {
  if (!FEntries && !FZipName.empty()) {
    OpenZip();
    CloseZip();
  }
  return FEndCentral.CommentText();
}

void TZipReader::SetZipComment(const std::string& Text) {
  if (FEndCentral.CommentText() == Text) return;
  FEndCentral.SetCommentText(Text);
  FEndCentral.CommentChanged = true;
}

void TZipReader::Sort(TZipSortMode Mode) {
  FSortedOwned.reset();
  FSortMode = Mode;
  FSorted = FEntries.get();
  if (Mode == ByNone || !FEntries) return;
  FSortedOwned = std::make_unique<TSortedZip>(dupAccept);
  FSortedOwned->SetOwnsItems(false);
  FSortedOwned->SortMode = Mode;
  for (int I = 0; I < FEntries->Count(); ++I) FSortedOwned->Add(FEntries->Entries(I));
  FSorted = FSortedOwned.get();
}

int TZipReader::SelectEntries() {
  FTotalToExtract = 0;
  int Selected = Count();
  for (int I = 0; I < Count(); ++I) {
    TZipHeaderInfo& Entry = *FSorted->Entries(I);
    Entry.Selected = FDoAll;
    if (!Entry.FileName().empty() || FRecreateDirs) {
      for (int P = 0; P < FFilesList.Count() && !Entry.Selected; ++P) {
        const std::string Pattern = FFilesList.Strings(P);
        const std::string& Subject = Pattern.find('/') == std::string::npos ? Entry.FileName() : Entry.FullName();
        Entry.Selected = IsMatch(Pattern, Subject);
      }
    } else {
      Entry.Selected = false;
    }
    if (Entry.Selected)
      FTotalToExtract += int64_t(Entry.UncompressedSize);
    else
      --Selected;
  }
  return Selected;
}

void TZipReader::CheckCancel(const std::string& Message) {
  if (FDoProcessMessages && FHooks) FHooks->ProcessMessages();
  if (FCanceled) {
    FCanceled = false;
    throw EUserCanceled(Message);
  }
}

bool TZipReader::AskYesNo(const std::string& Text, const std::string& Caption) {
  const TZipAnswer Answer = FHooks ? FHooks->Ask(Text, Caption) : TZipAnswer::Cancel;
  if (Answer == TZipAnswer::Cancel) throw EUserCanceled("User canceled Zip operation.");
  return Answer == TZipAnswer::Yes;
}

void TZipReader::Inform(const std::string& Text, const std::string& Caption) {
  if (FHooks) FHooks->Inform(Text, Caption);
}

base::TStream* TZipReader::OpenVolume(const std::string& Name) {
  FArchive = std::make_unique<TLFNFileStream>(Name, base::fmOpenRead | base::fmShareDenyWrite);
  // A volume with no bytes can carry nothing the archive goes on with.
  if (FArchive->Size() == 0) throw EFatalUnzipError("Premature end of file reached");
  return FArchive.get();
}

base::TStream* TZipReader::GetNextDisk(int Disk) {
  FArchive.reset();
  std::string FName = FZipName;
  for (int Request = 0;; ++Request) {
    if (!OnGetNextDisk || Request == MaxDiskRequests) throw EUserCanceled("User canceled loading new disk.");
    OnGetNextDisk(this, Disk, FName);
    if (FName.empty()) throw EUserCanceled("User canceled loading new disk.");
    if (GetCheckDiskLabels() && !DiskLabelMatches(Disk)) continue;
    if (FileExists(FName)) break;
  }
  OpenVolume(FName);
  FCurrentVolume = Disk - 1;
  FStamp = FArchive->Stamp();
  FZipName = FName;
  return FArchive.get();
}

bool TZipReader::DiskLabelMatches(int Disk) const {
  if (GetMultiMode() != mmSpan) return true;
  const std::string Label = GetVolumeLabelOf(VolumeRootOf(FZipName));
  return Label.size() >= 3 && Label.substr(Label.size() - 3) == base::Format("%3.3d", Disk);
}

bool TZipReader::CheckPassword(int FileIndex) {
  const uint8_t Check = FCurrentEntry.HasDataDescriptor() ? uint8_t(FCurrentEntry.DateTime >> 8)
                                                          : uint8_t(FCurrentEntry.CRC32 >> 24);
  for (;;) {
    uint8_t Header[EncryptionHeaderSize];
    if (FCurrentEntry.CompressedSize < EncryptionHeaderSize ||
        FArchive->Read(Header, EncryptionHeaderSize) != EncryptionHeaderSize)
      throw EFatalUnzipError("Premature end of file reached");
    FCurrentEntry.CompressedSize -= EncryptionHeaderSize;
    FKeys.Init(FPassword);
    FKeys.Decrypt(Header, EncryptionHeaderSize);
    if (Header[EncryptionHeaderSize - 1] == Check) return true;
    std::string NewPassword = FPassword;
    if (OnBadPassword) OnBadPassword(this, FileIndex, NewPassword);
    if (!OnBadPassword || NewPassword == FPassword) break;
    FPassword = NewPassword;
    FArchive->Seek(-EncryptionHeaderSize, base::TSeekOrigin::soCurrent);
    FCurrentEntry.CompressedSize += EncryptionHeaderSize;
  }
  if (OnSkippingFile) OnSkippingFile(this, srBadPassword, FileIndex);
  return false;
}

}  // namespace zip
