// Cropping transparent borders and merging a frame with the one before it.
#include <gtest/gtest.h>

#include "gif/GIFImage.h"
#include "tests/gif/FrameBitmapTestSupport.h"

namespace {

using namespace frametest;
using gif::TGIFImage;
using gif::TGIFSubImage;

const std::vector<TColor> Table = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0)};

TEST(FrameCrop, TenByTenFrameWithOnePixelBecomesOneByOne) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 5, 6, 10, 10, Table, [](int X, int Y) { return X == 3 && Y == 7 ? 1 : 0; });
  MakeTransparent(*Frame, 0);
  Frame->GetBitmap();
  Frame->Crop();
  EXPECT_EQ(Frame->BoundsRect(), base::Bounds(8, 13, 1, 1));
  EXPECT_EQ(Frame->Pixels(0, 0), 1);
  EXPECT_EQ(Frame->PixelBytes(), 1);
  EXPECT_FALSE(Frame->HasBitmap());
  EXPECT_EQ(Frame->GetBitmap()->Width(), 1);
}

TEST(FrameCrop, BlockKeepsItsRows) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 6, 5, Table, [](int X, int Y) { return X >= 1 && X <= 3 && Y >= 2 && Y <= 3 ? 1 + (X + Y) % 2 : 0; });
  MakeTransparent(*Frame, 0);
  Frame->Crop();
  ASSERT_EQ(Frame->BoundsRect(), base::Bounds(1, 2, 3, 2));
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 3; ++X) EXPECT_EQ(Frame->Pixels(X, Y), 1 + (X + 1 + Y + 2) % 2);
}

TEST(FrameCrop, EverywhereTransparentEmptiesAndOpaqueStays) {
  TGIFImage Image;
  TGIFSubImage* Clear = AddFrame(Image, 0, 0, 4, 4, Table, [](int, int) { return 2; });
  MakeTransparent(*Clear, 2);
  Clear->Crop();
  EXPECT_TRUE(Clear->Empty());
  TGIFSubImage* Opaque = AddFrame(Image, 0, 0, 4, 4, Table, [](int X, int) { return X == 0 ? 1 : 0; });
  Opaque->Crop();
  EXPECT_EQ(Opaque->BoundsRect(), base::Bounds(0, 0, 4, 4));
}

TEST(FrameMerge, PreviousThatDisposesChangesNothing) {
  for (gif::TFrameDisposal Disposal : {gif::fdBackground, gif::fdPrevious}) {
    TGIFImage Image;
    TGIFSubImage* Previous = AddFrame(Image, 0, 0, 3, 3, Table, [](int, int) { return 1; });
    MakeTransparent(*Previous, 0)->SetDisposal(Disposal);
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 3, Table, [](int, int) { return 1; });
    Frame->Merge(Previous);
    EXPECT_FALSE(Frame->Transparent());
    EXPECT_EQ(Frame->Pixels(1, 1), 1);
  }
}

TEST(FrameMerge, LocalTableGetsANewTransparentEntry) {
  TGIFImage Image;
  TGIFSubImage* Previous = AddFrame(Image, 0, 0, 4, 2, Table, [](int X, int) { return X % 3; });
  // Same colours through another table layout: green is entry 0 here.
  TGIFSubImage* Frame = AddFrame(Image, 2, 0, 4, 2, {RGB(0, 255, 0), RGB(255, 0, 0), RGB(0, 0, 0)},
                                 [](int X, int) { return X == 0 ? 1 : 2; });
  Frame->Merge(Previous);
  ASSERT_TRUE(Frame->Transparent());
  const uint8_t T = Frame->GraphicControlExtension()->TransparentColor();
  EXPECT_EQ(T, 3);
  EXPECT_EQ(Frame->ColorMap()->Count(), 4);
  // Screen column 2 shows green before (index 2) but red now; column 3 black before and now.
  EXPECT_EQ(Frame->Pixels(0, 0), 1);
  EXPECT_EQ(Frame->Pixels(1, 0), T);
  EXPECT_EQ(Frame->Pixels(2, 0), 2);
  EXPECT_EQ(Frame->Pixels(3, 0), 2);
}

TEST(FrameMerge, TransparentPixelsOfEitherFrameAreLeftAlone) {
  TGIFImage Image;
  TGIFSubImage* Previous = AddFrame(Image, 0, 0, 3, 1, Table, [](int X, int) { return X == 0 ? 0 : 1; });
  MakeTransparent(*Previous, 0);
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 1, Table, [](int X, int) { return X == 2 ? 2 : X == 0 ? 0 : 1; });
  MakeTransparent(*Frame, 2);
  Frame->Merge(Previous);
  EXPECT_EQ(Frame->Pixels(0, 0), 0);
  EXPECT_EQ(Frame->Pixels(1, 0), 2);
  EXPECT_EQ(Frame->Pixels(2, 0), 2);
  EXPECT_EQ(Frame->GraphicControlExtension()->TransparentColor(), 2);
}

struct GlobalCase {
  const char* Name;
  bool ThisFrameUsesIndex;
};

TEST(FrameMerge, GlobalTableReusesAnotherFramesIndexOnlyWhenUnused) {
  const GlobalCase Cases[] = {{"index unused: reused", false}, {"index in use: appended", true}};
  for (const GlobalCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TGIFImage Image;
    for (TColor Color : {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) Image.GetGlobalColorMap()->Add(Color);
    TGIFSubImage* Other = AddFrame(Image, 0, 0, 2, 2, {}, [](int, int) { return 3; });
    MakeTransparent(*Other, 3);
    TGIFSubImage* Previous = AddFrame(Image, 0, 0, 2, 2, {}, [](int, int) { return 1; });
    const bool Uses = C.ThisFrameUsesIndex;
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 2, 2, {}, [Uses](int X, int Y) { return X == 0 && Y == 0 ? 1 : Uses ? 3 : 2; });
    Frame->Merge(Previous);
    ASSERT_TRUE(Frame->Transparent());
    const uint8_t T = Frame->GraphicControlExtension()->TransparentColor();
    EXPECT_EQ(T, Uses ? 4 : 3);
    EXPECT_EQ(Image.GetGlobalColorMap()->Count(), Uses ? 5 : 4);
    EXPECT_EQ(Frame->Pixels(0, 0), T);
    EXPECT_EQ(Frame->Pixels(1, 1), Uses ? 3 : 2);
  }
}

TEST(FrameMerge, NoRoomOrNoOverlapChangesNothing) {
  TGIFImage Image;
  std::vector<TColor> Full;
  for (int I = 0; I < 256; ++I) Full.push_back(RGB(static_cast<uint8_t>(I), 0, 0));
  TGIFSubImage* Previous = AddFrame(Image, 0, 0, 2, 2, Full, [](int, int) { return 5; });
  TGIFSubImage* Crowded = AddFrame(Image, 0, 0, 2, 2, Full, [](int, int) { return 5; });
  Crowded->Merge(Previous);
  EXPECT_FALSE(Crowded->Transparent());
  TGIFSubImage* Apart = AddFrame(Image, 2, 2, 2, 2, Table, [](int, int) { return 0; });
  Apart->Merge(Previous);
  EXPECT_FALSE(Apart->Transparent());
  EXPECT_EQ(Apart->ColorMap()->Count(), 3);
}

TEST(FrameLife, ATokenTellsAHolderThatItsFrameIsGone) {
  TGIFImage Image;
  Image.Frames().Add(std::make_unique<TGIFSubImage>(&Image));
  const std::shared_ptr<const bool> Alive = Image.Frames().SubImages(0)->Alive();
  EXPECT_TRUE(*Alive);
  Image.Frames().Delete(0);
  EXPECT_FALSE(*Alive);
}

}  // namespace
