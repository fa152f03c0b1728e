// Replays every input that once crashed, hung or exhausted the GIF reader's fuzz
// harness (tests/data/fuzz/gif, kept by scripts/fuzz) with the harness's own check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/GIFReadCheck.h"

TEST(GIFFuzzRegressions, EveryKeptInputIsHandledSoundly) {
  const char* Data = std::getenv("ANIMORA_TEST_DATA");
  ASSERT_NE(Data, nullptr) << "ANIMORA_TEST_DATA is not set";
  const std::filesystem::path Folder = std::filesystem::path(Data) / "fuzz" / "gif";
  int Replayed = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
    if (!Entry.is_regular_file()) continue;
    std::ifstream File(Entry.path(), std::ios::binary);
    const std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fuzzcheck::CheckGIFRead(Bytes.data(), Bytes.size()), "") << Entry.path().filename();
    ++Replayed;
  }
  if (Replayed == 0) GTEST_SKIP() << "no kept inputs in " << Folder;
}
