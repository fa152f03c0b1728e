// The tools on GIF files: gifinfo renders a frame to PNG, picinfo reads GIF through
// the picture registry; both run without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "gif/GIFImage.h"
#include "tests/gif/FrameBitmapTestSupport.h"
#include "tests/graphics/PictureTestSupport.h"

namespace {

using namespace frametest;
using gif::TGIFImage;

struct ToolRun {
  int Status = -1;
  std::string Out;
};

ToolRun Execute(const std::string& Command) {
  ToolRun Result;
  FILE* Pipe = popen(("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + Command + " 2>/dev/null").c_str(), "r");
  if (Pipe == nullptr) return Result;
  char Buffer[256];
  while (std::fgets(Buffer, sizeof Buffer, Pipe) != nullptr) Result.Out += Buffer;
  const int Status = pclose(Pipe);
  Result.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  return Result;
}

uint32_t BigEndian(const picturetest::Bytes& B, size_t At) {
  return uint32_t{B[At]} << 24 | uint32_t{B[At + 1]} << 16 | uint32_t{B[At + 2]} << 8 | B[At + 3];
}

std::string SampleFile(const picturetest::TScratch& Dir) {
  TGIFImage Image;
  Image.SetWidth(9);
  Image.SetHeight(6);
  AddFrame(Image, 0, 0, 9, 6, {RGB(0, 0, 0), RGB(255, 0, 0)}, [](int X, int) { return X % 2; });
  AddFrame(Image, 2, 1, 5, 3, {RGB(0, 255, 0)}, [](int, int) { return 0; });
  const std::string Path = (Dir / "s.gif").string();
  Image.SaveToFile(Path);
  return Path;
}

TEST(GifinfoRender, FrameBecomesAPNGOfItsSize) {
  const picturetest::TScratch Dir;
  const std::string File = SampleFile(Dir);
  const std::string Out = (Dir / "f.png").string();
  ASSERT_EQ(Execute(std::string(GIFINFO_PATH) + " --frame 1 --png '" + Out + "' '" + File + "'").Status, 0);
  const picturetest::Bytes Png = picturetest::LoadFile(Out);
  ASSERT_GT(Png.size(), 24u);
  EXPECT_EQ(std::string(Png.begin() + 1, Png.begin() + 4), "PNG");
  EXPECT_EQ(BigEndian(Png, 16), 5u);
  EXPECT_EQ(BigEndian(Png, 20), 3u);
}

TEST(GifinfoRender, UnknownFrameFailsAndListingStillWorks) {
  const picturetest::TScratch Dir;
  const std::string File = SampleFile(Dir);
  const std::string Out = (Dir / "f.png").string();
  for (const char* Index : {"2", "-1", "x"})
    EXPECT_EQ(Execute(std::string(GIFINFO_PATH) + " --frame " + Index + " --png '" + Out + "' '" + File + "'").Status, 1) << Index;
  const ToolRun Listing = Execute(std::string(GIFINFO_PATH) + " '" + File + "'");
  EXPECT_EQ(Listing.Status, 0);
  EXPECT_EQ(Listing.Out.rfind("screen 9 6", 0), 0u) << Listing.Out;
}

TEST(PicinfoGif, ReadsGifThroughTheRegistry) {
  const picturetest::TScratch Dir;
  const ToolRun Info = Execute(std::string(PICINFO_PATH) + " '" + SampleFile(Dir) + "'");
  EXPECT_EQ(Info.Status, 0);
  EXPECT_EQ(Info.Out.rfind("picture 9 6 ", 0), 0u) << Info.Out;
}

}  // namespace
