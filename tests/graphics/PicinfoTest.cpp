// picinfo on BMP files that ImageMagick writes at every depth, run-length coded, with
// bit fields and turned top-down: the size, the bit depth and the CRC of the RGB pixels
// agree with what ImageMagick decodes.
#include <sys/wait.h>

#include <cstdio>
#include <sstream>

#include "platform/base/Crc32.h"
#include "tests/graphics/BmpTestSupport.h"

using namespace bmptest;

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

TRun RunPicinfo(const std::filesystem::path& File, const std::filesystem::path& Dir) {
  const std::filesystem::path ErrFile = Dir / "stderr.txt";
  const std::string Command = std::string(PICINFO_PATH) + " '" + File.string() + "' 2>'" + ErrFile.string() + "'";
  TRun Run;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (Pipe == nullptr) return Run;
  char Buffer[256];
  while (std::fgets(Buffer, sizeof Buffer, Pipe) != nullptr) Run.Out += Buffer;
  const int Status = pclose(Pipe);
  Run.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  const Bytes Err = LoadFile(ErrFile);
  Run.Err.assign(Err.begin(), Err.end());
  return Run;
}

std::string Hex(uint32_t Value) {
  char Text[9];
  std::snprintf(Text, sizeof Text, "%08x", Value);
  return Text;
}

// The same image with its rows stored top-down (uncompressed files only).
Bytes TopDown(const Bytes& File) {
  Bytes Out = File;
  const uint32_t Offset = GetLE(File, OffBits, 4);
  const auto W = static_cast<int32_t>(GetLE(File, Width, 4));
  const auto H = static_cast<int32_t>(GetLE(File, Height, 4));
  const auto Row = static_cast<size_t>(graphics::TDIBImage::BMPRowBytes(W, static_cast<int>(GetLE(File, BitCount, 2))));
  for (int32_t Y = 0; Y < H; ++Y)
    std::copy_n(File.begin() + Offset + Y * Row, Row, Out.begin() + Offset + (H - 1 - Y) * Row);
  PutLE(Out, Height, static_cast<uint32_t>(-H), 4);
  return Out;
}

struct TMagickCase {
  const char* Name;
  const char* Arguments;  // how convert makes the file
  int Bits;               // bits per pixel of the loaded bitmap
  uint32_t Compression;
  bool TurnTopDown;
};

constexpr const char* Plasma = "-seed 7 -size 29x11 plasma:fractal";

const TMagickCase MagickCases[] = {
    {"Bits1", "-size 29x11 pattern:checkerboard -type bilevel", 1, gdi::BI_RGB, false},
    {"Bits4", "-colors 12 -type palette -compress None", 4, gdi::BI_RGB, false},
    {"Bits8", "-colors 100 -type palette -compress None", 8, gdi::BI_RGB, false},
    {"Rle8", "-colors 100 -type palette -compress RLE", 8, gdi::BI_RLE8, false},
    {"Rle8FewColours", "-colors 9 -type palette -compress RLE", 8, gdi::BI_RLE8, false},
    {"Bits16Rgb555", "-define bmp:subtype=RGB555", 16, gdi::BI_BITFIELDS, false},
    {"Bits16Rgb565", "-define bmp:subtype=RGB565", 16, gdi::BI_BITFIELDS, false},
    {"Bits24", "-type truecolor", 24, gdi::BI_RGB, false},
    {"Bits32Bitfields", "-alpha set -type truecoloralpha", 32, gdi::BI_BITFIELDS, false},
    {"TopDownBits1", "-size 29x11 pattern:checkerboard -type bilevel", 1, gdi::BI_RGB, true},
    {"TopDownBits4", "-colors 12 -type palette -compress None", 4, gdi::BI_RGB, true},
    {"TopDownBits8", "-colors 100 -type palette -compress None", 8, gdi::BI_RGB, true},
    {"TopDownBits16", "-define bmp:subtype=RGB565", 16, gdi::BI_BITFIELDS, true},
    {"TopDownBits24", "-type truecolor", 24, gdi::BI_RGB, true},
    {"TopDownBits32", "-alpha set -type truecoloralpha", 32, gdi::BI_BITFIELDS, true},
};

class Picinfo : public ::testing::TestWithParam<TMagickCase> {};

TEST_P(Picinfo, AgreesWithImageMagick) {
  if (!TMagick::Available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const TMagickCase& C = GetParam();
  const TMagick Magick;
  const std::string Source = std::string(C.Arguments).find("pattern:") == std::string::npos ? Plasma : "";
  const bool V3 = C.Bits != 16 && C.Bits != 32;
  Bytes File = Magick.Make(Source + " " + C.Arguments, std::string(V3 ? "BMP3:" : "BMP:") + "made.bmp");
  ASSERT_GT(File.size(), 54u);
  ASSERT_EQ(GetLE(File, BitCount, 2), static_cast<uint32_t>(C.Bits)) << "ImageMagick wrote another depth";
  ASSERT_EQ(GetLE(File, Compression, 4), C.Compression) << "ImageMagick wrote another coding";
  if (C.TurnTopDown) File = TopDown(File);

  const std::filesystem::path Path = Magick.Folder() / "case.bmp";
  SaveFile(Path, File);
  const Bytes Rgba = Magick.Decode(File);
  Bytes Rgb;
  for (size_t I = 0; I < Rgba.size(); I += 4) Rgb.insert(Rgb.end(), Rgba.begin() + I, Rgba.begin() + I + 3);
  const std::string Expected = "picture 29 11 " + std::to_string(C.Bits) + " crc " + Hex(base::Crc32(Rgb.data(), Rgb.size())) + "\n";

  const TRun Run = RunPicinfo(Path, Magick.Folder());
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out, Expected);
}

INSTANTIATE_TEST_SUITE_P(Files, Picinfo, ::testing::ValuesIn(MagickCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// ImageMagick writes no RLE4, so the file is made here and only decoded by it.
Bytes Rle4File() {
  Bytes Table;
  for (int I = 0; I < 16; ++I) {
    const Bytes Entry{uint8_t(16 * I), uint8_t(255 - 9 * I), uint8_t(I * I), 0};
    Table.insert(Table.end(), Entry.begin(), Entry.end());
  }
  const Bytes Pixels{9, 0x12, 0, 0,                                  // encoded run
                     0, 5, 0x34, 0x56, 0x70, 0, 4, 0x89, 0, 0,       // absolute run, padded
                     3, 0xAA, 6, 0xBC, 0, 0,                         // two runs
                     9, 0xF0, 0, 1};                                 // last row, end of bitmap
  return BuildBMP({40, 9, 4, 4, gdi::BI_RLE4, 16}, Table, Pixels);
}

TEST(PicinfoFormats, Rle4AgreesWithImageMagick) {
  if (!TMagick::Available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const TMagick Magick;
  const Bytes File = Rle4File();
  SaveFile(Magick.Folder() / "rle4.bmp", File);
  const Bytes Rgba = Magick.Decode(File);
  Bytes Rgb;
  for (size_t I = 0; I < Rgba.size(); I += 4) Rgb.insert(Rgb.end(), Rgba.begin() + I, Rgba.begin() + I + 3);
  const TRun Run = RunPicinfo(Magick.Folder() / "rle4.bmp", Magick.Folder());
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out, "picture 9 4 4 crc " + Hex(base::Crc32(Rgb.data(), Rgb.size())) + "\n");
}

TEST(PicinfoFormats, ReadsWhatTheOtherRegisteredClassesRead) {
  if (!TMagick::Available()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const TMagick Magick;
  Magick.Make(std::string(Plasma) + " -quality 90", "JPEG:photo.jpg");
  const TRun Run = RunPicinfo(Magick.Folder() / "photo.jpg", Magick.Folder());
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out.substr(0, 20), "picture 29 11 24 crc");
}

TEST(PicinfoFailure, PrintsTheErrorAndExitsWithOne) {
  const TMagick Scratch;
  struct TCase {
    const char* FileName;
    Bytes Content;
    const char* Message;
  };
  Bytes Truncated = BuildBMP({40, 4, 4, 24}, {}, Bytes(20, 0));
  const TCase Cases[] = {
      {"short.bmp", Truncated, "Bitmap pixel data is truncated"},
      {"plain.bmp", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!'}, "Not a bitmap file"},
      {"thing.xyz", {1, 2, 3}, "Unknown picture file extension (.xyz)"},
  };
  for (const TCase& C : Cases) {
    const std::filesystem::path Path = Scratch.Folder() / C.FileName;
    SaveFile(Path, C.Content);
    const TRun Run = RunPicinfo(Path, Scratch.Folder());
    EXPECT_EQ(Run.Status, 1) << C.FileName;
    EXPECT_EQ(Run.Out, "") << C.FileName;
    EXPECT_EQ(Run.Err, std::string(C.Message) + "\n") << C.FileName;
  }
}

}  // namespace
