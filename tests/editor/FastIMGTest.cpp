#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "editor/bitmaps/FastBMP.h"
#include "editor/controls/FastIMG.h"
#include "platform/gdi/Pixel.h"

using namespace editor;

namespace {

constexpr base::TColor Background = 0x00102030;
constexpr base::TColor Picture = 0x00FF0000;  // blue

struct Fixture {
  Fixture() {
    Control.SetColor(Background);
    Image.SetSize(IW, IH);
    for (int Y = 0; Y < IH; ++Y)
      for (int X = 0; X < IW; ++X) Image.Row(Y)[3 * X] = 255;
  }
  gdi::COLORREF At(int X, int Y) { return gdi::GetPixel(Control.Canvas().Handle(), X, Y); }
  int IW = 50, IH = 20;
  TFastIMG Control;
  TFastBMP Image;
};

}  // namespace

TEST(FastIMG, StartsAt100By100WithNoImage) {
  TFastIMG Control;
  EXPECT_EQ(Control.size(), QSize(100, 100));
  EXPECT_EQ(Control.Image(), nullptr);
}

TEST(FastIMG, ResizeKeepsTheAspectAndCentres) {
  EXPECT_EQ(FitRect(100, 100, 50, 20), base::Rect(0, 30, 100, 70));
  EXPECT_EQ(FitRect(100, 100, 20, 50), base::Rect(30, 0, 70, 100));
  EXPECT_EQ(FitRect(100, 100, 0, 0), base::Rect(0, 0, 100, 100));
  for (bool Bilinear : {false, true}) {
    Fixture F;
    F.Control.SetImage(&F.Image);
    F.Control.SetBilinearResize(Bilinear);
    F.Control.SetDrawStyle(dsResize);
    EXPECT_EQ(F.At(50, 29), Background) << Bilinear;
    EXPECT_EQ(F.At(0, 30), Picture) << Bilinear;
    EXPECT_EQ(F.At(99, 69), Picture) << Bilinear;
    EXPECT_EQ(F.At(50, 70), Background) << Bilinear;
  }
}

TEST(FastIMG, CenterCutsALargerImageAndFillsTheBands) {
  Fixture F;
  F.Image.SetSize(120, 80);
  for (int Y = 0; Y < 80; ++Y)
    for (int X = 0; X < 120; ++X) F.Image.Row(Y)[3 * X] = static_cast<uint8_t>(X);
  F.Control.SetImage(&F.Image);
  F.Control.SetDrawStyle(dsCenter);
  // Drawn at (-10, 10): control column 0 shows image column 10.
  EXPECT_EQ(F.At(0, 50), 0x000A0000u);
  EXPECT_EQ(F.At(50, 9), Background);
  EXPECT_EQ(F.At(50, 90), Background);
  EXPECT_EQ(F.At(50, 89) >> 16, 60u);
}

TEST(FastIMG, DrawFillsAroundAndStretchAndTileCoverAll) {
  Fixture F;
  F.Control.SetImage(&F.Image);
  EXPECT_EQ(F.At(49, 19), Picture);
  EXPECT_EQ(F.At(50, 0), Background);
  EXPECT_EQ(F.At(0, 20), Background);
  for (TDrawStyle Style : {dsStretch, dsTile}) {
    F.Control.SetDrawStyle(Style);
    EXPECT_EQ(F.At(99, 99), Picture);
  }
}

TEST(FastIMG, LoadsByDataTypeAndKeepsTheImageForAMissingFile) {
  QTemporaryDir Dir;
  const std::string Name = Dir.filePath("image.bmp").toStdString();
  Fixture F;
  F.Image.SaveToFile(Name);
  F.Control.SetAutoSize(true);
  F.Control.SetDataType(dtFast256);
  F.Control.SetConvert_256(cmCut);
  F.Control.SetFileName(Name);
  auto* Loaded = dynamic_cast<TFast256*>(F.Control.Image());
  ASSERT_NE(Loaded, nullptr);
  EXPECT_EQ(F.Control.size(), QSize(50, 20));
  EXPECT_EQ(Loaded->Colors()[Loaded->Row(0)[0]].rgbBlue, 255);

  F.Control.SetFileName(Dir.filePath("missing.bmp").toStdString());
  EXPECT_EQ(F.Control.Image(), Loaded);
  // The type only matters to the next load into an empty control.
  F.Control.SetDataType(dtFastBMP);
  F.Control.LoadImage(Name);
  EXPECT_EQ(F.Control.Image(), Loaded);
  F.Control.SetFileName("");
  EXPECT_EQ(F.Control.Image(), nullptr);
  F.Control.LoadImage(Name);
  EXPECT_NE(dynamic_cast<TFastBMP*>(F.Control.Image()), nullptr);
}

TEST(FastIMG, FreesOnlyTheImagesItOwns) {
  struct Counted : TFastBMP {
    explicit Counted(int& Count) : Alive(Count) { ++Alive; }
    ~Counted() override { --Alive; }
    int& Alive;
  };
  int Alive = 0;
  Counted Callers(Alive);
  {
    TFastIMG Control;
    Control.SetImage(std::make_unique<Counted>(Alive));
    EXPECT_EQ(Alive, 2);
    Control.SetImage(&Callers);
    EXPECT_EQ(Alive, 1) << "the replaced image was the control's";
    EXPECT_EQ(Control.DataType(), dtFastBMP);
  }
  EXPECT_EQ(Alive, 1) << "the caller's image stays";
}
