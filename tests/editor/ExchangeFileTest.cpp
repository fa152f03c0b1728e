#include <gtest/gtest.h>

#include <QFile>

#include "editor/ExchangeFile.h"
#include "platform/base/Exceptions.h"
#include "platform/graphics/BmpCodec.h"
#include "tests/editor/EditorTestSupport.h"

using editortest::StartFolder;

namespace {

// A picture that is nothing but its BMP image.
class DIBPicture : public graphics::TGraphic {
 public:
  ANIMORA_CLASS(DIBPicture)
  bool Empty() const override { return Image.Width == 0; }
  int Width() const override { return Image.Width; }
  int Height() const override { return Image.Height; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(base::TStream& Stream) override { Image = graphics::ReadBMP(Stream); }
  void SaveToStream(base::TStream& Stream) override { graphics::WriteBMP(Stream, Image); }
  graphics::TDIBImage Image;
};

DIBPicture TwoByTwo() {
  DIBPicture Picture;
  Picture.Image.Width = 2;
  Picture.Image.Height = 2;
  Picture.Image.BitCount = 24;
  Picture.Image.Bits = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  return Picture;
}

TEST(ExchangeFile, LiesInTheStartFolder) {
  EXPECT_EQ(editor::ExchangeFileName("/opt/animora"), "/opt/animora/gif.dat");
}

TEST(ExchangeFile, ABitmapGoesThroughUnchanged) {
  StartFolder Start;
  DIBPicture Written = TwoByTwo();
  editor::WriteExchangeFile(Start.Path(), Written);
  QFile File(QString::fromStdString(editor::ExchangeFileName(Start.Path())));
  ASSERT_TRUE(File.open(QIODevice::ReadOnly));
  EXPECT_EQ(File.read(2), "BM");

  DIBPicture Read;
  editor::ReadExchangeFile(Start.Path(), Read);
  EXPECT_EQ(Read.Image, Written.Image);
}

TEST(ExchangeFile, EachWriterOverwritesIt) {
  StartFolder Start;
  DIBPicture First = TwoByTwo();
  editor::WriteExchangeFile(Start.Path(), First);
  DIBPicture Second = TwoByTwo();
  Second.Image.Bits[0] = 77;
  editor::WriteExchangeFile(Start.Path(), Second);
  DIBPicture Read;
  editor::ReadExchangeFile(Start.Path(), Read);
  EXPECT_EQ(Read.Image.Bits[0], 77);
}

TEST(ExchangeFile, MissingOrMalformedRaisesAndLeavesThePicture) {
  StartFolder Start;
  DIBPicture Read = TwoByTwo();
  EXPECT_THROW(editor::ReadExchangeFile(Start.Path(), Read), base::EFOpenError);
  QFile File(QString::fromStdString(editor::ExchangeFileName(Start.Path())));
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write("BM not really a bitmap");
  File.close();
  EXPECT_THROW(editor::ReadExchangeFile(Start.Path(), Read), base::EInvalidGraphic);
  EXPECT_EQ(Read.Image, TwoByTwo().Image);
}

}  // namespace
