#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "GdiTestSupport.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/LastError.h"
#include "platform/gdi/RasterOp.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

// Colours every format shows exactly, except that 1-bit formats show each as the
// nearer of black and white.
const COLORREF Picture[] = {RGB(0, 0, 0),   RGB(255, 255, 255), RGB(255, 0, 0),   RGB(0, 255, 0),
                            RGB(0, 0, 255), RGB(255, 255, 0),   RGB(0, 255, 255), RGB(255, 0, 255)};

COLORREF PictureAt(int X, int Y) { return Picture[(X + 3 * Y) % 8]; }

COLORREF BlackOrWhite(COLORREF C) {
  const int Full = (GetRValue(C) == 255) + (GetGValue(C) == 255) + (GetBValue(C) == 255);
  return Full >= 2 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

std::vector<PixelFormat> ColorFormats() {
  return {Indexed("1-bit DIB", 1, {{0, 0, 0, 0}, {255, 255, 255, 0}}),
          Indexed("4-bit VGA", 4, Vga16()),
          Indexed("8-bit halftone", 8, QuadsOf(HalftonePaletteEntries())),
          TrueColor("16-bit 5-5-5", 16),
          BitFields("16-bit 5-6-5", 16, 0xF800, 0x07E0, 0x001F),
          TrueColor("24-bit", 24),
          TrueColor("32-bit", 32),
          BitFields("32-bit blue-green-red", 32, 0x0000FF, 0x00FF00, 0xFF0000)};
}

}  // namespace

TEST(Blit, SourceCopyBetweenEveryPairOfFormatsKeepsColours) {
  const COLORREF Fill = RGB(0, 0, 255);
  for (const PixelFormat& From : ColorFormats()) {
    for (const PixelFormat& To : ColorFormats()) {
      SCOPED_TRACE(From.Name + " -> " + To.Name);
      Canvas Src(From, 5, 3);
      for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 5; ++X) SetPixel(Src.DC, X, Y, PictureAt(X, Y));
      Canvas Dst(To, 7, 5);
      Dst.Paint(Fill);
      ASSERT_TRUE(BitBlt(Dst.DC, 1, 1, 5, 3, Src.DC, 0, 0, SRCCOPY));
      const bool OneBit = From.Bits == 1 || To.Bits == 1;
      for (int Y = 0; Y < 5; ++Y) {
        for (int X = 0; X < 7; ++X) {
          const bool Inside = X >= 1 && X < 6 && Y >= 1 && Y < 4;
          const COLORREF Want = Inside ? PictureAt(X - 1, Y - 1) : Fill;
          const bool Reduced = Inside ? OneBit : To.Bits == 1;
          ASSERT_EQ(Dst.Color(X, Y), Reduced ? BlackOrWhite(Want) : Want) << X << "," << Y;
        }
      }
    }
  }
}

TEST(Blit, MonochromeDeviceBitmapsFollowTheDCColours) {
  // Monochrome source: 0 bits take the destination's text colour, 1 bits its background.
  {
    Canvas Mono(MonoDevice(), 2, 1);
    Mono.SetValue(1, 0, 1);
    SetTextColor(Mono.DC, RGB(1, 1, 1));  // the source DC's colours play no part
    SetBkColor(Mono.DC, RGB(2, 2, 2));
    Canvas True(TrueColor("24", 24), 2, 1);
    SetTextColor(True.DC, RGB(200, 0, 0));
    SetBkColor(True.DC, RGB(0, 0, 90));
    ASSERT_TRUE(BitBlt(True.DC, 0, 0, 2, 1, Mono.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(True.Color(0, 0), RGB(200, 0, 0));
    EXPECT_EQ(True.Color(1, 0), RGB(0, 0, 90));

    Canvas Eight(Indexed("8", 8, QuadsOf(HalftonePaletteEntries())), 2, 1);
    SetTextColor(Eight.DC, RGB(255, 0, 0));
    ASSERT_TRUE(BitBlt(Eight.DC, 0, 0, 2, 1, Mono.DC, 0, 0, SRCCOPY));
    EXPECT_EQ(Eight.Value(0, 0), 190u);  // the cube's red comes before the static one
    EXPECT_EQ(Eight.Color(1, 0), RGB(255, 255, 255));
  }
  // Colour source: pixels equal to the source DC's background colour become 1.
  struct Case {
    PixelFormat From;
    COLORREF Key;
    std::vector<COLORREF> Pixels;
    std::vector<uint32_t> Bits;
  };
  const std::vector<Case> Cases = {
      {TrueColor("24", 24), RGB(10, 20, 30), {RGB(10, 20, 30), RGB(10, 20, 31), RGB(255, 255, 255)}, {1, 0, 0}},
      {TrueColor("32", 32), RGB(255, 255, 255), {RGB(10, 20, 30), RGB(0, 0, 0), RGB(255, 255, 255)}, {0, 0, 1}},
      {TrueColor("16", 16), RGB(255, 0, 0), {RGB(255, 0, 0), RGB(0, 0, 0), RGB(0, 255, 0)}, {1, 0, 0}},
      {Indexed("8 with a repeated entry", 8, {{0, 0, 0, 0}, {9, 9, 9, 0}, {9, 9, 9, 0}}),
       RGB(9, 9, 9),
       {RGB(9, 9, 9), RGB(0, 0, 0), RGB(9, 9, 9)},
       {1, 0, 1}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.From.Name);
    Canvas Src(C.From, 3, 1);
    for (int X = 0; X < 3; ++X) SetPixel(Src.DC, X, 0, C.Pixels[X]);
    if (C.From.Bits == 8) Src.SetValue(2, 0, 2);
    SetBkColor(Src.DC, C.Key);
    Canvas Mono(MonoDevice(), 3, 1);
    ASSERT_TRUE(BitBlt(Mono.DC, 0, 0, 3, 1, Src.DC, 0, 0, SRCCOPY));
    for (int X = 0; X < 3; ++X) EXPECT_EQ(Mono.Value(X, 0), C.Bits[X]) << X;
  }
  // Between monochrome bitmaps bits are copied whatever the colours.
  Canvas A(MonoDevice(), 2, 1), B(MonoDevice(), 2, 1);
  A.SetValue(0, 0, 1);
  SetBkColor(A.DC, RGB(0, 0, 0));
  SetTextColor(B.DC, RGB(255, 255, 255));
  ASSERT_TRUE(BitBlt(B.DC, 0, 0, 2, 1, A.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(B.Value(0, 0), 1u);
  EXPECT_EQ(B.Value(1, 0), 0u);
}

TEST(Blit, OneBitSectionsUseTheirOwnColours) {
  Canvas Dib(Indexed("1", 1, {{0, 0, 255, 0}, {0, 255, 0, 0}}), 2, 1);
  Dib.SetValue(1, 0, 1);
  Canvas True(TrueColor("24", 24), 2, 1);
  SetTextColor(True.DC, RGB(7, 7, 7));
  ASSERT_TRUE(BitBlt(True.DC, 0, 0, 2, 1, Dib.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(True.Color(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(True.Color(1, 0), RGB(0, 255, 0));
  SetPixel(True.DC, 0, 0, RGB(0, 200, 0));
  SetBkColor(True.DC, RGB(0, 200, 0));
  ASSERT_TRUE(BitBlt(Dib.DC, 0, 0, 1, 1, True.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Dib.Value(0, 0), 1u);  // the nearer colour, not the background rule
}

TEST(Blit, OperationsWorkOnStoredValues) {
  struct Case {
    uint32_t Rop;
    uint32_t (*Expected)(uint32_t S, uint32_t D);
  };
  const Case Cases[] = {
      {SRCCOPY, [](uint32_t S, uint32_t) { return S; }},
      {SRCAND, [](uint32_t S, uint32_t D) { return S & D; }},
      {SRCPAINT, [](uint32_t S, uint32_t D) { return S | D; }},
      {SRCINVERT, [](uint32_t S, uint32_t D) { return S ^ D; }},
      {NOTSRCCOPY, [](uint32_t S, uint32_t) { return ~S; }},
      {DSTINVERT, [](uint32_t, uint32_t D) { return ~D; }},
      {SRCERASE, [](uint32_t S, uint32_t D) { return S & ~D; }},
  };
  std::vector<RGBQUAD> Scrambled(256);
  for (int I = 0; I < 256; ++I)
    Scrambled[I] = {static_cast<uint8_t>(I * 7), static_cast<uint8_t>(255 - I), static_cast<uint8_t>(I / 3), 0};
  for (const PixelFormat& F : {Indexed("8", 8, Scrambled), Indexed("4", 4, Vga16()), TrueColor("24", 24)}) {
    const uint32_t Bits = (F.Bits == 24 ? 0xFFFFFFu : (1u << F.Bits) - 1);
    for (const Case& C : Cases) {
      SCOPED_TRACE(F.Name + " " + std::to_string(RopIndex(C.Rop)));
      Canvas Src(F, 4, 1), Dst(F, 4, 1);
      const uint32_t S[] = {0x123456, 0xFEDCBA, 0x0F0F0F, 0x00FF00};
      const uint32_t D[] = {0xABCDEF, 0x135790, 0xF0F0F0, 0xFFFFFF};
      for (int X = 0; X < 4; ++X) {
        Src.SetValue(X, 0, S[X] & Bits);
        Dst.SetValue(X, 0, D[X] & Bits);
      }
      ASSERT_TRUE(BitBlt(Dst.DC, 0, 0, 4, 1, Src.DC, 0, 0, C.Rop));
      for (int X = 0; X < 4; ++X) EXPECT_EQ(Dst.Value(X, 0), C.Expected(S[X] & Bits, D[X] & Bits) & Bits) << X;
    }
  }
}

TEST(Blit, SourceInvertTwiceRestoresAnIndexedPictureExactly) {
  const PixelFormat F = Indexed("8", 8, QuadsOf(HalftonePaletteEntries()));
  Canvas Pic(F, 16, 16), Stamp(F, 16, 16);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      Pic.SetValue(X, Y, static_cast<uint32_t>(X * 16 + Y));
      Stamp.SetValue(X, Y, static_cast<uint32_t>((X * 31 + Y * 7) & 0xFF));
    }
  BitBlt(Pic.DC, 0, 0, 16, 16, Stamp.DC, 0, 0, SRCINVERT);
  EXPECT_NE(Pic.Value(3, 4), 3u * 16 + 4);
  BitBlt(Pic.DC, 0, 0, 16, 16, Stamp.DC, 0, 0, SRCINVERT);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_EQ(Pic.Value(X, Y), static_cast<uint32_t>(X * 16 + Y));
}

TEST(Blit, PatternAndFillOperations) {
  const std::vector<RGBQUAD> Table = {{10, 10, 10, 0}, {1, 1, 1, 0},       {0, 0, 255, 0},
                                      {0, 0, 0, 0},    {250, 250, 250, 0}, {255, 255, 255, 0}};
  Canvas Eight(Indexed("8", 8, Table), 3, 2);
  EXPECT_TRUE(PatBlt(Eight.DC, 0, 0, 3, 2, BLACKNESS));
  EXPECT_EQ(Eight.Value(2, 1), 3u);  // the table's black, not index 0
  EXPECT_TRUE(PatBlt(Eight.DC, 0, 0, 3, 2, WHITENESS));
  EXPECT_EQ(Eight.Value(0, 0), 5u);
  HBRUSH Red = CreateSolidBrush(RGB(240, 0, 0));
  HGDIOBJ Old = SelectObject(Eight.DC, Red);
  EXPECT_TRUE(PatBlt(Eight.DC, 1, 0, 1, 2, PATCOPY));
  EXPECT_EQ(Eight.Value(1, 1), 2u);
  EXPECT_EQ(Eight.Value(0, 1), 5u);
  EXPECT_TRUE(PatBlt(Eight.DC, 0, 0, 3, 1, PATINVERT));
  EXPECT_EQ(Eight.Value(0, 0), 7u);  // 2 xor 5
  EXPECT_FALSE(PatBlt(Eight.DC, 0, 0, 1, 1, SRCCOPY));
  SelectObject(Eight.DC, Old);
  DeleteObject(Red);

  Canvas True(TrueColor("32", 32), 4, 4);
  LOGPALETTE Log;
  Log.palPalEntry = {{0, 0, 0, 0}, {0, 0, 0, 0}, {11, 22, 33, 0}};
  HPALETTE P = CreatePalette(Log);
  HPALETTE OldPalette = SelectPalette(True.DC, P, false);
  HBRUSH Indexed = CreateSolidBrush(PALETTEINDEX(2));
  EXPECT_TRUE(FillRect(True.DC, base::Rect(1, 1, 3, 4), Indexed));
  EXPECT_EQ(True.Color(1, 3), RGB(11, 22, 33));
  EXPECT_EQ(True.Color(3, 1), RGB(0, 0, 0));
  EXPECT_EQ(True.Color(1, 0), RGB(0, 0, 0));
  EXPECT_TRUE(FillRect(True.DC, base::Rect(3, 0, 1, 4), Indexed));  // empty
  SelectPalette(True.DC, OldPalette, false);
  DeleteObject(Indexed);
  DeleteObject(P);
}

TEST(Blit, MaskBltKeepsTheDestinationWhereTheMaskIsOne) {
  const uint32_t KeepWhereOne = MAKEROP4(0x00AA0029, SRCCOPY);
  EXPECT_EQ(KeepWhereOne, 0xCCAA0029u);
  for (const PixelFormat& F : {TrueColor("24", 24), Indexed("8", 8, QuadsOf(HalftonePaletteEntries()))}) {
    SCOPED_TRACE(F.Name);
    Canvas Src(F, 6, 2), Dst(F, 6, 2);
    Src.Paint(RGB(255, 0, 0));
    Dst.Paint(RGB(0, 255, 0));
    HBITMAP Mask = CreateBitmap(4, 2, 1, 1, nullptr);
    Canvas M(Mask);
    M.SetValue(0, 0, 1);
    M.SetValue(2, 0, 1);
    M.SetValue(3, 1, 1);
    ASSERT_TRUE(MaskBlt(Dst.DC, 1, 0, 3, 2, Src.DC, 0, 0, Mask, 1, 0, KeepWhereOne));
    const char* Want[] = {"GRGRGG", "GRRGGG"};  // mask columns 1..3 over destination columns 1..3
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 6; ++X)
        EXPECT_EQ(Dst.Color(X, Y), Want[Y][X] == 'R' ? RGB(255, 0, 0) : RGB(0, 255, 0)) << X << "," << Y;
    EXPECT_FALSE(MaskBlt(Dst.DC, 0, 0, 4, 2, Src.DC, 0, 0, Mask, 1, 0, KeepWhereOne));
    SetLastError(0);
    EXPECT_FALSE(MaskBlt(Dst.DC, 0, 0, 1, 3, Src.DC, 0, 0, Mask, 0, 0, KeepWhereOne));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // Without a mask the foreground operation works alone.
    ASSERT_TRUE(MaskBlt(Dst.DC, 0, 0, 1, 1, Src.DC, 0, 0, nullptr, 0, 0, MAKEROP4(SRCCOPY, BLACKNESS)));
    EXPECT_EQ(Dst.Color(0, 0), RGB(255, 0, 0));
  }
}

// The masked drawing built from plain blits (inverted mask, AND, OR with black text on
// a white background) gives the same picture as MaskBlt, stretched or not.
TEST(Blit, MaskEmulationWithAndAndOrMatchesMaskBlt) {
  const PixelFormat F = TrueColor("24", 24);
  Canvas Src(F, 4, 4);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) SetPixel(Src.DC, X, Y, PictureAt(X, Y) | RGB(0, 0, 17 * X));
  HBITMAP Mask = CreateBitmap(4, 4, 1, 1, nullptr);
  Canvas M(Mask);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) M.SetValue(X, Y, (X + Y) % 3 == 0);

  Canvas Expected(F, 8, 8);
  Expected.Paint(RGB(40, 50, 60));
  ASSERT_TRUE(MaskBlt(Expected.DC, 2, 2, 4, 4, Src.DC, 0, 0, Mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY)));

  Canvas Result(F, 8, 8);
  Result.Paint(RGB(40, 50, 60));
  Canvas Inverted(CreateBitmap(4, 4, 1, 1, nullptr));
  Canvas Memory(CreateCompatibleBitmap(Result.DC, 4, 4));
  ASSERT_TRUE(BitBlt(Inverted.DC, 0, 0, 4, 4, M.DC, 0, 0, NOTSRCCOPY));
  ASSERT_TRUE(BitBlt(Memory.DC, 0, 0, 4, 4, Inverted.DC, 0, 0, SRCCOPY));
  ASSERT_TRUE(BitBlt(Memory.DC, 0, 0, 4, 4, Src.DC, 0, 0, SRCAND));
  SetTextColor(Result.DC, RGB(0, 0, 0));
  SetBkColor(Result.DC, RGB(255, 255, 255));
  ASSERT_TRUE(StretchBlt(Result.DC, 2, 2, 4, 4, M.DC, 0, 0, 4, 4, SRCAND));
  ASSERT_TRUE(StretchBlt(Result.DC, 2, 2, 4, 4, Memory.DC, 0, 0, 4, 4, SRCPAINT));
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) ASSERT_EQ(Result.Color(X, Y), Expected.Color(X, Y)) << X << "," << Y;

  // Stretched to twice the size, each mask bit covers a 2 x 2 block.
  Canvas Big(F, 8, 8);
  Big.Paint(RGB(40, 50, 60));
  SetStretchBltMode(Big.DC, COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(Big.DC, 0, 0, 8, 8, M.DC, 0, 0, 4, 4, SRCAND));
  ASSERT_TRUE(StretchBlt(Big.DC, 0, 0, 8, 8, Memory.DC, 0, 0, 4, 4, SRCPAINT));
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X)
      ASSERT_EQ(Big.Color(X, Y), M.Value(X / 2, Y / 2) ? RGB(40, 50, 60) : Src.Color(X / 2, Y / 2)) << X << "," << Y;
}

TEST(Blit, RectanglesAreClippedToBothBitmaps) {
  const PixelFormat F = TrueColor("24", 24);
  Canvas Src(F, 4, 3);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) SetPixel(Src.DC, X, Y, RGB(X, Y, 100));
  auto Fresh = [&] {
    auto Dst = std::make_unique<Canvas>(F, 4, 3);
    Dst->Paint(RGB(9, 9, 9));
    return Dst;
  };
  auto Dst = Fresh();
  ASSERT_TRUE(BitBlt(Dst->DC, -2, -1, 4, 3, Src.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(Dst->Color(0, 0), RGB(2, 1, 100));
  EXPECT_EQ(Dst->Color(1, 1), RGB(3, 2, 100));
  EXPECT_EQ(Dst->Color(2, 0), RGB(9, 9, 9));
  EXPECT_EQ(Dst->Color(0, 2), RGB(9, 9, 9));

  Dst = Fresh();  // the source rectangle runs past the source's right and bottom edges
  ASSERT_TRUE(BitBlt(Dst->DC, 0, 0, 4, 3, Src.DC, 2, 1, SRCCOPY));
  EXPECT_EQ(Dst->Color(0, 0), RGB(2, 1, 100));
  EXPECT_EQ(Dst->Color(1, 1), RGB(3, 2, 100));
  EXPECT_EQ(Dst->Color(2, 0), RGB(9, 9, 9));
  EXPECT_EQ(Dst->Color(1, 2), RGB(9, 9, 9));

  Dst = Fresh();  // far outside and absurd extents change nothing and end at once
  EXPECT_TRUE(BitBlt(Dst->DC, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, Src.DC, INT32_MIN, 0, SRCCOPY));
  EXPECT_TRUE(StretchBlt(Dst->DC, 0, 0, 4, 3, Src.DC, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, SRCCOPY));
  EXPECT_TRUE(BitBlt(Dst->DC, 0, 0, 0, 3, Src.DC, 0, 0, SRCCOPY));
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Dst->Color(X, Y), RGB(9, 9, 9));
  EXPECT_TRUE(StretchBlt(Dst->DC, 0, 0, INT32_MAX, 1, Src.DC, 3, 2, 1, 1, SRCCOPY));
  EXPECT_EQ(Dst->Color(3, 0), RGB(3, 2, 100));

  SetLastError(0);
  EXPECT_FALSE(BitBlt(Dst->DC, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  HDC Screen = GetDC(nullptr);
  EXPECT_FALSE(BitBlt(Screen, 0, 0, 1, 1, Src.DC, 0, 0, SRCCOPY));
  ReleaseDC(nullptr, Screen);
}

TEST(Blit, OverlappingCopyWithinOneBitmapReadsBeforeWriting) {
  Canvas C(TrueColor("24", 24), 5, 5);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 5; ++X) SetPixel(C.DC, X, Y, RGB(X, Y, 0));
  ASSERT_TRUE(BitBlt(C.DC, 1, 1, 4, 4, C.DC, 0, 0, SRCCOPY));
  for (int Y = 1; Y < 5; ++Y)
    for (int X = 1; X < 5; ++X) EXPECT_EQ(C.Color(X, Y), RGB(X - 1, Y - 1, 0));
  ASSERT_TRUE(BitBlt(C.DC, 0, 0, 4, 4, C.DC, 1, 1, SRCCOPY));
  EXPECT_EQ(C.Color(3, 3), RGB(3, 3, 0));
}

TEST(Blit, StretchEnlargesShrinksAndMirrors) {
  const PixelFormat F = TrueColor("24", 24);
  Canvas Src(F, 4, 2);
  for (int Y = 0; Y < 2; ++Y)
    for (int X = 0; X < 4; ++X) SetPixel(Src.DC, X, Y, RGB(10 * X, 10 * Y, 0));
  auto At = [](int X, int Y) { return RGB(10 * X, 10 * Y, 0); };

  Canvas Big(F, 8, 6);
  ASSERT_TRUE(StretchBlt(Big.DC, 0, 0, 8, 6, Src.DC, 0, 0, 4, 2, SRCCOPY));
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 8; ++X) ASSERT_EQ(Big.Color(X, Y), At(X / 2, Y / 3)) << X << "," << Y;

  struct Case {
    int32_t X, Width, SourceX, SourceWidth;
    int Column[4];  // source column shown in destination column I, -1 untouched
  };
  const Case Cases[] = {
      {0, 2, 0, 4, {0, 2, -1, -1}},   // COLORONCOLOR drops every other column
      {3, -4, 0, 4, {3, 2, 1, 0}},    // mirrored
      {0, 4, 3, -4, {3, 2, 1, 0}},    // mirrored from the source side
      {3, -4, 3, -4, {0, 1, 2, 3}},   // both negative: not mirrored
      {1, -2, 0, 4, {3, 1, -1, -1}},  // shrunk and mirrored: sampled from the right
      {0, 4, 2, 2, {2, 2, 3, 3}},     // part enlarged
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.X) + " " + std::to_string(C.Width) + " " + std::to_string(C.SourceWidth));
    Canvas Dst(F, 4, 1);
    Dst.Paint(RGB(1, 2, 3));
    SetStretchBltMode(Dst.DC, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(Dst.DC, C.X, 0, C.Width, 1, Src.DC, C.SourceX, 1, C.SourceWidth, 1, SRCCOPY));
    for (int X = 0; X < 4; ++X) EXPECT_EQ(Dst.Color(X, 0), C.Column[X] < 0 ? RGB(1, 2, 3) : At(C.Column[X], 1)) << X;
  }

  Canvas Flip(F, 4, 2);
  ASSERT_TRUE(StretchBlt(Flip.DC, 0, 1, 4, -2, Src.DC, 0, 0, 4, 2, SRCCOPY));
  EXPECT_EQ(Flip.Color(1, 0), At(1, 1));
  EXPECT_EQ(Flip.Color(1, 1), At(1, 0));
}

TEST(Blit, StretchModesMergeShrunkPixels) {
  const PixelFormat F = TrueColor("24", 24);
  Canvas Src(F, 4, 2);
  const COLORREF Row[] = {RGB(0xF0, 0x0F, 0xFF), RGB(0x3C, 0xFF, 0x00), RGB(0, 0, 0), RGB(255, 255, 255)};
  for (int X = 0; X < 4; ++X) {
    SetPixel(Src.DC, X, 0, Row[X]);
    SetPixel(Src.DC, X, 1, RGB(255, 255, 255));
  }
  struct Case {
    int Mode;
    COLORREF Left, Right;
  };
  const Case Cases[] = {
      {BLACKONWHITE, RGB(0x30, 0x0F, 0x00), RGB(0, 0, 0)},
      {WHITEONBLACK, RGB(255, 255, 255), RGB(255, 255, 255)},
      {COLORONCOLOR, RGB(0xF0, 0x0F, 0xFF), RGB(0, 0, 0)},
      // the rounded means of the 2 x 2 blocks: (0xF0 + 0x3C + 2 * 255) / 4 = 202.5 and so on
      {HALFTONE, RGB(203, 195, 191), RGB(191, 191, 191)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mode);
    Canvas Dst(F, 2, 1);
    EXPECT_GT(SetStretchBltMode(Dst.DC, C.Mode), 0);
    ASSERT_TRUE(StretchBlt(Dst.DC, 0, 0, 2, 1, Src.DC, 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(Dst.Color(0, 0), C.Left);
    EXPECT_EQ(Dst.Color(1, 0), C.Right);
  }
  // A monochrome picture keeps its black lines when shrunk in the default mode.
  Canvas Lines(MonoDevice(), 4, 1), Small(MonoDevice(), 2, 1);
  Lines.SetValue(0, 0, 1);
  Lines.SetValue(2, 0, 1);
  Lines.SetValue(3, 0, 1);
  ASSERT_TRUE(StretchBlt(Small.DC, 0, 0, 2, 1, Lines.DC, 0, 0, 4, 1, SRCCOPY));
  EXPECT_EQ(Small.Value(0, 0), 0u);
  EXPECT_EQ(Small.Value(1, 0), 1u);
}
