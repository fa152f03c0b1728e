// The Qt glyph rasterizer: installed faces, metrics, masks without antialiasing, and
// text drawn through the software GDI with it.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <thread>

#include "platform/gdi/Text.h"
#include "platform/ui/FontFaces.h"
#include "platform/ui/QtGlyphRasterizer.h"
#include "tests/gdi/DrawingTestSupport.h"

using namespace gdi;
using namespace gdi::testing;

namespace {

const COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

LOGFONT FontOf(const char* Face, int32_t Height) {
  LOGFONT F;
  F.SetFaceName(Face);
  F.lfHeight = Height;
  return F;
}

class QtGlyphs : public ::testing::Test {
 protected:
  QtGlyphs() : Previous(SetGlyphRasterizer(&Glyphs)) {}
  ~QtGlyphs() override { SetGlyphRasterizer(Previous); }
  ui::QtGlyphRasterizer Glyphs;

 private:
  GlyphRasterizer* Previous;
};

}  // namespace

TEST_F(QtGlyphs, ClassicFacesResolveToMetricCompatibleOnes) {
  const struct {
    const char* Asked;
    const char* Installed;
  } Cases[] = {{"Arial", "Liberation Sans"},         {"Times New Roman", "Liberation Serif"},
               {"Courier New", "Liberation Mono"},   {"MS Sans Serif", "DejaVu Sans"},
               {"arial", "Liberation Sans"},         {"DejaVu Serif", "DejaVu Serif"},
               {"No Such Face Here", "DejaVu Sans"}, {"", "DejaVu Sans"}};
  for (const auto& K : Cases) {
    EXPECT_EQ(ui::InstalledFace(K.Asked), K.Installed) << K.Asked;
    EXPECT_EQ(QFontInfo(Glyphs.FontFor(FontOf(K.Asked, -12))).family().toStdString(), K.Installed) << K.Asked;
  }
}

TEST_F(QtGlyphs, HeightsAreCharacterOrCellHeights) {
  const FontMetrics Em = Glyphs.Metrics(FontOf("Arial", -20));
  EXPECT_GE(Em.Height(), 20);
  EXPECT_LE(Em.Height(), 26);
  EXPECT_EQ(Em.InternalLeading, Em.Height() - 20);
  for (const int32_t Cell : {12, 30, 57}) {
    const FontMetrics M = Glyphs.Metrics(FontOf("Times New Roman", Cell));
    EXPECT_NEAR(M.Height(), Cell, 1) << Cell;
  }
  EXPECT_GT(Glyphs.Metrics(FontOf("Arial", 0)).Height(), 0);
}

TEST_F(QtGlyphs, AdvancesFollowTheFace) {
  const LOGFONT Sans = FontOf("Arial", -16), Mono = FontOf("Courier New", -16);
  EXPECT_LT(Glyphs.Advance(Sans, "iiii"), Glyphs.Advance(Sans, "WWWW"));
  EXPECT_EQ(Glyphs.Advance(Mono, "iiii"), Glyphs.Advance(Mono, "WWWW"));
  LOGFONT Bold = Sans;
  Bold.lfWeight = FW_BOLD;
  EXPECT_GT(Glyphs.Advance(Bold, "Hello World"), Glyphs.Advance(Sans, "Hello World"));
  EXPECT_EQ(Glyphs.Advance(Sans, ""), 0);
  EXPECT_GT(Glyphs.Advance(Sans, "\xC3\xA9t\xC3\xA9"), 0);  // UTF-8
}

TEST_F(QtGlyphs, TextHasOnlyTextColourInsideItsCell) {
  for (const char* Face : {"Arial", "Times New Roman", "Courier New", "MS Sans Serif"}) {
    SCOPED_TRACE(Face);
    Canvas C(TrueColor("24", 24), 200, 60);
    C.Paint(White);
    const LOGFONT F = FontOf(Face, -16);
    Selected Font(C.DC, CreateFontIndirect(&F));
    SetTextColor(C.DC, Blue);
    SetBkMode(C.DC, TRANSPARENT);
    SIZE Size;
    ASSERT_TRUE(GetTextExtentPoint32(C.DC, "Hello World", &Size));
    ASSERT_TRUE(TextOut(C.DC, 10, 20, "Hello World"));
    const base::TRect Ink = Extent(C, Blue);
    EXPECT_GT(CountOf(C, Blue), 50);
    EXPECT_EQ(CountOf(C, Blue) + CountOf(C, White), 200 * 60);  // no blended pixels
    EXPECT_TRUE(Ink.Left >= 10 && Ink.Top >= 20 && Ink.Right <= 10 + Size.cx && Ink.Bottom <= 20 + Size.cy)
        << Ink.Left << "," << Ink.Top << "," << Ink.Right << "," << Ink.Bottom << " in " << Size.cx << "x" << Size.cy;
    EXPECT_GT(Ink.Width(), Size.cx * 3 / 4);
  }
}

TEST_F(QtGlyphs, RotatedTextOccupiesTheTurnedCell) {
  Canvas C(TrueColor("24", 24), 80, 200);
  C.Paint(White);
  LOGFONT F = FontOf("Arial", -16);
  F.lfEscapement = 900;
  Selected Font(C.DC, CreateFontIndirect(&F));
  SetTextColor(C.DC, Blue);
  SetBkColor(C.DC, Red);
  SIZE Size;
  ASSERT_TRUE(GetTextExtentPoint32(C.DC, "Hello World", &Size));
  ASSERT_TRUE(TextOut(C.DC, 20, 150, "Hello World"));
  const base::TRect Ink = Extent(C, Blue);
  EXPECT_GT(CountOf(C, Blue), 50);
  EXPECT_EQ(Extent(C, Red), (base::TRect{20, 150 - Size.cx, 20 + Size.cy, 150}));
  EXPECT_TRUE(Ink.Left >= 20 && Ink.Top >= 150 - Size.cx && Ink.Right <= 20 + Size.cy && Ink.Bottom <= 150);
  EXPECT_GT(Ink.Height(), Size.cx * 3 / 4);  // the text runs upwards
}

TEST_F(QtGlyphs, ThreadsDrawTheSameText) {
  const LOGFONT F = FontOf("Times New Roman", -20);
  const GlyphMask Here = Glyphs.Render(F, "Threads");
  GlyphMask There;
  std::thread Painter([&] { There = Glyphs.Render(F, "Threads"); });
  for (int I = 0; I < 20; ++I) Glyphs.Render(FontOf("Arial", -10 - I), "busy");
  Painter.join();
  EXPECT_EQ(There.Width, Here.Width);
  EXPECT_EQ(There.Coverage, Here.Coverage);
}

TEST(QtGlyphInstall, MakesTextWorkThroughTheGdi) {
  GlyphRasterizer* Before = SetGlyphRasterizer(nullptr);
  ui::InstallQtGlyphRasterizer();
  EXPECT_NE(CurrentGlyphRasterizer(), nullptr);
  Canvas C(TrueColor("24", 24), 40, 20);
  SIZE Size;
  EXPECT_TRUE(GetTextExtentPoint32(C.DC, "Go", &Size));
  EXPECT_GT(Size.cx, 0);
  SetGlyphRasterizer(Before);
}
