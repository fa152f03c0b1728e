// TIcon: the image it shows, drawing through its mask, its platform icon, and its
// place in the picture registry.
#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/Pixel.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Picture.h"
#include "tests/graphics/IconTestSupport.h"

using namespace picturetest;
using graphics::TBitmap;
using graphics::TIcon;

namespace {

constexpr graphics::TColor Green = 0x00FF00;

void Load(TIcon& Icon, const Bytes& File) {
  base::TMemoryStream Stream(File);
  Icon.LoadFromStream(Stream);
}

// A 24-bit bitmap of W x H in one colour.
void Fill(TBitmap& B, int W, int H, graphics::TColor Color) {
  B.SetPixelFormat(graphics::pf24bit);
  B.SetWidth(W);
  B.SetHeight(H);
  B.Canvas().Brush().SetColor(Color);
  B.Canvas().FillRect(base::Rect(0, 0, W, H));
}

const Bytes TwoImages = IconFile({DIBEntry(Checker1(16, 16)), DIBEntry(Alpha32(32, 24, 255, 0))});

TEST(Icon, ShowsTheLargestImageAndCannotBeResized) {
  TIcon Icon;
  EXPECT_TRUE(Icon.Empty());
  EXPECT_TRUE(Icon.Transparent());
  Load(Icon, TwoImages);
  EXPECT_FALSE(Icon.Empty());
  EXPECT_EQ(Icon.Width(), 32);
  EXPECT_EQ(Icon.Height(), 24);
  try {
    Icon.SetWidth(10);
    ADD_FAILURE() << "resized";
  } catch (const base::EInvalidGraphicOperation& E) {
    EXPECT_STREQ(E.what(), "Cannot change the size of an icon");
  }
  EXPECT_THROW(Icon.SetHeight(10), base::EInvalidGraphicOperation);
}

TEST(Icon, DrawingLeavesTheTargetWhereTheMaskIsSet) {
  TIcon Icon;
  Load(Icon, TwoImages);
  TBitmap Target;
  Fill(Target, 40, 30, Green);
  Target.Canvas().Draw(4, 3, &Icon);
  // The colour 50, 100, 200 on the left half; alpha 0 on the right half.
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 40; ++X) {
      const bool Inside = X >= 4 && X < 36 && Y >= 3 && Y < 27;
      EXPECT_EQ(Target.Canvas().Pixels(X, Y), Inside && X < 20 ? 0xC86432 : Green) << X << ", " << Y;
    }
}

TEST(Icon, MaskedPixelsOfColourInvertTheTarget) {
  // The checker's top row is masked; its white pixels there invert what lies below.
  TIcon Icon;
  Load(Icon, IconFile({DIBEntry(Checker1(8, 4))}));
  TBitmap Target;
  Fill(Target, 8, 4, Green);
  Target.Canvas().Draw(0, 0, &Icon);
  for (int X = 0; X < 8; ++X) {
    EXPECT_EQ(Target.Canvas().Pixels(X, 0), X % 2 == 1 ? 0xFF00FF : Green) << X;
    EXPECT_EQ(Target.Canvas().Pixels(X, 1), X % 2 == 0 ? 0xFFFFFF : 0x000000) << X;
  }
}

TEST(Icon, StretchDrawScalesTheImageWithItsMask) {
  TIcon Icon;
  Load(Icon, IconFile({DIBEntry(Alpha32(4, 2, 255, 0))}));
  TBitmap Target;
  Fill(Target, 8, 4, Green);
  Target.Canvas().StretchDraw(base::Rect(0, 0, 8, 4), &Icon);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 8; ++X) EXPECT_EQ(Target.Canvas().Pixels(X, Y), X < 4 ? 0xC86432 : Green) << X << ", " << Y;
}

TEST(Icon, ItsPlatformIconCarriesTheMask) {
  TIcon Icon;
  Load(Icon, IconFile({DIBEntry(Alpha32(8, 2, 255, 0))}));
  gdi::ICONINFO Info;
  ASSERT_TRUE(gdi::GetIconInfo(Icon.Handle(), &Info));
  gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ Old = gdi::SelectObject(DC, Info.hbmMask);
  for (int X = 0; X < 8; ++X) EXPECT_EQ(gdi::GetPixel(DC, X, 1), X >= 4 ? 0xFFFFFFu : 0u) << X;
  gdi::SelectObject(DC, Old);
  gdi::DeleteDC(DC);
  gdi::DeleteObject(Info.hbmMask);
  gdi::DeleteObject(Info.hbmColor);
}

TEST(Icon, SavingWritesTheFileAndCopiesAreEqual) {
  TIcon Icon;
  Load(Icon, TwoImages);
  base::TMemoryStream Stream;
  Icon.SaveToStream(Stream);
  EXPECT_EQ(Stream.Bytes(), TwoImages);
  TIcon Copy;
  Copy.Assign(&Icon);
  EXPECT_EQ(Copy.Width(), 32);
  EXPECT_NE(Copy.Handle(), Icon.Handle());
  TIcon Empty;
  Copy.Assign(&Empty);
  EXPECT_TRUE(Copy.Empty());
}

TEST(Icon, AMalformedFileRaisesAndKeepsTheIconHeldBefore) {
  TIcon Icon;
  Load(Icon, TwoImages);
  Bytes Bad = TwoImages;
  Bad.resize(40);
  EXPECT_THROW(Load(Icon, Bad), base::EInvalidGraphic);
  EXPECT_EQ(Icon.Width(), 32);
  EXPECT_NE(Icon.Handle(), nullptr);
}

TEST(Icon, PicturesLoadIcoFilesOfAnotherWriterThroughIt) {
  REQUIRE_MAGICK();
  const TScratch Dir;
  ASSERT_TRUE(Dir.Convert("-size 16x16 xc:red a.png"));
  ASSERT_TRUE(Dir.Convert("-size 48x40 xc:none -fill blue -draw 'rectangle 24,0 47,39' b.png"));
  ASSERT_TRUE(Dir.Convert("a.png b.png out.ico"));
  graphics::TPicture Picture;
  Picture.LoadFromFile((Dir / "out.ico").string());
  auto* Icon = dynamic_cast<TIcon*>(Picture.Graphic());
  ASSERT_NE(Icon, nullptr);
  EXPECT_EQ(Icon->Width(), 48);
  EXPECT_EQ(Icon->Height(), 40);
  TBitmap Target;
  Fill(Target, 48, 40, Green);
  Target.Canvas().Draw(0, 0, Icon);
  EXPECT_EQ(Target.Canvas().Pixels(10, 10), Green);
  EXPECT_EQ(Target.Canvas().Pixels(40, 10), 0xFF0000);
  EXPECT_NE(graphics::GraphicFilter().find("Icons (*.ico)|*.ico"), std::string::npos);
}

}  // namespace
