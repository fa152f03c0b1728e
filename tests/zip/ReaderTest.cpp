#include "install/zip/ZipReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "install/zip/VolumeLabels.h"
#include "tests/zip/ZipTestSupport.h"

namespace {

using ziptest::TArchiveBuilder;
using ziptest::TEntrySpec;
using ziptest::TTempFolder;
using zip::TZipReader;

std::vector<std::string> Names(const TZipReader& Reader) {
  std::vector<std::string> Result;
  for (int I = 0; I < Reader.Count(); ++I) Result.push_back(Reader.Filename(I));
  return Result;
}

template <typename E>
std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const E& Error) {
    return Error.Message();
  }
  return "(nothing raised)";
}

TArchiveBuilder Sample() {
  TArchiveBuilder B;
  B.Entries = {{"readme.txt", "hello", "first", "", false},
               {"anim/", "", "", "", false},
               {"anim/a.GIF", std::string(300, 'g'), "", "", false},
               {"anim/b.gif", "bb", "second", "", false}};
  B.ArchiveComment = "the archive";
  return B;
}

// Opens the protected parts the extraction engine and the writer build on.
class TOpenReader : public TZipReader {
 public:
  using TZipReader::CheckPassword;
  using TZipReader::DecryptBuffer;
  using TZipReader::DiskLabelMatches;
  using TZipReader::FArchive;
  using TZipReader::FCurrentEntry;
  using TZipReader::SetMultiMode;
};

class THooks : public zip::TZipHooks {
 public:
  void ProcessMessages() override {
    ++Pumped;
    if (Reader && Pumped == CancelAt) Reader->Cancel();
  }
  void SetBusy(bool Busy) override { BusyChanges.push_back(Busy); }
  zip::TZipAnswer Ask(const std::string&, const std::string&) override { return zip::TZipAnswer::Yes; }
  void Inform(const std::string&, const std::string&) override {}
  bool ChooseArchive(const std::string& Title, const std::string&, const std::string&, std::string& FileName) override {
    Titles.push_back(Title);
    FileName = Chosen;
    return !Chosen.empty();
  }
  bool ChooseFolder(const std::string&, std::string& Folder) override {
    Folder = Chosen;
    return !Chosen.empty();
  }
  TZipReader* Reader = nullptr;
  int Pumped = 0;
  int CancelAt = -1;
  std::string Chosen;
  std::vector<bool> BusyChanges;
  std::vector<std::string> Titles;
};

TEST(ZipReader, ReadsTheDirectoryAndComments) {
  TTempFolder Temp;
  TZipReader Reader;
  EXPECT_EQ(Reader.Count(), 0);
  Reader.SetZipName(Temp.Write("a.zip", Sample().Build()));
  Reader.OpenZip();
  EXPECT_EQ(Names(Reader), (std::vector<std::string>{"readme.txt", "anim/", "anim/a.GIF", "anim/b.gif"}));
  EXPECT_EQ(Reader.FileComment(0), "first");
  EXPECT_EQ(Reader.FileComment(3), "second");
  EXPECT_EQ(Reader.ZipComment(), "the archive");
  EXPECT_EQ(Reader.Entries(2).UncompressedSize, 300u);
  EXPECT_FALSE(Reader.Recovered());
  EXPECT_EQ(Reader.Volumes(), 1);
  EXPECT_EQ(MessageOf<base::EListError>([&] { Reader.Filename(4); }), "Index 4 is out of range");
  EXPECT_EQ(MessageOf<base::EListError>([&] { Reader.Filename(-1); }), "Index -1 is out of range");
  zip::TDateTime Value = 0;
  ASSERT_TRUE(zip::DosDateTimeToDateTime(0x5A2B6C3D, Value));
  EXPECT_EQ(Reader.DateTime(0), Value);

  Reader.SetFileComment(1, "changed");
  EXPECT_EQ(Reader.FileComment(1), "changed");
  Reader.SetZipComment("new");
  EXPECT_EQ(Reader.ZipComment(), "new");
  Reader.ClearZip();
  EXPECT_EQ(Reader.Count(), 0);
  EXPECT_EQ(Reader.ZipName(), "");
}

TEST(ZipReader, DirectoryIsReadOnceWhileTheFileIsUnchanged) {
  TTempFolder Temp;
  TArchiveBuilder B = Sample();
  std::string Bytes = B.Build();
  Bytes.resize(Bytes.size() - 30);  // the end record cut off
  const std::string Name = Temp.Write("cut.zip", Bytes);
  TZipReader Reader;
  int Asked = 0;
  Reader.OnInCompleteZip = [&](base::TObject*, zip::TIncompleteZipMode& Mode) {
    ++Asked;
    Mode = zip::izAssumeBad;
  };
  Reader.SetZipName(Name);
  Reader.OpenZip();
  Reader.CloseZip();
  Reader.OpenZip();
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(Reader.IncompleteZipMode(), zip::izAssumeBad);
  // Same size, another modification time: read again.
  struct timespec Times[2] = {{0, UTIME_OMIT}, {123456789, 42}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Name.c_str(), Times, 0), 0);
  Reader.CloseZip();
  Reader.OpenZip();
  EXPECT_EQ(Asked, 2);
}

TEST(ZipReader, TruncatedArchiveFailsOrRecovers) {
  TTempFolder Temp;
  TArchiveBuilder B = Sample();
  const std::string Whole = B.Build();
  // Cut inside the data of the third entry.
  const size_t Cut = Whole.find(std::string(300, 'g')) + 100;
  const std::string Name = Temp.Write("t.zip", Whole.substr(0, Cut));
  TZipReader Reader;
  Reader.SetZipName(Name);
  EXPECT_EQ(MessageOf<zip::EIncompleteZip>([&] { Reader.OpenZip(); }), "Incomplete Zip File");
  Reader.SetIncompleteZipMode(zip::izAssumeBad);
  Reader.OpenZip();
  EXPECT_TRUE(Reader.Recovered());
  EXPECT_EQ(Names(Reader), (std::vector<std::string>{"readme.txt", "anim/", "anim/a.GIF"}));
  EXPECT_EQ(Reader.Entries(2).CompressedSize, 300u);
  EXPECT_EQ(Reader.FileComment(0), "");
}

TEST(ZipReader, MissingCentralHeadersAreNeverASilentPartialDirectory) {
  TTempFolder Temp;
  TArchiveBuilder B = Sample();
  std::string Bytes = B.Build();
  // The end record promises five entries where four are held.
  const size_t End = Bytes.rfind("PK\x05\x06");
  Bytes[End + 8] = 5;
  Bytes[End + 10] = 5;
  TZipReader Reader;
  Reader.SetZipName(Temp.Write("few.zip", Bytes));
  EXPECT_EQ(MessageOf<zip::EIncompleteZip>([&] { Reader.OpenZip(); }), "Incomplete Zip File");
  Reader.SetIncompleteZipMode(zip::izAssumeBad);
  Reader.OpenZip();
  EXPECT_TRUE(Reader.Recovered());
  EXPECT_EQ(Reader.Count(), 4);
  // The central headers after the entries still give their comments.
  EXPECT_EQ(Reader.FileComment(3), "second");
}

TEST(ZipReader, PrefixedArchiveKeepsItsDirectory) {
  TTempFolder Temp;
  TArchiveBuilder B = Sample();
  B.Prefix = std::string(5000, 'S');
  TZipReader Reader;
  Reader.SetZipName(Temp.Write("sfx.zip", B.Build()));
  Reader.OpenZip();
  EXPECT_FALSE(Reader.Recovered());
  EXPECT_EQ(Reader.Count(), 4);
  EXPECT_EQ(Reader.Entries(0).LocalHeaderOffset, 5000u);
  EXPECT_EQ(Reader.FileComment(0), "first");
}

TEST(ZipReader, RecoveryReadsSizesFromDataDescriptors) {
  TTempFolder Temp;
  TArchiveBuilder B;
  B.Entries = {{"one.txt", "PK\x03\x04 inside the data", "", "", true}, {"two.txt", "second", "", "", true}};
  std::string Bytes = B.Build();
  Bytes.resize(Bytes.find("PK\x01\x02"));  // no directory at all
  TZipReader Reader;
  Reader.SetIncompleteZipMode(zip::izAssumeBad);
  Reader.SetZipName(Temp.Write("dd.zip", Bytes));
  Reader.OpenZip();
  ASSERT_EQ(Names(Reader), (std::vector<std::string>{"one.txt", "two.txt"}));
  EXPECT_EQ(Reader.Entries(0).CompressedSize, 20u);
  EXPECT_EQ(Reader.Entries(1).UncompressedSize, 6u);
  EXPECT_EQ(Reader.Entries(1).CRC32, base::Crc32("second", 6));
}

TEST(ZipReader, NoLocalHeaderMeansNoEntries) {
  TTempFolder Temp;
  TZipReader Reader;
  Reader.SetIncompleteZipMode(zip::izAssumeBad);
  Reader.SetZipName(Temp.Write("junk.zip", std::string(3000, 'x')));
  Reader.OpenZip();
  EXPECT_EQ(Reader.Count(), 0);
  Reader.SetZipName(Temp.Write("empty.zip", ""));
  Reader.OpenZip();
  EXPECT_EQ(Reader.Count(), 0);
}

TEST(ZipReader, CancelStopsTheRecoveryScan) {
  TTempFolder Temp;
  TZipReader Reader;
  THooks Hooks;
  Hooks.Reader = &Reader;
  Hooks.CancelAt = 2;
  Reader.SetHooks(&Hooks);
  Reader.SetIncompleteZipMode(zip::izAssumeBad);
  Reader.SetZipName(Temp.Write("long.zip", std::string(100000, 'x')));
  EXPECT_EQ(MessageOf<zip::EUserCanceled>([&] { Reader.OpenZip(); }), "User Aborted Operation");
  EXPECT_EQ(Hooks.Pumped, 2);
  EXPECT_EQ(Hooks.BusyChanges, (std::vector<bool>{true, false}));
}

// One entry whose central header has all-ones sizes and a Zip64 extra field.
std::string Zip64EntryArchive() {
  TArchiveBuilder B;
  B.Entries = {{"big.bin", "x", "", "", false}};
  std::string Bytes = B.Build();
  const size_t Central = Bytes.find("PK\x01\x02");
  // All-ones sizes, and a Zip64 extra in place of the real ones.
  for (int I = 20; I < 28; ++I) Bytes[Central + I] = '\xFF';
  zip::TZipHeaderInfo H;
  base::TMemoryStream S(std::vector<uint8_t>(Bytes.begin() + Central, Bytes.end()));
  base::TStream* Stream = &S;
  EXPECT_TRUE(H.ReadCentral(Stream, nullptr));
  H.SetExtraField(std::string("\x01\x00\x10\x00", 4) + std::string(16, '\0'));
  base::TMemoryStream Rewritten;
  H.WriteCentral(Rewritten);
  std::string Patched = Bytes.substr(0, Central) + std::string(Rewritten.Bytes().begin(), Rewritten.Bytes().end());
  zip::TEndCentral End;
  End.TotalEntries = End.EntriesThisDisk = 1;
  End.CentralOffset = Central;
  End.CentralSize = Rewritten.Size();
  base::TMemoryStream EndBytes;
  End.WriteRecord(EndBytes);
  Patched += std::string(EndBytes.Bytes().begin(), EndBytes.Bytes().end());
  return Patched;
}

TEST(ZipReader, Zip64IsRefusedClearly) {
  TTempFolder Temp;
  TZipReader Reader;
  Reader.SetZipName(Temp.Write("z64.zip", Zip64EntryArchive()));
  EXPECT_EQ(MessageOf<zip::EUnsupportedZip>([&] { Reader.OpenZip(); }), "Zip64 archives are not supported");
}

TEST(ZipReader, SelectionByPatterns) {
  TTempFolder Temp;
  TZipReader Reader;
  Reader.SetZipName(Temp.Write("s.zip", Sample().Build()));
  Reader.OpenZip();
  int Reported = -1;
  struct TCase {
    std::vector<std::string> Patterns;
    bool DoAll;
    bool RecreateDirs;
    std::vector<bool> Selected;
  };
  const TCase Cases[] = {
      {{}, false, false, {false, false, false, false}},
      {{"*.gif"}, false, false, {false, false, true, true}},
      {{"anim/*.gif"}, false, false, {false, false, true, true}},
      {{"*/a*"}, false, false, {false, false, true, false}},
      {{"*"}, false, false, {true, false, true, true}},
      {{"*"}, false, true, {true, true, true, true}},
      {{}, true, false, {true, false, true, true}},
      {{"READ*", "*.gif"}, false, false, {true, false, true, true}},
  };
  for (const TCase& C : Cases) {
    base::TStringList Patterns;
    for (const auto& P : C.Patterns) Patterns.Add(P);
    Reader.SetFilesList(Patterns);
    Reader.SetDoAll(C.DoAll);
    Reader.SetRecreateDirs(C.RecreateDirs);
    Reported = Reader.SelectEntries();
    int Expected = 0;
    int64_t Bytes = 0;
    for (int I = 0; I < 4; ++I) {
      EXPECT_EQ(Reader.Entries(I).Selected, C.Selected[size_t(I)]) << I;
      if (C.Selected[size_t(I)]) {
        ++Expected;
        Bytes += int64_t(Reader.Entries(I).UncompressedSize);
      }
    }
    EXPECT_EQ(Reported, Expected);
    EXPECT_EQ(Reader.TotalToExtract(), Bytes);
  }
}

TEST(ZipReader, SortedViews) {
  TTempFolder Temp;
  TZipReader Reader;
  Reader.SetSortMode(zip::ByName);
  Reader.SetZipName(Temp.Write("s.zip", Sample().Build()));
  Reader.OpenZip();
  EXPECT_EQ(Names(Reader), (std::vector<std::string>{"anim/", "anim/a.GIF", "anim/b.gif", "readme.txt"}));
  Reader.Sort(zip::ByUnCompressedSize);
  EXPECT_EQ(Reader.Filename(0), "anim/a.GIF");
  EXPECT_EQ(Reader.SortMode(), zip::ByUnCompressedSize);
  Reader.Sort(zip::ByNone);
  EXPECT_EQ(Reader.Filename(0), "readme.txt");
}

TEST(ZipReader, DuplicateLocalHeadersAreRefused) {
  TTempFolder Temp;
  TArchiveBuilder B = Sample();
  std::string Bytes = B.Build();
  // The second central header points at the first entry too.
  const size_t Second = Bytes.find("PK\x01\x02", Bytes.find("PK\x01\x02") + 4);
  for (int I = 42; I < 46; ++I) Bytes[Second + I] = 0;
  TZipReader Reader;
  Reader.SetZipName(Temp.Write("dup.zip", Bytes));
  EXPECT_EQ(MessageOf<base::EListError>([&] { Reader.OpenZip(); }), "Duplicate object index");
}

// Three volumes: the first two entries on disks 0 and 1, the directory split across
// disks 1 and 2, the end record on disk 2.
std::vector<std::string> SplitArchive() {
  TArchiveBuilder B;
  B.Entries = {{"v1.txt", "first volume", "", "", false}, {"v2.txt", "second", "c2", "", false}};
  const std::string Whole = B.Build();
  const size_t Second = Whole.find("PK\x03\x04", 4);
  const size_t Central = Whole.find("PK\x01\x02");
  const size_t Mid = Central + 20;
  std::string V1 = Whole.substr(0, Second);
  std::string V2 = Whole.substr(Second, Mid - Second);
  std::string V3 = Whole.substr(Mid);
  // Offsets count from the start of each entry's own disk.
  auto Put16 = [](std::string& S, size_t At, uint16_t V) { S[At] = char(V), S[At + 1] = char(V >> 8); };
  auto Put32 = [](std::string& S, size_t At, uint32_t V) {
    for (int I = 0; I < 4; ++I) S[At + size_t(I)] = char(V >> (8 * I));
  };
  const size_t SecondCentral = Whole.find("PK\x01\x02", Central + 4) - Mid;
  Put16(V3, SecondCentral + 34, 1);
  Put32(V3, SecondCentral + 42, 0);
  const size_t End = V3.rfind("PK\x05\x06");
  Put16(V3, End + 4, 2);   // this disk
  Put16(V3, End + 6, 1);   // directory starts on disk 1
  Put16(V3, End + 8, 1);   // entries on this disk
  Put32(V3, End + 16, uint32_t(Central - Second));
  return {V1, V2, V3};
}

TEST(ZipReader, MultiVolumeArchiveAsksForItsVolumes) {
  TTempFolder Temp;
  const std::vector<std::string> Volumes = SplitArchive();
  const std::string V1 = Temp.Write("m.z01", Volumes[0]);
  const std::string V2 = Temp.Write("m.z02", Volumes[1]);
  const std::string Last = Temp.Write("m.zip", Volumes[2]);
  TZipReader Reader;
  std::vector<int> Asked;
  Reader.OnGetNextDisk = [&](base::TObject*, int Disk, std::string& FName) {
    Asked.push_back(Disk);
    FName = Disk == 3 ? Last : Temp.Path + "m.z0" + std::to_string(Disk);
  };
  Reader.SetZipName(Last);
  Reader.OpenZip();
  EXPECT_EQ(Asked, (std::vector<int>{2, 3}));
  EXPECT_EQ(Names(Reader), (std::vector<std::string>{"v1.txt", "v2.txt"}));
  EXPECT_EQ(Reader.Entries(1).DiskNumberStart, 1);
  EXPECT_EQ(Reader.FileComment(1), "c2");
  EXPECT_EQ(Reader.Volumes(), 3);
  EXPECT_EQ(Reader.ZipName(), Last);

  TZipReader Unanswered;
  Unanswered.SetZipName(Last);
  EXPECT_EQ(MessageOf<zip::EUserCanceled>([&] { Unanswered.OpenZip(); }), "User canceled loading new disk.");

  TZipReader Wrong;
  int Requests = 0;
  Wrong.OnGetNextDisk = [&](base::TObject*, int, std::string& FName) {
    ++Requests;
    FName = Temp.Path + "missing.zip";
  };
  Wrong.SetZipName(Last);
  EXPECT_THROW(Wrong.OpenZip(), zip::EUserCanceled);
  EXPECT_EQ(Requests, 16);

  TZipReader Empty;
  Empty.OnGetNextDisk = [&](base::TObject*, int, std::string& FName) { FName = Temp.Write("empty.z02", ""); };
  Empty.SetZipName(Last);
  EXPECT_THROW(Empty.OpenZip(), zip::EFatalUnzipError);
}

TEST(ZipReader, AFailedDirectoryReadIsReadAgainAndFailsAgain) {
  TTempFolder Temp;
  std::string Duplicate = Sample().Build();
  const size_t Second = Duplicate.find("PK\x01\x02", Duplicate.find("PK\x01\x02") + 4);
  for (int I = 42; I < 46; ++I) Duplicate[Second + I] = 0;
  const std::vector<std::string> Volumes = SplitArchive();
  Temp.Write("m.z01", Volumes[0]);
  const std::string V2 = Temp.Write("m.z02", Volumes[1]);
  // One local header, then a long stretch without any.
  TArchiveBuilder One;
  One.Entries = {{"one.txt", "data", "", "", false}};
  std::string Damaged = One.Build();
  Damaged = Damaged.substr(0, Damaged.find("PK\x01\x02")) + std::string(100000, 'x');
  THooks Hooks;

  struct TCase {
    const char* What;
    std::string Archive;
    std::function<void(TZipReader&)> Setup;
    std::string Message;
  };
  const TCase Cases[] = {
      {"two headers for one entry", Temp.Write("dup.zip", Duplicate), nullptr, "Duplicate object index"},
      {"a Zip64 entry", Temp.Write("z64.zip", Zip64EntryArchive()), nullptr, "Zip64 archives are not supported"},
      {"no volume given in the middle of the directory", Temp.Write("m.zip", Volumes[2]),
       [&](TZipReader& R) {
         R.OnGetNextDisk = [&](base::TObject*, int Disk, std::string& FName) { FName = Disk == 2 ? V2 : ""; };
       },
       "User canceled loading new disk."},
      {"a cancel during the recovery", Temp.Write("damaged.zip", Damaged),
       [&](TZipReader& R) {
         R.SetIncompleteZipMode(zip::izAssumeBad);
         R.SetHooks(&Hooks);
         Hooks.Reader = &R;
       },
       "User Aborted Operation"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TZipReader Reader;
    if (C.Setup) C.Setup(Reader);
    Reader.SetZipName(C.Archive);
    for (int Open = 0; Open < 2; ++Open) {
      Hooks.CancelAt = Hooks.Pumped + 2;
      EXPECT_EQ(MessageOf<base::Exception>([&] { Reader.OpenZip(); }), C.Message);
      EXPECT_EQ(Reader.Count(), 0);
      EXPECT_EQ(Reader.ZipName(), C.Archive);
    }
  }
}

TEST(ZipReader, EntryDataNeverAsksBeyondTheLastVolume) {
  TTempFolder Temp;
  auto Put16 = [](std::string& S, size_t At, uint16_t V) { S[At] = char(V), S[At + 1] = char(V >> 8); };
  std::vector<int> Asked;
  auto Run = [&](const std::vector<std::string>& Volumes) {
    Temp.Write("m.z01", Volumes[0]);
    Temp.Write("m.z02", Volumes[1]);
    const std::string Last = Temp.Write("m.zip", Volumes[2]);
    TZipReader Reader;
    // Every request is answered with a volume that exists.
    Reader.OnGetNextDisk = [&](base::TObject*, int Disk, std::string& FName) {
      Asked.push_back(Disk);
      FName = Disk >= 3 ? Last : Temp.Path + "m.z0" + std::to_string(Disk);
    };
    Reader.SetZipName(Last);
    Reader.SetDestDir(Temp.Path + "out");
    Reader.SetDoAll(true);
    std::vector<std::string> Failed;
    Reader.OnEntryFailed = [&](base::TObject*, int, const std::string& Message) { Failed.push_back(Message); };
    Asked.clear();
    Reader.UnZip();
    return Failed;
  };
  // The first entry claims more data than its volumes and those after it hold.
  std::vector<std::string> Long = SplitArchive();
  Put16(Long[2], 0, 0xFFFF);
  EXPECT_EQ(MessageOf<zip::EFatalUnzipError>([&] { Run(Long); }), "Premature end of file reached");
  EXPECT_EQ(*std::max_element(Asked.begin(), Asked.end()), 3);
  // The second entry starts on disk 6 of 3.
  std::vector<std::string> Beyond = SplitArchive();
  const size_t SecondCentral = Beyond[2].find("PK\x01\x02");
  Put16(Beyond[2], SecondCentral + 34, 5);
  EXPECT_EQ(Run(Beyond), std::vector<std::string>{"v2.txt: refused, it starts beyond the last volume"});
  EXPECT_EQ(*std::max_element(Asked.begin(), Asked.end()), 3);
}

class TLabels : public zip::TVolumeLabels {
 public:
  std::string GetLabel(const std::string&) override { return Label; }
  bool SetLabel(const std::string&, const std::string&) override { return false; }
  std::string Label;
};

TEST(ZipReader, SpannedDisksNeedTheirLabel) {
  TOpenReader Reader;
  Reader.SetZipName("/media/disk/a.zip");
  EXPECT_TRUE(Reader.DiskLabelMatches(3));
  Reader.SetMultiMode(zip::mmSpan);
  EXPECT_FALSE(Reader.DiskLabelMatches(3));
  TLabels Labels;
  zip::SetVolumeLabels(&Labels);
  Labels.Label = "PKBACK# 003";
  EXPECT_TRUE(Reader.DiskLabelMatches(3));
  EXPECT_FALSE(Reader.DiskLabelMatches(2));
  zip::SetVolumeLabels(nullptr);
}

TEST(ZipReader, PasswordCheckAndDecryption) {
  TTempFolder Temp;
  TArchiveBuilder B;
  B.Entries = {{"secret.txt", "the plain text", "", "right", false}};
  TOpenReader Reader;
  Reader.SetZipName(Temp.Write("p.zip", B.Build()));
  Reader.OpenZip();
  ASSERT_TRUE(Reader.Entries(0).Encrypted());
  auto Position = [&] {
    Reader.FCurrentEntry.Assign(&Reader.Entries(0));
    Reader.FArchive->SetPosition(int64_t(Reader.FCurrentEntry.LocalSize()));
  };
  std::vector<std::string> Offered;
  std::vector<zip::TSkipReason> Skipped;
  Reader.OnSkippingFile = [&](base::TObject*, zip::TSkipReason Reason, int) { Skipped.push_back(Reason); };

  Reader.SetPassword("wrong");
  Position();
  EXPECT_FALSE(Reader.CheckPassword(0));
  EXPECT_EQ(Skipped, (std::vector<zip::TSkipReason>{zip::srBadPassword}));

  Reader.OnBadPassword = [&](base::TObject*, int, std::string& NewPassword) {
    Offered.push_back(NewPassword);
    NewPassword = "right";
  };
  Position();
  ASSERT_TRUE(Reader.CheckPassword(0));
  EXPECT_EQ(Offered, (std::vector<std::string>{"wrong"}));
  EXPECT_EQ(Reader.Password(), "right");
  EXPECT_EQ(Reader.FCurrentEntry.CompressedSize, 14u);
  std::string Data(14, '\0');
  Reader.FArchive->ReadBuffer(Data.data(), 14);
  Reader.DecryptBuffer(reinterpret_cast<uint8_t*>(Data.data()), Data.size());
  EXPECT_EQ(Data, "the plain text");
}

TEST(ZipReader, NamesAndFoldersThroughTheHooks) {
  TZipReader Reader;
  EXPECT_EQ(MessageOf<zip::EUserCanceled>([&] { Reader.SetZipName("/tmp/?"); }),
            "User canceled setting zip file name.");
  EXPECT_EQ(MessageOf<zip::EUserCanceled>([&] { Reader.SetDestDir("?"); }), "User canceled Set Desination Directory");
  THooks Hooks;
  Reader.SetHooks(&Hooks);
  Hooks.Chosen = "/data/chosen.zip";
  Reader.SetZipName("?");
  EXPECT_EQ(Reader.ZipName(), "/data/chosen.zip");
  EXPECT_EQ(Hooks.Titles, (std::vector<std::string>{"Open a Zip File"}));
  Hooks.Chosen = "/out/";
  Reader.SetDestDir("?");
  EXPECT_EQ(Reader.DestDir(), "/out");
  Reader.SetDestDir("/");
  EXPECT_EQ(Reader.DestDir(), "/");
  Reader.SetDestDir("");
  EXPECT_EQ(Reader.DestDir(), "");
  Reader.SetRootDir("data");
  EXPECT_EQ(Reader.RootDir(), "data/");
  Reader.SetRootDir("");
  EXPECT_EQ(Reader.RootDir(), "");
}

}  // namespace
