// Videos that ffmpeg writes at test time decode frame by frame as ffmpeg decodes them,
// and files the writer makes play in ffprobe with their frame count and rate.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/avi/AVIFile.h"
#include "platform/avi/AVIVideoReader.h"
#include "platform/avi/AVIWriter.h"
#include "tests/avi/AviTestSupport.h"

using namespace avitest;

namespace {

// The frame at Index as bgr24 rows, top row first, whatever its depth.
Bytes TopDownBGR(avi::TAVIVideoReader& Video, int32_t Index) {
  const gdi::BITMAPINFOHEADER& Header = Video.Frame(Video.Start() + Index);
  const auto* Table = reinterpret_cast<const gdi::RGBQUAD*>(reinterpret_cast<const uint8_t*>(&Header) + sizeof Header);
  const uint8_t* Bits = reinterpret_cast<const uint8_t*>(Table) + (Header.biBitCount <= 8 ? 4 << Header.biBitCount : 0);
  const int64_t Row = (int64_t{Header.biWidth} * Header.biBitCount + 31) / 32 * 4;
  Bytes Out;
  for (int Y = Header.biHeight - 1; Y >= 0; --Y)
    for (int X = 0; X < Header.biWidth; ++X) {
      const uint8_t* P = Bits + Y * Row;
      if (Header.biBitCount == 8) {
        const gdi::RGBQUAD& C = Table[P[X]];
        Out.insert(Out.end(), {C.rgbBlue, C.rgbGreen, C.rgbRed});
      } else {
        Out.insert(Out.end(), P + 3 * X, P + 3 * X + 3);
      }
    }
  return Out;
}

struct TPeerCase {
  const char* Codec;
  const char* PixelFormat;
  int Width;
  int Height;
  int Rate;
  // Per channel; the JPEG decoders smooth the chroma at the pattern's sharp edges differently.
  double MaxMeanDifference;
};

class FFmpegVideo : public ::testing::TestWithParam<TPeerCase> {};

TEST_P(FFmpegVideo, DecodesAsFFmpegDoes) {
  const TPeerCase Case = GetParam();
  const auto Dir = TempDir(std::string(Case.Codec) + Case.PixelFormat);
  const int Frames = 6;
  const auto Path = MakeVideo(Dir, "clip", Case.Codec, Case.PixelFormat, Case.Width, Case.Height, Case.Rate, Frames);
  avi::TAVIVideoReader Video(Path.string());
  ASSERT_EQ(Video.Length(), Frames);
  EXPECT_EQ(Video.Info().dwRate, static_cast<uint32_t>(Case.Rate));
  EXPECT_EQ(Video.Info().dwScale, 1u);
  const Bytes Expected = DecodeWithFFmpeg(Path);
  const size_t FrameBytes = size_t{3} * Case.Width * Case.Height;
  ASSERT_EQ(Expected.size(), FrameBytes * Frames);
  for (int Index = 0; Index < Frames; ++Index) {
    const Bytes Got = TopDownBGR(Video, Index);
    ASSERT_EQ(Got.size(), FrameBytes);
    double Sum = 0;
    for (size_t I = 0; I < FrameBytes; ++I) Sum += std::abs(Got[I] - Expected[Index * FrameBytes + I]);
    EXPECT_LE(Sum / FrameBytes, Case.MaxMeanDifference) << "frame " << Index;
  }
  std::filesystem::remove_all(Dir);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FFmpegVideo,
                         ::testing::Values(TPeerCase{"rawvideo", "bgr24", 33, 20, 15, 0},
                                           TPeerCase{"rawvideo", "pal8", 31, 17, 10, 0},
                                           TPeerCase{"mjpeg", "yuvj420p", 160, 96, 25, 6}),
                         [](const auto& Info) { return std::string(Info.param.Codec) + "_" + Info.param.PixelFormat; });

// Writes Frames frames of a 6 x 4 8-bit picture; the frame at Skip is left out.
avi::HRESULT WriteVideo(const std::string& FileName, int Frames, int Skip, uint32_t Scale, uint32_t Rate) {
  avi::AVIFileInit();
  avi::PAVIFILE File = nullptr;
  avi::PAVISTREAM Stream = nullptr;
  EXPECT_EQ(avi::AVIFileOpenA(&File, FileName, avi::OF_CREATE | avi::OF_WRITE), avi::AVIERR_OK);
  avi::AVISTREAMINFOA Info;
  Info.fccType = avi::streamtypeVIDEO;
  Info.dwScale = Scale;
  Info.dwRate = Rate;
  EXPECT_EQ(avi::AVIFileCreateStreamA(File, &Stream, &Info), avi::AVIERR_OK);
  const Bytes Header = Format(6, 4, 8, gdi::BI_RGB, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, 4);
  EXPECT_EQ(avi::AVIStreamSetFormat(Stream, 0, Header.data(), static_cast<int32_t>(Header.size())), avi::AVIERR_OK);
  for (int Index = 0; Index < Frames; ++Index) {
    if (Index == Skip) continue;
    const Bytes Pixels(8 * 4, static_cast<uint8_t>(Index % 4));
    EXPECT_EQ(avi::AVIStreamWrite(Stream, Index, 1, Pixels.data(), 32, avi::AVIIF_KEYFRAME, nullptr, nullptr),
              avi::AVIERR_OK);
  }
  avi::AVIStreamRelease(Stream);
  const avi::HRESULT Result = avi::AVIFileRelease(File);
  avi::AVIFileExit();
  return Result;
}

TEST(AVIWriter, FilesPlayInFFprobeAndReadBack) {
  const auto Dir = TempDir("writer");
  const std::string Name = (Dir / "out.avi").string();
  ASSERT_EQ(WriteVideo(Name, 5, 2, 20, 100), avi::AVIERR_OK);
  const std::string Probe = RunCommand("ffprobe -v error -select_streams v:0 -count_packets -show_entries "
                                "stream=nb_frames,r_frame_rate,width,height -of csv=p=0 '" + Name + "'");
  EXPECT_EQ(Probe, "6,4,5/1,5\n");
  avi::TAVIVideoReader Video(Name);
  EXPECT_EQ(Video.Length(), 5);
  EXPECT_EQ(Video.Info().dwScale, 20u);
  EXPECT_EQ(Video.Info().dwRate, 100u);
  // The frame left out is an empty chunk, which shows the one before it.
  const auto Bits = [&](int I) {
    const auto& H = Video.Frame(I);
    return reinterpret_cast<const uint8_t*>(&H) + sizeof H + 1024;
  };
  EXPECT_EQ(Bits(2)[0], 1);
  EXPECT_EQ(Bits(3)[0], 3);
  std::filesystem::remove_all(Dir);
}

TEST(AVIWriter, AFailedFileLeavesTheOldOneAlone) {
  const auto Dir = TempDir("writer-fail");
  const auto Name = Dir / "old.avi";
  SaveFile(Name, Bytes{'o', 'l', 'd'});
  {
    // A limit of 2 KiB stands in for 2 GiB.
    avi::TAVIWriter Writer(Name.string(), 2048);
    avi::AVISTREAMINFOA Info;
    Info.fccType = avi::streamtypeVIDEO;
    ASSERT_TRUE(Writer.CreateStream(Info));
    const Bytes Header = Format(32, 32, 8);
    ASSERT_TRUE(Writer.SetFormat(Header.data(), static_cast<int32_t>(Header.size())));
    const Bytes Pixels(1024, 1);
    EXPECT_TRUE(Writer.Write(0, Pixels.data(), 1024, avi::AVIIF_KEYFRAME));
    EXPECT_FALSE(Writer.Write(1, Pixels.data(), 1024, avi::AVIIF_KEYFRAME));
    EXPECT_FALSE(Writer.Write(0, Pixels.data(), 1024, avi::AVIIF_KEYFRAME)) << "a position written before";
  }
  EXPECT_EQ(LoadFile(Name), (Bytes{'o', 'l', 'd'}));
  // A file released before it has a format is not written.
  avi::AVIFileInit();
  avi::PAVIFILE File = nullptr;
  ASSERT_EQ(avi::AVIFileOpenA(&File, Name.string(), avi::OF_CREATE | avi::OF_WRITE), avi::AVIERR_OK);
  EXPECT_EQ(avi::AVIFileRelease(File), avi::AVIERR_FILEWRITE);
  avi::AVIFileExit();
  EXPECT_EQ(LoadFile(Name), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1) << "a temporary file stayed";
  std::filesystem::remove_all(Dir);
}

TEST(AVIFile, NothingOpensOutsideInitAndExit) {
  avi::PAVIFILE File = nullptr;
  EXPECT_EQ(avi::AVIFileOpenStream(&File, std::make_unique<base::TMemoryStream>()), avi::AVIERR_NOTINITIALIZED);
  EXPECT_EQ(File, nullptr);
}

}  // namespace
