// Frames whose chunks do not hold what their format needs, and frames that repeat the
// picture before them: the decoder checks before it allocates and keeps one picture.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/avi/AVIFrameDecoder.h"
#include "tests/avi/AviTestSupport.h"
#include "tests/graphics/AllocationWatch.h"

using namespace avitest;

namespace {

struct TDecoding {
  explicit TDecoding(const Bytes& File) : Stream(File) {
    const avi::TAVIContainer Container = avi::ReadAVIContainer(Stream);
    Decoder = std::make_unique<avi::TAVIFrameDecoder>(Stream, Container.Streams.at(0).Format,
                                                      avi::ReadStreamChunks(Stream, Container, 0));
  }
  base::TMemoryStream Stream;
  std::unique_ptr<avi::TAVIFrameDecoder> Decoder;
};

TAviSpec Spec(Bytes Format, std::vector<TChunk> Chunks) {
  TAviSpec S;
  S.Format = std::move(Format);
  S.Chunks = std::move(Chunks);
  return S;
}

TEST(HostileFrames, AChunkTooShortForItsFormatIsRefusedBeforeThePictureIsMade) {
  const Bytes NotJPEG = {0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8, 0x20, 0, 0x20, 0, 3, 1, 0x11, 0, 2};
  const struct {
    const char* Name;
    Bytes File;
    const char* Text;  // none: the JPEG reader's own text
  } Cases[] = {
      {"32 bits, 8192 x 8192, a 16-byte chunk", BuildAvi(Spec(Format(8192, 8192, 32), {{"00db", Bytes(16, 7)}})),
       "AVI frame is truncated"},
      {"the same stored top-down", BuildAvi(Spec(Format(8192, -8192, 32), {{"00db", Bytes(16, 7)}})),
       "AVI frame is truncated"},
      {"RLE8 with a 1-byte chunk", BuildAvi(Spec(Format(8192, 8192, 8, gdi::BI_RLE8), {{"00dc", {0}}})),
       "AVI frame is truncated"},
      {"RLE8 delta with a 1-byte chunk after a good frame",
       BuildAvi(Spec(Format(8192, 8192, 8, gdi::BI_RLE8), {{"00dc", {0, 1}}, {"00dc", {0}, 0}})),
       "AVI frame is truncated"},
      {"MJPEG with 16 bytes of header", BuildAvi(Spec(Format(8192, 8192, 24, avi::MakeFourCC("MJPG")), {{"00dc", NotJPEG}})),
       nullptr},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TDecoding Decoding(Case.File);
    const int32_t Last = Decoding.Decoder->FrameCount() - 1;
    if (Last > 0) Decoding.Decoder->Frame(0);
    std::string Refusal = "decoded";
    {
      const bmptest::TAllocationWatch Watch;
      try {
        Decoding.Decoder->Frame(Last);
      } catch (const std::exception& Error) {
        Refusal = Error.what();
      }
      EXPECT_LT(bmptest::TAllocationWatch::Largest(), size_t{4} << 20) << "a few megabytes at most";
    }
    if (Case.Text != nullptr)
      EXPECT_EQ(Refusal, Case.Text);
    else
      EXPECT_NE(Refusal, "decoded");
  }
}

TEST(HostileFrames, FramesThatRepeatThePictureBeforeThemAreKnownWithoutDecoding) {
  const Bytes Rle = Format(4, 1, 8, gdi::BI_RLE8);
  const Bytes EndOfBitmap = {0, 1};
  const struct {
    const char* Name;
    Bytes File;
    std::vector<bool> Repeats;
  } Cases[] = {
      {"empty chunks", BuildAvi(Spec(Format(4, 1, 8), {{"00db", {1, 2, 3, 4}}, {"00db", {}}, {"00db", {}, 0}, {"00db", {4, 3, 2, 1}}})),
       {false, true, true, false}},
      {"RLE deltas that only end the bitmap",
       BuildAvi(Spec(Rle, {{"00dc", {4, 9, 0, 1}}, {"00dc", EndOfBitmap, 0}, {"00dc", {}, 0}, {"00dc", {1, 5, 0, 1}, 0},
                           {"00dc", EndOfBitmap}})),
       {false, true, true, false, false}},
      {"a palette change", BuildAvi(Spec(Format(4, 1, 8), {{"00db", {1, 2, 3, 4}}, {"00pc", {0, 1, 0, 0, 9, 9, 9, 0}}, {"00db", {}}})),
       {false, false}},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TDecoding Decoding(Case.File);
    ASSERT_EQ(Decoding.Decoder->FrameCount(), static_cast<int32_t>(Case.Repeats.size()));
    for (int32_t I = 0; I < Decoding.Decoder->FrameCount(); ++I) {
      EXPECT_EQ(Decoding.Decoder->Repeats(I), Case.Repeats[static_cast<size_t>(I)]) << "frame " << I;
      if (I > 0 && Case.Repeats[static_cast<size_t>(I)]) {
        const std::vector<uint8_t> Before = Decoding.Decoder->Frame(I - 1);
        EXPECT_EQ(Decoding.Decoder->Frame(I), Before) << "frame " << I << " shows the picture before it";
      }
    }
  }
}

}  // namespace
