#include <gtest/gtest.h>

#include "GIFTestSupport.h"
#include "gif/AppExtNSLoop.h"
#include "gif/GIFImage.h"
#include "platform/base/Strings.h"

using namespace gif;
using namespace giftest;

namespace {

TGIFSubImage* NewFrame(TGIFImage& Image, uint16_t Width, uint16_t Height) {
  auto* Frame = new TGIFSubImage(&Image);
  Frame->SetBounds(0, 0, Width, Height);
  Frame->ColorMap()->Add(0x000000);
  Frame->ColorMap()->Add(0xFFFFFF);
  return Frame;
}

}  // namespace

TEST(GIFImageFrames, AddFrameTakesItsOwnFramesAndCopiesOthers) {
  TGIFImage A, B;
  TGIFSubImage* Own = NewFrame(A, 3, 2);
  EXPECT_EQ(A.AddFrame(Own), 0);
  EXPECT_EQ(A.Frames().SubImages(0), Own) << "taken as it is";
  EXPECT_EQ(A.AddFrame(Own), 1) << "adding it twice copies it";
  EXPECT_NE(A.Frames().SubImages(1), Own);
  EXPECT_EQ(B.AddFrame(Own), 0);
  EXPECT_NE(B.Frames().SubImages(0), Own) << "another image's frame is copied";
  EXPECT_EQ(B.Frames().SubImages(0)->Image(), &B);
  EXPECT_EQ(A.Frames().Count(), 2);

  base::TStringList NotAGraphic;
  try {
    A.AddFrame(&NotAGraphic);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Object type not supported for operation");
  }
}

TEST(GIFImageFrames, AFrameDestroyedDirectlyLeavesItsList) {
  TGIFImage Image;
  TGIFSubImage* First = NewFrame(Image, 1, 1);
  Image.AddFrame(First);
  Image.AddFrame(NewFrame(Image, 2, 2));
  delete First;
  ASSERT_EQ(Image.Frames().Count(), 1);
  EXPECT_EQ(Image.Frames().SubImages(0)->Width(), 2);
  EXPECT_THROW(Image.Frames().SubImages(1), base::EListError);
}

TEST(GIFImageFrames, ExchangeAndMoveKeepTheLoopBlocksOnTheFirstFrame) {
  struct {
    const char* Name;
    bool Move;
    int From, To;
    std::vector<int> Widths;  // of the frames afterwards, which started 1, 2, 3, 4
  } const Cases[] = {
      {"exchange 0 and 3", false, 0, 3, {4, 2, 3, 1}}, {"exchange 3 and 0", false, 3, 0, {4, 2, 3, 1}},
      {"move 0 to 2", true, 0, 2, {2, 3, 1, 4}},       {"move 3 to 0", true, 3, 0, {4, 1, 2, 3}},
      {"exchange 1 and 2", false, 1, 2, {1, 3, 2, 4}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TGIFImage Image;
    for (uint16_t Width = 1; Width <= 4; ++Width) Image.AddFrame(NewFrame(Image, Width, 1));
    TGIFSubImage* First = Image.Frames().SubImages(0);
    First->Extensions()->Add(std::make_unique<TGIFGraphicControlExtension>(First));
    auto* Loop = new TGIFAppExtNSLoop(First);
    Loop->SetIdentifier("ANIMEXTS");
    Loop->SetLoops(3);
    First->Extensions()->Add(std::unique_ptr<TGIFExtension>(Loop));
    if (C.Move)
      Image.Frames().Move(C.From, C.To);
    else
      Image.Frames().Exchange(C.From, C.To);
    std::vector<int> Widths;
    for (int I = 0; I < 4; ++I) Widths.push_back(Image.Frames().SubImages(I)->Width());
    EXPECT_EQ(Widths, C.Widths);
    TGIFSubImage* Now = Image.Frames().SubImages(0);
    // Moved in front of the frame's blocks; left where it was when the first frame stays.
    ASSERT_EQ(Now->Extensions()->IndexOf(Loop), First != Now ? 0 : 1);
    EXPECT_EQ(Loop->SubImage(), Now);
    EXPECT_EQ(Loop->Identifier(), "ANIMEXTS");
    EXPECT_EQ(Loop->Loops(), 3);
    for (int I = 1; I < 4; ++I) EXPECT_EQ(Image.Frames().SubImages(I)->Extensions()->IndexOf(Loop), -1);
    // The frame that held it keeps its other blocks; freeing it leaves the loop alone.
    EXPECT_NE(First->GraphicControlExtension(), nullptr);
    if (First != Now) {
      EXPECT_EQ(First->Extensions()->Count(), 1);
      delete First;
      EXPECT_EQ(Now->Extensions()->IndexOf(Loop), 0);
    }
  }
}

TEST(GIFImageFrames, AFrameTakingTheFirstPlaceGivesItsOwnLoopBlockToTheOneLeavingIt) {
  TGIFImage Image;
  for (uint16_t Width = 1; Width <= 3; ++Width) Image.AddFrame(NewFrame(Image, Width, 1));
  TGIFExtension* Loops[2];
  for (int I = 0; I < 2; ++I) {
    TGIFSubImage* Frame = Image.Frames().SubImages(2 * I);
    Loops[I] = new TGIFAppExtNSLoop(Frame);
    Frame->Extensions()->Add(std::unique_ptr<TGIFExtension>(Loops[I]));
  }
  Image.Frames().Exchange(0, 2);
  EXPECT_EQ(Image.Frames().SubImages(0)->Extensions()->IndexOf(Loops[0]), 0);
  EXPECT_EQ(Image.Frames().SubImages(0)->Extensions()->Count(), 1);
  EXPECT_EQ(Image.Frames().SubImages(2)->Extensions()->IndexOf(Loops[1]), 0);
  EXPECT_EQ(Loops[1]->SubImage(), Image.Frames().SubImages(2));
}

TEST(GIFImageRoundTrip, SaveAndLoadKeepFramesTablesAndExtensions) {
  TGIFImage Image;
  TGIFSubImage* Frame = NewFrame(Image, 5, 3);
  for (int I = 0; I < 15; ++I) Frame->Data()[I] = static_cast<uint8_t>(I % 2);
  Image.AddFrame(Frame);
  auto* Control = new TGIFGraphicControlExtension(Frame);
  Frame->Extensions()->Add(std::unique_ptr<TGIFExtension>(Control));
  Control->SetDelay(25);
  Control->SetTransparentColor(1);
  Control->SetTransparent(true);

  base::TMemoryStream Out;
  Image.SaveToStream(Out);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Out.Memory()), 6), "GIF89a");
  Out.SetPosition(0);
  TGIFImage Back;
  WarningLog Log(Back);
  Back.LoadFromStream(Out);
  EXPECT_TRUE(Log.Items.empty());
  ASSERT_EQ(Back.Frames().Count(), 1);
  TGIFSubImage* Read = Back.Frames().SubImages(0);
  EXPECT_EQ(Read->Width(), 5);
  EXPECT_EQ(Read->Height(), 3);
  EXPECT_EQ(Read->ColorMap()->Count(), 2);
  EXPECT_EQ(std::vector<uint8_t>(Read->Data(), Read->Data() + 15), std::vector<uint8_t>(Frame->Data(), Frame->Data() + 15));
  ASSERT_NE(Read->GraphicControlExtension(), nullptr);
  EXPECT_EQ(Read->GraphicControlExtension()->Delay(), 25);
  EXPECT_TRUE(Read->Transparent());
  EXPECT_EQ(Back.Width(), 5);
}

TEST(GIFImageFrames, OversizedFramesAreRefusedBeforeAllocating) {
  TGIFImage Image;
  auto* Frame = new TGIFSubImage(&Image);
  EXPECT_THROW(Frame->SetBounds(0, 0, 65535, 65535), GIFException);
  delete Frame;

  // A descriptor of 65535 x 65535 in a 40-byte file.
  Bytes Data = Concat({Header(10, 10), Bytes{',', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0, ';'}});
  auto Stream = StreamOf(Data);
  try {
    Image.LoadFromStream(Stream);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Image dimensions too large");
  }
}

TEST(GIFImageSettings, DefaultsSpeedAndBits) {
  TGIFLibraryDefaults Saved = GIFLibraryDefaults();
  GIFLibraryDefaults().QuantizeBits = 5;
  TGIFImage Image;
  GIFLibraryDefaults().QuantizeBits = 6;
  EXPECT_EQ(Image.QuantizeBits(), 5) << "copied at creation";
  GIFLibraryDefaults() = Saved;
  EXPECT_EQ(Image.DrawFlags(), 0x060F);

  Image.SetPlaySpeed(-5);
  EXPECT_EQ(Image.PlaySpeed(), 0);
  Image.SetPlaySpeed(5000);
  EXPECT_EQ(Image.PlaySpeed(), 1000);
  for (int Bad : {2, 9}) EXPECT_THROW(Image.SetQuantizeBits(Bad), GIFException);
  Image.SetQuantizeBits(3);
  Image.SetQuantizeBits(8);
  EXPECT_EQ(Image.QuantizeBits(), 8);
}

TEST(GIFImageCopy, AssignCopiesFramesKeepsOwnSettingsAndDropsHandlers) {
  TGIFImage Source;
  Source.AddFrame(NewFrame(Source, 4, 4));
  Source.SetCompression(ckRLE);
  Source.SetDitherKind(dkStucki);
  bool Called = false;
  Source.OnGIFWarning = [&](base::TObject*, TGIFSeverity, const std::string&) { Called = true; };
  TGIFImage Copy;
  Copy.Assign(&Source);
  EXPECT_EQ(Copy.Frames().Count(), 1);
  EXPECT_NE(Copy.Frames().SubImages(0), Source.Frames().SubImages(0));
  EXPECT_EQ(Copy.DitherKind(), dkStucki);
  EXPECT_EQ(Copy.Compression(), ckLZW) << "compression is the destination's own";
  EXPECT_FALSE(Copy.OnGIFWarning);
  EXPECT_FALSE(Copy.OnProgress);
  Copy.Assign(&Copy);
  EXPECT_EQ(Copy.Frames().Count(), 1);
  Copy.Assign(nullptr);
  EXPECT_TRUE(Copy.Empty());
  EXPECT_FALSE(Called);
}

TEST(GIFImageSize, SidesBeyondSixteenBitsAreRefusedBeforeAnythingChanges) {
  TGIFImage Image;
  TGIFSubImage* Frame = NewFrame(Image, 10, 10);
  Image.AddFrame(Frame);
  Frame->Data()[0] = 7;
  for (int Side : {65536, 70000, -1}) {
    EXPECT_THROW(Image.SetWidth(Side), GIFException) << Side;
    EXPECT_THROW(Image.SetHeight(Side), GIFException) << Side;
  }
  EXPECT_EQ(Image.Width(), 10);
  EXPECT_EQ(Image.Height(), 10);
  Image.SetWidth(65535);
  EXPECT_EQ(Image.Width(), 65535);

  // 65000 + 1000 would wrap to a 464-pixel screen.
  struct TCase {
    uint16_t Left, Top, Width, Height;
  };
  const TCase Refused[] = {{65000, 0, 1000, 10}, {0, 65000, 10, 1000}, {1, 0, 65535, 10}, {0, 0, 10000, 10000}};
  for (const TCase& C : Refused) {
    EXPECT_THROW(Frame->SetBounds(C.Left, C.Top, C.Width, C.Height), GIFException) << C.Left << " " << C.Width;
    EXPECT_EQ(Frame->BoundsRect(), base::Rect(0, 0, 10, 10));
    ASSERT_NE(Frame->Data(), nullptr);
    EXPECT_EQ(Frame->Data()[0], 7);
    EXPECT_EQ(Image.Height(), 10);
  }
  EXPECT_THROW(Frame->SetLeft(65530), GIFException);
  EXPECT_EQ(Frame->Left(), 0);
  Frame->SetBounds(65525, 0, 10, 10);
  EXPECT_EQ(Frame->Left(), 65525);
  EXPECT_EQ(Frame->Data()[0], 7);
  // New pixels wider than the room left are refused with the frame as it was.
  graphics::TBitmap Wide;
  Wide.SetPixelFormat(graphics::pf24bit);
  Wide.SetWidth(20);
  Wide.SetHeight(10);
  EXPECT_THROW(Frame->Assign(&Wide), GIFException);
  EXPECT_EQ(Frame->BoundsRect(), base::Rect(65525, 0, 65535, 10));
  EXPECT_EQ(Frame->Data()[0], 7);
}

TEST(GIFImageSize, FramesLimitTheLogicalScreen) {
  TGIFImage Image;
  TGIFSubImage* Frame = NewFrame(Image, 10, 10);
  Image.AddFrame(Frame);
  try {
    Image.SetWidth(9);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Image width too small for contained frames");
  }
  EXPECT_THROW(Image.SetHeight(5), GIFException);
  Image.SetWidth(120);
  WarningLog Log(Image);
  Frame->SetLeft(100);
  Frame->SetWidth(50);
  EXPECT_EQ(Image.Width(), 150);
  EXPECT_EQ(Log.Messages(), (std::vector<std::string>{"Image width too small for contained frames",
                                                        "Image exceeds Logical Screen size"}));
}
