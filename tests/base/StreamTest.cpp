#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"

using namespace base;
namespace fs = std::filesystem;

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Pattern[] = "/tmp/animora-stream-XXXXXX";
    Dir = mkdtemp(Pattern);
  }
  void TearDown() override { fs::remove_all(Dir); }
  std::string Path(const char* Name) const { return (Dir / Name).string(); }
  std::string Contents(const std::string& Name) const {
    std::ifstream In(Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), {}};
  }
  size_t EntryCount() const { return std::distance(fs::directory_iterator(Dir), fs::directory_iterator()); }
  fs::path Dir;
};

}  // namespace

TEST(MemoryStream, ReadWriteSeekAndCheckedReads) {
  TMemoryStream S;
  S.WriteBuffer("abcdef", 6);
  EXPECT_EQ(S.Size(), 6);
  S.SetPosition(4);
  char Buf[4] = {};
  EXPECT_EQ(S.Read(Buf, 4), 2);
  EXPECT_EQ(std::string(Buf, 2), "ef");
  EXPECT_EQ(S.Read(Buf, 1), 0);
  S.SetPosition(5);
  EXPECT_THROW(S.ReadBuffer(Buf, 2), EReadError);
  S.Seek(10, TSeekOrigin::soBeginning);  // writing past the end extends with zeros
  S.WriteBuffer("z", 1);
  EXPECT_EQ(S.Size(), 11);
  EXPECT_EQ(S.Memory()[7], 0);
  EXPECT_EQ(S.Seek(-1, TSeekOrigin::soEnd), 10);
  S.SetSize(3);
  EXPECT_EQ(S.Position(), 3);
}

TEST_F(FileTest, AtomicSaveReplacesTheTargetOnlyOnSuccess) {
  const std::string Target = Path("out.bin");
  WriteFileAtomically(Target, [](TStream& S) { S.WriteBuffer("old", 3); });
  ASSERT_EQ(Contents(Target), "old");
  chmod(Target.c_str(), 0640);

  EXPECT_THROW(WriteFileAtomically(Target, [](TStream& S) {
                 S.WriteBuffer("partial", 7);
                 throw EWriteError("Stream write error");
               }),
               EWriteError);
  EXPECT_EQ(Contents(Target), "old");
  EXPECT_EQ(EntryCount(), 1u) << "the temporary file is removed";

  WriteFileAtomically(Target, [](TStream& S) { S.WriteBuffer("new", 3); });
  EXPECT_EQ(Contents(Target), "new");
  struct stat Info {};
  stat(Target.c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileTest, FileStreamErrorsNameTheFile) {
  try {
    TFileStream S(Path("missing"), fmOpenRead);
    FAIL();
  } catch (const EFOpenError& E) {
    EXPECT_NE(std::string(E.what()).find("Cannot open file \"" + Path("missing") + "\"."), std::string::npos);
  }
  EXPECT_THROW(TFileStream(Path("no/such/dir"), fmCreate), EFCreateError);
  EXPECT_THROW(WriteFileAtomically(Path("no/such/dir"), [](TStream&) {}), EFCreateError);
  EXPECT_THROW(TFileStream(Dir.string(), fmOpenRead), EFOpenError);
}

TEST_F(FileTest, FileStreamRoundTripsThroughMemoryStream) {
  TMemoryStream M;
  M.WriteBuffer("0123456789", 10);
  M.SaveToFile(Path("m.bin"));
  TFileStream F(Path("m.bin"), fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(F.Size(), 10);
  F.SetPosition(8);
  char Two[2];
  F.ReadBuffer(Two, 2);
  EXPECT_EQ(std::string(Two, 2), "89");
  TMemoryStream Back;
  Back.LoadFromFile(Path("m.bin"));
  EXPECT_EQ(Back.Bytes(), M.Bytes());
}
