// The AVI reader on files built byte by byte: every depth and layout, RLE deltas,
// palette changes, empty chunks, the kinds of index, and the failures with their texts.
#include <gtest/gtest.h>

#include <memory>

#include "platform/avi/AVIVideoReader.h"
#include "platform/graphics/JPEGImageCodec.h"
#include "tests/avi/AviTestSupport.h"

using namespace avitest;

namespace {

std::unique_ptr<avi::TAVIVideoReader> Open(const Bytes& File) {
  return std::make_unique<avi::TAVIVideoReader>(std::make_unique<base::TMemoryStream>(File));
}

std::string OpenFailure(const Bytes& File) {
  try {
    Open(File);
  } catch (const avi::EAVIError& Error) {
    return Error.what();
  }
  return "opened";
}

// The colour table and the pixel rows of a packed DIB.
struct TFrame {
  gdi::BITMAPINFOHEADER Header;
  std::vector<uint32_t> Table;
  Bytes Bits;
};

TFrame FrameAt(avi::TAVIVideoReader& Video, int32_t Index) {
  const gdi::BITMAPINFOHEADER& Header = Video.Frame(Video.Start() + Index);
  TFrame Frame{Header, {}, {}};
  const auto* Table = reinterpret_cast<const uint8_t*>(&Header) + sizeof Header;
  const size_t Entries = Header.biBitCount <= 8 ? size_t{1} << Header.biBitCount
                         : Header.biCompression == gdi::BI_BITFIELDS ? 3 : 0;
  Frame.Table.resize(Entries);
  if (Entries > 0) std::memcpy(Frame.Table.data(), Table, Entries * 4);
  Frame.Bits.assign(Table + Entries * 4, Table + Entries * 4 + Header.biSizeImage);
  return Frame;
}

TAviSpec Spec(Bytes Format, std::vector<TChunk> Chunks) {
  TAviSpec S;
  S.Format = std::move(Format);
  S.Chunks = std::move(Chunks);
  return S;
}

struct TDepthCase {
  uint16_t Bits;
  uint32_t Compression;
  bool TopDown;
};

class UncompressedDepth : public ::testing::TestWithParam<TDepthCase> {};

TEST_P(UncompressedDepth, ComesOutBottomUpAtItsOwnDepth) {
  const TDepthCase Case = GetParam();
  const int32_t Width = 5, Height = 3;
  const auto Row = static_cast<size_t>((Width * Case.Bits + 31) / 32 * 4);
  Bytes Data;
  for (int Y = 0; Y < Height; ++Y) Data.insert(Data.end(), Row, static_cast<uint8_t>(0x11 * (Y + 1)));
  std::vector<uint32_t> Table;
  if (Case.Bits <= 8) Table.assign(size_t{1} << Case.Bits, 0x00102030);
  if (Case.Compression == gdi::BI_BITFIELDS) Table = Case.Bits == 16 ? std::vector<uint32_t>{0xF800, 0x07E0, 0x001F}
                                                                      : std::vector<uint32_t>{0xFF0000, 0xFF00, 0xFF};
  auto Video = Open(BuildAvi(Spec(Format(Width, Case.TopDown ? -Height : Height, Case.Bits, Case.Compression, Table),
                                  {{"00db", Data}})));
  const TFrame Frame = FrameAt(*Video, 0);
  EXPECT_EQ(Frame.Header.biBitCount, Case.Bits);
  EXPECT_EQ(Frame.Header.biHeight, Height);
  EXPECT_EQ(Frame.Header.biCompression, Case.Compression);
  EXPECT_EQ(Frame.Header.biSizeImage, Row * Height);
  EXPECT_EQ(Frame.Table, Table);
  for (int Y = 0; Y < Height; ++Y)
    EXPECT_EQ(Frame.Bits[Y * Row], 0x11 * (Case.TopDown ? Height - Y : Y + 1)) << "row " << Y;
}

INSTANTIATE_TEST_SUITE_P(Layouts, UncompressedDepth,
                         ::testing::Values(TDepthCase{1, gdi::BI_RGB, false}, TDepthCase{4, gdi::BI_RGB, false},
                                           TDepthCase{8, gdi::BI_RGB, true}, TDepthCase{16, gdi::BI_RGB, false},
                                           TDepthCase{24, gdi::BI_RGB, true}, TDepthCase{32, gdi::BI_RGB, false},
                                           TDepthCase{16, gdi::BI_BITFIELDS, true},
                                           TDepthCase{32, gdi::BI_BITFIELDS, false}),
                         [](const auto& Info) {
                           return std::to_string(Info.param.Bits) +
                                  (Info.param.Compression == gdi::BI_BITFIELDS ? "Fields" : "RGB") +
                                  (Info.param.TopDown ? "TopDown" : "BottomUp");
                         });

TEST(AVIReader, RLE8DeltasKeepWhatTheyDoNotTouch) {
  const Bytes Key = {8, 1, 0, 0, 8, 2, 0, 1};               // bottom row 1s, top row 2s
  const Bytes Delta = {0, 2, 3, 0, 2, 9, 0, 1};             // two 9s from x = 3
  const Bytes Literal = {0, 3, 5, 6, 7, 0, 0, 1};           // 5 6 7 from x = 0
  const Bytes OffFrame = {0, 2, 200, 200, 3, 4, 0, 1};      // a jump beyond the frame
  auto Video = Open(BuildAvi(Spec(Format(8, 2, 8, gdi::BI_RLE8),
                                  {{"00dc", Key}, {"00dc", Delta, 0}, {"00dc", Literal, 0}, {"00dc", OffFrame, 0}})));
  // Straight to frame 2 decodes from the key frame; then one back starts over.
  EXPECT_EQ(FrameAt(*Video, 2).Bits, (Bytes{5, 6, 7, 9, 9, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(FrameAt(*Video, 1).Bits, (Bytes{1, 1, 1, 9, 9, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(FrameAt(*Video, 3).Bits, (Bytes{5, 6, 7, 9, 9, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST(AVIReader, RLE4DeltasChangeSingleNibbles) {
  auto Video = Open(BuildAvi(
      Spec(Format(8, 1, 4, gdi::BI_RLE4), {{"00dc", {8, 0x12, 0, 1}}, {"00dc", {0, 2, 1, 0, 2, 0x33, 0, 1}, 0}})));
  EXPECT_EQ(FrameAt(*Video, 1).Bits, (Bytes{0x13, 0x32, 0x12, 0x12}));
}

TEST(AVIReader, PaletteChangesHoldFromTheirFrameOn) {
  const Bytes Change = {1, 1, 0, 0, 0x00, 0x00, 0xFF, 0};  // entry 1 becomes blue
  auto Video = Open(BuildAvi(Spec(Format(2, 1, 8, gdi::BI_RGB, {0xFF0000, 0x00FF00}),
                                  {{"00db", {0, 1, 0, 0}}, {"00pc", Change, 0}, {"00db", {1, 0, 0, 0}},
                                   {"00db", {1, 1, 0, 0}}})));
  EXPECT_EQ(Video->Info().dwFormatChangeCount, 1u);
  EXPECT_EQ(FrameAt(*Video, 0).Table[1], 0x00FF00u);
  EXPECT_EQ(FrameAt(*Video, 2).Table[1], 0x0000FFu);
  EXPECT_EQ(FrameAt(*Video, 1).Table[1], 0x0000FFu);
  EXPECT_EQ(FrameAt(*Video, 0).Table[1], 0x00FF00u);
  EXPECT_EQ(FrameAt(*Video, 0).Table.size(), 256u);
}

TEST(AVIReader, ColourTableIsBoundedByTheDepthAndTheBytesPresent) {
  std::vector<uint32_t> Twenty;
  for (uint32_t I = 0; I < 20; ++I) Twenty.push_back(I + 1);
  auto Four = Open(BuildAvi(Spec(Format(8, 1, 4, gdi::BI_RGB, Twenty, 1000), {{"00db", Bytes(4)}})));
  EXPECT_EQ(FrameAt(*Four, 0).Table, std::vector<uint32_t>(Twenty.begin(), Twenty.begin() + 16));
  auto Eight = Open(BuildAvi(Spec(Format(4, 1, 8, gdi::BI_RGB, {7, 8, 9, 10, 11}, 3), {{"00db", Bytes(4)}})));
  const TFrame Frame = FrameAt(*Eight, 0);
  EXPECT_EQ(std::vector<uint32_t>(Frame.Table.begin(), Frame.Table.begin() + 4), (std::vector<uint32_t>{7, 8, 9, 0}));
}

TEST(AVIReader, AnEmptyChunkRepeatsThePictureBeforeIt) {
  auto Video = Open(BuildAvi(Spec(Format(4, 1, 8), {{"00db", {}}, {"00db", {1, 2, 3, 4}}, {"00db", {}, 0}})));
  ASSERT_EQ(Video->Length(), 3);
  EXPECT_EQ(FrameAt(*Video, 0).Bits, (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(FrameAt(*Video, 2).Bits, (Bytes{1, 2, 3, 4}));
}

TEST(AVIReader, EveryKindOfIndexFindsTheSameFrames) {
  TAviSpec Base = Spec(Format(4, 1, 8), {{"00db", {1, 1, 1, 1}}, {"00db", {2, 2, 2, 2}}, {"00db", {3, 3, 3, 3}}});
  Base.Length = 10;  // the header claims more than the file holds
  for (const TIndex Index : {TIndex::Relative, TIndex::Absolute, TIndex::None})
    for (const bool Records : {false, true})
      for (const bool AudioFirst : {false, true}) {
        TAviSpec S = Base;
        S.Index = Index;
        S.Records = Records;
        S.AudioFirst = AudioFirst;
        auto Video = Open(BuildAvi(S));
        EXPECT_EQ(Video->Length(), 3) << int(Index) << Records << AudioFirst;
        EXPECT_EQ(FrameAt(*Video, 1).Bits, (Bytes{2, 2, 2, 2})) << int(Index) << Records << AudioFirst;
      }
  // An index entry reaching past the data ends the list there.
  Bytes File = BuildAvi(Base);
  const uint32_t Huge = 0xFFFF;
  std::memcpy(File.data() + File.size() - 4, &Huge, 4);
  EXPECT_EQ(Open(File)->Length(), 2);
}

TEST(AVIReader, PositionsCountFromTheStreamStart) {
  TAviSpec S = Spec(Format(4, 1, 8), {{"00db", {1, 1, 1, 1}}, {"00db", {2, 2, 2, 2}}});
  S.Start = 5;
  auto Video = Open(BuildAvi(S));
  EXPECT_EQ(Video->Start(), 5);
  EXPECT_EQ(Video->Frame(6).biWidth, 4);
  EXPECT_THROW(Video->Frame(0), avi::EAVIError);
  EXPECT_THROW(Video->Frame(7), avi::EAVIError);
}

TEST(AVIReader, MJPEGFramesDecodeThroughLibjpegAtTheirFormatSize) {
  graphics::TDIBImage Picture;
  Picture.Width = 16;
  Picture.Height = 8;
  Picture.BitCount = 24;
  Picture.Bits.assign(static_cast<size_t>(Picture.RowBytes() * 8), 0);
  for (int64_t I = 0; I < Picture.RowBytes() * 4; I += 3) Picture.Bits[I + 2] = 200;  // the bottom half red
  const Bytes JPEG = graphics::EncodeJPEG(Picture, 95, false);
  auto Video = Open(BuildAvi(Spec(Format(16, 8, 24, avi::MakeFourCC("MJPG")), {{"00dc", JPEG}})));
  const TFrame Frame = FrameAt(*Video, 0);
  EXPECT_EQ(Frame.Header.biBitCount, 24);
  EXPECT_EQ(Frame.Header.biCompression, gdi::BI_RGB);
  EXPECT_NEAR(Frame.Bits[2], 200, 40);
  EXPECT_NEAR(Frame.Bits[Picture.RowBytes() * 7 + 2], 0, 40);
  // The same picture in a stream of another size is refused.
  auto Other = Open(BuildAvi(Spec(Format(8, 8, 24, avi::MakeFourCC("MJPG")), {{"00dc", JPEG}})));
  EXPECT_THROW(Other->Frame(0), avi::EAVIError);
}

struct TFailureCase {
  const char* Name;
  Bytes File;
  const char* Text;
};

TEST(AVIReader, EachFailureCarriesItsText) {
  TAviSpec Audio = Spec(Bytes(18, 0), {});
  Audio.Type = "auds";
  const Bytes Good = BuildAvi(Spec(Format(4, 1, 8), {{"00db", {1, 2, 3, 4}}}));
  const std::vector<TFailureCase> Cases = {
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 0, 0, 0, 0}, "Failed to open AVI file"},
      {"truncated headers", Bytes(Good.begin(), Good.begin() + 40), "Failed to open AVI file"},
      {"no video", BuildAvi(Audio), "Failed to open AVI stream"},
      {"unknown codec", BuildAvi(Spec(Format(4, 1, 24, avi::MakeFourCC("XVID")), {})), "Failed to start AVI decompression"},
      {"too wide", BuildAvi(Spec(Format(70000, 1, 8), {})), "Failed to start AVI decompression"},
      {"too large", BuildAvi(Spec(Format(16384, 16384, 8), {})), "Failed to start AVI decompression"},
      {"two planes", [] { Bytes F = Format(4, 1, 8); F[12] = 2; return BuildAvi(Spec(F, {})); }(),
       "Failed to start AVI decompression"},
      {"short format", BuildAvi(Spec(Bytes(20, 0), {})), "Failed to start AVI decompression"},
      {"top-down RLE", BuildAvi(Spec(Format(4, -1, 8, gdi::BI_RLE8), {})), "Failed to start AVI decompression"},
      {"bad masks", BuildAvi(Spec(Format(4, 1, 16, gdi::BI_BITFIELDS, {0xF0F0, 0, 0}), {})),
       "Failed to start AVI decompression"},
  };
  for (const TFailureCase& Case : Cases) EXPECT_EQ(OpenFailure(Case.File), Case.Text) << Case.Name;

  auto Short = Open(BuildAvi(Spec(Format(4, 2, 8), {{"00db", {1, 2, 3, 4}}})));
  try {
    Short->Frame(0);
    ADD_FAILURE() << "a short frame decoded";
  } catch (const avi::EAVIError& Error) {
    EXPECT_STREQ(Error.what(), "Failed to decompress AVI frame");
  }
  auto Truncated = Open(BuildAvi(Spec(Format(8, 1, 8, gdi::BI_RLE8), {{"00dc", {2, 1}}})));
  EXPECT_THROW(Truncated->Frame(0), avi::EAVIError);
}

TEST(AVIReader, AFileCutShortKeepsTheFramesItStillHolds) {
  Bytes File = BuildAvi(Spec(Format(4, 1, 8), {{"00db", {1, 1, 1, 1}}, {"00db", {2, 2, 2, 2}}, {"00db", {3, 3, 3, 3}}}));
  // Without the index and the last chunk's data.
  File.resize(File.size() - (8 + 3 * 16) - 2);
  auto Video = Open(File);
  EXPECT_EQ(Video->Length(), 2);
  EXPECT_EQ(FrameAt(*Video, 1).Bits, (Bytes{2, 2, 2, 2}));
}

}  // namespace
