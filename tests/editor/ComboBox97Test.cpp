#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "editor/controls/ComboBox97.h"
#include "platform/graphics/Colors.h"
#include "platform/ui/ColorConvert.h"

using editor::TComboBox97;

namespace {

struct Fixture {
  Fixture() {
    QPalette Colors = Parent.palette();
    Colors.setColor(QPalette::Window, QColor(10, 20, 30));
    Parent.setPalette(Colors);
    Parent.resize(200, 60);
    Combo = new TComboBox97(&Parent);
    Combo->addItems({"one", "two"});
    Combo->setGeometry(5, 5, 120, 24);
  }
  QWidget Parent;
  TComboBox97* Combo;
};

QColor Background(const TComboBox97& Combo) { return Combo.palette().color(QPalette::Base); }

TEST(ComboBox97, FlatDisabledTakesTheParentsColourAndGetsItsOwnBack) {
  Fixture F;
  F.Combo->SetFlat(true);
  F.Combo->SetColor(0x00FF00);
  F.Combo->setEnabled(false);
  EXPECT_TRUE(F.Combo->ParentColor());
  EXPECT_EQ(Background(*F.Combo), QColor(10, 20, 30));
  F.Combo->setEnabled(true);
  EXPECT_FALSE(F.Combo->ParentColor());
  EXPECT_EQ(F.Combo->Color(), 0x00FF00);
  EXPECT_EQ(Background(*F.Combo), QColor(0, 255, 0));
}

TEST(ComboBox97, ParentColourSurvivesADisableOfAFlatBox) {
  Fixture F;
  F.Combo->SetFlat(true);
  F.Combo->SetParentColor(true);
  F.Combo->setEnabled(false);
  F.Combo->setEnabled(true);
  EXPECT_TRUE(F.Combo->ParentColor());
  EXPECT_EQ(Background(*F.Combo), QColor(10, 20, 30));
}

TEST(ComboBox97, NonFlatKeepsItsColourWhenDisabled) {
  Fixture F;
  F.Combo->SetColor(0x0000FF);
  F.Combo->setEnabled(false);
  EXPECT_FALSE(F.Combo->ParentColor());
  EXPECT_EQ(Background(*F.Combo), QColor(255, 0, 0));
}

TEST(ComboBox97, FlatIsTheOppositeOfCtl3D) {
  Fixture F;
  EXPECT_FALSE(F.Combo->Flat());
  EXPECT_TRUE(F.Combo->Ctl3D());
  F.Combo->SetFlat(true);
  EXPECT_FALSE(F.Combo->Ctl3D());
}

TEST(ComboBox97, ButtonIsAScrollBarWideAndTwo) {
  Fixture F;
  EXPECT_EQ(F.Combo->ButtonWidth(), F.Combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
}

TEST(ComboBox97, PressOnTheButtonIsClearedByTheRelease) {
  Fixture F;
  F.Combo->SetFlat(true);
  const QPoint OnButton(F.Combo->width() - F.Combo->ButtonWidth() / 2, F.Combo->height() / 2);
  QTest::mousePress(F.Combo, Qt::LeftButton, {}, OnButton);
  EXPECT_TRUE(F.Combo->Pressed());
  EXPECT_TRUE(F.Combo->Tracking());
  F.Combo->hidePopup();
  EXPECT_FALSE(F.Combo->Pressed());
  EXPECT_TRUE(F.Combo->Tracking());
}

TEST(ComboBox97, ReleaseAnywhereClearsPressed) {
  Fixture F;
  F.Combo->SetFlat(true);
  const QPoint OnButton(F.Combo->width() - 3, 3);
  QTest::mousePress(F.Combo, Qt::LeftButton, {}, OnButton);
  F.Combo->hidePopup();
  QTest::mousePress(F.Combo, Qt::LeftButton, {}, OnButton);
  QTest::mouseRelease(F.Combo, Qt::LeftButton, {}, OnButton);
  EXPECT_FALSE(F.Combo->Pressed());
}

TEST(ComboBox97, MouseOverADisabledBoxIsNotFollowed) {
  Fixture F;
  F.Combo->setEnabled(false);
  QEnterEvent Enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
  QCoreApplication::sendEvent(F.Combo, &Enter);
  EXPECT_FALSE(F.Combo->MouseInControl());
  F.Combo->setEnabled(true);
  QCoreApplication::sendEvent(F.Combo, &Enter);
  EXPECT_TRUE(F.Combo->MouseInControl());
  EXPECT_TRUE(F.Combo->IsHot());
  QEvent Leave(QEvent::Leave);
  QCoreApplication::sendEvent(F.Combo, &Leave);
  EXPECT_FALSE(F.Combo->MouseInControl());
  EXPECT_FALSE(F.Combo->IsHot());
}

TEST(ComboBox97, FlatBorderIsButtonFaceUntilTheMouseComes) {
  Fixture F;
  F.Combo->SetFlat(true);
  const QColor Face = ui::ToQColor(graphics::clBtnFace);
  EXPECT_EQ(F.Combo->grab().toImage().pixelColor(0, 0), Face);
  QEnterEvent Enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
  QCoreApplication::sendEvent(F.Combo, &Enter);
  EXPECT_NE(F.Combo->grab().toImage().pixelColor(0, 0), Face);
}

}  // namespace
