#include <gtest/gtest.h>

#include <functional>

#include "DrawingTestSupport.h"
#include "platform/gdi/FloodFill.h"
#include "platform/gdi/Rop2.h"
#include "platform/gdi/Shapes.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

std::vector<PixelFormat> EveryFormat() {
  return {MonoDevice(),
          Indexed("1-bit", 1, {{0, 0, 0, 0}, {255, 255, 255, 0}}),
          Indexed("4-bit", 4, Vga16()),
          Indexed("8-bit halftone", 8, QuadsOf(HalftonePaletteEntries())),
          Indexed("8-bit, 7 entries", 8,
                  {{0, 0, 0, 0},
                   {9, 9, 9, 0},
                   {0, 0, 255, 0},
                   {0, 255, 0, 0},
                   {255, 0, 0, 0},
                   {128, 128, 128, 0},
                   {255, 255, 255, 0}}),
          TrueColor("16-bit 5-5-5", 16),
          BitFields("16-bit 5-6-5", 16, 0xF800, 0x07E0, 0x001F),
          TrueColor("24-bit", 24),
          TrueColor("32-bit", 32)};
}

// Stored values that differ from pixel to pixel, reserved bits included.
void Scramble(const Canvas& C) {
  const DIBFormat& F = C.Bitmap->Format;
  uint32_t Seed = 12345;
  for (int32_t Y = 0; Y < F.Height; ++Y)
    for (int32_t X = 0; X < F.Width; ++X) {
      Seed = Seed * 1103515245 + 12345;
      C.SetValue(X, Y, Seed >> 7);
    }
}

std::vector<uint32_t> Values(const Canvas& C) {
  std::vector<uint32_t> V;
  for (int32_t Y = 0; Y < C.Bitmap->Format.Height; ++Y)
    for (int32_t X = 0; X < C.Bitmap->Format.Width; ++X) V.push_back(C.Value(X, Y));
  return V;
}

}  // namespace

TEST(Rop2, EachModeIsItsTruthTable) {
  struct Case {
    int Mode;
    std::function<uint32_t(uint32_t, uint32_t)> Op;
  };
  const Case Cases[] = {{R2_BLACK, [](uint32_t, uint32_t) { return 0u; }},
                        {R2_NOTMERGEPEN, [](uint32_t P, uint32_t D) { return ~(P | D); }},
                        {R2_MASKNOTPEN, [](uint32_t P, uint32_t D) { return ~P & D; }},
                        {R2_NOTCOPYPEN, [](uint32_t P, uint32_t) { return ~P; }},
                        {R2_MASKPENNOT, [](uint32_t P, uint32_t D) { return P & ~D; }},
                        {R2_NOT, [](uint32_t, uint32_t D) { return ~D; }},
                        {R2_XORPEN, [](uint32_t P, uint32_t D) { return P ^ D; }},
                        {R2_NOTMASKPEN, [](uint32_t P, uint32_t D) { return ~(P & D); }},
                        {R2_MASKPEN, [](uint32_t P, uint32_t D) { return P & D; }},
                        {R2_NOTXORPEN, [](uint32_t P, uint32_t D) { return ~(P ^ D); }},
                        {R2_NOP, [](uint32_t, uint32_t D) { return D; }},
                        {R2_MERGENOTPEN, [](uint32_t P, uint32_t D) { return ~P | D; }},
                        {R2_COPYPEN, [](uint32_t P, uint32_t) { return P; }},
                        {R2_MERGEPENNOT, [](uint32_t P, uint32_t D) { return P | ~D; }},
                        {R2_MERGEPEN, [](uint32_t P, uint32_t D) { return P | D; }},
                        {R2_WHITE, [](uint32_t, uint32_t) { return ~0u; }}};
  for (const Case& K : Cases)
    for (const uint32_t P : {0u, 0xFFFFFFFFu, 0x12345678u, 0xF0F0F00Fu})
      for (const uint32_t D : {0u, 0xFFFFFFFFu, 0x0FF00FF0u, 0xA5A5A5A5u})
        ASSERT_EQ(Rop2(K.Mode, P, D), K.Op(P, D)) << K.Mode;
}

TEST(Rop2, PensWorkOnStoredPaletteIndexes) {
  Canvas C(Indexed("8", 8, QuadsOf(HalftonePaletteEntries())), 10, 1);
  for (int32_t X = 0; X < 10; ++X) C.SetValue(X, 0, static_cast<uint32_t>(X * 20));
  const uint32_t Pen = NearestIndex(C.Bitmap->Format.Colors.data(), 256, MakeXRGB(255, 0, 0));
  Selected P(C.DC, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  SetROP2(C.DC, R2_XORPEN);
  MoveToEx(C.DC, 0, 0, nullptr);
  ASSERT_TRUE(LineTo(C.DC, 10, 0));
  for (int32_t X = 0; X < 10; ++X) EXPECT_EQ(C.Value(X, 0), (static_cast<uint32_t>(X * 20) ^ Pen) & 0xFF) << X;
}

TEST(Rop2, NotXorTwiceRestoresEveryPixelOfEveryFormat) {
  const std::function<void(HDC)> Drawings[] = {
      [](HDC DC) {
        MoveToEx(DC, 2, 3, nullptr);
        LineTo(DC, 37, 21);
      },
      [](HDC DC) { Rectangle(DC, 30, 4, 6, 20); },
      [](HDC DC) { Ellipse(DC, 3, 2, 36, 23); },
      [](HDC DC) {
        const POINT Star[] = {{20, 1}, {31, 24}, {2, 9}, {38, 9}, {9, 24}};
        Polygon(DC, Star, 5);
      },
      [](HDC DC) {
        const POINT Path[] = {{1, 1}, {38, 23}, {38, 1}, {1, 23}, {20, 0}};
        Polyline(DC, Path, 5);
      },
      [](HDC DC) { Arc(DC, 4, 4, 30, 20, 0, 0, 30, 20); },
  };
  struct Tools {
    const char* Name;
    int PenStyle, PenWidth;
    LOGBRUSH Brush;
    int BkMode;
  };
  const Tools Sets[] = {{"thin solid", PS_SOLID, 1, {BS_SOLID, RGB(200, 30, 90), 0}, OPAQUE},
                        {"wide solid", PS_SOLID, 5, {BS_SOLID, RGB(10, 200, 90), 0}, OPAQUE},
                        {"inside frame", PS_INSIDEFRAME, 3, {BS_HATCHED, RGB(0, 0, 255), HS_DIAGCROSS}, OPAQUE},
                        {"dotted, opaque", PS_DOT, 1, {BS_HATCHED, RGB(255, 255, 0), HS_CROSS}, OPAQUE},
                        {"dash dot, transparent", PS_DASHDOT, 1, {BS_NULL, 0, 0}, TRANSPARENT}};
  for (const PixelFormat& F : EveryFormat()) {
    for (const Tools& T : Sets) {
      for (size_t D = 0; D < std::size(Drawings); ++D) {
        SCOPED_TRACE(F.Name + ", " + T.Name + ", drawing " + std::to_string(D));
        Canvas C(F, 40, 25);
        Scramble(C);
        const std::vector<uint32_t> Before = Values(C);
        Selected Pen(C.DC, CreatePen(T.PenStyle, T.PenWidth, RGB(200, 30, 90)));
        Selected Brush(C.DC, CreateBrushIndirect(&T.Brush));
        SetBkMode(C.DC, T.BkMode);
        SetBkColor(C.DC, RGB(90, 90, 200));
        SetROP2(C.DC, R2_NOTXORPEN);
        Drawings[D](C.DC);
        ASSERT_NE(Values(C), Before);
        Drawings[D](C.DC);
        ASSERT_EQ(Values(C), Before);
      }
    }
  }
}

TEST(Rop2, TrueColorDrawingLeavesTheUnusedBits) {
  Canvas C(TrueColor("32", 32), 4, 1);
  for (int32_t X = 0; X < 4; ++X) C.SetValue(X, 0, 0xAB000000u | static_cast<uint32_t>(X));
  SetROP2(C.DC, R2_NOT);
  MoveToEx(C.DC, 0, 0, nullptr);
  LineTo(C.DC, 4, 0);
  for (int32_t X = 0; X < 4; ++X) EXPECT_EQ(C.Value(X, 0), 0xABFFFFFFu - static_cast<uint32_t>(X)) << X;
}

TEST(Rop2, ModesOutOfRangeAreRefused) {
  Canvas C(TrueColor("24", 24), 2, 2);
  EXPECT_EQ(SetROP2(C.DC, 0), 0);
  EXPECT_EQ(SetROP2(C.DC, 17), 0);
  EXPECT_EQ(SetROP2(C.DC, R2_XORPEN), R2_COPYPEN);
  EXPECT_EQ(GetROP2(C.DC), R2_XORPEN);
  EXPECT_EQ(SetBkMode(C.DC, 3), 0);
  EXPECT_EQ(SetBkMode(C.DC, TRANSPARENT), OPAQUE);
}
