#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>

#include "platform/base/Exceptions.h"
#include "plexor/ExchangeImage.h"
#include "plexor/Services.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace plexor;
using uitest::TDialogKind;
using uitest::TScriptedDialogs;

namespace {

class CaptureTest : public ::testing::Test {
 protected:
  std::string Start() const { return FStart.path().toStdString(); }
  std::string Exchange() const { return ExchangeFileName(Start()); }
  QTemporaryDir FStart;
};

QImage Pattern(int W, int H) {
  QImage Image(W, H, QImage::Format_RGB32);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Image.setPixel(X, Y, qRgb(X * 40, Y * 60, 200));
  return Image;
}

}  // namespace

TEST_F(CaptureTest, AChosenPictureBecomesTheExchangeBitmap) {
  const std::string Picture = Start() + "/photo.png";
  ASSERT_TRUE(Pattern(5, 3).save(QString::fromStdString(Picture)));
  TScriptedDialogs Dialogs({uitest::OpenFiles({Picture})});
  EXPECT_EQ(Capture(nullptr, Start()), 1);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].InitialDir, Start());
  const graphics::TDIBImage Written = ReadBMPFile(Exchange());
  EXPECT_EQ(Written.Width, 5);
  EXPECT_EQ(Written.Height, 3);
  EXPECT_EQ(Written.BitCount, 24);
  const QImage Back = QImageFromDIB(Written);
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 5; ++X) EXPECT_EQ(Back.pixel(X, Y), qRgb(X * 40, Y * 60, 200)) << X << "," << Y;
}

TEST_F(CaptureTest, AnIndexedPictureKeepsItsColourTable) {
  QImage Indexed(4, 2, QImage::Format_Indexed8);
  Indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)});
  Indexed.fill(1);
  Indexed.setPixel(3, 1, 2);
  const graphics::TDIBImage DIB = DIBFromQImage(Indexed);
  EXPECT_EQ(DIB.BitCount, 8);
  ASSERT_EQ(DIB.Colors.size(), 3u);
  EXPECT_EQ(DIB.Colors[1].rgbBlue, 255);
  EXPECT_EQ(QImageFromDIB(DIB).pixel(3, 1), qRgb(9, 9, 9));
  EXPECT_EQ(QImageFromDIB(DIB).pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(CaptureTest, CancelOrAnUnreadablePictureLeavesTheExchangeFileAlone) {
  {
    QFile Old(QString::fromStdString(Exchange()));
    ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
    Old.write("old");
  }
  const std::string Broken = Start() + "/broken.png";
  {
    QFile File(QString::fromStdString(Broken));
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("not a picture");
  }
  TScriptedDialogs Dialogs({uitest::Cancel(TDialogKind::Open), uitest::OpenFiles({Broken}), uitest::Press(ui::mrOk)});
  EXPECT_EQ(Capture(nullptr, Start()), 0);
  EXPECT_EQ(Capture(nullptr, Start()), 0);
  ASSERT_EQ(Dialogs.Calls().size(), 3u);
  EXPECT_EQ(Dialogs.Calls()[2].Type, ui::mtError);
  EXPECT_EQ(Dialogs.Calls()[2].Text.rfind("Cannot read the picture \"" + Broken + "\"", 0), 0u);
  QFile Old(QString::fromStdString(Exchange()));
  ASSERT_TRUE(Old.open(QIODevice::ReadOnly));
  EXPECT_EQ(Old.readAll(), "old");
}

TEST_F(CaptureTest, TheCutWizardWithoutAnExchangeFileRaisesTheFileError) {
  EXPECT_THROW(RunCutWizard(nullptr, Start()), base::EFOpenError);
}

TEST(About, IsAnInformationBox) {
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  ShowAbout(nullptr);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Caption, "About");
  EXPECT_EQ(Dialogs.Calls()[0].Text, AboutText());
  EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtInformation);
}
