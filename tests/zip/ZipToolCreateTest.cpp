// `ziptool create` on what a folder holds: "." packs the folder's contents, the archive
// is never packed into itself, and files that are neither regular files nor folders are
// reported without being opened. Python's zipfile lists the results.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/zip/ShellRun.h"
#include "tests/zip/ZipTestSupport.h"

namespace {

using ziptest::Shell;
using ziptest::TRun;

const std::string ZipfileNames =
    "python3 -c 'import sys, zipfile\n"
    "print(\" \".join(zipfile.ZipFile(sys.argv[1]).namelist()))' ";

class ZipToolCreate : public ::testing::Test {
 protected:
  void SetUp() override { Run("mkdir -p src/d && printf 'hello\\n' > src/a.txt && seq 300 > src/d/n.txt"); }
  // Commands run in the temporary folder; their status and their standard error.
  TRun Run(const std::string& Commands) {
    return Shell("cd " + Temp.Path + " && { " + Commands + "; } 2>&1 >/dev/null");
  }
  std::string Ziptool(const std::string& Arguments) const {
    // A hang shows as status 124 rather than as a test that never ends.
    return "timeout 30 " + std::string(ZIPTOOL_PATH) + " " + Arguments;
  }
  std::string Names(const std::string& Archive) { return Shell(ZipfileNames + Temp.Path + Archive).Out; }
  ziptest::TTempFolder Temp;
};

TEST_F(ZipToolCreate, DotPacksTheFoldersContents) {
  const TRun Made = Run("cd src && " + Ziptool("create ../dot.zip ."));
  EXPECT_EQ(Made.Status, 0) << Made.Out;
  EXPECT_EQ(Made.Out, "");
  EXPECT_EQ(Names("dot.zip"), "a.txt d/ d/n.txt\n");
}

TEST_F(ZipToolCreate, TheArchiveIsNeverPackedIntoItself) {
  // Made inside the folder it packs, then updated there with two more names that lead
  // to it: a symbolic link and a hard link.
  TRun Made = Run("cd src && " + Ziptool("create self.zip ."));
  EXPECT_EQ(Made.Status, 0) << Made.Out;
  ASSERT_EQ(Names("src/self.zip"), "a.txt d/ d/n.txt\n");
  ASSERT_EQ(Run("cd src && ln -s self.zip alias.zip && ln self.zip hard.zip && printf 'new\\n' > b.txt").Status, 0);
  Made = Run("cd src && " + Ziptool("create self.zip ."));
  EXPECT_EQ(Made.Status, 0) << Made.Out;
  EXPECT_EQ(Names("src/self.zip"), "a.txt d/ d/n.txt b.txt\n");
  EXPECT_EQ(Shell("cd " + Temp.Path + "src && unzip -tq self.zip >/dev/null").Status, 0);
}

TEST_F(ZipToolCreate, AFifoIsReportedAndTheRunFinishes) {
  const TRun Made = Run("cd src && mkfifo pipe && " + Ziptool("create f.zip pipe a.txt"));
  EXPECT_EQ(Made.Status, 1);
  EXPECT_EQ(Made.Out, "ziptool: pipe: Not a regular file or folder: a FIFO\n");
  EXPECT_EQ(Names("src/f.zip"), "a.txt\n");
  // Nothing is left beside the archive.
  int Files = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Temp.Path + "src")) Files += Entry.is_regular_file();
  EXPECT_EQ(Files, 2);  // a.txt, f.zip
}

}  // namespace
