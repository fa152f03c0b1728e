#include "install/zip/SourceFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

TEST(SourceFiles, StoredNamesStayInsideTheDestination) {
  const struct {
    const char* Name;
    const char* Stored;
  } Cases[] = {{"a.txt", "a.txt"},        {"/etc/passwd", "etc/passwd"}, {"../../x", "x"},
               {"./a/./b", "a/b"},        {"a/../b", "a/b"},             {"dir/", "dir/"},
               {"a//b", "a/b"},           {"a\\..\\b", "a/b"},           {"..", ""},
               {"/", ""},                 {"...", "..."},                {".hidden/f", ".hidden/f"}};
  for (const auto& C : Cases) EXPECT_EQ(zip::SafeStoredName(C.Name), C.Stored) << C.Name;
}

TEST(SourceFiles, Utf8Validity) {
  const struct {
    const char* Text;
    bool Valid;
  } Cases[] = {{"plain", true},          {"caf\xC3\xA9", true},     {"\xE2\x82\xAC", true},
               {"\xF0\x9F\x98\x80", true}, {"caf\xE9", false},        {"\xC3", false},
               {"\xC0\xAF", false},      {"\xED\xA0\x80", false},   {"\xF4\x90\x80\x80", false},
               {"\x80", false},          {"\xE2\x82", false},       {"", true}};
  for (const auto& C : Cases) EXPECT_EQ(zip::IsValidUtf8(C.Text), C.Valid) << C.Text;
}

TEST(SourceFiles, DosTimesInLocalTime) {
  const char* Old = std::getenv("TZ");
  const std::string Saved = Old ? Old : "";
  setenv("TZ", "UTC", 1);
  tzset();
  // 2024-02-29 13:45:59 UTC; seconds go in 2-second steps.
  EXPECT_EQ(zip::DosDateTimeOf(1709214359), ((44u << 9 | 2u << 5 | 29u) << 16) | (13u << 11 | 45u << 5 | 29u));
  EXPECT_EQ(zip::DosDateTimeOf(0), (1u << 21) | (1u << 16));
  if (Old)
    setenv("TZ", Saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(SourceFiles, ModesAndReadOnlyAttribute) {
  const std::filesystem::path Dir = std::filesystem::temp_directory_path() / ("srcfiles" + std::to_string(getpid()));
  std::filesystem::create_directories(Dir);
  const std::string File = (Dir / "f.txt").string();
  std::ofstream(File) << "hello";
  ASSERT_EQ(chmod(File.c_str(), 0640), 0);
  zip::TSourceFile Info;
  ASSERT_TRUE(zip::StatSourceFile(File, Info));
  EXPECT_FALSE(Info.IsFolder);
  EXPECT_EQ(Info.Size, 5u);
  EXPECT_EQ(Info.ExternalAttributes, (0100640u << 16));
  ASSERT_TRUE(zip::StatSourceFile(Dir.string(), Info));
  EXPECT_TRUE(Info.IsFolder);
  EXPECT_EQ(Info.ExternalAttributes & 0xFFFFu, 0x10u);
  EXPECT_EQ(Info.ExternalAttributes >> 28, 04u);
  if (geteuid() != 0) {  // root may write anything
    ASSERT_EQ(chmod(File.c_str(), 0444), 0);
    ASSERT_TRUE(zip::StatSourceFile(File, Info));
    EXPECT_EQ(Info.ExternalAttributes, (0100444u << 16) | 0x01u);
  }
  EXPECT_FALSE(zip::StatSourceFile((Dir / "missing").string(), Info));
  EXPECT_GT(zip::FreeSpaceOf((Dir / "not yet.zip").string()), 0);
  std::filesystem::remove_all(Dir);
}

TEST(SourceFiles, RandomBytesDiffer) {
  uint8_t A[32] = {};
  uint8_t B[32] = {};
  zip::SystemRandomBytes(A, sizeof A);
  zip::SystemRandomBytes(B, sizeof B);
  EXPECT_NE(std::string(A, A + 32), std::string(B, B + 32));
}

}  // namespace
