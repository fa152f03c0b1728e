// Frames read from damaged or unusual streams: what is read is kept, and every
// later block is still found.
#include <gtest/gtest.h>

#include "CodecTestSupport.h"
#include "GIFTestSupport.h"
#include "gif/GIFImage.h"

using namespace gif;
using giftest::Concat;
using giftest::Header;
using giftest::WarningLog;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Descriptor(uint16_t Width, uint16_t Height, uint8_t Packed = 0, uint16_t Left = 0, uint16_t Top = 0) {
  return {',', static_cast<uint8_t>(Left), static_cast<uint8_t>(Left >> 8), static_cast<uint8_t>(Top),
          static_cast<uint8_t>(Top >> 8), static_cast<uint8_t>(Width), static_cast<uint8_t>(Width >> 8),
          static_cast<uint8_t>(Height), static_cast<uint8_t>(Height >> 8), Packed};
}

Bytes Control(uint8_t Flags, uint8_t Transparent) { return {'!', 0xF9, 4, Flags, 0, 0, Transparent, 0}; }

// Image data of the pixels as roots only, in sub-blocks of BlockSize bytes.
Bytes PixelData(int MinCodeSize, const Bytes& Pixels, size_t BlockSize = 255) {
  codectest::TCodeStream Stream(MinCodeSize);
  Stream.Add(1 << MinCodeSize);
  for (const uint8_t Pixel : Pixels) Stream.Add(Pixel);
  Stream.Add((1 << MinCodeSize) + 1);
  return Stream.Data(BlockSize);
}

const Bytes TwoColors = {0, 0, 0, 255, 255, 255};

struct TLoaded {
  std::unique_ptr<TGIFImage> Image = std::make_unique<TGIFImage>();
  std::vector<std::string> Warnings;
  std::string Error;
  int64_t Position = 0;
};

TLoaded Load(const Bytes& Data) {
  TLoaded Result;
  WarningLog Log(*Result.Image);
  auto Stream = giftest::StreamOf(Data);
  try {
    Result.Image->LoadFromStream(Stream);
  } catch (const GIFException& E) {
    Result.Error = E.what();
  }
  Result.Warnings = Log.Messages();
  Result.Position = Stream.Position();
  Result.Image->OnGIFWarning = nullptr;
  return Result;
}

Bytes PixelsOf(const TGIFSubImage& Frame) { return Bytes(Frame.Data(), Frame.Data() + Frame.PixelBytes()); }

}  // namespace

// Wherever a frame's data ends inside its last sub-block, the next frame is read.
TEST(FrameReading, EveryFrameIsFoundAfterTheOnesBefore) {
  for (int Count = 1; Count <= 24; ++Count)
    for (const size_t BlockSize : {1, 2, 255}) {
      Bytes Pixels(static_cast<size_t>(Count));
      for (int I = 0; I < Count; ++I) Pixels[static_cast<size_t>(I)] = static_cast<uint8_t>(I % 3);
      const Bytes Frame = Concat({Descriptor(static_cast<uint16_t>(Count), 1), PixelData(2, Pixels, BlockSize)});
      const TLoaded Got = Load(Concat({Header(30, 2, TwoColors, 1), Frame, Frame, Frame, Bytes{';'}}));
      const std::string Name = std::to_string(Count) + " pixels, blocks of " + std::to_string(BlockSize);
      EXPECT_EQ(Got.Error, "") << Name;
      EXPECT_EQ(Got.Warnings, std::vector<std::string>{}) << Name;
      ASSERT_EQ(Got.Image->Frames().Count(), 3) << Name;
      for (int I = 0; I < 3; ++I) EXPECT_EQ(PixelsOf(*Got.Image->Frames().SubImages(I)), Pixels) << Name;
    }
}

TEST(FrameReading, ShortDataKeepsTheFrameWithTheTransparentFill) {
  const Bytes Data = PixelData(2, {1, 1, 1, 1});
  const TLoaded Got = Load(Concat({Header(3, 3, TwoColors, 1), Control(1, 2), Descriptor(3, 3),
                                   Bytes(Data.begin(), Data.end() - 2)}));
  EXPECT_EQ(Got.Error, "");
  EXPECT_EQ(Got.Warnings, std::vector<std::string>{"Premature end of data"});
  ASSERT_EQ(Got.Image->Frames().Count(), 1);
  const Bytes Pixels = PixelsOf(*Got.Image->Frames().SubImages(0));
  EXPECT_EQ(Pixels[0], 1);
  EXPECT_EQ(Pixels[8], 2) << "unreached pixels hold the transparent index";
}

TEST(FrameReading, DataAfterThePixelsIsPassedOver) {
  // The frame's data goes on after its last pixel: more codes, then further sub-blocks.
  Bytes Data = PixelData(2, {1, 0, 1, 1, 0, 1});
  Data.pop_back();
  Data.insert(Data.end(), {5, 1, 2, 3, 4, 5, 0});
  const Bytes Next = Concat({Descriptor(1, 1, 0, 2, 1), PixelData(2, {1})});
  const TLoaded Got = Load(Concat({Header(3, 2, TwoColors, 1), Descriptor(2, 1), Data, Next, Bytes{';'}}));
  EXPECT_EQ(Got.Warnings, std::vector<std::string>{});
  ASSERT_EQ(Got.Image->Frames().Count(), 2);
  EXPECT_EQ(PixelsOf(*Got.Image->Frames().SubImages(0)), (Bytes{1, 0}));
  EXPECT_EQ(Got.Image->Frames().SubImages(1)->Left(), 2);
}

TEST(FrameReading, ALoopingTableFailsTheLoadAndRestoresTheStream) {
  codectest::TCodeStream Codes(2);
  Codes.Add({4, 0, 7, 1, 7, 5});
  Bytes Data = Concat({Bytes{1, 2, 3}, Header(10, 1, TwoColors, 1), Descriptor(10, 1), Codes.Data(), Bytes{';'}});
  auto Stream = giftest::StreamOf(Data);
  Stream.SetPosition(3);
  TGIFImage Image;
  try {
    Image.LoadFromStream(Stream);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Circular decoder table entry");
  }
  EXPECT_EQ(Stream.Position(), 3);
}

// Indexes outside the table are kept as read and harm nothing that uses them.
TEST(FrameReading, IndexesBeyondTheTableAreSafe) {
  const Bytes Gif = Concat({Header(2, 2, TwoColors, 0), Control(1, 250), Descriptor(2, 2), PixelData(8, {200, 1}),
                            Bytes{';'}});
  Bytes WithBackground = Gif;
  WithBackground[11] = 100;
  const TLoaded Got = Load(WithBackground);
  EXPECT_EQ(Got.Error, "");
  ASSERT_EQ(Got.Image->Frames().Count(), 1);
  TGIFSubImage& Frame = *Got.Image->Frames().SubImages(0);
  EXPECT_EQ(PixelsOf(Frame), (Bytes{200, 1, 250, 250}));
  EXPECT_EQ(Frame.ActiveColorMap()->Count(), 2);

  WarningLog Log(*Got.Image);
  EXPECT_EQ(Got.Image->BackgroundColor(), 0x000000);
  EXPECT_EQ(Log.Messages(), std::vector<std::string>{"Invalid color index"});

  TGIFImage Copy;
  Copy.Assign(Got.Image.get());
  EXPECT_EQ(PixelsOf(*Copy.Frames().SubImages(0)), (Bytes{200, 1, 250, 250}));
  // Sorting the table by use moves the indexes it holds and leaves the others.
  Got.Image->GetGlobalColorMap()->Optimize();
  EXPECT_EQ(PixelsOf(Frame)[0], 200);
  EXPECT_EQ(Got.Image->GetGlobalColorMap()->Colors(PixelsOf(Frame)[1]), 0xFFFFFF);
  EXPECT_EQ(Frame.GraphicControlExtension()->TransparentColor(), 250);
  // Written with the table padded to hold them: they come back as they were.
  base::TMemoryStream Out;
  Got.Image->SaveToStream(Out);
  const TLoaded Back = Load(Out.Bytes());
  EXPECT_EQ(Back.Error, "");
  EXPECT_EQ(PixelsOf(*Back.Image->Frames().SubImages(0)), PixelsOf(Frame));
  EXPECT_EQ(Back.Image->Frames().SubImages(0)->GraphicControlExtension()->TransparentColor(), 250);
  EXPECT_EQ(Back.Image->GetGlobalColorMap()->Count(), 256);
}

TEST(FrameReading, ZeroSizedScreenAndFrames) {
  const struct {
    const char* Name;
    Bytes Data;
    int Width, Height;
    std::vector<std::string> Warnings;
  } Cases[] = {
      {"zero frame on a zero screen", Concat({Header(0, 0, TwoColors, 0), Descriptor(0, 0), PixelData(2, {}), Bytes{';'}}), 0, 0,
       {"Image exceeds Logical Screen size"}},
      {"zero frame takes the screen size", Concat({Header(3, 2, TwoColors, 0), Descriptor(0, 5), PixelData(2, {1}), Bytes{';'}}), 3,
       2, {"Image exceeds Logical Screen size"}},
      {"frame on a zero screen", Concat({Header(0, 0, TwoColors, 0), Descriptor(2, 1, 0, 7, 9), PixelData(2, {1, 1}), Bytes{';'}}), 2,
       1, {}},
  };
  for (const auto& C : Cases) {
    const TLoaded Got = Load(C.Data);
    EXPECT_EQ(Got.Error, "") << C.Name;
    EXPECT_EQ(Got.Warnings, C.Warnings) << C.Name;
    ASSERT_EQ(Got.Image->Frames().Count(), 1) << C.Name;
    const TGIFSubImage& Frame = *Got.Image->Frames().SubImages(0);
    EXPECT_EQ(Frame.Width(), C.Width) << C.Name;
    EXPECT_EQ(Frame.Height(), C.Height) << C.Name;
    EXPECT_EQ(Frame.PixelBytes(), C.Width * C.Height) << C.Name;
    EXPECT_EQ(Got.Image->Frames().PixelAllowance(), TGIFImageList::MaxImagePixels) << C.Name;
  }
}

TEST(FrameReading, FramesBeyondTheScreenAreTakenAsTheyAreAndFreedQuietly) {
  const Bytes Data = Concat({Header(4, 4, TwoColors, 0), Descriptor(10, 1), PixelData(2, Bytes(10, 1)),
                             Descriptor(20, 1, 0, 0, 3), PixelData(2, Bytes(20, 0))});
  for (const bool Truncated : {false, true}) {
    const TLoaded Got = Load(Truncated ? Concat({Data, Bytes{',', 0, 0}}) : Concat({Data, Bytes{';'}}));
    EXPECT_EQ(Got.Error, Truncated ? "Premature end of data" : "");
    EXPECT_EQ(Got.Warnings, std::vector<std::string>{});
    EXPECT_EQ(Got.Image->Width(), 4);
    ASSERT_EQ(Got.Image->Frames().Count(), 2);
    EXPECT_EQ(Got.Image->Frames().SubImages(1)->Width(), 20);
    WarningLog Log(*Got.Image);
    Got.Image->Clear();
    EXPECT_EQ(Log.Messages(), std::vector<std::string>{});
  }
}

// Each frame read takes its pixels from the file's allowance before the next one is
// sized against it; a new load starts from the whole allowance again.
TEST(FrameReading, FramesDrawOnOnePixelAllowancePerLoad) {
  const Bytes Data = Concat({Header(5, 4, TwoColors, 0), Descriptor(3, 2), PixelData(2, Bytes(6, 1)),
                             Descriptor(0, 0), PixelData(2, Bytes(20, 1)), Bytes{';'}});
  TGIFImage Image;
  std::vector<int64_t> Seen;
  Image.OnGIFWarning = [&](base::TObject*, TGIFSeverity, const std::string&) {
    Seen.push_back(Image.Frames().PixelAllowance());
  };
  for (int Round = 0; Round < 2; ++Round) {
    auto Stream = giftest::StreamOf(Data);
    Image.LoadFromStream(Stream);
  }
  EXPECT_EQ(Seen, (std::vector<int64_t>(2, TGIFImageList::MaxImagePixels - 6)));
  EXPECT_EQ(Image.Frames().PixelAllowance(), TGIFImageList::MaxImagePixels);
}
