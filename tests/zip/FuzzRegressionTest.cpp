// Replays every input that once crashed, hung or exhausted a zip fuzz harness
// (tests/data/fuzz/zip, kept by scripts/fuzz) with the directory and the extraction
// harnesses' checks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/ZipDirectoryCheck.h"
#include "fuzz/ZipExtractCheck.h"

TEST(ZipFuzzRegressions, EveryKeptInputIsHandledSoundly) {
  const char* Data = std::getenv("ANIMORA_TEST_DATA");
  ASSERT_NE(Data, nullptr) << "ANIMORA_TEST_DATA is not set";
  const std::filesystem::path Folder = std::filesystem::path(Data) / "fuzz" / "zip";
  if (!std::filesystem::is_directory(Folder)) GTEST_SKIP() << "no kept inputs in " << Folder;
  int Replayed = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
    if (!Entry.is_regular_file()) continue;
    std::ifstream In(Entry.path(), std::ios::binary);
    const std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fuzzcheck::CheckZipDirectory(Bytes.data(), Bytes.size()), "") << Entry.path().filename();
    EXPECT_EQ(fuzzcheck::CheckZipExtract(Bytes.data(), Bytes.size()), "") << Entry.path().filename();
    ++Replayed;
  }
  if (Replayed == 0) GTEST_SKIP() << "no kept inputs in " << Folder;
}
