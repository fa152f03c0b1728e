// The effect label: its defaults, the linkage of styles and schemes to the values they
// set, the offsets of its three copies, what its surface shows, and the button look.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <cstdlib>

#include "editor/controls/LabelEffect.h"
#include "platform/ui/QtGlyphRasterizer.h"

using namespace editor;

namespace {

constexpr base::TColor White = 0xFFFFFF, Black = 0, Grey = 0x808080, Yellow = 0x00FFFF, Olive = 0x008080,
                       Navy = 0x800000, Teal = 0x808000;

TEST(LabelEffect, ANewLabelLooksRaised) {
  TLabelEffect Label;
  EXPECT_EQ(Label.EffectStyle(), esRaised);
  EXPECT_EQ(Label.ColourScheme(), csWindows);
  EXPECT_EQ(Label.Font().Name(), "Times New Roman");
  EXPECT_EQ(Label.Font().Size(), 20);
  EXPECT_TRUE(Label.Transparent());
  EXPECT_FALSE(Label.AutoSize());
  EXPECT_FALSE(Label.AsButton());
  // Highlight at (0, 0), face at (1, 1), shadow at (2, 2).
  EXPECT_EQ(Label.Passes(), (std::array<TLabelPass, 3>{{{Black, {2, 2}}, {White, {0, 0}}, {Grey, {1, 1}}}}));
}

TEST(LabelEffect, StylesSetDirectionsDepthsAndColours) {
  struct Case {
    TColourScheme Scheme;
    TEffectStyle Style;
    std::array<TLabelPass, 3> Passes;
  };
  const Case Cases[] = {
      {csWindows, esNone, {{{Black, {0, 0}}, {White, {0, 0}}, {Grey, {0, 0}}}}},
      {csWindows, esSunken, {{{Black, {0, 0}}, {White, {2, 2}}, {Grey, {1, 1}}}}},
      {csWindows, esShadow, {{{Black, {2, 2}}, {White, {0, 0}}, {Grey, {0, 0}}}}},
      {csSteel, esFlying, {{{Navy, {5, 5}}, {Navy, {1, 1}}, {Teal, {0, 0}}}}},
      {csGold, esRaised, {{{Black, {2, 2}}, {Yellow, {0, 0}}, {Olive, {1, 1}}}}},
  };
  for (const Case& C : Cases) {
    TLabelEffect Label;
    Label.SetColourScheme(C.Scheme);
    Label.SetEffectStyle(C.Style);
    EXPECT_EQ(Label.Passes(), C.Passes) << static_cast<int>(C.Style);
    EXPECT_EQ(Label.EffectStyle(), C.Style);
    EXPECT_EQ(Label.ColourScheme(), C.Scheme);
  }
}

TEST(LabelEffect, ChangingALinkedValueMakesItCustom) {
  TLabelEffect Label;
  Label.SetDepthShadow(3);
  EXPECT_EQ(Label.EffectStyle(), esCustom);
  EXPECT_EQ(Label.DirectionShadow(), edDownRight);
  EXPECT_EQ(Label.DirectionHighlight(), edUpLeft);
  EXPECT_EQ(Label.DepthHighlight(), 1);

  Label.SetColourScheme(csGold);
  EXPECT_EQ(Label.ColourHighlight(), Yellow);
  EXPECT_EQ(Label.ColourShadow(), Black);
  EXPECT_EQ(Label.Font().Color(), Olive);
  Label.SetColourShadow(Navy);
  EXPECT_EQ(Label.ColourScheme(), csCustom);
  EXPECT_EQ(Label.ColourHighlight(), Yellow);
  EXPECT_EQ(Label.Font().Color(), Olive);
  EXPECT_EQ(Label.SchemeColours(csCustom).Shadow, Navy);
  EXPECT_EQ(Label.SchemeColours(csCustom).Highlight, Yellow);

  // A style other than raised or sunken clears the button.
  Label.SetAsButton(true);
  EXPECT_EQ(Label.EffectStyle(), esRaised);
  Label.SetEffectStyle(esSunken);
  EXPECT_TRUE(Label.AsButton());
  Label.SetEffectStyle(esShadow);
  EXPECT_FALSE(Label.AsButton());
}

TEST(LabelEffect, AngleTurnsTheCaptionAndLeftJustifies) {
  TLabelEffect Label;
  Label.SetAlignment(taCenter);
  Label.SetAngle(90);
  EXPECT_NEAR(Label.AngleCos(), 0, 1e-12);
  EXPECT_NEAR(Label.AngleSin(), 1, 1e-12);
  EXPECT_EQ(Label.Alignment(), taLeftJustify);
}

// The bounds of the pixels of one colour on the surface.
QRect BoundsOf(const QImage& Image, QRgb Colour) {
  QRect Bounds;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      if (Image.pixel(X, Y) == Colour) Bounds |= QRect(X, Y, 1, 1);
  return Bounds;
}

TEST(LabelEffect, TheSurfaceShowsThreeCopiesOverNothing) {
  ui::InstallQtGlyphRasterizer();
  TLabelEffect Label;
  Label.resize(200, 60);
  Label.SetCaption("GIF Wizard");
  const QImage& Surface = Label.Surface();
  const QRect Face = BoundsOf(Surface, qRgb(0x80, 0x80, 0x80));
  const QRect Light = BoundsOf(Surface, qRgb(0xFF, 0xFF, 0xFF));
  const QRect Dark = BoundsOf(Surface, qRgb(0, 0, 0));
  ASSERT_FALSE(Face.isEmpty());
  EXPECT_EQ(Light.left(), Face.left() - 1);
  EXPECT_EQ(Light.top(), Face.top() - 1);
  EXPECT_EQ(Dark.right(), Face.right() + 1);
  EXPECT_EQ(Dark.bottom(), Face.bottom() + 1);
  EXPECT_EQ(qAlpha(Surface.pixel(199, 59)), 0);

  // Opaque, the label fills itself with its colour; auto-sized, it fits the caption.
  Label.SetTransparent(false);
  Label.SetColor(0x00FF00);
  EXPECT_EQ(Label.Surface().pixel(199, 59), qRgb(0, 0xFF, 0));
  Label.SetAutoSize(true);
  EXPECT_LT(Label.width(), 200);
  EXPECT_GT(Label.width(), 40);
}

TEST(LabelEffect, ARotatedCaptionIsWrittenUpwardsAboutItsCentre) {
  ui::InstallQtGlyphRasterizer();
  TLabelEffect Label;
  Label.resize(220, 220);
  Label.SetCaption("GIF Wizard");
  Label.SetAngle(90);
  const QRect Face = BoundsOf(Label.Surface(), qRgb(0x80, 0x80, 0x80));
  ASSERT_FALSE(Face.isEmpty());
  EXPECT_GT(Face.height(), 2 * Face.width());
  Label.SetAngle(0);
  const QRect Flat = BoundsOf(Label.Surface(), qRgb(0x80, 0x80, 0x80));
  EXPECT_GT(Flat.width(), 2 * Flat.height());
  // Back in the client rectangle from its top, not about the centre.
  EXPECT_LT(Flat.top(), 12);
  // Turned, it was centred on a point (m, m).
  EXPECT_LT(std::abs(Face.center().x() - Face.center().y()), 15);
}

TEST(LabelEffect, AsAButtonItSinksWhilePressedInside) {
  TLabelEffect Label;
  Label.resize(60, 30);
  Label.SetAsButton(true);
  int Clicks = 0, Downs = 0;
  Label.OnClick = [&](QWidget*) { ++Clicks; };
  Label.OnMouseDown = [&](QWidget*, Qt::MouseButton, QPoint) { ++Downs; };
  QTest::mousePress(&Label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(Label.EffectStyle(), esSunken);
  QMouseEvent Out(QEvent::MouseMove, QPointF(80, 10), QPointF(80, 10), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Label, &Out);
  EXPECT_EQ(Label.EffectStyle(), esRaised);
  QMouseEvent Back(QEvent::MouseMove, QPointF(20, 10), QPointF(20, 10), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Label, &Back);
  EXPECT_EQ(Label.EffectStyle(), esSunken);
  QTest::mouseRelease(&Label, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  EXPECT_EQ(Label.EffectStyle(), esRaised);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Downs, 0);
}

}  // namespace
