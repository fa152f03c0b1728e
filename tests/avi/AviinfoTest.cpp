// tools/aviinfo: its lines, the frame it writes, and its exit codes.
#include <gtest/gtest.h>

#include "tests/avi/AviTestSupport.h"

using namespace avitest;

namespace {

std::string Aviinfo(const std::string& Arguments, int& Status, const std::filesystem::path& Dir) {
  const std::string Out = RunCommand(std::string(AVIINFO_PATH) + " " + Arguments + " 2>'" + (Dir / "err").string() + "'", &Status);
  const Bytes Err = LoadFile(Dir / "err");
  return Out + std::string(Err.begin(), Err.end());
}

TEST(Aviinfo, PrintsTheFramesSizeAndRateAndWritesAFrame) {
  const auto Dir = TempDir("aviinfo");
  const auto Video = MakeVideo(Dir, "clip", "rawvideo", "bgr24", 20, 12, 12, 4);
  int Status = -1;
  EXPECT_EQ(Aviinfo("'" + Video.string() + "'", Status, Dir), "frames 4\nsize 20 12\nrate 12 1\n");
  EXPECT_EQ(Status, 0);

  const auto Out = Dir / "f2.bmp";
  Aviinfo("'" + Video.string() + "' --frame 2 --bmp '" + Out.string() + "'", Status, Dir);
  EXPECT_EQ(Status, 0);
  const auto Expected = Dir / "expected.bmp";
  RunCommand("ffmpeg -v error -i '" + Video.string() + "' -vf 'select=eq(n\\,2)' -frames:v 1 -pix_fmt bgr24 '" +
      Expected.string() + "'");
  const Bytes Got = LoadFile(Out), Want = LoadFile(Expected);
  ASSERT_GT(Got.size(), 54u);
  EXPECT_EQ(Got[28], 24) << "bits per pixel";
  ASSERT_EQ(Got.size(), Want.size());
  EXPECT_TRUE(std::equal(Got.begin() + 54, Got.end(), Want.end() - (Got.size() - 54))) << "pixels differ from ffmpeg's";
  std::filesystem::remove_all(Dir);
}

TEST(Aviinfo, RefusesWhatItCannotReadAndBadUsage) {
  const auto Dir = TempDir("aviinfo-bad");
  SaveFile(Dir / "bad.avi", Bytes{'R', 'I', 'F', 'F', 1, 2});
  int Status = -1;
  EXPECT_NE(Aviinfo("'" + (Dir / "bad.avi").string() + "'", Status, Dir).find("Failed to open AVI file"),
            std::string::npos);
  EXPECT_EQ(Status, 1);
  const auto Video = MakeVideo(Dir, "clip", "rawvideo", "bgr24", 8, 8, 5, 2);
  EXPECT_NE(Aviinfo("'" + Video.string() + "' --frame 2 --bmp '" + (Dir / "x.bmp").string() + "'", Status, Dir)
                .find("no frame 2"),
            std::string::npos);
  EXPECT_EQ(Status, 1);
  for (const std::string& Arguments : std::vector<std::string>{"", "a b", "'" + Video.string() + "' --frame x --bmp o.bmp",
                                      "'" + Video.string() + "' --frame 1 --png o.png"}) {
    Aviinfo(Arguments, Status, Dir);
    EXPECT_EQ(Status, 2) << Arguments;
  }
  std::filesystem::remove_all(Dir);
}

}  // namespace
