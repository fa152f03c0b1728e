// Extraction through TZipReader on archives made by the peers at test time:
// Info-ZIP zip at every level, with a password and streamed; the vectors of Python's
// own zipfile tests; and hostile archives written with Python's zipfile.
#include "install/zip/ZipReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "tests/zip/ZipTestSupport.h"

namespace {

namespace fs = std::filesystem;

class TTempDir {
 public:
  TTempDir() {
    std::string T = (fs::temp_directory_path() / "zip-extract-XXXXXX").string();
    EXPECT_NE(::mkdtemp(T.data()), nullptr);
    Path = T;
  }
  ~TTempDir() {
    std::error_code E;
    fs::remove_all(Path, E);
  }
  fs::path Path;
};

std::string ReadFile(const fs::path& P) {
  std::ifstream In(P, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

void WriteFile(const fs::path& P, const std::string& Data) {
  fs::create_directories(P.parent_path());
  std::ofstream(P, std::ios::binary) << Data;
}

void Shell(const std::string& Command) { ASSERT_EQ(std::system(Command.c_str()), 0) << Command; }

// Python's zipfile writing entries: each (name, data, external attributes high 16 bits).
void PythonZip(const fs::path& Archive, const std::vector<std::tuple<std::string, std::string, unsigned>>& Entries) {
  std::string Script = "import zipfile\nz = zipfile.ZipFile(r'''" + Archive.string() + "''', 'w', zipfile.ZIP_DEFLATED)\n";
  for (const auto& [Name, Data, Mode] : Entries) {
    Script += "i = zipfile.ZipInfo(" + std::string("'''") + Name + "''', (2020, 5, 17, 13, 45, 10))\n";
    Script += "i.create_system = 3\ni.external_attr = " + std::to_string(Mode) + " << 16\n";
    Script += "i.compress_type = zipfile.ZIP_DEFLATED\nz.writestr(i, '''" + Data + "''')\n";
  }
  Script += "z.close()\n";
  fs::path Py = Archive.string() + ".py";
  WriteFile(Py, Script);
  Shell("python3 " + Py.string());
}

struct TRun {
  int Result = 0;
  std::vector<std::string> Ended, Failed, BadCrc;
  std::vector<zip::TSkipReason> Skipped;
  std::vector<int> FilePercents;
};

TRun Extract(const fs::path& Archive, const fs::path& Dest, const std::string& Password = "",
             const std::function<void(zip::TZipReader&)>& Configure = nullptr) {
  TRun R;
  zip::TZipReader Z;
  Z.SetZipName(Archive.string());
  Z.SetDestDir(Dest.string());
  Z.SetDoAll(true);
  Z.SetRecreateDirs(true);
  Z.SetOverwriteMode(zip::TUZOverwriteMode::Always);
  Z.SetPassword(Password);
  Z.OnEndUnZip = [&](base::TObject*, int, const std::string& FName) { R.Ended.push_back(FName); };
  Z.OnEntryFailed = [&](base::TObject*, int, const std::string& M) { R.Failed.push_back(M); };
  Z.OnBadCRC = [&](base::TObject*, uint32_t, uint32_t, int I) { R.BadCrc.push_back(Z.Entries(I).FullName()); };
  Z.OnSkippingFile = [&](base::TObject*, zip::TSkipReason Reason, int) { R.Skipped.push_back(Reason); };
  Z.OnFilePercentDone = [&](base::TObject*, int P) { R.FilePercents.push_back(P); };
  if (Configure) Configure(Z);
  R.Result = Z.UnZip();
  return R;
}

// Every file below Root by relative path, with its bytes.
std::map<std::string, std::string> Tree(const fs::path& Root) {
  std::map<std::string, std::string> Files;
  for (const auto& E : fs::recursive_directory_iterator(Root))
    if (E.is_regular_file()) Files[fs::relative(E.path(), Root).string()] = ReadFile(E.path());
  return Files;
}

// A source tree: text, a program (executable), generated binary, an empty file, a folder.
void MakeSource(const fs::path& Src) {
  std::string Text, Binary;
  for (int I = 0; I < 4000; ++I) Text += "line " + std::to_string(I * 7919 % 1000) + " of the frame list\n";
  uint32_t S = 1;
  for (int I = 0; I < 300000; ++I) {
    S = S * 1103515245u + 12345u;
    Binary += static_cast<char>(I % 3 ? S >> 24 : I & 0xFF);
  }
  WriteFile(Src / "text.txt", Text);
  WriteFile(Src / "bin" / "data.bin", Binary);
  WriteFile(Src / "bin" / "run.sh", "#!/bin/sh\necho run\n");
  fs::permissions(Src / "bin" / "run.sh", fs::perms(0755));
  WriteFile(Src / "empty", "");
  fs::create_directories(Src / "folder" / "inner");
}

TEST(Extract, InfoZipArchivesGiveTheSameBytesAsUnzip) {
  TTempDir T;
  MakeSource(T.Path / "src");
  // An even second, which the two-second DOS time holds exactly.
  Shell("find " + (T.Path / "src").string() + " -exec touch -d '2020-05-17 13:45:10' {} +");
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"-0", ""}, {"-1", ""}, {"-2", ""}, {"-3", ""}, {"-4", ""}, {"-5", ""}, {"-6", ""},
      {"-7", ""}, {"-8", ""}, {"-9", ""}, {"-6 -P secret", "secret"}, {"-0 -P secret", "secret"}};
  for (const auto& [Options, Password] : Cases) {
    fs::path Archive = T.Path / "a.zip", Ours = T.Path / "ours", Peer = T.Path / "peer";
    fs::remove_all(Ours);
    fs::remove_all(Peer);
    fs::remove(Archive);
    Shell("cd " + (T.Path / "src").string() + " && zip -qr " + Options + " " + Archive.string() + " .");
    Shell("unzip -qq " + (Password.empty() ? "" : "-P " + Password) + " " + Archive.string() + " -d " + Peer.string());
    TRun R = Extract(Archive, Ours, Password);
    EXPECT_TRUE(R.Failed.empty()) << Options;
    EXPECT_EQ(R.Ended.size(), 4u) << Options;
    EXPECT_EQ(Tree(Ours), Tree(Peer)) << Options;
    EXPECT_TRUE(fs::is_directory(Ours / "folder" / "inner")) << Options;
    EXPECT_NE(fs::status(Ours / "bin" / "run.sh").permissions() & fs::perms::owner_exec, fs::perms::none);
    struct stat A, B;
    ASSERT_EQ(::stat((Ours / "text.txt").c_str(), &A), 0);
    ASSERT_EQ(::stat((Peer / "text.txt").c_str(), &B), 0);
    EXPECT_EQ(A.st_mtime, B.st_mtime) << Options;
  }
}

TEST(Extract, StreamedArchivesWithDataDescriptors) {
  TTempDir T;
  MakeSource(T.Path / "src");
  // Written to a pipe, zip cannot seek back: every entry carries a data descriptor.
  Shell("cd " + (T.Path / "src").string() + " && zip -qr - . | cat > " + (T.Path / "s.zip").string());
  Shell("cat " + (T.Path / "src" / "text.txt").string() + " | zip -q -P pw - - > " + (T.Path / "p.zip").string());
  TRun R = Extract(T.Path / "s.zip", T.Path / "out");
  EXPECT_TRUE(R.Failed.empty());
  EXPECT_EQ(Tree(T.Path / "out"), Tree(T.Path / "src"));
  R = Extract(T.Path / "p.zip", T.Path / "out2", "pw");
  EXPECT_TRUE(R.Failed.empty());
  EXPECT_EQ(ReadFile(T.Path / "out2" / "-"), ReadFile(T.Path / "src" / "text.txt"));
}

TEST(Extract, ArchiveBehindAProgramStub) {
  TTempDir T;
  MakeSource(T.Path / "src");
  Shell("cd " + (T.Path / "src").string() + " && zip -qr ../plain.zip . && cd .. && head -c 3000 /bin/true > stub && "
        "cat stub plain.zip > sfx.zip");
  TRun R = Extract(T.Path / "sfx.zip", T.Path / "out");
  EXPECT_EQ(R.Failed, std::vector<std::string>{});
  EXPECT_EQ(R.Result, 7);
  EXPECT_EQ(Tree(T.Path / "out"), Tree(T.Path / "src"));
}

TEST(Extract, PythonZipfileVectors) {
  TTempDir T;
  Shell("python3 " + std::string(std::getenv("ANIMORA_TEST_DATA")) + "/../zip/python_vectors.py " + T.Path.string());
  for (const char* Name : {"stored_bad_crc.zip", "deflate_bad_crc.zip"}) {
    fs::path Out = T.Path / (std::string(Name) + ".out");
    TRun R = Extract(T.Path / Name, Out);
    EXPECT_EQ(R.Result, 0) << Name;
    EXPECT_EQ(R.BadCrc, std::vector<std::string>{"afile"}) << Name;
    EXPECT_TRUE(R.Ended.empty()) << Name;
    EXPECT_TRUE(fs::is_empty(Out)) << Name;
  }
  TRun R = Extract(T.Path / "crypt_text.zip", T.Path / "text", "python");
  EXPECT_EQ(R.Result, 1);
  EXPECT_EQ(ReadFile(T.Path / "text" / "test.txt"), "zipfile.py encryption test");
  R = Extract(T.Path / "crypt_zero.zip", T.Path / "zero", "12345");
  EXPECT_EQ(ReadFile(T.Path / "zero" / "zero"), std::string(512, '\0'));
  R = Extract(T.Path / "crypt_zero.zip", T.Path / "wrong", "perl");
  EXPECT_EQ(R.Result, 0);
  EXPECT_EQ(R.Skipped, std::vector<zip::TSkipReason>{zip::srBadPassword});
  EXPECT_TRUE(fs::is_empty(T.Path / "wrong"));
  // Two directory entries for one local header: the directory is refused.
  EXPECT_THROW(Extract(T.Path / "full_overlap.zip", T.Path / "full"), base::Exception);
  // An entry whose data holds the next entry's header is refused; the inner one extracts.
  R = Extract(T.Path / "quoted_overlap.zip", T.Path / "quoted");
  EXPECT_EQ(R.Result, 1);
  EXPECT_EQ(R.Failed.size(), 1u);
  EXPECT_EQ(Tree(T.Path / "quoted").size(), 1u);
  EXPECT_EQ(ReadFile(T.Path / "quoted" / "b").size(), 1033u);
}

TEST(Extract, OverlapBombIsRefused) {
  // Fifield's construction: each entry's stored data is the next entry's local header
  // and data, so every entry covers the kernel again.
  TTempDir T;
  std::string Script = R"(import struct, sys, zlib
kernel = b'A' * 100000
data = zlib.compressobj(9, zlib.DEFLATED, -15).compress(kernel)
c = zlib.compressobj(9, zlib.DEFLATED, -15); data = c.compress(kernel) + c.flush()
names = [b'f%d' % i for i in range(5)]
body = data; crc = zlib.crc32(kernel); size = len(kernel)
entries = []
for i, n in enumerate(reversed(names)):
    entries.insert(0, (n, body, crc, size, 8 if i == 0 else 0))
    local = struct.pack('<IHHHIIIIHH', 0x04034b50, 20, 0, entries[0][4], 0, crc, len(body), size, len(n), 0) + n
    body = local + body
    crc = zlib.crc32(body); size = len(body)
out = b''; central = b''; offset = 0
for n, b, crc, size, method in entries:
    local = struct.pack('<IHHHIIIIHH', 0x04034b50, 20, 0, method, 0, crc, len(b), size, len(n), 0) + n
    central += struct.pack('<IHHHHIIIIHHHHHII', 0x02014b50, 20, 20, 0, method, 0, crc, len(b), size, len(n), 0, 0, 0, 0, 0, offset) + n
    if offset == 0: out = local + b
    offset += len(local)
end = struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, len(entries), len(entries), len(central), len(out), 0)
open(sys.argv[1], 'wb').write(out + central + end)
)";
  WriteFile(T.Path / "bomb.py", Script);
  Shell("python3 " + (T.Path / "bomb.py").string() + " " + (T.Path / "bomb.zip").string());
  TRun R = Extract(T.Path / "bomb.zip", T.Path / "out");
  // Only the innermost entry stands alone.
  EXPECT_EQ(R.Result, 1);
  EXPECT_EQ(R.Failed.size(), 4u);
  EXPECT_EQ(Tree(T.Path / "out"), (std::map<std::string, std::string>{{"f4", std::string(100000, 'A')}}));
}

TEST(Extract, PathsNeverLeaveTheDestination) {
  TTempDir T;
  fs::create_directories(T.Path / "dest");
  fs::create_directories(T.Path / "outside");
  fs::create_directory_symlink(T.Path / "outside", T.Path / "dest" / "link");
  PythonZip(T.Path / "p.zip", {{"../evil.txt", "x", 0644},
                               {"/abs.txt", "x", 0644},
                               {"C:/drive.txt", "x", 0644},
                               {"sub\\\\..\\\\..\\\\back.txt", "x", 0644},
                               {"link/through.txt", "x", 0644},
                               {"./dot/./ok.txt", "ok", 0644}});
  TRun R = Extract(T.Path / "p.zip", T.Path / "dest");
  EXPECT_EQ(R.Result, 1);
  EXPECT_EQ(R.Failed.size(), 5u);
  EXPECT_EQ(ReadFile(T.Path / "dest" / "dot" / "ok.txt"), "ok");
  EXPECT_TRUE(fs::is_empty(T.Path / "outside"));
  std::vector<std::string> Top;
  for (const auto& E : fs::directory_iterator(T.Path)) Top.push_back(E.path().filename().string());
  std::sort(Top.begin(), Top.end());
  EXPECT_EQ(Top, (std::vector<std::string>{"dest", "outside", "p.zip", "p.zip.py"}));
}

TEST(Extract, NamesWithControlBytesAreRefused) {
  // Past the NUL the file system sees "..", which the path check never saw.
  TTempDir T;
  ziptest::TArchiveBuilder B;
  using namespace std::string_literals;
  B.Entries = {{"..\0/..\0/..\0/climbed.txt"s, "up", "", "", false},
               {"nul\0.txt"s, "n", "", "", false},
               {"tab\tname.txt", "t", "", "", false},
               {"folder\x1F/x.txt", "u", "", "", false},
               {"good.txt", "good", "", "", false}};
  WriteFile(T.Path / "c.zip", B.Build());
  const fs::path Dest = T.Path / "a" / "b" / "dest";
  TRun R = Extract(T.Path / "c.zip", Dest);
  EXPECT_EQ(R.Result, 1);
  EXPECT_EQ(R.Failed, (std::vector<std::string>{
                          "..\\x00/..\\x00/..\\x00/climbed.txt: refused, the name holds a control byte",
                          "nul\\x00.txt: refused, the name holds a control byte",
                          "tab\\x09name.txt: refused, the name holds a control byte",
                          "folder\\x1F/x.txt: refused, the name holds a control byte"}));
  std::vector<std::string> Paths;
  for (const auto& E : fs::recursive_directory_iterator(T.Path)) Paths.push_back(fs::relative(E.path(), T.Path));
  std::sort(Paths.begin(), Paths.end());
  EXPECT_EQ(Paths, (std::vector<std::string>{"a", "a/b", "a/b/dest", "a/b/dest/good.txt", "c.zip"}));
  EXPECT_EQ(ReadFile(Dest / "good.txt"), "good");
}

TEST(Extract, OnlyPermissionBitsAreApplied) {
  TTempDir T;
  PythonZip(T.Path / "m.zip", {{"setuid", "#!/bin/sh\n", 0104755},
                               {"symlink", "/etc/passwd", 0120777},
                               {"private", "p", 0600}});
  mode_t Mask = ::umask(022);
  TRun R = Extract(T.Path / "m.zip", T.Path / "out");
  ::umask(Mask);
  EXPECT_EQ(R.Result, 3);
  struct stat S;
  ASSERT_EQ(::lstat((T.Path / "out" / "setuid").c_str(), &S), 0);
  EXPECT_EQ(S.st_mode & 07777, 0755u);
  ASSERT_EQ(::lstat((T.Path / "out" / "symlink").c_str(), &S), 0);
  EXPECT_TRUE(S_ISREG(S.st_mode));
  EXPECT_EQ(ReadFile(T.Path / "out" / "symlink"), "/etc/passwd");
  ASSERT_EQ(::lstat((T.Path / "out" / "private").c_str(), &S), 0);
  EXPECT_EQ(S.st_mode & 07777, 0600u);
}

TEST(Extract, AnExistingFileSurvivesAFailureAndASkip) {
  TTempDir T;
  Shell("python3 " + std::string(std::getenv("ANIMORA_TEST_DATA")) + "/../zip/python_vectors.py " + T.Path.string());
  WriteFile(T.Path / "out" / "afile", "old");
  TRun R = Extract(T.Path / "stored_bad_crc.zip", T.Path / "out");
  EXPECT_EQ(R.Result, 0);
  EXPECT_EQ(Tree(T.Path / "out"), (std::map<std::string, std::string>{{"afile", "old"}}));
  PythonZip(T.Path / "good.zip", {{"afile", "new", 0644}});
  R = Extract(T.Path / "good.zip", T.Path / "out", "", [](zip::TZipReader& Z) {
    Z.OnStartUnZip = [](base::TObject*, int, const std::string&, bool& Skip) { Skip = true; };
  });
  EXPECT_TRUE(R.Ended.empty());
  EXPECT_EQ(Tree(T.Path / "out"), (std::map<std::string, std::string>{{"afile", "old"}}));
  R = Extract(T.Path / "good.zip", T.Path / "out", "", [](zip::TZipReader& Z) {
    Z.SetOverwriteMode(zip::TUZOverwriteMode::Never);
  });
  EXPECT_EQ(R.Result, 0);
  EXPECT_EQ(R.Skipped, std::vector<zip::TSkipReason>{zip::srNoOverwrite});
  R = Extract(T.Path / "good.zip", T.Path / "out");
  EXPECT_EQ(Tree(T.Path / "out"), (std::map<std::string, std::string>{{"afile", "new"}}));
}

TEST(Extract, TheResultCountsTheEntriesExtracted) {
  TTempDir T;
  PythonZip(T.Path / "three.zip", {{"a", "1", 0644}, {"b", "2", 0644}, {"c", "3", 0644}});
  struct TCase {
    const char* What;
    std::function<void(zip::TZipReader&)> Configure;
    int Result;
    std::vector<std::string> Files;
  };
  const TCase Cases[] = {
      {"all", nullptr, 3, {"a", "b", "c"}},
      {"stopped before the first entry",
       [](zip::TZipReader& Z) { Z.OnStartUnZipInfo = [](base::TObject*, int, int64_t, bool& StopNow) { StopNow = true; }; },
       0, {}},
      {"one skipped when it starts",
       [](zip::TZipReader& Z) {
         Z.OnStartUnZip = [&Z](base::TObject*, int I, const std::string&, bool& Skip) { Skip = Z.Filename(I) == "b"; };
       },
       2, {"a", "c"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    const fs::path Out = T.Path / "out";
    fs::remove_all(Out);
    TRun R = Extract(T.Path / "three.zip", Out, "", C.Configure);
    EXPECT_EQ(R.Result, C.Result);
    std::vector<std::string> Files;
    for (const auto& [Name, Data] : Tree(Out)) Files.push_back(Name);
    EXPECT_EQ(Files, C.Files);
  }
}

TEST(Extract, EventsNameTheDestinationFolderFolderAndName) {
  TTempDir T;
  PythonZip(T.Path / "n.zip", {{"d/", "", 040755}, {"d/x.txt", "x", 0644}, {"top.txt", "top", 0644}});
  const std::string Out = (T.Path / "out").string();
  std::vector<std::string> Started, Opened;
  auto Record = [&](zip::TZipReader& Z) {
    Z.OnStartUnZip = [&](base::TObject*, int, const std::string& FName, bool&) { Started.push_back(FName); };
    Z.OnEndUnZip = [&](base::TObject*, int, const std::string& FName) { Opened.push_back(ReadFile(FName)); };
  };
  TRun R = Extract(T.Path / "n.zip", Out, "", Record);
  EXPECT_EQ(Started, (std::vector<std::string>{Out + "/d/", Out + "/d/x.txt", Out + "/top.txt"}));
  EXPECT_EQ(Opened, (std::vector<std::string>{"x", "top"}));

  // The handler may give another name below the destination, never one outside it.
  struct TCase {
    std::string Answer;
    std::vector<std::string> Failed;
  };
  const TCase Cases[] = {{Out + "/d/renamed.txt", {}},
                         {(T.Path / "elsewhere.txt").string(),
                          {(T.Path / "elsewhere.txt").string() + ": refused, the path leaves the destination folder"}}};
  for (const TCase& C : Cases) {
    std::vector<std::string> Asked;
    R = Extract(T.Path / "n.zip", Out, "", [&](zip::TZipReader& Z) {
      Z.SetOverwriteMode(zip::TUZOverwriteMode::Prompt);
      Z.OnPromptForOverwrite = [&](base::TObject*, bool& OverWriteIt, int I, std::string& FName) {
        Asked.push_back(FName);
        OverWriteIt = true;
        if (Z.Filename(I) == "d/x.txt") FName = C.Answer;
      };
    });
    EXPECT_EQ(Asked, (std::vector<std::string>{Out + "/d/x.txt", Out + "/top.txt"}));
    EXPECT_EQ(R.Failed, C.Failed);
  }
  EXPECT_EQ(ReadFile(Out + "/d/renamed.txt"), "x");
  EXPECT_FALSE(fs::exists(T.Path / "elsewhere.txt"));
}

TEST(Extract, ProgressPerOutputChunk) {
  TTempDir T;
  WriteFile(T.Path / "src" / "a", std::string(16000, 'a'));
  WriteFile(T.Path / "src" / "b", std::string(40000, 'b'));
  Shell("cd " + (T.Path / "src").string() + " && zip -q -0 ../a.zip a && zip -q -9 ../b.zip b");
  EXPECT_EQ(Extract(T.Path / "a.zip", T.Path / "out").FilePercents, std::vector<int>{100});
  EXPECT_EQ(Extract(T.Path / "b.zip", T.Path / "out").FilePercents, (std::vector<int>{40, 80, 100}));
}

TEST(Extract, TruncatedEntryRaisesAndLeavesNoFile) {
  TTempDir T;
  MakeSource(T.Path / "src");
  Shell("cd " + (T.Path / "src").string() + " && zip -q -0 ../t.zip text.txt bin/data.bin");
  // Cut inside the second entry's data: the end record and the directory are gone.
  fs::resize_file(T.Path / "t.zip", ReadFile(T.Path / "src" / "text.txt").size() + 30 + 8 + 30 + 12 + 1000);
  EXPECT_THROW(Extract(T.Path / "t.zip", T.Path / "out", "",
                       [](zip::TZipReader& Z) { Z.SetIncompleteZipMode(zip::izAssumeBad); }),
               zip::EFatalUnzipError);
  EXPECT_EQ(Tree(T.Path / "out"), (std::map<std::string, std::string>{{"text.txt", ReadFile(T.Path / "src" / "text.txt")}}));
}

}  // namespace
