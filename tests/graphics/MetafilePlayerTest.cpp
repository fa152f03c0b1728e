// Playing metafiles onto bitmaps: each supported record draws what it stands for,
// mappings and transforms place it, state records steer it, and the target's own
// state survives.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/base/Stream.h"
#include "platform/gdi/DrawModes.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "tests/gdi/DrawingTestSupport.h"
#include "tests/graphics/MetafileTestSupport.h"

using namespace picturetest;
using graphics::TBitmap;
using graphics::TColor;
using graphics::TMetafile;

namespace {

constexpr TColor White = 0xFFFFFF, Black = 0x000000, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00;

// Enhanced-metafile records (logical units are the picture's pixels at 100 x 50).
struct TEMF {
  TEMFBuilder B;
  TEMF& Pen(int Slot, int Style, int Width, TColor Color) { return Add(38, Ints({Slot, Style, Width, 0, Color})); }
  TEMF& Brush(int Slot, int Style, TColor Color, int Hatch = 0) { return Add(39, Ints({Slot, Style, Color, Hatch})); }
  TEMF& Select(int64_t Slot) { return Add(37, Ints({Slot})); }
  TEMF& Stock(int Which) { return Select(0x80000000 | Which); }
  // A red brush in slot 1 and a black pen in slot 2, both selected.
  TEMF& RedOnBlack() { return Brush(1, 0, Red).Select(1).Pen(2, 0, 1, Black).Select(2); }
  TEMF& Rect(int L, int T, int R, int Bottom) { return Add(43, Ints({L, T, R, Bottom})); }
  TEMF& Add(uint32_t Type, const Bytes& Body) {
    B.Add(Type, Body);
    return *this;
  }
  Bytes Finish() const { return B.Finish(); }
};

Bytes Points32(std::initializer_list<base::TPoint> Points) {
  Bytes B = Ints({0, 0, 0, 0, static_cast<int64_t>(Points.size())});
  for (const base::TPoint& P : Points) B = Cat({B, Ints({P.X, P.Y})});
  return B;
}

// The file drawn onto a white 24-bit bitmap of W x H.
struct TRendered {
  TBitmap Bitmap;
  explicit TRendered(const Bytes& File, int W = 100, int H = 50) {
    Bitmap.SetPixelFormat(graphics::pf24bit);
    Bitmap.SetWidth(W);
    Bitmap.SetHeight(H);
    Bitmap.Canvas().Brush().SetColor(White);
    Bitmap.Canvas().FillRect(base::Rect(0, 0, W, H));
    TMetafile Metafile;
    base::TMemoryStream Stream(File);
    Metafile.LoadFromStream(Stream);
    Bitmap.Canvas().StretchDraw(base::Rect(0, 0, W, H), &Metafile);
  }
  TColor At(int X, int Y) { return Bitmap.Canvas().Pixels(X, Y); }
};

struct TSample {
  int X, Y;
  TColor Color;
};

struct TDrawCase {
  const char* Name;
  std::function<void(TEMF&)> Records;
  std::vector<TSample> Samples;
};

void ExpectSamples(const Bytes& File, const std::vector<TSample>& Samples, int W = 100, int H = 50) {
  TRendered R(File, W, H);
  for (const TSample& S : Samples) EXPECT_EQ(R.At(S.X, S.Y), S.Color) << "at " << S.X << ", " << S.Y;
}

TEST(MetafilePlayer, EachShapeRecordDrawsItsShape) {
  const TDrawCase Cases[] = {
      {"rectangle", [](TEMF& E) { E.RedOnBlack().Rect(10, 10, 30, 20); },
       {{20, 15, Red}, {10, 15, Black}, {29, 15, Black}, {30, 15, White}, {20, 10, Black}, {20, 19, Black},
        {20, 20, White}, {5, 5, White}}},
      {"ellipse", [](TEMF& E) { E.RedOnBlack().Add(42, Ints({10, 10, 50, 40})); },
       {{30, 25, Red}, {11, 11, White}, {48, 38, White}}},
      {"polygon", [](TEMF& E) { E.RedOnBlack().Add(3, Points32({{10, 10}, {40, 10}, {10, 40}})); },
       {{15, 15, Red}, {35, 35, White}}},
      {"polygon16", [](TEMF& E) { E.RedOnBlack().Add(86, Cat({Ints({0, 0, 0, 0, 3}), Words({10, 10, 40, 10, 10, 40})})); },
       {{15, 15, Red}, {35, 35, White}}},
      {"polypolygon keeps holes",
       [](TEMF& E) {
         E.RedOnBlack().Add(8, Cat({Ints({0, 0, 0, 0, 2, 8, 4, 4}),
                                    Ints({10, 5, 50, 5, 50, 45, 10, 45, 20, 15, 40, 15, 40, 35, 20, 35})}));
       },
       {{15, 25, Red}, {30, 25, White}, {20, 25, Black}, {60, 25, White}}},
      {"polyline", [](TEMF& E) { E.RedOnBlack().Add(4, Points32({{10, 25}, {60, 25}, {60, 40}})); },
       {{30, 25, Black}, {30, 27, White}, {60, 35, Black}}},
      {"move and line", [](TEMF& E) { E.RedOnBlack().Add(27, Ints({10, 25})).Add(54, Ints({60, 25})); },
       {{30, 25, Black}, {9, 25, White}, {60, 25, White}}},
      {"polyline to", [](TEMF& E) { E.RedOnBlack().Add(27, Ints({10, 25})).Add(6, Points32({{60, 25}})); },
       {{30, 25, Black}}},
      {"polypolyline",
       [](TEMF& E) { E.RedOnBlack().Add(7, Cat({Ints({0, 0, 0, 0, 2, 4, 2, 2}), Ints({10, 5, 60, 5, 10, 40, 60, 40})})); },
       {{30, 5, Black}, {30, 40, Black}, {30, 20, White}}},
      {"bezier", [](TEMF& E) { E.RedOnBlack().Add(2, Points32({{10, 25}, {20, 25}, {40, 25}, {60, 25}})); },
       {{35, 25, Black}, {35, 20, White}}},
      {"pie", [](TEMF& E) { E.RedOnBlack().Add(47, Ints({10, 0, 50, 40, 50, 20, 30, 0})); },
       {{38, 12, Red}, {20, 30, White}, {20, 10, White}}},
      {"chord", [](TEMF& E) { E.RedOnBlack().Add(46, Ints({10, 0, 50, 40, 50, 20, 30, 0})); },
       {{42, 8, Red}, {35, 15, White}}},
      {"arc", [](TEMF& E) { E.RedOnBlack().Add(45, Ints({10, 0, 50, 40, 50, 20, 10, 20})); },
       {{30, 0, Black}, {30, 39, White}, {30, 20, White}}},
      {"round rect", [](TEMF& E) { E.RedOnBlack().Add(44, Ints({10, 10, 50, 40, 20, 20})); },
       {{30, 25, Red}, {10, 10, White}, {11, 11, White}, {30, 10, Black}}},
      {"pixel", [](TEMF& E) { E.Add(15, Ints({5, 5, Blue})); }, {{5, 5, Blue}, {6, 5, White}}},
      {"null brush", [](TEMF& E) { E.RedOnBlack().Stock(5).Rect(10, 10, 30, 20); },
       {{20, 15, White}, {10, 15, Black}}},
      {"null pen", [](TEMF& E) { E.RedOnBlack().Stock(8).Rect(10, 10, 30, 20); }, {{20, 15, Red}, {10, 15, Red}}},
      {"stock black brush", [](TEMF& E) { E.RedOnBlack().Stock(4).Rect(10, 10, 30, 20); }, {{20, 15, Black}}},
      {"wide pen", [](TEMF& E) { E.RedOnBlack().Pen(3, 0, 5, Blue).Select(3).Add(4, Points32({{10, 25}, {60, 25}})); },
       {{30, 23, Blue}, {30, 27, Blue}, {30, 29, White}}},
      {"geometric pen", [](TEMF& E) {
         E.Add(95, Ints({3, 0, 0, 0, 0, 0x10000, 5, 0, Blue, 0, 0})).Select(3).Add(4, Points32({{10, 25}, {60, 25}}));
       },
       {{30, 23, Blue}, {30, 29, White}}},
      {"deleted slots take new objects", [](TEMF& E) {
         E.RedOnBlack().Add(40, Ints({1})).Brush(1, 0, Green).Select(1).Rect(10, 10, 30, 20);
       },
       {{20, 15, Green}}},
  };
  for (const TDrawCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEMF E;
    C.Records(E);
    ExpectSamples(E.Finish(), C.Samples);
  }
}

TEST(MetafilePlayer, HatchedBrushesDrawLinesOverTheBackground) {
  TEMF E;
  E.Brush(1, 2, Red, 0).Select(1).Add(18, Ints({2})).Add(25, Ints({Blue})).Stock(8).Rect(0, 0, 40, 40);
  TRendered R(E.Finish());
  int Reds = 0, Blues = 0;
  for (int Y = 0; Y < 40; ++Y)
    for (int X = 0; X < 40; ++X) {
      Reds += R.At(X, Y) == Red;
      Blues += R.At(X, Y) == Blue;
    }
  EXPECT_GT(Reds, 0);
  EXPECT_GT(Blues, Reds);
  EXPECT_EQ(Reds + Blues, 1600);
}

TEST(MetafilePlayer, MappingsAndTransformsPlaceTheDrawing) {
  Bytes Scale2, Shift;
  for (const float F : {2.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f}) Put(Scale2, std::bit_cast<uint32_t>(F), 4);
  for (const float F : {1.0f, 0.0f, 0.0f, 1.0f, 5.0f, 5.0f}) Put(Shift, std::bit_cast<uint32_t>(F), 4);
  const std::vector<TSample> Placed{{20, 15, Red}, {10, 15, Black}, {9, 15, White}, {30, 15, White}, {5, 5, White}};
  const TDrawCase Cases[] = {
      {"anisotropic", [](TEMF& E) {
         E.Add(17, Ints({8})).Add(9, Ints({1000, 500})).Add(11, Ints({100, 50})).RedOnBlack().Rect(100, 100, 300, 200);
       }, Placed},
      {"isotropic takes the smaller scale", [](TEMF& E) {
         E.Add(17, Ints({7})).Add(9, Ints({1000, 100})).Add(11, Ints({100, 50})).RedOnBlack().Rect(100, 100, 300, 200);
       }, Placed},
      {"window origin", [](TEMF& E) { E.Add(10, Ints({-10, -10})).RedOnBlack().Rect(0, 0, 20, 10); }, Placed},
      {"viewport origin", [](TEMF& E) { E.Add(12, Ints({5, 5})).RedOnBlack().Rect(5, 5, 25, 15); }, Placed},
      {"scaled window", [](TEMF& E) {
         E.Add(17, Ints({8})).Add(9, Ints({100, 50})).Add(11, Ints({100, 50})).Add(32, Ints({10, 1, 10, 1}))
             .RedOnBlack().Rect(100, 100, 300, 200);
       }, Placed},
      {"metric", [](TEMF& E) { E.Add(17, Ints({2})).RedOnBlack().Rect(26, -26, 79, -53); }, Placed},
      {"world scale", [&](TEMF& E) { E.Add(35, Scale2).RedOnBlack().Rect(5, 5, 15, 10); }, Placed},
      {"world modified", [&](TEMF& E) {
         E.Add(35, Scale2).Add(36, Cat({Shift, Ints({2})})).RedOnBlack().Rect(0, 0, 10, 5);
       }, Placed},
      {"world reset", [&](TEMF& E) { E.Add(35, Scale2).Add(36, Cat({Shift, Ints({1})})).RedOnBlack().Rect(10, 10, 30, 20); },
       Placed},
      {"saved state comes back", [](TEMF& E) {
         E.Add(10, Ints({-10, -10})).RedOnBlack().Add(33, {}).Add(10, Ints({50, 50})).Brush(3, 0, Blue).Select(3)
             .Add(34, Ints({-1})).Rect(0, 0, 20, 10);
       }, Placed},
  };
  for (const TDrawCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TEMF E;
    C.Records(E);
    ExpectSamples(E.Finish(), C.Samples);
  }
}

TEST(MetafilePlayer, TheFrameFillsTheRectangleDrawnOn) {
  TEMF E;
  E.RedOnBlack().Rect(10, 10, 30, 20);
  // A pen of one logical unit is two pixels wide here.
  ExpectSamples(E.Finish(), {{40, 30, Red}, {20, 30, Black}, {21, 30, Black}, {22, 30, Red}, {19, 30, White},
                             {60, 30, White}}, 200, 100);
}

TEST(MetafilePlayer, BlitsCopyTheirBitmapsAndPatternBlitsUseTheBrush) {
  const Bytes Dib = DIB24(2, 2, [](int X, int Y) { return uint32_t(Y == 0 ? (X == 0 ? Red : Green) : (X == 0 ? Blue : White)); });
  const Bytes Info(Dib.begin(), Dib.begin() + 40), Pixels(Dib.begin() + 40, Dib.end());
  const Bytes Identity = Ints({0x3F800000, 0, 0, 0x3F800000, 0, 0});
  TEMF E;
  // The whole bitmap stretched onto (10, 10) - (30, 30).
  E.Add(81, Cat({Ints({0, 0, 0, 0, 10, 10, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0xCC0020, 20, 20}), Info, Pixels}));
  // Its top-right pixel copied to (40, 10) - (42, 12) by a stretching blit.
  E.Add(77, Cat({Ints({0, 0, 0, 0, 40, 10, 2, 2, 0xCC0020, 1, 0}), Identity, Ints({0, 0, 108, 40, 148, 16, 1, 1}), Info,
                 Pixels}));
  // Its bottom-left pixel by a plain one.
  E.Add(76, Cat({Ints({0, 0, 0, 0, 50, 10, 1, 1, 0xCC0020, 0, 1}), Identity, Ints({0, 0, 100, 40, 140, 16}), Info, Pixels}));
  // The brush over (60, 10) - (70, 20).
  E.Brush(1, 0, Red).Select(1).Add(76, Cat({Ints({0, 0, 0, 0, 60, 10, 10, 10, 0xF00021, 0, 0}), Identity,
                                           Ints({0, 0, 0, 0, 0, 0})}));
  ExpectSamples(E.Finish(), {{15, 15, Red}, {25, 15, Green}, {15, 25, Blue}, {25, 25, White}, {41, 11, Green},
                             {50, 10, Blue}, {51, 10, White}, {65, 15, Red}, {70, 15, White}});
}

TEST(MetafilePlayer, NotXorLinesDrawnTwiceRestoreThePicture) {
  TEMF Once, Twice;
  for (TEMF* E : {&Once, &Twice}) E->Add(20, Ints({gdi::R2_NOTXORPEN})).Add(4, Points32({{10, 25}, {60, 25}}));
  Twice.Add(4, Points32({{10, 25}, {60, 25}}));
  ExpectSamples(Once.Finish(), {{30, 25, Black}});
  ExpectSamples(Twice.Finish(), {{30, 25, White}});
}

class MetafileText : public gdi::testing::WithBoxGlyphs {};

Bytes Font(int Slot, int Height) {
  Bytes F = Ints({Slot, Height, 0, 0, 0, 400});
  F.resize(F.size() + 8, 0);
  return Cat({F, Utf16(u"Arial"), Bytes(54, 0)});
}

Bytes TextOut(int X, int Y, const std::u16string& Text, int Options = 0, base::TRect Box = {}) {
  Bytes String = Utf16(Text);
  while (String.size() % 4 != 0) String.push_back(0);
  return Cat({Ints({0, 0, 0, 0, 1, 0, 0}), Ints({X, Y, static_cast<int64_t>(Text.size()), 76, Options, Box.Left, Box.Top,
                                                  Box.Right, Box.Bottom, 0}),
              String});
}

TEST_F(MetafileText, TextIsDrawnInTheTextColourInsideItsCell) {
  TEMF E;
  E.Add(82, Font(4, -10)).Select(4).Add(24, Ints({Red})).Add(18, Ints({1})).Add(84, TextOut(10, 10, u"Hi"));
  TRendered R(E.Finish());
  int Ink = 0;
  for (int Y = 0; Y < 50; ++Y)
    for (int X = 0; X < 100; ++X) {
      const TColor C = R.At(X, Y);
      if (C == White) continue;
      EXPECT_EQ(C, Red) << X << ", " << Y;
      EXPECT_TRUE(X >= 10 && X < 10 + 2 * gdi::testing::BoxRasterizer::Step && Y >= 10 && Y < 20) << X << ", " << Y;
      ++Ink;
    }
  EXPECT_GT(Ink, 0);
}

TEST_F(MetafileText, OpaqueTextFillsItsBoxWithTheBackground) {
  TEMF E;
  E.Add(82, Font(4, -10)).Select(4).Add(25, Ints({Blue})).Add(84, TextOut(10, 10, u"Hi", 2, {5, 5, 40, 30}));
  TRendered R(E.Finish());
  EXPECT_EQ(R.At(6, 6), Blue);
  EXPECT_EQ(R.At(39, 29), Blue);
  EXPECT_EQ(R.At(12, 15), Black);
  EXPECT_EQ(R.At(41, 15), White);
}

TEST_F(MetafileText, FontSizesFollowTheMapping) {
  TEMF E;
  E.Add(17, Ints({8})).Add(9, Ints({50, 25})).Add(11, Ints({100, 50})).Add(82, Font(4, -10)).Select(4)
      .Add(18, Ints({1})).Add(84, TextOut(5, 5, u"H"));
  TRendered R(E.Finish());
  // Ten logical units are twenty pixels: ink reaches well below row 20.
  bool Deep = false;
  for (int X = 10; X < 30; ++X) Deep = Deep || R.At(X, 25) == Black;
  EXPECT_TRUE(Deep);
}

TEST(MetafilePlayer, TheTargetKeepsItsOwnColoursAndModes) {
  TEMF E;
  E.Add(24, Ints({Red})).Add(25, Ints({Blue})).Add(18, Ints({1})).Add(20, Ints({7})).Add(27, Ints({40, 40}));
  TBitmap B;
  B.SetPixelFormat(graphics::pf24bit);
  B.SetWidth(10);
  B.SetHeight(10);
  gdi::HDC DC = B.Canvas().Handle();
  gdi::MoveToEx(DC, 3, 4, nullptr);
  TMetafile M;
  base::TMemoryStream Stream(E.Finish());
  M.LoadFromStream(Stream);
  B.Canvas().StretchDraw(base::Rect(0, 0, 10, 10), &M);
  EXPECT_EQ(DC->TextColor, 0u);
  EXPECT_EQ(DC->BkColor, 0xFFFFFFu);
  EXPECT_EQ(DC->BkMode, gdi::OPAQUE);
  EXPECT_EQ(DC->Rop2, gdi::R2_COPYPEN);
  EXPECT_EQ(DC->Position, base::Point(3, 4));
}

TEST(MetafilePlayer, PlaceableFilesMapTheirWindowOntoThePicture) {
  const Bytes Pen = Cat({Words({0, 1, 0}), Ints({Black})});
  const Bytes Brush = Cat({Words({0}), Ints({Red}), Words({0})});
  auto Drawn = [&](TWMFBuilder W) {
    return W.Add(0x02FA, Pen).Add(0x012D, Words({0})).Add(0x02FC, Brush).Add(0x012D, Words({1}));
  };
  const std::vector<TSample> Placed{{20, 15, Red}, {10, 15, Black}, {9, 15, White}, {30, 15, White}};
  // The box in twips: 1500 x 750 of them are 100 x 50 pixels.
  ExpectSamples(Drawn(TWMFBuilder({0, 0, 1500, 750}, 1440)).Add(0x041B, Words({300, 450, 150, 150})).Finish(), Placed);
  ExpectSamples(Drawn(TWMFBuilder({0, 0, 100, 50}))
                    .Add(0x020B, Words({-100, -100}))
                    .Add(0x020C, Words({500, 1000}))
                    .Add(0x041B, Words({100, 200, 0, 0}))
                    .Finish(),
                Placed);
  const Bytes Dib = DIB24(2, 2, [](int X, int Y) { return uint32_t(Y == 0 ? (X == 0 ? Red : Green) : (X == 0 ? Blue : White)); });
  ExpectSamples(TWMFBuilder().Add(0x0F43, Cat({Ints({0xCC0020}), Words({0, 2, 2, 0, 0, 20, 20, 10, 10}), Dib})).Finish(),
                {{15, 15, Red}, {25, 15, Green}, {15, 25, Blue}, {25, 25, White}});
  ExpectSamples(TWMFBuilder().Add(0x0B41, Cat({Ints({0xCC0020}), Words({1, 1, 0, 1, 4, 4, 10, 10}), Dib})).Finish(),
                {{11, 11, Green}, {14, 11, White}});
}

}  // namespace
