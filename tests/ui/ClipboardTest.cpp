#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/ui/Clipboard.h"

using namespace ui;

TEST(Clipboard, AnImageWithItsGIFStreamComesBack) {
  auto Clipboard = NewSystemClipboard();
  QImage Image(3, 2, QImage::Format_RGB32);
  Image.fill(qRgb(10, 20, 30));
  const std::vector<uint8_t> GIF = {'G', 'I', 'F', '8', '9', 'a', 0, 0xFF, ';'};
  Clipboard->SetImage(Image, GIF);
  EXPECT_TRUE(Clipboard->HasAnyFormat());
  EXPECT_TRUE(Clipboard->HasImage());
  EXPECT_TRUE(Clipboard->HasGIFImage());
  EXPECT_EQ(Clipboard->GIFImage(), GIF);
  const QImage Back = Clipboard->Image();
  ASSERT_EQ(Back.size(), Image.size());
  EXPECT_EQ(Back.pixel(2, 1), qRgb(10, 20, 30));
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/gif"));
}

TEST(Clipboard, AnImageAloneCarriesNoGIFStream) {
  auto Clipboard = NewSystemClipboard();
  QImage Image(1, 1, QImage::Format_RGB32);
  Image.fill(Qt::white);
  Clipboard->SetImage(Image);
  EXPECT_TRUE(Clipboard->HasImage());
  EXPECT_FALSE(Clipboard->HasGIFImage());
  EXPECT_TRUE(Clipboard->GIFImage().empty());
}

TEST(Clipboard, TextIsAFormatButNoImage) {
  auto Clipboard = NewSystemClipboard();
  QGuiApplication::clipboard()->setText("words");
  EXPECT_TRUE(Clipboard->HasAnyFormat());
  EXPECT_FALSE(Clipboard->HasImage());
  Clipboard->Clear();
  EXPECT_FALSE(Clipboard->HasImage());
  EXPECT_FALSE(Clipboard->HasAnyFormat());
}

TEST(Clipboard, EveryChangeIsReported) {
  auto Clipboard = NewSystemClipboard();
  int Changes = 0;
  Clipboard->OnChange = [&] { ++Changes; };
  QGuiApplication::clipboard()->setText("from another part of the program");
  QImage Image(1, 1, QImage::Format_RGB32);
  Clipboard->SetImage(Image);
  QCoreApplication::processEvents();
  EXPECT_EQ(Changes, 2);
  Clipboard.reset();  // a gone clipboard object hears nothing more
  QGuiApplication::clipboard()->setText("after");
}
