#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <stdexcept>

#include "platform/ui/HourGlass.h"

using namespace ui;

namespace {

Qt::CursorShape Current() {
  const QCursor* Cursor = QGuiApplication::overrideCursor();
  return Cursor ? Cursor->shape() : Qt::ArrowCursor;
}

}  // namespace

TEST(HourGlass, ShowsWhileItLivesAndNests) {
  ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
  {
    THourGlass Outer;
    EXPECT_EQ(Current(), Qt::WaitCursor);
    {
      THourGlass Starting(crAppStart);
      EXPECT_EQ(Current(), Qt::BusyCursor);
    }
    EXPECT_EQ(Current(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(HourGlass, AnExceptionRestoresTheCursor) {
  try {
    THourGlass Busy;
    throw std::runtime_error("failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
