// Archives written at test time by Info-ZIP zip and Python's zipfile list with
// `ziptool list` exactly as zipfile's infolist() gives them (method, sizes, CRC, name).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "install/zip/ZipReader.h"
#include "tests/zip/ShellRun.h"
#include "tests/zip/ZipTestSupport.h"

namespace {

using ziptest::Shell;
using ziptest::TRun;

const std::string ZipfileList =
    "python3 -c 'import sys, zipfile\n"
    "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
    "  sys.stdout.buffer.write((\"%d %d %d %08x %s\\n\" % (i.compress_type, i.compress_size, i.file_size, "
    "i.CRC, i.filename)).encode())' ";

std::string Ziptool(const std::string& Arguments) { return std::string(ZIPTOOL_PATH) + " " + Arguments; }

class ZipPeers : public ::testing::Test {
 protected:
  void SetUp() override {
    Make("printf 'hello\\n' > a.txt && mkdir -p d/e && seq 3000 > d/n.txt && printf '' > d/e/empty && "
         "head -c 200000 /dev/urandom > r.bin && seq 100000 > big.txt");
  }
  void Make(const std::string& Commands) {
    ASSERT_EQ(Shell("cd " + Temp.Path + " && { " + Commands + "; } >/dev/null 2>&1").Status, 0) << Commands;
  }
  std::string At(const std::string& Name) const { return Temp.Path + Name; }
  ziptest::TTempFolder Temp;
};

TEST_F(ZipPeers, InfoZipAndPythonArchivesListAsZipfileListsThem) {
  struct TCase {
    const char* Archive;
    const char* Make;
    const char* Reference;  // the archive zipfile lists, when another one
  };
  const TCase Cases[] = {
      {"stored.zip", "zip -q0 -r stored.zip a.txt d", nullptr},
      {"deflated.zip", "zip -q9 -r deflated.zip a.txt d big.txt r.bin", nullptr},
      {"nodirs.zip", "zip -qD -r nodirs.zip d a.txt", nullptr},
      {"comments.zip", "printf 'archive note\\n' | zip -qz comments.zip a.txt && printf 'entry note\\n' | zip -qc comments.zip a.txt", nullptr},
      {"encrypted.zip", "zip -qP secret encrypted.zip a.txt big.txt", nullptr},
      {"streamed.zip", "zip -q - a.txt d/n.txt big.txt | cat > streamed.zip", nullptr},
      {"stdin.zip", "seq 500 | zip -q - - > stdin.zip", nullptr},
      {"split.zip", "zip -q -s 64k split.zip r.bin big.txt && zip -q -s 0 split.zip --out joined.zip", "joined.zip"},
      {"python.zip",
       "python3 -c 'import zipfile\n"
       "with zipfile.ZipFile(\"python.zip\", \"w\", zipfile.ZIP_DEFLATED) as z:\n"
       "  z.writestr(\"caf\\u00e9/\\u65e5\\u672c.txt\", \"x\" * 500)\n"
       "  z.writestr(\"plain.txt\", \"y\")\n"
       "  z.writestr(\"back\\\\slash:colon\", \"z\")\n"
       "  z.mkdir(\"folder\") if hasattr(z, \"mkdir\") else z.writestr(\"folder/\", \"\")'",
       nullptr},
      {"pystored.zip",
       "python3 -c 'import zipfile\n"
       "with zipfile.ZipFile(\"pystored.zip\", \"w\") as z:\n"
       "  z.write(\"big.txt\")\n"
       "  z.comment = b\"python comment\"'",
       nullptr},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Archive);
    Make(C.Make);
    const TRun Ours = Shell(Ziptool("list " + At(C.Archive)));
    const TRun Theirs = Shell(ZipfileList + At(C.Reference ? C.Reference : C.Archive));
    ASSERT_EQ(Theirs.Status, 0);
    EXPECT_EQ(Ours.Status, 0);
    EXPECT_FALSE(Ours.Out.empty());
    EXPECT_EQ(Ours.Out, Theirs.Out);
  }
}

TEST_F(ZipPeers, SplitArchiveOpensFromItsLastVolumeOrItsStem) {
  Make("zip -q -s 64k sp.zip r.bin big.txt && zip -q -s 0 sp.zip --out joined.zip");
  const std::string Expected = Shell(ZipfileList + At("joined.zip")).Out;
  // Block files named STEM.NNN: ARCHIVE is missing, the highest one is opened.
  Make("for f in sp.z0*; do n=${f#sp.z}; mv $f blocks.0$n; done && n=$(ls blocks.* | wc -l) && "
       "mv sp.zip blocks.$(printf %03d $((n + 1)))");
  const TRun Blocks = Shell(Ziptool("list " + At("blocks.zip")));
  EXPECT_EQ(Blocks.Status, 0);
  EXPECT_EQ(Blocks.Out, Expected);
  // Without the volume that holds the end record the highest one left is no archive.
  Make("rm $(ls blocks.* | tail -1)");
  const TRun Missing = Shell(Ziptool("list " + At("blocks.zip") + " 2>&1"));
  EXPECT_EQ(Missing.Status, 1);
  EXPECT_NE(Missing.Out.find("Incomplete Zip File"), std::string::npos) << Missing.Out;
}

TEST_F(ZipPeers, EncryptedInfoZipEntryPassesThePasswordCheck) {
  Make("zip -qP secret enc.zip big.txt && zip -q - a.txt | cat > plain.zip && zip -qP pw -r dd.zip a.txt");
  class TOpen : public zip::TZipReader {
   public:
    bool Check(const std::string& Password) {
      SetPassword(Password);
      FCurrentEntry.Assign(&Entries(0));
      FArchive->SetPosition(int64_t(FCurrentEntry.LocalHeaderOffset) + 26);
      uint8_t Lengths[4];
      FArchive->ReadBuffer(Lengths, 4);
      FArchive->Seek((Lengths[0] | Lengths[1] << 8) + (Lengths[2] | Lengths[3] << 8), base::TSeekOrigin::soCurrent);
      return CheckPassword(0);
    }
  };
  for (const char* Archive : {"enc.zip", "dd.zip"}) {
    TOpen Reader;
    Reader.SetKeepZipOpen(true);
    Reader.SetZipName(At(Archive));
    Reader.OpenZip();
    EXPECT_TRUE(Reader.Check(std::string(Archive) == "enc.zip" ? "secret" : "pw")) << Archive;
    // A wrong password passes the one-byte check by chance once in 256 tries.
    int Refused = 0;
    for (int I = 0; I < 8; ++I) Refused += Reader.Check("nope" + std::to_string(I)) ? 0 : 1;
    EXPECT_GE(Refused, 6) << Archive;
  }
}

TEST_F(ZipPeers, RefusalsExitWithOneClearMessage) {
  Make("zip -q ok.zip a.txt big.txt && head -c 3000 ok.zip > cut.zip && "
       "python3 -c 'import zipfile\n"
       "with zipfile.ZipFile(\"z64.zip\", \"w\") as z:\n"
       "  [z.writestr(\"f%d\" % i, \"\") for i in range(65536)]' && "
       "python3 -c 'import zipfile\n"
       "with zipfile.ZipFile(\"many.zip\", \"w\") as z:\n"
       "  [z.writestr(\"f%d\" % i, \"\") for i in range(65535)]'");
  struct TCase {
    std::string Arguments;
    int Status;
    std::string Message;
  };
  const TCase Cases[] = {
      {"list " + At("z64.zip"), 1, "ziptool: " + At("z64.zip") + ": Zip64 archives are not supported\n"},
      {"list " + At("many.zip"), 1, "ziptool: " + At("many.zip") + ": Zip64 archives are not supported\n"},
      {"list " + At("cut.zip"), 1, "ziptool: " + At("cut.zip") + ": Incomplete Zip File\n"},
      {"list " + At("none.zip"), 1,
       "ziptool: " + At("none.zip") + ": Cannot open file \"" + At("none.zip") + "\". No such file or directory\n"},
      {"list", 2, ""},
      {"list a b", 2, ""},
      {"frobnicate x", 2, ""},
      {"", 2, ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Arguments);
    const TRun Result = Shell(Ziptool(C.Arguments) + " 2>&1 >/dev/null");
    EXPECT_EQ(Result.Status, C.Status);
    if (!C.Message.empty()) {
      EXPECT_EQ(Result.Out, C.Message);
    }
    if (C.Status == 2) {
      EXPECT_EQ(Result.Out.rfind("usage:", 0), 0u) << Result.Out;
    }
  }
}

TEST_F(ZipPeers, ExtractSaysWhyEachEntryFailedOnce) {
  const std::string Vectors = std::string(std::getenv("ANIMORA_TEST_DATA")) + "/../zip/python_vectors.py";
  // crypt_zero.zip holds "zero" under the password 12345; damaged.zip is the same with
  // the last byte of its data changed; s.txt of methods.zip is marked with method 7.
  Make("python3 " + Vectors + " . && cp crypt_zero.zip damaged.zip && "
       "python3 -c 'import zipfile, struct\n"
       "i = zipfile.ZipFile(\"damaged.zip\").infolist()[0]\n"
       "f = open(\"damaged.zip\", \"r+b\"); f.seek(i.header_offset + 26); n, m = struct.unpack(\"<HH\", f.read(4))\n"
       "p = i.header_offset + 30 + n + m + i.compress_size - 1; f.seek(p); b = f.read(1); f.seek(p); f.write(bytes([b[0] ^ 0x55]))' && "
       "python3 -c 'import re, zipfile\n"
       "with zipfile.ZipFile(\"methods.zip\", \"w\") as z:\n"
       "  z.writestr(\"b.txt\", \"b\" * 100, zipfile.ZIP_BZIP2)\n"
       "  z.writestr(\"l.txt\", \"l\" * 100, zipfile.ZIP_LZMA)\n"
       "  z.writestr(\"s.txt\", \"s\" * 100)\n"
       "  z.writestr(\"ok.txt\", \"ok\")\n"
       "d = bytearray(open(\"methods.zip\", \"rb\").read())\n"
       "i = zipfile.ZipFile(\"methods.zip\").getinfo(\"s.txt\")\n"
       "d[i.header_offset + 8] = 7\n"
       "for c in re.finditer(b\"PK\\x01\\x02\", d):\n"
       "  if d[c.start() + 46:c.start() + 51] == b\"s.txt\": d[c.start() + 10] = 7\n"
       "open(\"methods.zip\", \"wb\").write(d)' && "
       "7z a -tzip -psecret -mem=AES256 aes.zip a.txt");
  struct TCase {
    std::string Arguments;
    std::string Messages;
  };
  const TCase Cases[] = {
      {"crypt_zero.zip out1 --password perl", "ziptool: zero: wrong password\n"},
      {"damaged.zip out2 --password 12345", "ziptool: zero: damaged data (CRC or size does not match)\n"},
      {"methods.zip out3",
       "ziptool: b.txt: unknown compression method 12\nziptool: l.txt: unknown compression method 14\n"
       "ziptool: s.txt: unknown compression method 7\n"},
      {"aes.zip out4 --password secret", "ziptool: a.txt: unknown compression method 99\n"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Arguments);
    const TRun Result = Shell("cd " + Temp.Path + " && " + Ziptool("extract " + C.Arguments) + " 2>&1 >/dev/null");
    EXPECT_EQ(Result.Status, 1);
    EXPECT_EQ(Result.Out, C.Messages);
  }
  EXPECT_EQ(Shell("cat " + At("out3/ok.txt")).Out, "ok");
}

// The Go source's archive/zip test archives list as zipfile lists them, or are refused
// with a clear message where zipfile refuses them too.
TEST(ZipGoCorpus, ListsOrRefusesClearly) {
  const std::filesystem::path Folder = "/usr/share/go-1.19/src/archive/zip/testdata";
  if (!std::filesystem::is_directory(Folder)) GTEST_SKIP() << "golang-1.19-src is not installed";
  for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
    const std::string Name = Entry.path().string();
    SCOPED_TRACE(Name);
    const TRun Ours = Shell(Ziptool("list '" + Name + "' 2>/dev/null"));
    const TRun Theirs = Shell(ZipfileList + "'" + Name + "' 2>/dev/null");
    ASSERT_TRUE(Ours.Status == 0 || Ours.Status == 1);
    if (Ours.Status == 0 && Theirs.Status == 0) {
      EXPECT_EQ(Ours.Out, Theirs.Out);
    }
    const TRun Message = Shell(Ziptool("list '" + Name + "' 2>&1 >/dev/null"));
    if (Ours.Status == 1) {
      EXPECT_EQ(Message.Out.rfind("ziptool: ", 0), 0u);
    }
  }
  // Whole archives with a Zip64 end record and locator, all-ones values in the old record.
  for (const char* Zip64 : {"zip64.zip", "zip64-2.zip"}) {
    const std::string Name = (Folder / Zip64).string();
    const TRun Message = Shell(Ziptool("list '" + Name + "' 2>&1 >/dev/null"));
    EXPECT_EQ(Message.Status, 1);
    EXPECT_EQ(Message.Out, "ziptool: " + Name + ": Zip64 archives are not supported\n");
  }
}

}  // namespace
