#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/ui/BitmapImage.h"

using namespace ui;
using graphics::TBitmap;
using graphics::TPixelFormat;

namespace {

int BitsOf(TPixelFormat Format) {
  switch (Format) {
    case graphics::pf1bit: return 1;
    case graphics::pf4bit: return 4;
    case graphics::pf8bit: return 8;
    case graphics::pf15bit:
    case graphics::pf16bit: return 16;
    case graphics::pf24bit: return 24;
    default: return 32;
  }
}

int RowBytes(const TBitmap& Bitmap, TPixelFormat Format) { return (Bitmap.Width() * BitsOf(Format) + 7) / 8; }

// A bitmap of Format whose stored bytes follow a pattern; indexed ones get a table of
// distinct colours.
void Fill(TBitmap& Bitmap, TPixelFormat Format, int W, int H) {
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetWidth(W);
  Bitmap.SetHeight(H);
  const int Bits = BitsOf(Format);
  if (Bits <= 8) {
    std::vector<gdi::RGBQUAD> Colors;
    for (int I = 0; I < (1 << Bits); ++I)
      Colors.push_back({static_cast<uint8_t>(255 - I), static_cast<uint8_t>(I * 7), static_cast<uint8_t>(I * 13), 0});
    Bitmap.SetPalette(graphics::PaletteFromColors(Colors));
  }
  const int Bytes = RowBytes(Bitmap, Format);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = Bitmap.ScanLine(Y);
    for (int I = 0; I < Bytes; ++I) Row[I] = static_cast<uint8_t>(I * 37 + Y * 11 + 5);
    if (Format == graphics::pf15bit)  // the top bit of 5-5-5 pixels is unused
      for (int I = 1; I < Bytes; I += 2) Row[I] &= 0x7F;
    if (Format == graphics::pf32bit)
      for (int I = 3; I < Bytes; I += 4) Row[I] = 0;
    if ((W * Bits) % 8 != 0) Row[Bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - (W * Bits) % 8));
  }
}

std::vector<uint8_t> Rows(TBitmap& Bitmap) {
  std::vector<uint8_t> Result;
  const int Bytes = RowBytes(Bitmap, Bitmap.PixelFormat());
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* Row = Bitmap.ScanLine(Y);
    Result.insert(Result.end(), Row, Row + Bytes);
  }
  return Result;
}

}  // namespace

TEST(BitmapImage, EveryPixelFormatGoesToItsQtFormatAndBack) {
  struct {
    TPixelFormat Format;
    QImage::Format Qt;
  } const Cases[] = {
      {graphics::pf1bit, QImage::Format_Mono},     {graphics::pf4bit, QImage::Format_Indexed8},
      {graphics::pf8bit, QImage::Format_Indexed8}, {graphics::pf15bit, QImage::Format_RGB555},
      {graphics::pf16bit, QImage::Format_RGB16},   {graphics::pf24bit, QImage::Format_BGR888},
      {graphics::pf32bit, QImage::Format_RGB32},
  };
  for (const auto& C : Cases) {
    TBitmap Bitmap;
    Fill(Bitmap, C.Format, 11, 5);
    const QImage Image = BitmapToQImage(Bitmap);
    ASSERT_EQ(Image.format(), C.Qt) << int(C.Format);
    ASSERT_EQ(Image.size(), QSize(11, 5));
    // Every pixel shows the colour the bitmap's own canvas reads there.
    for (int Y = 0; Y < 5; ++Y)
      for (int X = 0; X < 11; ++X) {
        const graphics::TColor C2 = Bitmap.Canvas().Pixels(X, Y);
        EXPECT_EQ(Image.pixel(X, Y), qRgb(C2 & 0xFF, (C2 >> 8) & 0xFF, (C2 >> 16) & 0xFF))
            << int(C.Format) << " at " << X << "," << Y;
      }
    if (C.Format == graphics::pf4bit) continue;  // comes back as 8-bit: Qt has no 4-bit format
    TBitmap Back;
    AssignQImage(Back, Image);
    EXPECT_EQ(Back.PixelFormat(), C.Format);
    EXPECT_EQ(Rows(Back), Rows(Bitmap)) << int(C.Format);
  }
}

TEST(BitmapImage, FourBitValuesAndTableComeBackAsEightBit) {
  TBitmap Bitmap;
  Fill(Bitmap, graphics::pf4bit, 7, 3);
  TBitmap Back;
  AssignQImage(Back, BitmapToQImage(Bitmap));
  ASSERT_EQ(Back.PixelFormat(), graphics::pf8bit);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 7; ++X) {
      const uint8_t Packed = Bitmap.ScanLine(Y)[X / 2];
      EXPECT_EQ(Back.ScanLine(Y)[X], (X & 1) ? Packed & 0x0F : Packed >> 4);
      EXPECT_EQ(Back.Canvas().Pixels(X, Y), Bitmap.Canvas().Pixels(X, Y));
    }
}

TEST(BitmapImage, QtFormatsBecomeTheNearestPixelFormat) {
  struct {
    QImage::Format Qt;
    TPixelFormat Format;
  } const Cases[] = {
      {QImage::Format_Mono, graphics::pf1bit},     {QImage::Format_MonoLSB, graphics::pf1bit},
      {QImage::Format_Indexed8, graphics::pf8bit}, {QImage::Format_RGB555, graphics::pf15bit},
      {QImage::Format_RGB16, graphics::pf16bit},   {QImage::Format_RGB888, graphics::pf24bit},
      {QImage::Format_BGR888, graphics::pf24bit},  {QImage::Format_RGB32, graphics::pf32bit},
      {QImage::Format_ARGB32, graphics::pf32bit},  {QImage::Format_ARGB32_Premultiplied, graphics::pf32bit},
      {QImage::Format_Grayscale8, graphics::pf32bit},
  };
  for (const auto& C : Cases) {
    QImage Image(6, 4, QImage::Format_RGB32);
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 6; ++X) Image.setPixel(X, Y, (X + Y) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    Image = Image.convertToFormat(C.Qt);
    TBitmap Bitmap;
    AssignQImage(Bitmap, Image);
    EXPECT_EQ(Bitmap.PixelFormat(), C.Format) << int(C.Qt);
    EXPECT_EQ(Bitmap.Width(), 6);
    EXPECT_EQ(Bitmap.Height(), 4);
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 6; ++X)
        EXPECT_EQ(Bitmap.Canvas().Pixels(X, Y), (X + Y) % 2 ? 0xFFFFFF : 0) << int(C.Qt) << " at " << X << "," << Y;
  }
}

TEST(BitmapImage, ChannelsKeepTheirPlaces) {
  QImage Image(2, 1, QImage::Format_RGB888);
  Image.setPixel(0, 0, qRgb(10, 20, 30));
  Image.setPixel(1, 0, qRgb(200, 100, 50));
  TBitmap Bitmap;
  AssignQImage(Bitmap, Image);
  EXPECT_EQ(Bitmap.Canvas().Pixels(0, 0), 0x1E140A);  // $00BBGGRR
  EXPECT_EQ(Bitmap.Canvas().Pixels(1, 0), 0x3264C8);
  const uint8_t* Row = Bitmap.ScanLine(0);
  EXPECT_EQ(Row[0], 30);  // blue first in the DIB
  EXPECT_EQ(Row[2], 10);
}

TEST(BitmapImage, AlphaGoesToTheFourthByte) {
  QImage Image(1, 1, QImage::Format_ARGB32);
  Image.setPixel(0, 0, qRgba(1, 2, 3, 77));
  TBitmap Bitmap;
  AssignQImage(Bitmap, Image);
  const uint8_t* Row = Bitmap.ScanLine(0);
  EXPECT_EQ(Row[0], 3);
  EXPECT_EQ(Row[3], 77);
  EXPECT_EQ(BitmapToQImage(Bitmap).pixel(0, 0), qRgb(1, 2, 3));  // RGB32 is opaque
}

TEST(BitmapImage, ADeviceBitmapIsReadWithoutBeingChanged) {
  TBitmap Bitmap;
  Bitmap.SetWidth(3);
  Bitmap.SetHeight(2);
  ASSERT_EQ(Bitmap.PixelFormat(), graphics::pfDevice);
  Bitmap.Canvas().SetPixels(2, 1, 0x00336699);
  const QImage Image = BitmapToQImage(Bitmap);
  EXPECT_EQ(Image.format(), QImage::Format_RGB32);
  EXPECT_EQ(Image.pixel(2, 1), qRgb(0x99, 0x66, 0x33));
  EXPECT_EQ(Bitmap.PixelFormat(), graphics::pfDevice);
  EXPECT_EQ(Bitmap.HandleType(), graphics::bmDDB);
}

TEST(BitmapImage, EmptyAndNullMeetEachOther) {
  TBitmap Empty;
  EXPECT_TRUE(BitmapToQImage(Empty).isNull());
  TBitmap Bitmap;
  Fill(Bitmap, graphics::pf24bit, 2, 2);
  int Changes = 0;
  Bitmap.OnChange = [&](base::TObject*) { ++Changes; };
  AssignQImage(Bitmap, QImage());
  EXPECT_TRUE(Bitmap.Empty());
  QImage One(1, 1, QImage::Format_RGB32);
  One.fill(Qt::red);
  AssignQImage(Bitmap, One);
  EXPECT_EQ(Bitmap.Canvas().Pixels(0, 0), 0x0000FF);
  EXPECT_GT(Changes, 0);
}
