#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "plexor/CutWizardForm.h"
#include "plexor/ExchangeImage.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace plexor;
using graphics::TDIBImage;

namespace {

// A bottom-up DIB of W x H at Bits per pixel whose value at (x, y) is Value(x, y).
TDIBImage MakeDIB(int W, int H, int Bits, unsigned (*Value)(int, int)) {
  TDIBImage Image;
  Image.Width = W;
  Image.Height = H;
  Image.BitCount = static_cast<uint16_t>(Bits);
  if (Bits <= 8)
    for (int I = 0; I < (1 << Bits); ++I)
      Image.Colors.push_back({static_cast<uint8_t>(I * 3), static_cast<uint8_t>(I * 5), static_cast<uint8_t>(I * 7), 0});
  Image.Bits.assign(static_cast<size_t>(Image.RowBytes() * H), 0);
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = Image.Bits.data() + (H - 1 - Y) * Image.RowBytes();
    for (int X = 0; X < W; ++X) {
      const unsigned V = Value(X, Y);
      if (Bits < 8) {
        const int Bit = X * Bits;
        Row[Bit / 8] |= static_cast<uint8_t>(V << (8 - Bits - Bit % 8));
      } else {
        for (int B = 0; B < Bits / 8; ++B) Row[X * (Bits / 8) + B] = static_cast<uint8_t>(V >> (8 * B));
      }
    }
  }
  return Image;
}

unsigned PixelOf(const TDIBImage& Image, int X, int Y) {
  const uint8_t* Row = Image.Bits.data() + (Image.Height - 1 - Y) * Image.RowBytes();
  const int Bits = Image.BitCount;
  if (Bits < 8) {
    const int Bit = X * Bits;
    return (Row[Bit / 8] >> (8 - Bits - Bit % 8)) & ((1u << Bits) - 1);
  }
  unsigned V = 0;
  for (int B = 0; B < Bits / 8; ++B) V |= unsigned(Row[X * (Bits / 8) + B]) << (8 * B);
  return V;
}

unsigned Checker(int X, int Y) { return (X + Y) & 1; }
unsigned Nibbles(int X, int Y) { return (X * 3 + Y) & 15; }
unsigned Bytes(int X, int Y) { return (X * 17 + Y * 5) & 255; }
unsigned Words(int X, int Y) { return (X * 1031u + Y * 7u) & 0xFFFF; }
unsigned Triples(int X, int Y) { return (X * 70001u + Y * 13u) & 0xFFFFFF; }
unsigned Quads(int X, int Y) { return X * 0x01020304u + Y * 0x11u; }

}  // namespace

TEST(CropDIB, KeepsTheDepthTableAndPixelsAtEveryBitCount) {
  struct {
    int Bits;
    unsigned (*Value)(int, int);
  } const Cases[] = {{1, Checker}, {4, Nibbles}, {8, Bytes}, {16, Words}, {24, Triples}, {32, Quads}};
  for (const auto& C : Cases) {
    const TDIBImage Image = MakeDIB(13, 7, C.Bits, C.Value);
    const TDIBImage Cut = CropDIB(Image, base::Rect(3, 2, 12, 6));
    ASSERT_EQ(Cut.Width, 9) << C.Bits;
    ASSERT_EQ(Cut.Height, 4) << C.Bits;
    EXPECT_EQ(Cut.BitCount, C.Bits);
    EXPECT_EQ(Cut.Colors, Image.Colors);
    EXPECT_EQ(Cut.Bits.size(), static_cast<size_t>(Cut.RowBytes() * 4));
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 9; ++X) ASSERT_EQ(PixelOf(Cut, X, Y), C.Value(X + 3, Y + 2)) << C.Bits << ":" << X << "," << Y;
  }
}

TEST(CropDIB, ClipsToTheImage) {
  const TDIBImage Image = MakeDIB(6, 4, 8, Bytes);
  struct {
    base::TRect Rect;
    int Width, Height;
  } const Cases[] = {
      {base::Rect(-5, -5, 2, 3), 2, 3},
      {base::Rect(4, 1, 50, 50), 2, 3},
      {base::Rect(7, 0, 9, 4), 0, 4},
      {base::Rect(3, 3, 1, 1), 0, 0},
  };
  for (const auto& C : Cases) {
    const TDIBImage Cut = CropDIB(Image, C.Rect);
    EXPECT_EQ(Cut.Width, C.Width);
    EXPECT_EQ(Cut.Height, C.Height);
  }
  EXPECT_EQ(PixelOf(CropDIB(Image, base::Rect(4, 1, 50, 50)), 1, 2), Bytes(5, 3));
}

TEST(SaveCuts, NumbersTheFilesPastThoseThatExistAndSkipsEmptyRectangles) {
  QTemporaryDir Dir;
  const std::string Folder = Dir.path().toStdString();
  WriteBMPFile(Folder + "/Cut1.bmp", MakeDIB(1, 1, 24, Triples));
  const TDIBImage Image = MakeDIB(10, 10, 24, Triples);
  const std::vector<std::string> Saved =
      SaveCuts(Image, {base::Rect(0, 0, 4, 3), base::Rect(20, 20, 30, 30), base::Rect(5, 5, 10, 10)}, Folder);
  ASSERT_EQ(Saved, (std::vector<std::string>{Folder + "/Cut2.bmp", Folder + "/Cut3.bmp"}));
  const TDIBImage First = ReadBMPFile(Saved[0]);
  EXPECT_EQ(First, CropDIB(Image, base::Rect(0, 0, 4, 3)));
  EXPECT_EQ(ReadBMPFile(Saved[1]).Width, 5);
}

TEST(CutWizardForm, ADragAddsARectangleAndSaveWritesEachOne) {
  QTemporaryDir Start, Out;
  TCutWizardForm Form(MakeDIB(40, 30, 8, Bytes), Start.path().toStdString());
  Form.show();
  auto* View = Form.findChild<TCutView*>("CutView");
  ASSERT_NE(View, nullptr);
  QTest::mousePress(View, Qt::LeftButton, {}, QPoint(30, 20));
  QTest::mouseMove(View, QPoint(20, 10));
  QTest::mouseRelease(View, Qt::LeftButton, {}, QPoint(5, 4));
  QTest::mouseClick(View, Qt::LeftButton, {}, QPoint(7, 7));  // a click draws nothing
  ASSERT_EQ(Form.Rects().size(), 1u);
  EXPECT_EQ(Form.Rects()[0], base::Rect(5, 4, 30, 20));
  auto* List = Form.findChild<QListWidget*>("RectList");
  ASSERT_EQ(List->count(), 1);
  EXPECT_EQ(List->item(0)->text(), "5, 4: 25 x 16");

  Form.AddRect(base::Rect(0, 0, 2, 2));
  uitest::TScriptedDialogs Dialogs({uitest::ChooseFolder(Out.path().toStdString()), uitest::Press(ui::mrOk)});
  Form.findChild<QPushButton*>("SaveBtn")->click();
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].InitialDir, Start.path().toStdString());
  EXPECT_EQ(Dialogs.Calls()[1].Text, "2 figures saved in " + Out.path().toStdString() + ".");
  EXPECT_EQ(ReadBMPFile(Out.path().toStdString() + "/Cut1.bmp").Width, 25);
  EXPECT_EQ(ReadBMPFile(Out.path().toStdString() + "/Cut2.bmp").Width, 2);

  List->setCurrentRow(0);
  Form.findChild<QPushButton*>("RemoveBtn")->click();
  ASSERT_EQ(Form.Rects().size(), 1u);
  EXPECT_EQ(Form.Rects()[0], base::Rect(0, 0, 2, 2));
}

TEST(CutWizardForm, SavingWithoutRectanglesOrWithTheFolderCancelledWritesNothing) {
  QTemporaryDir Start;
  TCutWizardForm Form(MakeDIB(8, 8, 24, Triples), Start.path().toStdString());
  uitest::TScriptedDialogs Dialogs({uitest::Press(ui::mrOk), uitest::Cancel(uitest::TDialogKind::Folder)});
  Form.findChild<QPushButton*>("SaveBtn")->click();
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Draw a rectangle around each figure first.");
  Form.AddRect(base::Rect(0, 0, 4, 4));
  Form.findChild<QPushButton*>("SaveBtn")->click();
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_TRUE(std::filesystem::is_empty(Start.path().toStdString()));
}
