// TJPEGImage: pictures from bitmaps encoded with its settings, files loaded and kept,
// and its place in the picture registry.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/JPEGImage.h"
#include "platform/graphics/JPEGImageCodec.h"
#include "platform/graphics/Picture.h"
#include "tests/graphics/PictureTestSupport.h"

using namespace picturetest;
using graphics::TBitmap;
using graphics::TJPEGImage;

namespace {

// A 24-bit bitmap of the gradient picture.
void LoadGradient(TBitmap& B, int W, int H) {
  base::TMemoryStream Bmp;
  graphics::WriteBMP(Bmp, Gradient(W, H));
  Bmp.SetPosition(0);
  B.LoadFromStream(Bmp);
}

Bytes Saved(TJPEGImage& Image) {
  base::TMemoryStream Stream;
  Image.SaveToStream(Stream);
  return Stream.Bytes();
}

graphics::TDIBImage Decoded(const Bytes& File) {
  base::TMemoryStream Stream(File);
  return graphics::ReadJPEG(Stream);
}

TEST(JPEGImage, DefaultsAreQualityNinetyInColourWithSmoothing) {
  const TJPEGImage Image;
  EXPECT_TRUE(Image.Empty());
  EXPECT_EQ(Image.CompressionQuality(), 90);
  EXPECT_FALSE(Image.Grayscale());
  EXPECT_TRUE(Image.Smoothing());
  base::TMemoryStream Stream;
  const_cast<TJPEGImage&>(Image).SaveToStream(Stream);
  EXPECT_EQ(Stream.Size(), 0);
}

TEST(JPEGImage, ABitmapAssignedIsWrittenWithTheImagesSettings) {
  TBitmap Source;
  LoadGradient(Source, 48, 32);
  TJPEGImage Image;
  Image.Assign(&Source);
  EXPECT_EQ(Image.Width(), 48);
  EXPECT_EQ(Image.Height(), 32);
  Image.SetCompressionQuality(95);
  const graphics::TDIBImage Colour = Decoded(Saved(Image));
  ASSERT_EQ(Colour.BitCount, 24);
  EXPECT_GE(PSNR(Gradient(48, 32), Colour), 34);

  Image.SetGrayscale(true);
  EXPECT_EQ(Decoded(Saved(Image)).BitCount, 8);
  Image.SetGrayscale(false);
  Image.SetCompressionQuality(5);
  EXPECT_LT(Saved(Image).size(), graphics::EncodeJPEG(Gradient(48, 32), 95, false).size());
}

TEST(JPEGImage, QualityIsClampedAndSmoothingDoesNotChangeTheFile) {
  TJPEGImage Image;
  Image.SetCompressionQuality(250);
  EXPECT_EQ(Image.CompressionQuality(), 100);
  Image.SetCompressionQuality(-4);
  EXPECT_EQ(Image.CompressionQuality(), 0);
  TBitmap Source;
  LoadGradient(Source, 16, 16);
  Image.Assign(&Source);
  const Bytes Plain = Saved(Image);
  Image.SetSmoothing(false);
  EXPECT_EQ(Saved(Image), Plain);
}

TEST(JPEGImage, PalettedBitmapsAreEncodedByTheirColours) {
  TBitmap Source;
  Source.SetPixelFormat(graphics::pf8bit);
  Source.SetWidth(16);
  Source.SetHeight(16);
  Source.Canvas().Brush().SetColor(0x0000FF);
  Source.Canvas().FillRect(base::Rect(0, 0, 16, 16));
  TJPEGImage Image;
  Image.Assign(&Source);
  Image.SetCompressionQuality(100);
  const graphics::TDIBImage Back = Decoded(Saved(Image));
  const uint8_t* P = Pixel24(Back, 8, 8);
  EXPECT_LE(P[0], 8);
  EXPECT_LE(P[1], 8);
  EXPECT_GE(P[2], 247);
}

TEST(JPEGImage, ALoadedFileIsKeptAndWrittenUnchanged) {
  const Bytes File = graphics::EncodeJPEG(Gradient(30, 20), 70, true);
  TJPEGImage Image;
  base::TMemoryStream Stream(File);
  Image.LoadFromStream(Stream);
  EXPECT_EQ(Image.Width(), 30);
  EXPECT_EQ(Image.Height(), 20);
  EXPECT_TRUE(Image.Grayscale());
  EXPECT_EQ(Image.Bitmap().PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(Saved(Image), File);
  // Changing what would be written encodes afresh.
  Image.SetGrayscale(false);
  EXPECT_NE(Saved(Image), File);
}

TEST(JPEGImage, BadDataRaisesAndKeepsThePictureHeldBefore) {
  TJPEGImage Image;
  base::TMemoryStream Good(graphics::EncodeJPEG(Gradient(12, 10), 80, false));
  Image.LoadFromStream(Good);
  base::TMemoryStream Bad(Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0, 3});
  EXPECT_THROW(Image.LoadFromStream(Bad), base::EInvalidGraphic);
  EXPECT_EQ(Image.Width(), 12);
  EXPECT_EQ(Image.Height(), 10);
}

TEST(JPEGImage, CopiesAndBitmapsTakeThePicture) {
  TJPEGImage Image;
  base::TMemoryStream Stream(graphics::EncodeJPEG(Gradient(20, 10), 90, false));
  Image.LoadFromStream(Stream);
  Image.SetCompressionQuality(33);
  TJPEGImage Copy;
  Copy.Assign(&Image);
  EXPECT_EQ(Copy.Width(), 20);
  EXPECT_EQ(Copy.CompressionQuality(), 33);
  EXPECT_EQ(Saved(Copy), Saved(Image));
  TBitmap Bitmap;
  Bitmap.Assign(&Image);
  EXPECT_EQ(Bitmap.Width(), 20);
  EXPECT_EQ(Bitmap.Height(), 10);
  EXPECT_EQ(Bitmap.Canvas().Pixels(3, 3), Image.Bitmap().Canvas().Pixels(3, 3));
}

TEST(JPEGImage, PicturesLoadJpgAndJpegFilesThroughIt) {
  const TScratch Dir;
  SaveFile(Dir / "a.jpg", graphics::EncodeJPEG(Gradient(9, 7), 90, false));
  SaveFile(Dir / "b.JPEG", graphics::EncodeJPEG(Gradient(5, 4), 90, false));
  for (const char* Name : {"a.jpg", "b.JPEG"}) {
    graphics::TPicture Picture;
    Picture.LoadFromFile((Dir / Name).string());
    EXPECT_NE(dynamic_cast<TJPEGImage*>(Picture.Graphic()), nullptr) << Name;
  }
  const std::string Filter = graphics::GraphicFilter();
  EXPECT_NE(Filter.find("JPEG Image File (*.jpg)|*.jpg"), std::string::npos) << Filter;
  EXPECT_NE(Filter.find("JPEG Image File (*.jpeg)|*.jpeg"), std::string::npos) << Filter;
}

}  // namespace
