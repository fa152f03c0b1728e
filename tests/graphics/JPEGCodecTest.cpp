// The JPEG codec over libjpeg: round trips within an error bound, greyscale, files of
// another encoder (progressive, CMYK, grey), and refusals of bad data.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/JPEGImageCodec.h"
#include "tests/graphics/AllocationWatch.h"
#include "tests/graphics/PictureTestSupport.h"

using namespace picturetest;
using graphics::TDIBImage;

namespace {

TDIBImage Decode(const Bytes& File, const graphics::TJPEGReadOptions& Options = {}) {
  base::TMemoryStream Stream(File);
  return graphics::ReadJPEG(Stream, Options);
}

// The offset of the first marker Code (FF Code) after the start of image.
size_t FindMarker(const Bytes& File, uint8_t Code) {
  for (size_t I = 2; I + 1 < File.size(); ++I)
    if (File[I] == 0xFF && File[I + 1] == Code) return I;
  return File.size();
}

TEST(JPEGCodec, RoundTripStaysWithinTheErrorBoundOfItsQuality) {
  const TDIBImage Original = Gradient(67, 45);
  struct TCase {
    int Quality;
    double MinPSNR;
  };
  for (const TCase& C : {TCase{100, 36}, TCase{90, 34}, TCase{50, 28}}) {
    const TDIBImage Back = Decode(graphics::EncodeJPEG(Original, C.Quality, false));
    ASSERT_EQ(Back.BitCount, 24);
    ASSERT_EQ(Back.Width, 67);
    ASSERT_EQ(Back.Height, 45);
    EXPECT_TRUE(Back.Colors.empty());
    EXPECT_GE(PSNR(Original, Back), C.MinPSNR) << "quality " << C.Quality;
  }
}

TEST(JPEGCodec, LowerQualityMakesSmallerFilesWithLargerErrors) {
  const TDIBImage Original = Gradient(64, 64);
  const Bytes Low = graphics::EncodeJPEG(Original, 0, false);
  const Bytes High = graphics::EncodeJPEG(Original, 95, false);
  EXPECT_LT(Low.size(), High.size());
  EXPECT_LT(PSNR(Original, Decode(Low)), PSNR(Original, Decode(High)));
  EXPECT_EQ(Decode(Low).Width, 64);
}

TEST(JPEGCodec, GrayscaleWritesOneComponentThatLoadsAsEightBitGrey) {
  const TDIBImage Original = Gradient(40, 30);
  const Bytes File = graphics::EncodeJPEG(Original, 95, true);
  const size_t Frame = FindMarker(File, 0xC0);
  ASSERT_LT(Frame + 9, File.size());
  EXPECT_EQ(File[Frame + 9], 1) << "component count";
  const TDIBImage Back = Decode(File);
  ASSERT_EQ(Back.BitCount, 8);
  ASSERT_EQ(Back.Colors.size(), 256u);
  for (int I = 0; I < 256; ++I)
    EXPECT_TRUE(Back.Colors[I].rgbRed == I && Back.Colors[I].rgbGreen == I && Back.Colors[I].rgbBlue == I);
  int Worst = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      const uint8_t* P = Pixel24(Original, X, Y);
      const double Luma = 0.299 * P[2] + 0.587 * P[1] + 0.114 * P[0];
      const int Stored = Back.Bits[(29 - Y) * Back.RowBytes() + X];
      Worst = std::max(Worst, static_cast<int>(std::abs(Stored - Luma)));
    }
  EXPECT_LE(Worst, 8);
}

TEST(JPEGCodec, EncodingRefusesPixelsItCannotWrite) {
  TDIBImage Eight{.Width = 2, .Height = 2, .BitCount = 8, .Colors = {{}}, .Bits = Bytes(8)};
  EXPECT_THROW(graphics::EncodeJPEG(Eight, 50, false), base::EInvalidGraphicOperation);
  TDIBImage Short = Gradient(4, 4);
  Short.Bits.resize(10);
  EXPECT_THROW(graphics::EncodeJPEG(Short, 50, false), base::EInvalidGraphicOperation);
}

TEST(JPEGCodec, FilesOfAnotherEncoderLoad) {
  REQUIRE_MAGICK();
  const TScratch Dir;
  const TDIBImage Original = Gradient(50, 40);
  {
    base::TMemoryStream Bmp;
    graphics::WriteBMP(Bmp, Original);
    SaveFile(Dir / "in.bmp", Bmp.Bytes());
  }
  struct TCase {
    const char* Name;
    const char* Arguments;
    int BitCount;
    double MinPSNR;
  };
  const TCase Cases[] = {
      {"baseline", "-quality 92", 24, 32},
      {"progressive", "-quality 92 -interlace Plane", 24, 32},
      {"cmyk", "-quality 95 -colorspace CMYK", 24, 24},
      {"grey", "-quality 92 -colorspace Gray", 8, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::string Name = std::string(C.Name) + ".jpg";
    ASSERT_TRUE(Dir.Convert("in.bmp " + std::string(C.Arguments) + " " + Name));
    const Bytes File = LoadFile(Dir / Name);
    if (std::string(C.Name) == "progressive") {
      EXPECT_LT(FindMarker(File, 0xC2), File.size());
    }
    const TDIBImage Back = Decode(File);
    ASSERT_EQ(Back.BitCount, C.BitCount);
    ASSERT_EQ(Back.Width, 50);
    ASSERT_EQ(Back.Height, 40);
    if (C.BitCount == 24) {
      EXPECT_GE(PSNR(Original, Back), C.MinPSNR);
    }
  }
}

TEST(JPEGCodec, TruncatedScanDataDecodesAsFarAsItGoes) {
  const Bytes File = graphics::EncodeJPEG(Gradient(64, 64), 90, false);
  const Bytes Cut(File.begin(), File.begin() + FindMarker(File, 0xDA) + 40);
  const TDIBImage Back = Decode(Cut);
  EXPECT_EQ(Back.Width, 64);
  EXPECT_EQ(Back.Height, 64);
}

TEST(JPEGCodec, BadDataRaisesInvalidGraphicWithLibjpegsReason) {
  const Bytes Good = graphics::EncodeJPEG(Gradient(16, 16), 75, false);
  const size_t Frame = FindMarker(Good, 0xC0);
  auto Patched = [&](size_t At, std::initializer_list<uint8_t> Values) {
    Bytes B = Good;
    std::copy(Values.begin(), Values.end(), B.begin() + At);
    return B;
  };
  struct TCase {
    const char* Name;
    Bytes File;
    const char* Reason;
  };
  const TCase Cases[] = {
      {"empty", {}, "Not a JPEG file"},
      {"bitmap", {'B', 'M', 0, 0, 0, 0, 0, 0}, "Not a JPEG file"},
      {"header cut", Bytes(Good.begin(), Good.begin() + Frame + 4), ""},
      {"zero width", Patched(Frame + 7, {0, 0}), ""},
      {"zero components", Patched(Frame + 9, {0}), ""},
      {"bad precision", Patched(Frame + 4, {7}), ""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    try {
      Decode(C.File);
      ADD_FAILURE() << "loaded";
    } catch (const base::EInvalidGraphic& E) {
      const std::string Text = E.what();
      EXPECT_EQ(Text.rfind("Invalid JPEG data: ", 0), 0u) << Text;
      EXPECT_NE(Text.find(C.Reason), std::string::npos) << Text;
      EXPECT_GT(Text.size(), std::string("Invalid JPEG data: ").size()) << Text;
    }
  }
}

TEST(JPEGCodec, ProgressiveFilesWithEndlessScansAreRefused) {
  REQUIRE_MAGICK();
  const TScratch Dir;
  ASSERT_TRUE(Dir.Convert("-size 16x16 gradient:red-blue -interlace Plane p.jpg"));
  const Bytes File = LoadFile(Dir / "p.jpg");
  // The first scan (its header and data, up to the next marker) repeated: libjpeg only
  // warns about the progression, so without a limit it would decode every copy.
  const size_t Scan = FindMarker(File, 0xDA);
  size_t End = Scan + 2;
  while (End + 1 < File.size() && !(File[End] == 0xFF && File[End + 1] != 0 && (File[End + 1] & 0xF8) != 0xD0)) ++End;
  ASSERT_LT(End, File.size());
  Bytes Endless(File.begin(), File.begin() + Scan);
  for (int I = 0; I < 1100; ++I) Endless.insert(Endless.end(), File.begin() + Scan, File.begin() + End);
  Endless.insert(Endless.end(), {0xFF, 0xD9});
  try {
    Decode(Endless);
    ADD_FAILURE() << "decoded";
  } catch (const base::EInvalidGraphic& E) {
    EXPECT_STREQ(E.what(), "Invalid JPEG data: more than 1000 scans");
  }
  EXPECT_EQ(Decode(File).Width, 16);
}

TEST(JPEGCodec, OversizedImagesAreRefusedBeforeTheirPixelsAreAllocated) {
  Bytes File = graphics::EncodeJPEG(Gradient(16, 16), 75, false);
  const size_t Frame = FindMarker(File, 0xC0);
  PutAt(File, Frame + 5, 0xE8FD, 2);  // 65000 rows, big-endian
  PutAt(File, Frame + 7, 0xE8FD, 2);
  {
    const bmptest::TAllocationWatch Watch;
    EXPECT_THROW(Decode(File), base::EInvalidGraphic);
    EXPECT_LT(bmptest::TAllocationWatch::Largest(), size_t(1) << 20);
  }
  PutAt(File, Frame + 5, 0x0001, 2);  // 256 x 256 against a limit of 10000 pixels
  PutAt(File, Frame + 7, 0x0001, 2);
  EXPECT_THROW(Decode(File, {.MaxPixels = 10000}), base::EInvalidGraphic);
  EXPECT_EQ(Decode(File, {.MaxPixels = 65536}).Width, 256);
}

}  // namespace
