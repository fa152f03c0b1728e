// Bitmaps into frames and back: every pixel format, tables, transparency, and what a
// frame keeps when its pixels are replaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "tests/gif/FrameBitmapTestSupport.h"

namespace {

using namespace frametest;
using gif::TGIFImage;
using gif::TGIFSubImage;
using graphics::TPixelFormat;

std::vector<TColor> DistinctColors(int Count) {
  std::vector<TColor> Colors;
  for (int I = 0; I < Count; ++I)
    Colors.push_back(RGB(static_cast<uint8_t>(I * 37), static_cast<uint8_t>(255 - I), static_cast<uint8_t>(I * 11 + 3)));
  return Colors;
}

int Pattern(int X, int Y, int Count) { return (X * 7 + Y * 3) % Count; }

// The colour frame pixel (X, Y) names in its table.
TColor FrameColor(TGIFSubImage& Frame, int X, int Y) { return Frame.ActiveColorMap()->Colors(Frame.Pixels(X, Y)); }

TEST(FrameBitmap, RoundTripKeepsEveryColourAtEachDepth) {
  struct TCase {
    const char* Name;
    TPixelFormat Format;
    int Colors;
  };
  const TCase Cases[] = {{"1 bit", graphics::pf1bit, 2},
                         {"4 bits", graphics::pf4bit, 16},
                         {"8 bits", graphics::pf8bit, 200},
                         {"24 bits", graphics::pf24bit, 60}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::vector<TColor> Colors = DistinctColors(C.Colors);
    const int W = 13, H = 11;
    TBitmap Source;
    if (C.Format == graphics::pf24bit)
      MakeTrueColor(Source, C.Format, W, H, [&](int X, int Y) { return Colors[Pattern(X, Y, C.Colors)]; });
    else
      MakeIndexed(Source, C.Format, W, H, Colors, [&](int X, int Y) { return Pattern(X, Y, C.Colors); });
    TGIFImage Image;
    Image.SetReductionMethod(gif::rdNone);
    TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
    ASSERT_EQ(Frame.Width(), W);
    ASSERT_EQ(Frame.Height(), H);
    EXPECT_LE(Frame.ColorMap()->Count(), 256);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) ASSERT_EQ(FrameColor(Frame, X, Y), Colors[Pattern(X, Y, C.Colors)]) << X << "," << Y;
    // Back through a fresh rendering of the pixels.
    Frame.ReleaseBitmap();
    TBitmap Back;
    Back.Assign(&Frame);
    ASSERT_EQ(Back.Width(), W);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) ASSERT_EQ(Back.Canvas().Pixels(X, Y), Colors[Pattern(X, Y, C.Colors)]) << X << "," << Y;
  }
}

TEST(FrameBitmap, EightBitBitmapKeepsItsPaletteOrder) {
  const std::vector<TColor> Colors = {RGB(9, 9, 9), RGB(200, 0, 0), RGB(0, 0, 200), RGB(9, 9, 9)};
  TBitmap Source;
  MakeIndexed(Source, graphics::pf8bit, 5, 3, Colors, [](int X, int Y) { return (X + Y) % 4; });
  TGIFImage Image;
  TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
  ASSERT_EQ(Frame.ColorMap()->Count(), 4);
  for (int I = 0; I < 4; ++I) EXPECT_EQ(Frame.ColorMap()->Colors(I), Colors[static_cast<size_t>(I)]);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(Frame.Pixels(X, Y), (X + Y) % 4);
  EXPECT_EQ(Source.PixelFormat(), graphics::pf8bit);
}

TEST(FrameBitmap, MoreThan256ColoursWithoutReductionOverflow) {
  TBitmap Source;
  MakeTrueColor(Source, graphics::pf24bit, 30, 10, [](int X, int Y) { return RGB(static_cast<uint8_t>(X), static_cast<uint8_t>(Y), 7); });
  TGIFImage Image;
  Image.SetReductionMethod(gif::rdNone);
  TGIFSubImage Frame(&Image);
  try {
    Frame.Assign(&Source);
    FAIL() << "no overflow";
  } catch (const gif::GIFException& E) {
    EXPECT_STREQ(E.what(), "Color table overflow");
  }
}

TEST(FrameBitmap, ThirtyTwoBitSourceIsLeftAtTwentyFourBits) {
  TBitmap Source;
  MakeTrueColor(Source, graphics::pf32bit, 8, 8, [](int X, int Y) { return RGB(static_cast<uint8_t>(X * 30), static_cast<uint8_t>(Y * 30), 0); });
  TGIFImage Image;
  TGIFSubImage Frame(&Image);
  Frame.SetBitmap(&Source);
  EXPECT_EQ(Source.PixelFormat(), graphics::pf24bit);
  EXPECT_EQ(Frame.Width(), 8);
  EXPECT_TRUE(Frame.HasBitmap());
  EXPECT_EQ(Frame.GetBitmap()->PixelFormat(), graphics::pf8bit);
}

TEST(FrameBitmap, EveryPixelFormatConverts) {
  const graphics::TPixelFormat Formats[] = {graphics::pfDevice, graphics::pf15bit, graphics::pf16bit,
                                            graphics::pf24bit, graphics::pf32bit};
  for (graphics::TPixelFormat Format : Formats) {
    SCOPED_TRACE(static_cast<int>(Format));
    TBitmap Source;
    MakeTrueColor(Source, Format, 6, 4, [](int X, int) { return X < 3 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
    TGIFImage Image;
    Image.SetReductionMethod(gif::rdNone);
    TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
    EXPECT_EQ(FrameColor(Frame, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(FrameColor(Frame, 5, 3), RGB(0, 0, 255));
  }
}

TEST(FrameBitmap, PixelsBeyondABitmapsShortTableStillNameEntries) {
  TBitmap Source;
  MakeIndexed(Source, graphics::pf8bit, 4, 1, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)}, [](int X, int) { return X; });
  // Value 3 lies beyond the bitmap's three entries.
  TGIFImage Image;
  TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
  for (int X = 0; X < 4; ++X) EXPECT_LT(Frame.Pixels(X, 0), Frame.ColorMap()->Count());
  base::TMemoryStream Stream;
  EXPECT_NO_THROW(Image.SaveToStream(Stream));
}

TEST(FrameBitmap, TransparentBitmapGivesTransparentPixels) {
  TBitmap Source;
  MakeTrueColor(Source, graphics::pf24bit, 5, 4, [](int X, int Y) { return X == 0 || Y == 0 ? RGB(0, 255, 0) : RGB(200, 10, 10); });
  Source.SetTransparent(true);
  Source.SetTransparentColor(RGB(0, 255, 0));
  TGIFImage Image;
  TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
  ASSERT_TRUE(Frame.Transparent());
  ASSERT_NE(Frame.GraphicControlExtension(), nullptr);
  EXPECT_EQ(Frame.GraphicControlExtension()->Delay(), 0);
  const uint8_t T = Frame.GraphicControlExtension()->TransparentColor();
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(Frame.Pixels(X, Y) == T, X == 0 || Y == 0) << X << "," << Y;
  EXPECT_EQ(FrameColor(Frame, 3, 3), RGB(200, 10, 10));
}

TEST(FrameBitmap, FullTableGetsNoTransparency) {
  const std::vector<TColor> Colors = DistinctColors(256);
  TBitmap Source;
  MakeIndexed(Source, graphics::pf8bit, 16, 16, Colors, [](int X, int Y) { return Y * 16 + X; });
  Source.SetTransparent(true);
  TGIFImage Image;
  TGIFSubImage& Frame = *Image.Frames().SubImages(Image.AddFrame(&Source));
  EXPECT_FALSE(Frame.Transparent());
  EXPECT_EQ(Frame.ColorMap()->Count(), 256);
}

// Frames whose pixels are replaced keep their extensions and timing; only
// transparency follows the new bitmap.
TEST(FrameBitmap, SetBitmapKeepsTimingAndExtensions) {
  TBitmap Opaque, Clear;
  MakeTrueColor(Opaque, graphics::pf24bit, 4, 4, [](int, int) { return RGB(10, 20, 30); });
  MakeTrueColor(Clear, graphics::pf24bit, 4, 4, [](int X, int) { return X == 0 ? RGB(0, 0, 0) : RGB(90, 90, 90); });
  Clear.SetTransparent(true);
  Clear.SetTransparentColor(RGB(0, 0, 0));
  struct TCase {
    const char* Name;
    bool HadControl;
    bool HadTransparency;
    TBitmap* Source;
    bool Transparent;
  };
  const TCase Cases[] = {{"timed frame, opaque bitmap", true, true, &Opaque, false},
                         {"timed frame, transparent bitmap", true, false, &Clear, true},
                         {"untimed frame, transparent bitmap", false, false, &Clear, true},
                         {"untimed frame, opaque bitmap", false, false, &Opaque, false}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TGIFImage Image;
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 4, 4, {RGB(1, 1, 1), RGB(2, 2, 2)}, [](int, int) { return 1; });
    auto Comment = std::make_unique<gif::TGIFCommentExtension>(Frame);
    Comment->Text().Add("kept");
    Frame->Extensions()->Add(std::move(Comment));
    if (C.HadControl) {
      auto* Control = MakeTransparent(*Frame, 1);
      Control->SetTransparent(C.HadTransparency);
      Control->SetDelay(50);
      Control->SetDisposal(gif::fdBackground);
    }
    Frame->SetBitmap(C.Source);
    EXPECT_EQ(Frame->Extensions()->Count(), (C.HadControl || C.Transparent) ? 2 : 1);
    EXPECT_NE(dynamic_cast<gif::TGIFCommentExtension*>(Frame->Extensions()->Extensions(0)), nullptr);
    EXPECT_EQ(Frame->Transparent(), C.Transparent);
    const auto* Control = Frame->GraphicControlExtension();
    ASSERT_EQ(Control != nullptr, C.HadControl || C.Transparent);
    if (Control == nullptr) continue;
    EXPECT_EQ(Control->Delay(), C.HadControl ? 50 : 0);
    EXPECT_EQ(Control->Disposal(), C.HadControl ? gif::fdBackground : gif::fdNoneSpecified);
    EXPECT_EQ(Control->Transparent(), C.Transparent);
    if (C.Transparent) {
      EXPECT_EQ(Frame->Pixels(0, 2), Control->TransparentColor());
    }
  }
}

TEST(FrameBitmap, EmptyBitmapEmptiesTheFrame) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 2, 3, 4, 4, {RGB(1, 1, 1)}, [](int, int) { return 0; });
  TBitmap Empty;
  Frame->SetBitmap(&Empty);
  EXPECT_TRUE(Frame->Empty());
  EXPECT_EQ(Frame->GetBitmap(), nullptr);
  EXPECT_EQ(Frame->Left(), 2);
}

TEST(FrameBitmap, ProgressOfConversionEndsAtZeroWhenItFails) {
  TBitmap Good, Bad;
  MakeTrueColor(Good, graphics::pf24bit, 3, 70, [](int, int Y) { return RGB(static_cast<uint8_t>(Y), 0, 0); });
  MakeTrueColor(Bad, graphics::pf24bit, 20, 20, [](int X, int Y) { return RGB(static_cast<uint8_t>(X), static_cast<uint8_t>(Y), 0); });
  TGIFImage Image;
  Image.SetReductionMethod(gif::rdNone);
  TGIFSubImage Frame(&Image);
  ProgressLog Log(Image);
  Frame.Assign(&Good);
  std::vector<std::pair<base::TProgressStage, int>> Stages;
  for (const ProgressStep& S : Log.Steps) {
    EXPECT_EQ(S.Message, "Converting...");
    EXPECT_EQ(S.Sender, &Frame);
    Stages.emplace_back(S.Stage, S.Percent);
  }
  const std::vector<std::pair<base::TProgressStage, int>> Expected = {
      {base::psStarting, 0}, {base::psRunning, 0}, {base::psRunning, 46}, {base::psRunning, 91}, {base::psEnding, 100}};
  EXPECT_EQ(Stages, Expected);
  Log.Steps.clear();
  EXPECT_THROW(Frame.Assign(&Bad), gif::GIFException);
  ASSERT_FALSE(Log.Steps.empty());
  EXPECT_EQ(Log.Steps.front().Stage, base::psStarting);
  EXPECT_EQ(Log.Steps.back().Stage, base::psEnding);
  EXPECT_EQ(Log.Steps.back().Percent, 0);
}

TEST(FrameBitmap, TableChangeDropsTheCachedBitmap) {
  TGIFImage Image;
  TGIFSubImage* Local = AddFrame(Image, 0, 0, 2, 2, {RGB(1, 1, 1), RGB(2, 2, 2)}, [](int X, int) { return X; });
  TGIFSubImage* Global = AddFrame(Image, 0, 0, 2, 2, {}, [](int, int) { return 0; });
  Image.GetGlobalColorMap()->Add(RGB(5, 5, 5));
  ASSERT_NE(Local->GetBitmap(), nullptr);
  ASSERT_NE(Global->GetBitmap(), nullptr);
  Local->ColorMap()->SetColors(1, RGB(250, 0, 0));
  EXPECT_FALSE(Local->HasBitmap());
  EXPECT_EQ(Local->GetBitmap()->Canvas().Pixels(1, 0), RGB(250, 0, 0));
  Image.GetGlobalColorMap()->SetColors(0, RGB(0, 250, 0));
  EXPECT_FALSE(Global->HasBitmap());
  EXPECT_TRUE(Local->HasBitmap());
  EXPECT_EQ(Global->GetBitmap()->Canvas().Pixels(0, 0), RGB(0, 250, 0));
}

}  // namespace

namespace {

TEST(FrameBitmap, OwnBitmapCanBeStoredBack) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 2, {RGB(0, 0, 255), RGB(255, 0, 0)}, [](int X, int) { return X == 2; });
  Frame->SetBitmap(Frame->GetBitmap());
  EXPECT_EQ(Frame->ActiveColorMap()->Colors(Frame->Pixels(2, 1)), RGB(255, 0, 0));
  Frame->Assign(Frame->GetBitmap());
  EXPECT_EQ(Frame->ActiveColorMap()->Colors(Frame->Pixels(0, 0)), RGB(0, 0, 255));
  // The image's renderings die with its frames, so it converts a copy.
  Image.Assign(Frame->GetBitmap());
  ASSERT_EQ(Image.Frames().Count(), 1);
  Image.Assign(Image.GetBitmap());
  ASSERT_EQ(Image.Frames().Count(), 1);
  TGIFSubImage* Only = Image.Frames().SubImages(0);
  EXPECT_EQ(Only->ActiveColorMap()->Colors(Only->Pixels(2, 0)), RGB(255, 0, 0));
}

TEST(FrameBitmap, RenderOnLoadRendersEveryFrame) {
  TGIFImage Source;
  AddFrame(Source, 0, 0, 2, 2, {RGB(1, 1, 1)}, [](int, int) { return 0; });
  base::TMemoryStream Stream;
  Source.SaveToStream(Stream);
  Stream.SetPosition(0);
  gif::GIFLibraryDefaults().RenderOnLoad = true;
  TGIFImage Loaded;
  Loaded.LoadFromStream(Stream);
  gif::GIFLibraryDefaults().RenderOnLoad = false;
  EXPECT_TRUE(Loaded.Frames().SubImages(0)->HasBitmap());
}

}  // namespace

namespace {

TEST(FrameBitmap, CachingCanBeSwitchedOnAndOff) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 2, 2, {RGB(3, 3, 3)}, [](int, int) { return 0; });
  EXPECT_FALSE(Frame->HasBitmap());
  Frame->SetBitmapCached(true);
  EXPECT_TRUE(Frame->HasBitmap());
  Frame->SetBitmapCached(false);
  EXPECT_FALSE(Frame->HasBitmap());
  Frame->CreateFrameBitmap();
  ASSERT_TRUE(Frame->HasBitmap());
  EXPECT_TRUE(Frame->GetBitmap()->Empty());
  Frame->ReleaseBitmap();
  EXPECT_EQ(Frame->GetBitmap()->Width(), 2);
}

}  // namespace
