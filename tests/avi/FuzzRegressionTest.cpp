// Replays every input that once crashed, hung or exhausted the AVI reader's fuzz harness
// (tests/data/fuzz/avi, kept by scripts/fuzz) with the harness's own check.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fuzz/AVIReadCheck.h"
#include "tests/avi/AviTestSupport.h"

TEST(AVIFuzzRegressions, EveryKeptInputIsHandledSoundly) {
  const char* Data = std::getenv("ANIMORA_TEST_DATA");
  ASSERT_NE(Data, nullptr) << "ANIMORA_TEST_DATA is not set";
  const std::filesystem::path Folder = std::filesystem::path(Data) / "fuzz" / "avi";
  int Replayed = 0;
  for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
    if (!Entry.is_regular_file()) continue;
    const avitest::Bytes Bytes = avitest::LoadFile(Entry.path());
    EXPECT_EQ(fuzzcheck::CheckAVIRead(Bytes.data(), Bytes.size()), "") << Entry.path().filename();
    ++Replayed;
  }
  if (Replayed == 0) GTEST_SKIP() << "no kept inputs in " << Folder;
}
