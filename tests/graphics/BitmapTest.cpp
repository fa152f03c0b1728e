// TBitmap's palette ownership, scan lines, transparency mask, copying and BMP files.
#include <filesystem>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Pixel.h"
#include "tests/graphics/BitmapTestSupport.h"
#include "tests/graphics/BmpTestSupport.h"

using namespace bitmaptest;
using namespace graphics;

namespace {

gdi::HPALETTE Palette(std::initializer_list<gdi::PALETTEENTRY> Entries) {
  return gdi::CreatePalette(gdi::LOGPALETTE{0x300, Entries});
}

std::vector<uint8_t> Saved(TBitmap& B) {
  base::TMemoryStream S;
  B.SaveToStream(S);
  return S.Bytes();
}

void Load(TBitmap& B, const std::vector<uint8_t>& File) {
  base::TMemoryStream S(File);
  B.LoadFromStream(S);
}

TEST(BitmapPalette, ALoadedIndexedBitmapHasTheFilesTableCount) {
  graphics::TDIBImage Image;
  Image.Width = 3;
  Image.Height = 2;
  Image.BitCount = 8;
  for (int I = 0; I < 16; ++I) Image.Colors.push_back({uint8_t(I), uint8_t(2 * I), uint8_t(3 * I), 0});
  Image.Bits.assign(8, 15);
  TBitmap B;
  Load(B, bmptest::Write(Image));
  EXPECT_EQ(B.PixelFormat(), pf8bit);
  ASSERT_NE(B.Palette(), nullptr);
  EXPECT_EQ(gdi::GetPaletteEntries(B.Palette(), 0, 0, nullptr), 16u);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), static_cast<TColor>(gdi::RGB(45, 30, 15)));
}

TEST(BitmapPalette, SettingAPaletteRecoloursTheStoredIndexes) {
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetWidth(2);
  B.SetHeight(1);
  B.ScanLine(0)[0] = 0;
  B.ScanLine(0)[1] = 1;
  gdi::HPALETTE Given = Palette({{255, 0, 0, 0}, {0, 0, 255, 0}});
  B.SetPalette(Given);
  EXPECT_EQ(B.Palette(), Given) << "the bitmap owns the palette it was given";
  EXPECT_TRUE(B.PaletteModified());
  EXPECT_EQ(B.ScanLine(0)[1], 1);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), 0x0000FF);
  EXPECT_EQ(B.Canvas().Pixels(1, 0), 0xFF0000);
}

TEST(BitmapPalette, AReleasedPaletteBelongsToTheCaller) {
  TBitmap B;
  B.SetPixelFormat(pf4bit);
  B.SetWidth(2);
  B.SetHeight(2);
  gdi::HPALETTE Released = B.ReleasePalette();
  ASSERT_NE(Released, nullptr);
  gdi::HPALETTE Again = B.Palette();
  EXPECT_NE(Again, Released) << "an indexed bitmap makes a new one from its table";
  EXPECT_EQ(Again->Entries, Released->Entries);
  EXPECT_TRUE(gdi::DeleteObject(Released));
}

TEST(BitmapPalette, TrueColourBitmapsHaveNoneUntilGivenOne) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetWidth(1);
  B.SetHeight(1);
  EXPECT_EQ(B.Palette(), nullptr);
  gdi::HPALETTE Given = Palette({{1, 2, 3, 0}});
  B.SetPalette(Given);
  EXPECT_EQ(B.Palette(), Given);
}

TEST(BitmapScanLine, RowZeroIsTheTopAndOutsideRowsAreRefused) {
  TBitmap B;
  MakeGrid(B, 3, 2, {0x000000});
  B.Canvas().SetPixels(0, 0, 0x0000FF);
  EXPECT_EQ(B.ScanLine(0)[2], 0xFF) << "blue, green, red";
  EXPECT_EQ(B.ScanLine(1)[2], 0);
  for (int Row : {-1, 2}) {
    try {
      B.ScanLine(Row);
      ADD_FAILURE() << "row " << Row;
    } catch (const base::EInvalidGraphicOperation& E) {
      EXPECT_STREQ(E.what(), "Scan line index out of range");
    }
  }
}

TEST(BitmapScanLine, ADeviceBitmapBecomesASectionFirst) {
  TBitmap B;
  B.SetWidth(2);
  B.SetHeight(2);
  B.Canvas().SetPixels(1, 0, 0x00FF00);
  const uint8_t* Row = B.ScanLine(0);
  EXPECT_EQ(B.HandleType(), bmDIB);
  EXPECT_EQ(B.PixelFormat(), pf24bit);
  EXPECT_EQ(Row[4], 0xFF);
}

// The mask's bits as 0 and 1, top row first.
std::vector<int> MaskBits(gdi::HBITMAP Mask) {
  gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ Old = gdi::SelectObject(DC, Mask);
  std::vector<int> Bits;
  for (int Y = 0; Y < Mask->Format.Height; ++Y)
    for (int X = 0; X < Mask->Format.Width; ++X) Bits.push_back(gdi::GetPixel(DC, X, Y) == 0xFFFFFF ? 1 : 0);
  gdi::SelectObject(DC, Old);
  gdi::DeleteDC(DC);
  return Bits;
}

TEST(BitmapTransparency, AutoModeTakesTheBottomLeftPixel) {
  for (const TKind& K : Kinds) {
    const bool Two = TwoColors(K);
    const TColor Key = Two ? 0x000000 : 0x0000FF;
    const TColor Other = Two ? 0xFFFFFF : 0x00FF00;
    TBitmap B;
    MakeGrid(B, 3, 2, {Other});
    B.Canvas().SetPixels(0, 1, Key);
    B.Canvas().SetPixels(2, 0, Key);
    MakeKind(B, K);
    EXPECT_EQ(B.TransparentMode(), tmAuto);
    EXPECT_EQ(B.TransparentColor(), Key) << K.Name;
    gdi::HBITMAP Mask = B.MaskHandle();
    ASSERT_NE(Mask, nullptr);
    EXPECT_TRUE(Mask->Monochrome());
    EXPECT_EQ(MaskBits(Mask), (std::vector<int>{0, 0, 1, 1, 0, 0})) << K.Name;
  }
}

TEST(BitmapTransparency, AFixedColourAndChangesRebuildTheMask) {
  TBitmap B;
  MakeGrid(B, 2, 1, {0x000000});
  B.Canvas().SetPixels(1, 0, 0xFF0000);
  B.SetTransparentColor(0xFF0000);
  EXPECT_EQ(B.TransparentMode(), tmFixed);
  EXPECT_EQ(MaskBits(B.MaskHandle()), (std::vector<int>{0, 1}));
  B.Canvas().SetPixels(0, 0, 0xFF0000);
  EXPECT_EQ(MaskBits(B.MaskHandle()), (std::vector<int>{1, 1}));
  B.SetTransparentMode(tmAuto);
  EXPECT_EQ(B.TransparentColor(), 0xFF0000);
  B.SetTransparentColor(clDefault);
  EXPECT_EQ(B.TransparentMode(), tmAuto);
}

TEST(BitmapTransparency, TransparentDrawingKeepsTheTargetUnderTheKey) {
  TBitmap Source;
  MakeGrid(Source, 2, 2, {0x00FF00});
  Source.Canvas().SetPixels(0, 1, 0x0000FF);
  Source.Canvas().SetPixels(1, 0, 0x0000FF);
  Source.SetTransparent(true);
  for (const int Scale : {1, 2}) {
    TBitmap Target;
    MakeGrid(Target, 4, 4, {0xFF0000});
    Target.Canvas().StretchDraw(base::Rect(0, 0, 2 * Scale, 2 * Scale), &Source);
    for (int Y = 0; Y < 4; ++Y)
      for (int X = 0; X < 4; ++X) {
        const bool Inside = X < 2 * Scale && Y < 2 * Scale;
        const bool Key = (X / Scale + Y / Scale) == 1;
        EXPECT_EQ(Target.Canvas().Pixels(X, Y), Inside && !Key ? 0x00FF00 : 0xFF0000)
            << "scale " << Scale << " at " << X << ", " << Y;
      }
  }
}

class TOtherGraphic : public TGraphic {
 public:
  ANIMORA_CLASS(TOtherGraphic)
  bool Empty() const override { return false; }
  int Width() const override { return 1; }
  int Height() const override { return 1; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(base::TStream&) override {}
  void SaveToStream(base::TStream&) override {}
};

TEST(BitmapAssign, CopiesPixelsPaletteAndTransparencyDeeply) {
  TBitmap A;
  A.SetPixelFormat(pf8bit);
  A.SetWidth(3);
  A.SetHeight(2);
  A.SetPalette(Palette({{10, 20, 30, 0}, {40, 50, 60, 0}}));
  A.ScanLine(1)[2] = 1;
  A.SetTransparent(true);
  A.SetTransparentColor(0x123456);
  TBitmap B;
  B.Assign(&A);
  EXPECT_EQ(B.PixelFormat(), pf8bit);
  EXPECT_NE(B.Palette(), A.Palette());
  EXPECT_EQ(B.Palette()->Entries, A.Palette()->Entries);
  EXPECT_EQ(B.ScanLine(1)[2], 1);
  EXPECT_TRUE(B.Transparent());
  EXPECT_EQ(B.TransparentColor(), 0x123456);
  B.ScanLine(1)[2] = 0;
  EXPECT_EQ(A.ScanLine(1)[2], 1) << "the copy has pixels of its own";
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.Width(), 0);
}

TEST(BitmapAssign, OtherGraphicsMustKnowHowToBecomeABitmap) {
  TBitmap B;
  TOtherGraphic Other;
  try {
    B.Assign(&Other);
    FAIL() << "no error";
  } catch (const base::EConvertError& E) {
    EXPECT_STREQ(E.what(), "Cannot assign a TOtherGraphic to a TBitmap");
  }
}

TEST(BitmapHandle, AWrappedHandleIsReleasedNotDeleted) {
  gdi::HBITMAP Mono = gdi::CreateBitmap(4, 3, 1, 1, nullptr);
  {
    TBitmap B;
    B.SetHandle(Mono);
    EXPECT_EQ(B.Width(), 4);
    EXPECT_EQ(B.Height(), 3);
    EXPECT_TRUE(B.Monochrome());
    B.Canvas().SetPixels(0, 0, 0xFFFFFF);
    EXPECT_EQ(B.ReleaseHandle(), Mono);
    EXPECT_TRUE(B.Empty());
  }
  EXPECT_EQ(gdi::GetObjectType(Mono), gdi::OBJ_BITMAP);
  EXPECT_TRUE(gdi::DeleteObject(Mono));
}

TEST(BitmapHandle, TheHandleIsFreedFromTheCanvasForTheCaller) {
  TBitmap B;
  MakeGrid(B, 2, 2, {0x000000});
  B.Canvas().Handle();
  gdi::HBITMAP H = B.Handle();
  EXPECT_EQ(H->SelectedInto, nullptr);
  EXPECT_EQ(B.Canvas().Pixels(0, 0), 0) << "the canvas takes it back when drawn on";
}

TEST(BitmapFile, EveryKindSurvivesASaveAndALoad) {
  for (const TKind& K : Kinds) {
    const std::vector<TColor> Colors = ExactColors(TwoColors(K));
    TBitmap B;
    MakeGrid(B, 13, 5, Colors);
    MakeKind(B, K);
    TBitmap Loaded;
    Load(Loaded, Saved(B));
    const TPixelFormat Expected = K.Mono ? pf1bit : K.Format == pfDevice ? pf24bit : K.Format;
    EXPECT_EQ(Loaded.PixelFormat(), Expected) << K.Name;
    EXPECT_EQ(GridDifference(Loaded, Colors), "") << K.Name;
  }
}

TEST(BitmapFile, EmptyBitmapsWriteNothingAndEmptyStreamsLoadNothing) {
  TBitmap B;
  EXPECT_TRUE(Saved(B).empty());
  MakeGrid(B, 2, 2, {0x000000});
  Load(B, {});
  EXPECT_TRUE(B.Empty());
}

TEST(BitmapFile, ABadFileKeepsThePictureHeldBefore) {
  TBitmap B;
  MakeGrid(B, 2, 2, {0x00FF00});
  EXPECT_THROW(Load(B, {'B', 'M', 1, 2, 3}), base::EInvalidGraphic);
  EXPECT_EQ(B.Width(), 2);
  EXPECT_EQ(B.Canvas().Pixels(1, 1), 0x00FF00);
}

TEST(BitmapFile, SavingToAFileGoesThroughTheGraphic) {
  const auto Path = std::filesystem::temp_directory_path() / "animora-bitmap-test.bmp";
  TBitmap B;
  MakeGrid(B, 3, 3, ExactColors(false));
  B.SaveToFile(Path.string());
  TBitmap Loaded;
  Loaded.LoadFromFile(Path.string());
  std::filesystem::remove(Path);
  EXPECT_EQ(GridDifference(Loaded, ExactColors(false)), "");
}

TEST(BitmapEvents, ChangesFireOnChange) {
  TBitmap B;
  int Changes = 0;
  B.OnChange = [&](base::TObject*) { ++Changes; };
  B.SetWidth(2);
  B.SetHeight(2);
  B.Canvas().SetPixels(0, 0, 0x0000FF);
  B.SetPixelFormat(pf8bit);
  EXPECT_EQ(Changes, 4);
  EXPECT_TRUE(B.Modified());
}

}  // namespace
