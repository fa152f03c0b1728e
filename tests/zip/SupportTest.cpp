#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "install/zip/BufStream.h"
#include "install/zip/DirSearch.h"
#include "install/zip/LFNFileStream.h"
#include "install/zip/StrRes.h"
#include "install/zip/VolumeLabels.h"
#include "install/zip/ZipUtil.h"
#include "platform/base/Exceptions.h"

namespace {

namespace fs = std::filesystem;
using base::TSeekOrigin;

// Counts the calls that reach the stream below the buffer.
class TCountingStream : public base::TMemoryStream {
 public:
  using base::TMemoryStream::TMemoryStream;
  int64_t Read(void* Buffer, int64_t Count) override {
    ++Reads;
    return TMemoryStream::Read(Buffer, Count);
  }
  int Reads = 0;
};

// Takes at most Limit bytes in all.
class TFullStream : public base::TMemoryStream {
 public:
  int64_t Write(const void* Buffer, int64_t Count) override {
    const int64_t N = std::min<int64_t>(Count, Limit - Size());
    return TMemoryStream::Write(Buffer, std::max<int64_t>(N, 0));
  }
  int64_t Limit = 10;
};

std::vector<uint8_t> Numbers(int N) {
  std::vector<uint8_t> Bytes(static_cast<size_t>(N));
  for (int I = 0; I < N; ++I) Bytes[size_t(I)] = uint8_t(I * 7);
  return Bytes;
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char Pattern[] = "/tmp/zipsupportXXXXXX";
    Root = ::mkdtemp(Pattern);
    Root += '/';
  }
  void TearDown() override { fs::remove_all(Root); }
  void Touch(const std::string& Name) {
    fs::create_directories(fs::path(Root + Name).parent_path());
    std::ofstream(Root + Name) << Name;
  }
  std::string Root;
};

TEST(BufferStream, ByteReadsAreServedFromTheBuffer) {
  TCountingStream Under(Numbers(20000));
  zip::TS_BufferStream S(Under);
  uint8_t B = 0;
  for (int I = 0; I < 20000; ++I) {
    ASSERT_EQ(S.Read(&B, 1), 1);
    ASSERT_EQ(B, uint8_t(I * 7));
  }
  EXPECT_EQ(S.Read(&B, 1), 0);
  EXPECT_EQ(Under.Reads, 4);
  EXPECT_EQ(S.Position(), 20000);
}

TEST(BufferStream, SeekFromTheEndIgnoresTheSign) {
  base::TMemoryStream Under(Numbers(100));
  zip::TS_BufferStream S(Under);
  EXPECT_EQ(S.Seek(-10, TSeekOrigin::soEnd), 90);
  EXPECT_EQ(S.Seek(10, TSeekOrigin::soEnd), 90);
  uint8_t B = 0;
  S.ReadBuffer(&B, 1);
  EXPECT_EQ(B, uint8_t(90 * 7));
  EXPECT_EQ(S.Seek(5, TSeekOrigin::soCurrent), 96);
  EXPECT_THROW(S.Seek(-1, TSeekOrigin::soBeginning), base::EStreamError);
  try {
    S.Seek(0, TSeekOrigin(7));
    FAIL();
  } catch (const base::Exception& E) {
    EXPECT_EQ(E.Message(), "Invalid seek origin (7)");
  }
}

TEST(BufferStream, PutBack) {
  base::TMemoryStream Under(Numbers(10));
  zip::TS_BufferStream S(Under);
  uint8_t Three[3];
  S.ReadBuffer(Three, 3);
  S.PutBack(0xAB);
  uint8_t B = 0;
  S.ReadBuffer(&B, 1);
  EXPECT_EQ(B, 0xAB);
  EXPECT_EQ(S.Position(), 3);
  S.Seek(7, TSeekOrigin::soBeginning);
  try {
    S.PutBack(1);
    FAIL();
  } catch (const base::EStreamError& E) {
    EXPECT_EQ(E.Message(), "Putback overflow");
  }
}

TEST(BufferStream, WriteAfterReadGoesToTheLogicalPosition) {
  base::TMemoryStream Under(Numbers(50));
  {
    zip::TS_BufferStream S(Under);
    uint8_t Four[4];
    S.ReadBuffer(Four, 4);
    const uint8_t Mark[2] = {0xEE, 0xFF};
    S.WriteBuffer(Mark, 2);
    EXPECT_EQ(S.Position(), 6);
    uint8_t B = 0;
    S.ReadBuffer(&B, 1);
    EXPECT_EQ(B, uint8_t(6 * 7));
  }
  std::vector<uint8_t> Expected = Numbers(50);
  Expected[4] = 0xEE;
  Expected[5] = 0xFF;
  EXPECT_EQ(Under.Bytes(), Expected);
}

TEST(BufferStream, LargeWritesAndSizeCountTheBufferedBytes) {
  base::TMemoryStream Under;
  zip::TS_BufferStream S(Under);
  const std::vector<uint8_t> Data = Numbers(20000);
  S.WriteBuffer(Data.data(), 100);
  EXPECT_EQ(S.Size(), 100);
  S.WriteBuffer(Data.data() + 100, 19900);
  S.Flush();
  EXPECT_EQ(Under.Bytes(), Data);
}

TEST(BufferStream, ShortWriteRaises) {
  TFullStream Under;
  zip::TS_BufferStream S(Under);
  const std::vector<uint8_t> Data = Numbers(100);
  S.WriteBuffer(Data.data(), 100);
  EXPECT_THROW(S.Flush(), base::EWriteError);
  const std::vector<uint8_t> Big = Numbers(9000);
  EXPECT_THROW(S.Write(Big.data(), 9000), base::EWriteError);
}

TEST(StringTables, CompiledInMessages) {
  EXPECT_EQ(zip::GetTableString("S_Stream", 1), "Seek error");
  EXPECT_EQ(zip::GetTableString("s_stream", 7), "Cannot write to a resource stream");
  EXPECT_EQ(zip::GetTableString("S_Stream", 9), "");
  EXPECT_EQ(zip::GetTableString("S_Stream", 0), "");
  try {
    zip::TS_StringResource Missing("S_Nothing");
    FAIL();
  } catch (const base::Exception& E) {
    EXPECT_EQ(E.Message(), "No such string resource: S_Nothing");
  }
}

TEST(ZipUtil, Percent) {
  EXPECT_EQ(zip::Percent(0, 5), 0);
  EXPECT_EQ(zip::Percent(3, 1), 33);
  EXPECT_EQ(zip::Percent(8, 1), 12);
  EXPECT_EQ(zip::Percent(8, 3), 38);
  EXPECT_EQ(zip::Percent(10, 15), 100);
  EXPECT_EQ(zip::Percent(int64_t(1) << 40, int64_t(1) << 39), 50);
}

TEST(ZipUtil, DosDateTimes) {
  zip::TDateTime Value = 0;
  // 2024-02-29 13:45:58
  const uint32_t Leap = (uint32_t((2024 - 1980) << 9 | 2 << 5 | 29) << 16) | (13 << 11 | 45 << 5 | 29);
  ASSERT_TRUE(zip::DosDateTimeToDateTime(Leap, Value));
  EXPECT_NEAR(Value, 45351 + (13 * 3600 + 45 * 60 + 58) / 86400.0, 1e-9);
  const uint32_t NotLeap = (uint32_t((2023 - 1980) << 9 | 2 << 5 | 29) << 16);
  EXPECT_FALSE(zip::DosDateTimeToDateTime(NotLeap, Value));
  EXPECT_FALSE(zip::DosDateTimeToDateTime(0, Value));
}

TEST(ZipUtil, TextHelpers) {
  std::string Path = "a\\b/c";
  zip::BackslashToSlash(Path);
  EXPECT_EQ(Path, "a/b/c");
  zip::SlashToBackslash(Path);
  EXPECT_EQ(Path, "a\\b\\c");
  EXPECT_TRUE(zip::HasWildcards("a[1]"));
  EXPECT_FALSE(zip::HasWildcards("plain.txt"));
}

TEST_F(TempFolder, FoldersFilesAndCopies) {
  zip::ForceFolders(Root + "x/y/z");
  EXPECT_TRUE(zip::FolderExists(Root + "x/y/z"));
  EXPECT_FALSE(zip::FileExists(Root + "x/y/z"));
  Touch("x/file.txt");
  EXPECT_TRUE(zip::FileExists(Root + "x/file.txt"));
  zip::CopyFileBlocks(Root + "x/file.txt", Root + "copy.txt");
  std::ifstream In(Root + "copy.txt");
  std::string Text;
  In >> Text;
  EXPECT_EQ(Text, "x/file.txt");
  EXPECT_THROW(zip::CopyFileBlocks(Root + "missing", Root + "copy2.txt"), base::EFOpenError);
  EXPECT_THROW(zip::SetCurrentFolder(Root + "missing"), zip::EInOutError);
  Touch("blocker");
  EXPECT_THROW(zip::ForceFolders(Root + "blocker/sub"), zip::EInOutError);
}

TEST_F(TempFolder, FileStreamRoundTripAndStamp) {
  {
    zip::TLFNFileStream Out(Root + "f.bin", 0xFFFF);
    const std::vector<uint8_t> Data = Numbers(10000);
    Out.WriteBuffer(Data.data(), int64_t(Data.size()));
  }
  zip::TLFNFileStream In(Root + "f.bin", base::fmOpenRead | base::fmShareDenyWrite);
  EXPECT_EQ(In.Size(), 10000);
  EXPECT_EQ(In.Stamp(), zip::FileStampOf(Root + "f.bin"));
  EXPECT_EQ(In.Stamp().Size, 10000);
  EXPECT_THROW(zip::TLFNFileStream(Root + "none.bin", base::fmOpenRead), base::EFOpenError);
}

TEST_F(TempFolder, DirectorySearch) {
  for (const char* Name : {"README", "a.gif", "sub/b.GIF", "sub/NOTES", "sub/deeper/c", ".hidden/d"}) Touch(Name);
  fs::create_directory_symlink(Root + "sub", Root + "linked");
  const std::string Before = zip::GetCurrentFolder();
  auto Collect = [&](bool Recurse, const std::string& Pattern) {
    zip::TDirSearch Search(Root.substr(0, Root.size() - 1), Recurse, Pattern);
    std::vector<std::string> Found;
    zip::TSearchRec Rec;
    for (std::string Name = Search.NextFile(Rec); !Name.empty(); Name = Search.NextFile(Rec)) {
      EXPECT_EQ(Name, Root + Name.substr(Root.size()));
      EXPECT_EQ(fs::path(Name).filename().string(), Rec.Name);
      Found.push_back(Name.substr(Root.size()));
    }
    return Found;
  };
  EXPECT_EQ(Collect(true, "*."), (std::vector<std::string>{"README", "sub/NOTES", "sub/deeper/c"}));
  EXPECT_EQ(Collect(true, "*.gif"), (std::vector<std::string>{"a.gif", "sub/b.GIF"}));
  EXPECT_EQ(Collect(false, "*"), (std::vector<std::string>{"README", "a.gif"}));
  EXPECT_EQ(zip::GetCurrentFolder(), Before);
}

TEST_F(TempFolder, DirectorySearchReportsFoldersBeyondItsDepth) {
  std::string Deep;
  for (int I = 0; I < 22; ++I) Deep += "d/";
  Touch(Deep + "bottom.txt");
  Touch("d/top.txt");
  zip::TDirSearch Search(Root, true, "*.txt");
  std::vector<std::string> TooDeep;
  Search.OnFolderTooDeep = [&](const std::string& Folder) { TooDeep.push_back(Folder); };
  std::vector<std::string> Found;
  zip::TSearchRec Rec;
  for (std::string Name = Search.NextFile(Rec); !Name.empty(); Name = Search.NextFile(Rec)) Found.push_back(Name);
  EXPECT_EQ(Found, (std::vector<std::string>{Root + "d/top.txt"}));
  std::string Expected = Root;
  for (int I = 0; I < 21; ++I) Expected += "d/";
  Expected.pop_back();
  EXPECT_EQ(TooDeep, (std::vector<std::string>{Expected}));
}

class TLabels : public zip::TVolumeLabels {
 public:
  std::string GetLabel(const std::string& Root) override { return Root == "/media/" ? "PKBACK# 003XYZ" : ""; }
  bool SetLabel(const std::string& Root, const std::string& Label) override {
    Last = Root + Label;
    return true;
  }
  std::string Last;
};

TEST(VolumeLabels, GoThroughTheInstalledService) {
  EXPECT_EQ(zip::GetVolumeLabelOf("/media/"), "");
  EXPECT_FALSE(zip::SetVolumeLabelOf("/media/", "X"));
  TLabels Labels;
  zip::SetVolumeLabels(&Labels);
  EXPECT_EQ(zip::GetVolumeLabelOf("/media/"), "PKBACK# 003");
  EXPECT_TRUE(zip::SetVolumeLabelOf("/media/", "PKBACK# 001"));
  EXPECT_EQ(Labels.Last, "/media/PKBACK# 001");
  zip::SetVolumeLabels(nullptr);
  EXPECT_EQ(zip::VolumeRootOf("/media/disk/a.zip"), "/media/disk/");
  EXPECT_EQ(zip::VolumeRootOf("a.zip"), "./");
}

}  // namespace
