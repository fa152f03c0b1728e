#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "GdiTestSupport.h"
#include "platform/gdi/DIBits.h"
#include "platform/gdi/LastError.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

struct OwnedPalette {
  explicit OwnedPalette(std::vector<PALETTEENTRY> Entries)
      : Handle(CreatePalette(LOGPALETTE{0x300, std::move(Entries)})) {}
  ~OwnedPalette() { DeleteObject(Handle); }
  HPALETTE Handle;
};

// A memory DC with Palette selected, as a caller of GetDIBits prepares it.
struct PaletteDC {
  explicit PaletteDC(HPALETTE Palette) : DC(CreateCompatibleDC(nullptr)), Old(SelectPalette(DC, Palette, false)) {
    RealizePalette(DC);
  }
  ~PaletteDC() {
    SelectPalette(DC, Old, false);
    DeleteDC(DC);
  }
  HDC DC;
  HPALETTE Old;
};

uint32_t Stored(const Info& I, const std::vector<uint8_t>& Bits, int X, int Row) {
  DIBFormat F;
  ReadDIBFormat(&I.Block, F);
  uint32_t V = 0;
  std::vector<uint8_t> Copy = Bits;
  ReadPixels(F.View(Copy.data(), static_cast<int32_t>(Copy.size() / F.Stride)), X, Row, 1, &V);
  return V;
}

}  // namespace

TEST(DIBits, TrueColourIntoIndexedTakesTheNearestEntriesOfTheSelectedPalette) {
  OwnedPalette P({{0, 0, 0, 0}, {250, 0, 0, 0}, {0, 0, 250, 0}, {255, 255, 255, 0}});
  PaletteDC DC(P.Handle);
  Canvas Src(TrueColor("24", 24), 4, 1);
  const COLORREF Pixels[] = {RGB(200, 30, 30), RGB(10, 10, 10), RGB(20, 20, 200), RGB(230, 230, 230)};
  for (int X = 0; X < 4; ++X) SetPixel(Src.DC, X, 0, Pixels[X]);

  struct Case {
    int Bits;
    std::vector<uint32_t> Values;
  };
  for (const Case& C : {Case{8, {1, 0, 2, 3}}, Case{4, {1, 0, 2, 3}}, Case{1, {1, 0, 0, 1}}}) {
    SCOPED_TRACE(C.Bits);
    Info I(4, 1, TrueColor("", C.Bits));
    for (RGBQUAD& Q : I.Block.bmiColors) Q = {7, 7, 7, 7};
    std::vector<uint8_t> Bits(4, 0);
    ASSERT_EQ(GetDIBits(DC.DC, Src.Bitmap, 0, 1, Bits.data(), &I.Block, DIB_RGB_COLORS), 1);
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Stored(I, Bits, X, 0), C.Values[X]) << X;
    EXPECT_EQ(I.Block.bmiColors[1], (RGBQUAD{0, 0, 250, 0}));
    EXPECT_EQ(I.Block.bmiColors[(1 << C.Bits) - 1], (C.Bits == 1 ? RGBQUAD{0, 0, 250, 0} : RGBQUAD{}));
    EXPECT_EQ(I.Block.bmiHeader.biClrUsed, 0u);
    EXPECT_EQ(I.Block.bmiHeader.biSizeImage, 4u);
  }
}

TEST(DIBits, StockPaletteStandsForTheSystemColours) {
  HDC DC = CreateCompatibleDC(nullptr);
  Canvas Src(TrueColor("32", 32), 2, 1);
  SetPixel(Src.DC, 0, 0, RGB(0, 0, 255));
  SetPixel(Src.DC, 1, 0, RGB(250, 250, 250));
  struct Case {
    int Bits;
    std::vector<RGBQUAD> Table;
    uint32_t Blue, White;
  };
  const std::vector<RGBQUAD> Halftone = QuadsOf(HalftonePaletteEntries());
  for (const Case& C :
       {Case{1, {{0, 0, 0, 0}, {255, 255, 255, 0}}, 0, 1}, Case{4, Vga16(), 12, 15}, Case{8, Halftone, 15, 225}}) {
    SCOPED_TRACE(C.Bits);
    Info I(2, 1, TrueColor("", C.Bits));
    std::vector<uint8_t> Bits(4, 0);
    ASSERT_EQ(GetDIBits(DC, Src.Bitmap, 0, 1, Bits.data(), &I.Block, DIB_RGB_COLORS), 1);
    EXPECT_TRUE(std::equal(C.Table.begin(), C.Table.end(), I.Block.bmiColors));
    EXPECT_EQ(Stored(I, Bits, 0, 0), C.Blue);
    EXPECT_EQ(Stored(I, Bits, 1, 0), C.White);
  }
  DeleteDC(DC);
}

TEST(DIBits, SameDepthGivesTheBitmapsOwnTableAndValues) {
  OwnedPalette Other({{1, 2, 3, 0}});
  PaletteDC DC(Other.Handle);
  Canvas Src(Indexed("8", 8, {{5, 5, 5, 0}, {5, 5, 5, 0}, {0, 0, 0, 0}}), 3, 1);
  for (int X = 0; X < 3; ++X) Src.SetValue(X, 0, static_cast<uint32_t>(X));
  Info I(3, 1, TrueColor("", 8));
  std::vector<uint8_t> Bits(4, 0);
  ASSERT_EQ(GetDIBits(DC.DC, Src.Bitmap, 0, 1, Bits.data(), &I.Block, DIB_RGB_COLORS), 1);
  EXPECT_EQ(Bits[0], 0);
  EXPECT_EQ(Bits[1], 1);
  EXPECT_EQ(Bits[2], 2);
  EXPECT_EQ(I.Block.bmiColors[1], (RGBQUAD{5, 5, 5, 0}));
  EXPECT_EQ(I.Block.bmiColors[3], RGBQUAD{});

  Canvas Mono(MonoDevice(), 9, 1);
  Mono.SetValue(8, 0, 1);
  Info M(9, 1, TrueColor("", 1));
  std::vector<uint8_t> MonoBits(4, 0xAA);
  ASSERT_EQ(GetDIBits(DC.DC, Mono.Bitmap, 0, 1, MonoBits.data(), &M.Block, DIB_RGB_COLORS), 1);
  EXPECT_EQ(MonoBits[0], 0x00);
  EXPECT_EQ(MonoBits[1] & 0x80, 0x80);
  EXPECT_EQ(M.Block.bmiColors[1], (RGBQUAD{255, 255, 255, 0}));
}

TEST(DIBits, ScanLinesCountFromTheBottomOfBottomUpDIBs) {
  HDC DC = CreateCompatibleDC(nullptr);
  Canvas Src(TrueColor("24", 24), 1, 4);
  for (int Y = 0; Y < 4; ++Y) SetPixel(Src.DC, 0, Y, RGB(Y, 0, 0));  // row 0 at the top
  struct Case {
    int32_t Height;
    uint32_t Start, Lines;
    int Copied;
    std::vector<int> Rows;  // picture row in each buffer line
  };
  const Case Cases[] = {
      {4, 0, 4, 4, {3, 2, 1, 0}}, {4, 1, 2, 2, {2, 1}}, {4, 3, 5, 1, {0}},
      {-4, 1, 2, 2, {1, 2}},      {4, 4, 1, 0, {}},     {2, 0, 4, 2, {3, 2}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Height) + " " + std::to_string(C.Start));
    Info I(1, C.Height, TrueColor("", 24));
    std::vector<uint8_t> Bits(16, 0xEE);
    ASSERT_EQ(GetDIBits(DC, Src.Bitmap, C.Start, C.Lines, Bits.data(), &I.Block, DIB_RGB_COLORS), C.Copied);
    for (size_t L = 0; L < C.Rows.size(); ++L) EXPECT_EQ(Bits[L * 4 + 2], C.Rows[L]) << L;
    if (C.Rows.size() < 4) {
      EXPECT_EQ(Bits[C.Rows.size() * 4], 0xEE);
    }
  }

  // SetDIBits puts the lines back at the same places.
  Canvas Dst(TrueColor("24", 24), 1, 4);
  Info I(1, 4, TrueColor("", 24));
  const uint8_t Band[] = {0, 0, 77, 0, 0, 0, 88, 0};
  EXPECT_EQ(SetDIBits(nullptr, Dst.Bitmap, 1, 2, Band, &I.Block, DIB_RGB_COLORS), 2);
  EXPECT_EQ(Dst.Color(0, 2), RGB(77, 0, 0));
  EXPECT_EQ(Dst.Color(0, 1), RGB(88, 0, 0));
  EXPECT_EQ(Dst.Color(0, 0), RGB(0, 0, 0));
  Info Top(1, -4, TrueColor("", 24));
  EXPECT_EQ(SetDIBits(nullptr, Dst.Bitmap, 0, 1, Band, &Top.Block, DIB_RGB_COLORS), 1);
  EXPECT_EQ(Dst.Color(0, 0), RGB(77, 0, 0));
  DeleteDC(DC);
}

TEST(DIBits, ConversionsKeepColours) {
  HDC DC = CreateCompatibleDC(nullptr);
  const std::vector<PixelFormat> Formats = {Indexed("8", 8, QuadsOf(HalftonePaletteEntries())), TrueColor("16", 16),
                                            TrueColor("24", 24), TrueColor("32", 32),
                                            BitFields("32 fields", 32, 0xFF, 0xFF00, 0xFF0000)};
  const COLORREF Colors[] = {RGB(255, 0, 0), RGB(0, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 255, 0)};
  for (const PixelFormat& From : Formats) {
    for (const PixelFormat& Via : Formats) {
      SCOPED_TRACE(From.Name + " via " + Via.Name);
      Canvas Src(From, 5, 2);
      for (int X = 0; X < 5; ++X) {
        SetPixel(Src.DC, X, 0, Colors[X]);
        SetPixel(Src.DC, X, 1, Colors[4 - X]);
      }
      Info I(5, 2, Via);
      std::vector<uint8_t> Bits(40, 0);
      ASSERT_EQ(GetDIBits(DC, Src.Bitmap, 0, 2, Bits.data(), &I.Block, DIB_RGB_COLORS), 2);
      Canvas Back(From, 5, 2);
      ASSERT_EQ(SetDIBits(DC, Back.Bitmap, 0, 2, Bits.data(), &I.Block, DIB_RGB_COLORS), 2);
      for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 5; ++X) ASSERT_EQ(Back.Color(X, Y), Src.Color(X, Y)) << X << "," << Y;
    }
  }
  DeleteDC(DC);
}

TEST(DIBits, BadRequestsAreRefused) {
  HDC DC = CreateCompatibleDC(nullptr);
  Canvas Src(TrueColor("24", 24), 2, 2);
  Info I(2, 2, TrueColor("", 24));
  std::vector<uint8_t> Bits(16);
  SetLastError(0);
  EXPECT_EQ(GetDIBits(DC, nullptr, 0, 2, Bits.data(), &I.Block, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetDIBits(DC, Src.Bitmap, 0, 2, nullptr, &I.Block, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetDIBits(DC, Src.Bitmap, 0, 2, Bits.data(), &I.Block, 1), 0);
  I.Block.bmiHeader.biBitCount = 12;
  EXPECT_EQ(GetDIBits(DC, Src.Bitmap, 0, 2, Bits.data(), &I.Block, DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBits(DC, Src.Bitmap, 0, 2, Bits.data(), &I.Block, DIB_RGB_COLORS), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  DeleteDC(DC);
}

TEST(DIBits, StretchDIBitsMeasuresBottomUpSourcesFromTheirLowerLeftCorner) {
  // Four scan lines, bottom first, with red 0, 1, 2, 3.
  const uint8_t Scans[] = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0};
  Canvas Dst(TrueColor("24", 24), 2, 4);
  Dst.Paint(RGB(9, 9, 9));
  Info Up(1, 4, TrueColor("", 24));
  EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 1, 2, 0, 1, 1, 2, Scans, &Up.Block, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(Dst.Color(0, 0), RGB(2, 0, 0));
  EXPECT_EQ(Dst.Color(0, 1), RGB(1, 0, 0));
  EXPECT_EQ(Dst.Color(0, 2), RGB(9, 9, 9));
  Info Down(1, -4, TrueColor("", 24));
  SetStretchBltMode(Dst.DC, COLORONCOLOR);
  EXPECT_EQ(StretchDIBits(Dst.DC, 1, 0, 1, 4, 0, 1, 1, 2, Scans, &Down.Block, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(Dst.Color(1, 0), RGB(1, 0, 0));
  EXPECT_EQ(Dst.Color(1, 1), RGB(1, 0, 0));
  EXPECT_EQ(Dst.Color(1, 3), RGB(2, 0, 0));
  EXPECT_EQ(StretchDIBits(Dst.DC, 0, 0, 1, 1, 0, 0, 1, 1, nullptr, &Up.Block, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(DIBits, EveryPixelTakesTheEntryGetNearestPaletteIndexNames) {
  uint32_t Seed = 12345;
  auto Next = [&Seed] {
    Seed ^= Seed << 13;
    Seed ^= Seed >> 17;
    Seed ^= Seed << 5;
    return Seed;
  };
  std::vector<PALETTEENTRY> Entries;
  for (int I = 0; I < 200; ++I) {
    const uint32_t R = Next();
    Entries.push_back({static_cast<uint8_t>(R), static_cast<uint8_t>(R >> 8), static_cast<uint8_t>(R >> 16), 0});
  }
  for (int I = 0; I < 20; ++I) Entries.push_back(Entries[static_cast<size_t>(I * 7)]);  // repeated colours
  OwnedPalette P(Entries);
  PaletteDC DC(P.Handle);
  Canvas Src(TrueColor("24", 24), 128, 64);
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 128; ++X) Src.SetValue(X, Y, Next() & 0xFFFFFF);
  Info I(128, -64, TrueColor("", 8));
  std::vector<uint8_t> Bits(128 * 64);
  ASSERT_EQ(GetDIBits(DC.DC, Src.Bitmap, 0, 64, Bits.data(), &I.Block, DIB_RGB_COLORS), 64);
  for (int Y = 0; Y < 64; ++Y)
    for (int X = 0; X < 128; ++X)
      ASSERT_EQ(Bits[static_cast<size_t>(Y * 128 + X)], GetNearestPaletteIndex(P.Handle, Src.Color(X, Y)))
          << X << "," << Y;
}
