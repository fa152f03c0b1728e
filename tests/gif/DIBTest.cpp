// DIB description and copying of bitmaps, and the row readers and writers the colour
// reduction and frame conversions use.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gif/DIB.h"
#include "gif/GIFException.h"
#include "platform/base/Exceptions.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/Palette.h"

using namespace gif;
using graphics::TBitmap;

namespace {

gdi::HPALETTE RampPalette(int Count) {
  gdi::LOGPALETTE Log;
  for (int I = 0; I < Count; ++I)
    Log.palPalEntry.push_back({uint8_t(I), uint8_t(255 - I % 256), uint8_t(3 * I), gdi::PC_NOCOLLAPSE});
  return gdi::CreatePalette(Log);
}

// A 24-bit bitmap whose pixel (X, Y) is red X * 40, green Y * 60, blue 7.
void MakePicture(TBitmap& B, int W, int H) {
  B.SetPixelFormat(graphics::pf24bit);
  B.SetWidth(W);
  B.SetHeight(H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.Canvas().SetPixels(X, Y, static_cast<graphics::TColor>(gdi::RGB(40 * X, 60 * Y, 7)));
}

template <class Fn>
std::string MessageOf(Fn&& F) {
  try {
    F();
  } catch (const std::exception& E) {
    return E.what();
  }
  return "no error";
}

TEST(DIBWriter, AnIndexedHeaderHoldsThePaletteAndZerosBeyondIt) {
  gdi::HPALETTE Palette = RampPalette(16);
  TBitmap B;
  TDIBWriter W(B, graphics::pf8bit, 3, 2, Palette);
  W.RowAddress(0);
  EXPECT_EQ(W.InfoSize(), 1064u);
  EXPECT_EQ(W.Info()->biClrUsed, 256u);
  EXPECT_EQ(W.Info()->biClrImportant, 16u);
  const auto* Table = reinterpret_cast<const gdi::RGBQUAD*>(W.Info() + 1);
  for (int I = 0; I < 16; ++I)
    EXPECT_EQ(Table[I], (gdi::RGBQUAD{uint8_t(3 * I), uint8_t(255 - I), uint8_t(I), 0})) << I;
  for (int I = 16; I < 256; ++I) EXPECT_EQ(Table[I], gdi::RGBQUAD{}) << I;
  gdi::DeleteObject(Palette);
}

TEST(DIBWriter, WithoutAPaletteTheTableIsZero) {
  TBitmap B;
  TDIBWriter W(B, graphics::pf8bit, 2, 2, nullptr);
  W.RowAddress(1);
  EXPECT_EQ(W.Info()->biClrImportant, 0u);
  const auto* Table = reinterpret_cast<const uint8_t*>(W.Info() + 1);
  EXPECT_EQ(std::count(Table, Table + 1024, 0), 1024);
}

TEST(DIBWriter, APaletteThatIsGoneCountsAsNone) {
  gdi::HPALETTE Palette = RampPalette(8);
  gdi::DeleteObject(Palette);
  TBitmap B;
  TDIBWriter W(B, graphics::pf8bit, 1, 1, Palette);
  W.RowAddress(0);
  EXPECT_EQ(W.Info()->biClrImportant, 0u);
}

TEST(DIBWriter, PalettesAreCutAt256Entries) {
  gdi::HPALETTE Palette = RampPalette(300);
  TBitmap B;
  {
    TDIBWriter W(B, graphics::pf8bit, 1, 1, Palette);
    W.RowAddress(0)[0] = 255;
    EXPECT_EQ(W.Info()->biClrImportant, 256u);
  }
  EXPECT_EQ(B.Canvas().Pixels(0, 0), static_cast<graphics::TColor>(gdi::RGB(255, 0, 253)));
  gdi::DeleteObject(Palette);
}

struct TRowCase {
  graphics::TPixelFormat Format;
  int32_t Width;
  int32_t RowBytes;
};

TEST(DIBWriter, RowsAreBottomUpAndPaddedTo32Bits) {
  const TRowCase Cases[] = {{graphics::pf24bit, 3, 12}, {graphics::pf8bit, 3, 4}, {graphics::pf24bit, 1, 4},
                            {graphics::pf8bit, 5, 8}};
  for (const TRowCase& C : Cases) {
    TBitmap B;
    TDIBWriter W(B, C.Format, C.Width, 4, nullptr);
    uint8_t* Top = W.RowAddress(0);
    uint8_t* Next = W.RowAddress(1);
    EXPECT_EQ(Top - Next, C.RowBytes) << C.Width;
    EXPECT_EQ(W.BitsSize(), static_cast<uint32_t>(4 * C.RowBytes));
    EXPECT_EQ(W.RowAddress(3), Top - 3 * C.RowBytes) << "row 0 is the last in memory";
  }
}

TEST(DIBWriter, PixelMemoryStartsClearAndBecomesTheBitmap) {
  gdi::HPALETTE Palette = RampPalette(4);
  TBitmap B;
  {
    TDIBWriter W(B, graphics::pf8bit, 3, 2, Palette);
    const uint8_t* Row = W.RowAddress(1);
    EXPECT_EQ(std::count(Row, Row + 4, 0), 4);
    W.RowAddress(0)[2] = 3;
  }
  EXPECT_EQ(B.PixelFormat(), graphics::pf8bit);
  EXPECT_EQ(B.Width(), 3);
  EXPECT_EQ(B.Height(), 2);
  EXPECT_EQ(B.ScanLine(0)[2], 3);
  EXPECT_EQ(B.ScanLine(1)[2], 0);
  EXPECT_EQ(B.Canvas().Pixels(2, 0), static_cast<graphics::TColor>(gdi::RGB(3, 252, 9)));
  gdi::DeleteObject(Palette);
}

TEST(DIBWriter, AWriterThatBuiltNothingLeavesTheBitmapAlone) {
  TBitmap B;
  MakePicture(B, 2, 2);
  { TDIBWriter W(B, graphics::pf8bit, 5, 5, nullptr); }
  EXPECT_EQ(B.Width(), 2);
  EXPECT_EQ(B.PixelFormat(), graphics::pf24bit);
}

TEST(DIBWriter, AnExceptionPassingThroughDoesNotStore) {
  TBitmap B;
  MakePicture(B, 2, 2);
  try {
    TDIBWriter W(B, graphics::pf24bit, 4, 4, nullptr);
    W.RowAddress(0);
    throw base::EAbort("stop");
  } catch (const base::EAbort&) {
  }
  EXPECT_EQ(B.Width(), 2);
}

TEST(DIBWriter, RefusesBadArguments) {
  TBitmap B;
  struct TCase {
    graphics::TPixelFormat Format;
    int32_t Width, Height;
    const char* Message;
  };
  const TCase Cases[] = {
      {graphics::pf4bit, 1, 1, "Unsupported PixelFormat"},   {graphics::pf32bit, 1, 1, "Unsupported PixelFormat"},
      {graphics::pf8bit, 0, 1, "Invalid image dimensions"},  {graphics::pf8bit, 1, 0, "Invalid image dimensions"},
      {graphics::pf24bit, -3, 2, "Invalid image dimensions"}, {graphics::pf24bit, 2, -3, "Invalid image dimensions"},
  };
  for (const TCase& C : Cases) {
    try {
      TDIBWriter W(B, C.Format, C.Width, C.Height, nullptr);
      ADD_FAILURE() << C.Message;
    } catch (const GIFException& E) {
      EXPECT_STREQ(E.what(), C.Message) << C.Width << " x " << C.Height;
    }
  }
}

TEST(DIBWriter, RowsOutsideTheImageAreRefused) {
  TBitmap B;
  TDIBWriter W(B, graphics::pf8bit, 2, 2, nullptr);
  for (int Row : {-1, 2}) {
    try {
      W.RowAddress(Row);
      ADD_FAILURE() << Row;
    } catch (const base::EInvalidGraphicOperation& E) {
      EXPECT_STREQ(E.what(), "Scan line index out of range");
    }
  }
}

TEST(DIBWriter, AnImpossiblePixelBlockIsAnOutOfMemoryError) {
  TBitmap B;
  TDIBWriter W(B, graphics::pf24bit, 0x7FFFFFFF, 0x7FFFFFFF, nullptr);
  try {
    W.RowAddress(0);
    FAIL() << "no error";
  } catch (const base::EOutOfMemory& E) {
    EXPECT_STREQ(E.what(), "Failed to allocate memory for GIF DIB");
  }
  EXPECT_EQ(W.Info(), nullptr) << "nothing stays allocated";
  EXPECT_EQ(W.BitsSize(), 0u);
}

TEST(DIBReader, ConvertsTheBitmapAndGivesItsScanLines) {
  TBitmap B;
  MakePicture(B, 3, 2);
  B.SetPixelFormat(graphics::pf8bit);
  TDIBReader R(B, graphics::pf24bit);
  EXPECT_EQ(GetPixelFormat(B), graphics::pf24bit);
  EXPECT_EQ(R.RowAddress(1), B.ScanLine(1));
  SetPixelFormat(B, graphics::pf4bit);
  EXPECT_EQ(B.PixelFormat(), graphics::pf4bit);
}

TEST(DIBMeasure, InfoSizesFollowTheBitCount) {
  TBitmap B;
  MakePicture(B, 5, 3);
  struct TCase {
    graphics::TPixelFormat Format;
    uint32_t Info, Image;
  };
  const TCase Cases[] = {{graphics::pf1bit, 48, 12},
                         {graphics::pf4bit, 104, 12},
                         {graphics::pf8bit, 1064, 24},
                         {graphics::pf24bit, 40, 48}};
  for (const TCase& C : Cases) {
    uint32_t Info = 0, Image = 0;
    MeasureDIB(B.Handle(), Info, Image, C.Format);
    EXPECT_EQ(Info, C.Info) << static_cast<int>(C.Format);
    EXPECT_EQ(Image, C.Image) << static_cast<int>(C.Format);
  }
}

TEST(DIBHeader, DescribesSectionsAndDeviceBitmapsAlike) {
  for (const graphics::TPixelFormat Kind : {graphics::pf8bit, graphics::pfDevice}) {
    TBitmap B;
    MakePicture(B, 7, 3);
    B.SetPixelFormat(Kind);
    gdi::BITMAPINFOHEADER H;
    FillDIBHeader(B.Handle(), H, graphics::pf24bit);
    EXPECT_EQ(H.biSize, 40u);
    EXPECT_EQ(H.biWidth, 7);
    EXPECT_EQ(H.biHeight, 3);
    EXPECT_EQ(H.biPlanes, 1);
    EXPECT_EQ(H.biBitCount, 24);
    EXPECT_EQ(H.biCompression, gdi::BI_RGB);
    EXPECT_EQ(H.biSizeImage, 72u);
    EXPECT_EQ(H.biClrUsed, 0u) << "no colour count that the table after it does not have";
  }
}

TEST(DIBHeader, RefusesWhatIsNoBitmapAndOtherFormats) {
  TBitmap B;
  MakePicture(B, 1, 1);
  gdi::BITMAPINFOHEADER H;
  gdi::HPALETTE Palette = RampPalette(2);
  EXPECT_EQ(MessageOf([&] { FillDIBHeader(nullptr, H, graphics::pf8bit); }), "Bitmap image is not valid");
  EXPECT_EQ(MessageOf([&] { FillDIBHeader(reinterpret_cast<gdi::HBITMAP>(Palette), H, graphics::pf8bit); }),
            "Bitmap image is not valid");
  for (const auto Format : {graphics::pf15bit, graphics::pf16bit, graphics::pf32bit, graphics::pfDevice})
    EXPECT_EQ(MessageOf([&] { FillDIBHeader(B.Handle(), H, Format); }), "Unsupported PixelFormat");
  gdi::DeleteObject(Palette);
}

TEST(DIBFetch, CopiesEveryRowInTheFormatAskedFor) {
  TBitmap B;
  MakePicture(B, 3, 2);
  uint32_t InfoSize = 0, ImageSize = 0;
  MeasureDIB(B.Handle(), InfoSize, ImageSize, graphics::pf24bit);
  std::vector<uint8_t> Info(InfoSize), Bits(ImageSize);
  ASSERT_TRUE(FetchDIB(B.Handle(), nullptr, Info.data(), Bits.data(), graphics::pf24bit));
  // Bottom row first: pixel (1, 1) is red 40, green 60, blue 7.
  EXPECT_EQ(Bits[3], 7);
  EXPECT_EQ(Bits[4], 60);
  EXPECT_EQ(Bits[5], 40);
}

TEST(DIBFetch, IndexedFormatsTakeTheNearestEntriesOfThePalette) {
  TBitmap B;
  MakePicture(B, 2, 1);
  gdi::HPALETTE Palette =
      gdi::CreatePalette(gdi::LOGPALETTE{0x300, {{0, 0, 0, 0}, {50, 0, 0, 0}, {255, 255, 255, 0}}});
  uint32_t InfoSize = 0, ImageSize = 0;
  MeasureDIB(B.Handle(), InfoSize, ImageSize, graphics::pf8bit);
  std::vector<uint8_t> Info(InfoSize, 0xEE), Bits(ImageSize);
  ASSERT_TRUE(FetchDIB(B.Handle(), Palette, Info.data(), Bits.data(), graphics::pf8bit));
  EXPECT_EQ(Bits[0], 0);
  EXPECT_EQ(Bits[1], 1);
  const auto* Table = reinterpret_cast<const gdi::RGBQUAD*>(Info.data() + 40);
  EXPECT_EQ(Table[1], (gdi::RGBQUAD{0, 0, 50, 0}));
  EXPECT_EQ(Table[3], gdi::RGBQUAD{}) << "the rest of the table is cleared";
  EXPECT_TRUE(gdi::DeleteObject(Palette)) << "the palette is no longer selected anywhere";
}

TEST(DIBFetch, AFailedCopyIsReportedAsFailure) {
  TBitmap B;
  MakePicture(B, 2, 2);
  std::vector<uint8_t> Info(40);
  EXPECT_FALSE(FetchDIB(B.Handle(), nullptr, Info.data(), nullptr, graphics::pf24bit));
}

TEST(DIBPalette, EntriesBecomeColourQuadsInPlace) {
  uint8_t Entries[] = {1, 2, 3, 4, 10, 20, 30, 40};
  PaletteToRGBQuads(Entries, 2);
  const uint8_t Expected[] = {3, 2, 1, 0, 30, 20, 10, 0};
  EXPECT_EQ(std::memcmp(Entries, Expected, sizeof Expected), 0);
}

}  // namespace
