#include "install/zip/ZipWriter.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utime.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "install/zip/ZipCrypt.h"
#include "platform/base/Crc32.h"
#include "platform/base/Format.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& P) {
  std::ifstream In(P, std::ios::binary);
  std::stringstream S;
  S << In.rdbuf();
  return S.str();
}

void WriteFile(const fs::path& P, const std::string& Data) {
  fs::create_directories(P.parent_path());
  std::ofstream(P, std::ios::binary) << Data;
}

// Exit status of a shell command; its output is thrown away.
int Shell(const std::string& Command) { return std::system((Command + " >/dev/null 2>&1 </dev/null").c_str()); }

std::string Quote(const fs::path& P) { return "'" + P.string() + "'"; }

class ZipWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("zipwriter" + std::to_string(getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    Tree = Dir / "tree";
    std::mt19937 Gen(5);
    std::string Random(70000, 0);
    for (char& C : Random) C = static_cast<char>(Gen());
    std::string Text;
    for (int I = 0; I < 20000; ++I) Text += "line " + std::to_string(I % 97) + " of the text\n";
    WriteFile(Tree / "text.txt", Text);
    WriteFile(Tree / "sub/random.bin", Random);
    WriteFile(Tree / "sub/empty", "");
    WriteFile(Tree / "caf\xC3\xA9.txt", "accented name");
    fs::create_directories(Tree / "folder");
  }
  void TearDown() override { fs::remove_all(Dir); }

  // A writer over the tree, storing names relative to it.
  void Setup(zip::TZipWriter& W, const fs::path& Archive) {
    W.SetRootDir(Tree.string());
    W.SetRelativePaths(true);
    W.SetDoProcessMessages(false);
    W.SetZipName(Archive.string());
  }

  base::TStringList TreeNames() {
    base::TStringList L;
    for (const char* N : {"text.txt", "sub/random.bin", "sub/empty", "caf\xC3\xA9.txt", "folder"})
      L.Add((Tree / N).string());
    return L;
  }

  // Python's zipfile extracts every entry; the files must equal the tree's.
  void ExpectExtractsToTree(const fs::path& Archive, const std::string& Password) {
    const fs::path Out = Dir / "out";
    fs::remove_all(Out);
    const std::string Pwd = Password.empty() ? "None" : "b'" + Password + "'";
    ASSERT_EQ(Shell("python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None if " +
                  Pwd + " is None else True; z.extractall(sys.argv[2], pwd=" + Pwd + ")\" " + Quote(Archive) + " " +
                  Quote(Out)),
              0);
    for (const char* N : {"text.txt", "sub/random.bin", "sub/empty", "caf\xC3\xA9.txt"})
      EXPECT_EQ(ReadFile(Out / N), ReadFile(Tree / N)) << N;
    EXPECT_TRUE(fs::is_directory(Out / "folder"));
  }

  fs::path Dir;
  fs::path Tree;
};

TEST_F(ZipWriterTest, PeersAcceptEveryLevelWithAndWithoutPassword) {
  for (int Level : {0, 1, 6, 9}) {
    for (const std::string Password : {"", "s3cret"}) {
      SCOPED_TRACE("level " + std::to_string(Level) + " password '" + Password + "'");
      const fs::path Archive = Dir / ("a" + std::to_string(Level) + Password + ".zip");
      zip::TZipWriter W;
      Setup(W, Archive);
      W.SetPackLevel(Level);
      W.SetPassword(Password);
      W.SetFilesList(TreeNames());
      EXPECT_EQ(W.ZipFiles(), 5);
      const std::string P = Password.empty() ? "" : " -P " + Password;
      EXPECT_EQ(Shell("unzip -t" + P + " " + Quote(Archive)), 0);
      EXPECT_EQ(Shell("7z t -p" + (Password.empty() ? std::string("x") : Password) + " " + Quote(Archive)), 0);
      ExpectExtractsToTree(Archive, Password);

      zip::TZipReader R;
      R.SetZipName(Archive.string());
      R.OpenZip();
      ASSERT_EQ(R.Count(), 5);
      for (int I = 0; I < R.Count(); ++I) {
        const zip::TZipHeaderInfo& E = R.Entries(I);
        EXPECT_EQ(E.VersionMadeBy, 0x0314);
        EXPECT_EQ(E.Encrypted(), !Password.empty() && !E.FileName().empty());
        const fs::path Source = Tree / E.FullName();
        EXPECT_EQ(E.ExternalAttributes >> 16, static_cast<uint32_t>(fs::status(Source).permissions()) |
                                                   (fs::is_directory(Source) ? 040000u : 0100000u));
        if (!E.FileName().empty()) {
          const std::string Data = ReadFile(Source);
          EXPECT_EQ(E.CRC32, base::Crc32(Data.data(), Data.size()));
        }
      }
    }
  }
}

TEST_F(ZipWriterTest, OurExtractionGivesBackTheTree) {
  for (const std::string Password : {"", "pw"}) {
    SCOPED_TRACE("password '" + Password + "'");
    const fs::path Archive = Dir / ("x" + Password + ".zip");
    zip::TZipWriter W;
    Setup(W, Archive);
    W.SetPassword(Password);
    W.SetPackLevel(9);
    W.SetFilesList(TreeNames());
    ASSERT_EQ(W.ZipFiles(), 5);
    // The writer reads like its parent: it unpacks what it wrote.
    const fs::path Out = Dir / ("x" + Password);
    W.SetDestDir(Out.string());
    W.SetDoAll(true);
    W.SetRecreateDirs(true);
    W.SetOverwriteMode(zip::TUZOverwriteMode::Always);
    int Bad = 0;
    W.OnBadCRC = [&](base::TObject*, uint32_t, uint32_t, int) { ++Bad; };
    W.OnBadPassword = [&](base::TObject*, int, std::string&) { ++Bad; };
    W.UnZip();
    EXPECT_EQ(Bad, 0);
    for (const char* N : {"text.txt", "sub/random.bin", "sub/empty", "caf\xC3\xA9.txt"})
      EXPECT_EQ(ReadFile(Out / N), ReadFile(Tree / N)) << N;
  }
}

TEST_F(ZipWriterTest, PasswordAddsTheHeaderWithTheCrcBytes) {
  const fs::path Archive = Dir / "p.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetPassword("pw");
  base::TStringList L;
  L.Add((Tree / "text.txt").string());
  W.SetFilesList(L);
  W.ZipFiles();
  const std::string Bytes = ReadFile(Archive);
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  R.OpenZip();
  const zip::TZipHeaderInfo& E = R.Entries(0);
  EXPECT_TRUE(E.Flag & 1);
  zip::TZipKeys Keys;
  Keys.Init("pw");
  uint8_t Header[12];
  std::memcpy(Header, Bytes.data() + E.LocalSize(), 12);
  Keys.Decrypt(Header, 12);
  EXPECT_EQ(Header[10], static_cast<uint8_t>(E.CRC32 >> 16));
  EXPECT_EQ(Header[11], static_cast<uint8_t>(E.CRC32 >> 24));
  // The rest is the deflate stream: its size is the entry's less the header.
  EXPECT_EQ(Bytes.find("PK\x01\x02"), static_cast<size_t>(E.LocalSize() + E.CompressedSize));
}

TEST_F(ZipWriterTest, UpdatingAnInfoZipArchiveKeepsItValid) {
  const fs::path Archive = Dir / "info.zip";
  ASSERT_EQ(Shell("cd " + Quote(Tree) + " && zip -qr " + Quote(Archive) + " text.txt sub folder && echo piped | zip -q " +
                Quote(Archive) + " -"),
            0);
  const std::string Before = ReadFile(Archive);
  // The kept entry's local header with its extra field, and its data.
  const size_t KeptAt = Before.find("PK\x03\x04");
  ASSERT_NE(KeptAt, std::string::npos);

  utimbuf Later{time(nullptr) + 10, time(nullptr) + 10};
  WriteFile(Tree / "sub/empty", "no longer empty");
  utime((Tree / "sub/empty").c_str(), &Later);
  zip::TZipWriter W;
  Setup(W, Archive);
  base::TStringList L;
  L.Add((Tree / "sub/empty").string());
  L.Add((Tree / "text.txt").string());  // unchanged: kept as it is
  L.Add((Tree / "caf\xC3\xA9.txt").string());
  W.SetFilesList(L);
  std::vector<std::string> Started;
  W.OnStartZip = [&](base::TObject*, const std::string& Name, zip::TZipHeaderInfo&, bool&) { Started.push_back(Name); };
  EXPECT_EQ(W.ZipFiles(), 2);
  EXPECT_EQ(Started.size(), 2u);
  EXPECT_EQ(Shell("unzip -t " + Quote(Archive)), 0);
  EXPECT_EQ(Shell("7z t " + Quote(Archive)), 0);

  const std::string After = ReadFile(Archive);
  zip::TZipReader Old;
  zip::TZipReader New;
  const fs::path Copy = Dir / "before.zip";
  WriteFile(Copy, Before);
  Old.SetZipName(Copy.string());
  Old.OpenZip();
  New.SetZipName(Archive.string());
  New.OpenZip();
  ASSERT_EQ(New.Count(), Old.Count() + 1);
  for (int I = 0; I < Old.Count(); ++I) {
    EXPECT_EQ(New.Entries(I).FullName(), Old.Entries(I).FullName());  // replaced in place
    if (Old.Entries(I).FullName() == "sub/empty") {
      EXPECT_EQ(New.Entries(I).UncompressedSize, 15u);
      continue;
    }
    // Kept entries: local header, extra field, data and descriptor byte for byte.
    const size_t From = Old.Entries(I).LocalHeaderOffset;
    const size_t Length = (I + 1 < Old.Count() ? Old.Entries(I + 1).LocalHeaderOffset : Before.find("PK\x01\x02")) - From;
    EXPECT_EQ(After.substr(New.Entries(I).LocalHeaderOffset, Length), Before.substr(From, Length))
        << Old.Entries(I).FullName();
  }
  EXPECT_EQ(New.Entries(Old.Count()).FullName(), "caf\xC3\xA9.txt");
  EXPECT_EQ(New.Entries(Old.Count()).Flag & 0x0800, 0x0800);
  // No temporary file is left beside it.
  int Files = 0;
  for ([[maybe_unused]] const auto& E : fs::directory_iterator(Dir)) ++Files;
  EXPECT_EQ(Files, 3);  // tree, info.zip, before.zip
}

TEST_F(ZipWriterTest, FreshenAndReplace) {
  const fs::path Archive = Dir / "f.zip";
  {
    zip::TZipWriter W;
    Setup(W, Archive);
    base::TStringList L;
    L.Add((Tree / "text.txt").string());
    L.Add((Tree / "sub/empty").string());
    W.SetFilesList(L);
    ASSERT_EQ(W.ZipFiles(), 2);
  }
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetZipAction(zip::zaFreshen);
  W.SetFilesList(TreeNames());
  EXPECT_EQ(W.ZipFiles(), 0);  // nothing newer, nothing new taken in
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  R.OpenZip();
  EXPECT_EQ(R.Count(), 2);

  W.SetZipAction(zip::zaReplace);
  base::TStringList L;
  L.Add((Tree / "caf\xC3\xA9.txt").string());
  L.Add((Tree / "text.txt").string());
  W.SetFilesList(L);
  EXPECT_EQ(W.ZipFiles(), 2);
  R.SetZipName("");
  R.SetZipName(Archive.string());
  R.OpenZip();
  ASSERT_EQ(R.Count(), 3);
  EXPECT_EQ(R.Entries(0).FullName(), "text.txt");
  EXPECT_EQ(R.Entries(2).FullName(), "caf\xC3\xA9.txt");
  EXPECT_EQ(Shell("unzip -t " + Quote(Archive)), 0);
}

TEST_F(ZipWriterTest, StoppedRunLeavesTheArchiveAsItWas) {
  const fs::path Archive = Dir / "s.zip";
  WriteFile(Archive, "not touched");
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetFilesList(TreeNames());
  W.OnStartZipInfo = [](base::TObject*, int, int64_t, zip::TEndCentral&, bool& Stop) { Stop = true; };
  EXPECT_THROW(W.ZipFiles(), zip::EIncompleteZip);  // an update needs a real archive first
  EXPECT_EQ(ReadFile(Archive), "not touched");

  fs::remove(Archive);
  W.SetZipName("");
  W.SetZipName(Archive.string());
  W.SetFilesList(TreeNames());
  try {
    W.ZipFiles();
    ADD_FAILURE() << "no cancel";
  } catch (const zip::EUserCanceled& E) {
    EXPECT_STREQ(E.what(), "User canceled Zip operation.");
  }
  EXPECT_FALSE(fs::exists(Archive));
  int Files = 0;
  for ([[maybe_unused]] const auto& E : fs::directory_iterator(Dir)) ++Files;
  EXPECT_EQ(Files, 1);
}

TEST_F(ZipWriterTest, BlocksSplitTheArchiveAndAFailureRemovesThem) {
  const fs::path Archive = Dir / "b.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  W.MultiZipInfo().MultiMode = zip::mmBlocks;
  W.MultiZipInfo().FirstBlockSize = W.MultiZipInfo().BlockSize = 40000;
  W.Loaded();
  W.SetFilesList(TreeNames());
  W.SetPackLevel(0);
  EXPECT_EQ(W.ZipFiles(), 5);
  int Blocks = 0;
  while (fs::exists(Dir / base::Format("b.%3.3d", Blocks + 1))) ++Blocks;
  ASSERT_GE(Blocks, 2);
  EXPECT_EQ(W.ZipName(), (Dir / base::Format("b.%3.3d", Blocks)).string());
  EXPECT_FALSE(fs::exists(Archive));
  // Info-ZIP joins the blocks under its own names into one valid archive.
  for (int I = 1; I <= Blocks; ++I) {
    const fs::path Block = Dir / base::Format("b.%3.3d", I);
    EXPECT_LE(fs::file_size(Block), 40000u);
    fs::copy_file(Block, Dir / (I < Blocks ? base::Format("j.z%2.2d", I) : std::string("j.zip")));
  }
  ASSERT_EQ(Shell("zip -s 0 " + Quote(Dir / "j.zip") + " --out " + Quote(Dir / "joined.zip")), 0);
  EXPECT_EQ(Shell("unzip -t " + Quote(Dir / "joined.zip")), 0);
  ExpectExtractsToTree(Dir / "joined.zip", "");

  // Small enough for one block: the block becomes the archive itself.
  const fs::path Small = Dir / "one.zip";
  W.SetZipName(Small.string());
  base::TStringList L;
  L.Add((Tree / "sub/empty").string());
  W.SetFilesList(L);
  W.ZipFiles();
  EXPECT_TRUE(fs::exists(Small));
  EXPECT_FALSE(fs::exists(Dir / "one.001"));
  EXPECT_EQ(Shell("unzip -t " + Quote(Small)), 0);

  // A block too small for a local header fails, leaving no block behind.
  const fs::path Tiny = Dir / "tiny.zip";
  W.SetZipName(Tiny.string());
  W.MultiZipInfo().FirstBlockSize = W.MultiZipInfo().BlockSize = 20;
  W.SetFilesList(TreeNames());
  EXPECT_THROW(W.ZipFiles(), base::Exception);
  EXPECT_FALSE(fs::exists(Dir / "tiny.001"));
  EXPECT_FALSE(fs::exists(Dir / "tiny.002"));
}

TEST_F(ZipWriterTest, ChangedCommentIsWrittenBeforeTheNameChangesAndDisposeDeletes) {
  const fs::path Archive = Dir / "c.zip";
  WriteFile(Dir / "gone.txt", "to be disposed of");
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetDispose(true);
  base::TStringList L;
  L.Add((Dir / "gone.txt").string());
  L.Add((Tree / "text.txt").string());
  W.SetFilesList(L);
  std::vector<std::string> Asked;
  W.OnDisposeFile = [&](base::TObject*, const std::string& Name, bool& Skip) {
    Asked.push_back(Name);
    Skip = Name.find("text.txt") != std::string::npos;
  };
  ASSERT_EQ(W.ZipFiles(), 2);
  EXPECT_EQ(Asked.size(), 2u);
  EXPECT_FALSE(fs::exists(Dir / "gone.txt"));
  EXPECT_TRUE(fs::exists(Tree / "text.txt"));

  W.SetDispose(false);
  W.OpenZip();
  W.SetZipComment("a comment of our own");
  W.SetZipName((Dir / "other.zip").string());
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  EXPECT_EQ(R.ZipComment(), "a comment of our own");
  R.OpenZip();
  EXPECT_EQ(R.Count(), 2);
  EXPECT_EQ(Shell("unzip -t " + Quote(Archive)), 0);
}

TEST_F(ZipWriterTest, StoredNamesAreNeverAbsoluteOrClimbing) {
  const fs::path Archive = Dir / "n.zip";
  zip::TZipWriter W;
  W.SetDoProcessMessages(false);
  W.SetZipName(Archive.string());
  W.SetStorePaths(true);
  base::TStringList L;
  L.Add((Tree / "text.txt").string());
  L.Add((Tree / "sub" / ".." / "sub" / "." / "empty").string());
  W.SetFilesList(L);
  W.ZipFiles();
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  R.OpenZip();
  ASSERT_EQ(R.Count(), 2);
  for (int I = 0; I < 2; ++I) {
    const std::string Name = R.Entries(I).FullName();
    EXPECT_NE(Name[0], '/');
    EXPECT_EQ(Name.find("./"), std::string::npos) << Name;
  }
  EXPECT_EQ(R.Entries(0).FullName(), (Tree / "text.txt").string().substr(1));
}

TEST_F(ZipWriterTest, FilesThatCannotBeAddedAreReported) {
  WriteFile(Tree / "bad\xFFname", "x");
  WriteFile(Tree / "huge", "");
  fs::resize_file(Tree / "huge", uint64_t{1} << 32);  // sparse: nothing is read
  const fs::path Archive = Dir / "r.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  base::TStringList L;
  L.Add((Tree / "bad\xFFname").string());
  L.Add((Tree / "huge").string());
  L.Add((Tree / "missing").string());
  L.Add((Tree / "text.txt").string());
  L.Add((Tree / "text.txt").string());
  W.SetFilesList(L);
  std::vector<std::string> NotAdded;
  std::vector<std::string> Missing;
  int Skipped = 0;
  W.OnFileNotAdded = [&](base::TObject*, const std::string& Name, const std::string&) { NotAdded.push_back(Name); };
  W.OnNoSuchFile = [&](base::TObject*, const std::string& Name) { Missing.push_back(Name); };
  W.OnSkippingFile = [&](base::TObject*, zip::TSkipReason Reason, int Index) {
    EXPECT_EQ(Reason, zip::srNoOverwrite);
    EXPECT_EQ(Index, 0);
    ++Skipped;
  };
  EXPECT_EQ(W.ZipFiles(), 1);
  ASSERT_EQ(NotAdded.size(), 2u);
  EXPECT_EQ(NotAdded[0], (Tree / "bad\xFFname").string());
  EXPECT_EQ(NotAdded[1], (Tree / "huge").string());
  ASSERT_EQ(Missing.size(), 1u);
  EXPECT_EQ(Skipped, 1);
  EXPECT_EQ(Shell("unzip -t " + Quote(Archive)), 0);
}

// What the writer holds after a run is the archive it wrote, as a reader reads it.
void ExpectHeldAsWritten(const zip::TZipWriter& W, const fs::path& Archive) {
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  R.OpenZip();
  ASSERT_EQ(W.Count(), R.Count());
  for (int I = 0; I < R.Count(); ++I) {
    SCOPED_TRACE(R.Entries(I).FullName());
    EXPECT_EQ(W.Entries(I).FullName(), R.Entries(I).FullName());
    EXPECT_EQ(W.Entries(I).LocalHeaderOffset, R.Entries(I).LocalHeaderOffset);
    EXPECT_EQ(W.Entries(I).CompressedSize, R.Entries(I).CompressedSize);
    EXPECT_EQ(W.Entries(I).CRC32, R.Entries(I).CRC32);
  }
}

TEST_F(ZipWriterTest, AfterARunTheEntriesAreThoseJustWritten) {
  const fs::path Archive = Dir / "held.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetFilesList(TreeNames());
  ASSERT_EQ(W.ZipFiles(), 5);
  EXPECT_EQ(W.Count(), 5);
  ExpectHeldAsWritten(W, Archive);

  // An update: the old entries in place, the new file after them, in the sort asked for.
  WriteFile(Tree / "added.txt", "one more");
  base::TStringList L;
  L.Add((Tree / "added.txt").string());
  W.SetFilesList(L);
  ASSERT_EQ(W.ZipFiles(), 1);
  ExpectHeldAsWritten(W, Archive);
  EXPECT_EQ(W.Count(), 6);
  EXPECT_EQ(W.Entries(5).FullName(), "added.txt");

  W.SetSortMode(zip::ByName);
  WriteFile(Tree / "0first.txt", "sorts first");
  L.Clear();
  L.Add((Tree / "0first.txt").string());
  W.SetFilesList(L);
  ASSERT_EQ(W.ZipFiles(), 1);
  ASSERT_EQ(W.Count(), 7);
  EXPECT_EQ(W.Entries(0).FullName(), "0first.txt");
  EXPECT_EQ(W.SortMode(), zip::ByName);
}

TEST_F(ZipWriterTest, OnStartZipSeesTheOffsetItsHeaderGoesTo) {
  const fs::path Archive = Dir / "offsets.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  W.SetFilesList(TreeNames());
  std::vector<uint64_t> Seen;
  W.OnStartZip = [&](base::TObject*, const std::string&, zip::TZipHeaderInfo& Header, bool&) {
    Seen.push_back(Header.LocalHeaderOffset);
  };
  ASSERT_EQ(W.ZipFiles(), 5);
  zip::TZipReader R;
  R.SetZipName(Archive.string());
  R.OpenZip();
  ASSERT_EQ(Seen.size(), 5u);
  for (int I = 0; I < R.Count(); ++I) EXPECT_EQ(Seen[I], R.Entries(I).LocalHeaderOffset) << R.Entries(I).FullName();
  EXPECT_GT(Seen[1], 0u);
}

TEST_F(ZipWriterTest, OnlyRegularFilesAndFoldersAreAddedTheRestIsReportedUnopened) {
  const fs::path Fifo = Tree / "pipe";
  ASSERT_EQ(::mkfifo(Fifo.c_str(), 0644), 0);
  const fs::path Socket = Tree / "socket";
  const int Listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(Listening, 0);
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  std::strncpy(Address.sun_path, Socket.c_str(), sizeof Address.sun_path - 1);
  ASSERT_EQ(::bind(Listening, reinterpret_cast<const sockaddr*>(&Address), sizeof Address), 0);
  // A writer on the FIFO's other end notes whether the FIFO was opened for reading, and
  // lets such a reader go at once rather than block the test.
  std::atomic<bool> Released{false};
  std::atomic<bool> OpenedByTheRun{false};
  std::thread OtherEnd([&] {
    const int Handle = ::open(Fifo.c_str(), O_WRONLY);
    if (!Released) OpenedByTheRun = true;
    if (Handle >= 0) ::close(Handle);
  });

  const fs::path Archive = Dir / "special.zip";
  zip::TZipWriter W;
  Setup(W, Archive);
  base::TStringList L;
  for (const fs::path& Name : {Fifo, Socket, fs::path("/dev/null"), Tree / "text.txt"}) L.Add(Name.string());
  W.SetFilesList(L);
  std::vector<std::pair<std::string, std::string>> NotAdded;
  W.OnFileNotAdded = [&](base::TObject*, const std::string& Name, const std::string& Reason) {
    NotAdded.emplace_back(Name, Reason);
  };
  const int Added = W.ZipFiles();

  Released = true;
  const int Release = ::open(Fifo.c_str(), O_RDONLY | O_NONBLOCK);
  OtherEnd.join();
  ::close(Release);
  ::close(Listening);

  EXPECT_EQ(Added, 1);
  EXPECT_FALSE(OpenedByTheRun);
  const std::vector<std::pair<std::string, std::string>> Expected = {
      {Fifo.string(), "Not a regular file or folder: a FIFO"},
      {Socket.string(), "Not a regular file or folder: a socket"},
      {"/dev/null", "Not a regular file or folder: a device"}};
  EXPECT_EQ(NotAdded, Expected);
  ASSERT_EQ(W.Count(), 1);
  EXPECT_EQ(W.Entries(0).FullName(), "text.txt");
  EXPECT_EQ(Shell("unzip -t " + Quote(Archive)), 0);
}

}  // namespace
