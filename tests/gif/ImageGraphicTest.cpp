// The image as a graphic of the picture system: its rendering and palette, every
// registered picture converted into a frame and back, the registration itself and the
// clipboard exchange.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "gif/GIFImage.h"
#include "gif/Library.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/JPEGImage.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "tests/gif/FrameBitmapTestSupport.h"
#include "tests/graphics/IconTestSupport.h"
#include "tests/graphics/MetafileTestSupport.h"
#include "tests/graphics/PictureTestSupport.h"

namespace {

using namespace frametest;
using gif::TGIFImage;
using gif::TGIFSubImage;
using picturetest::Bytes;

// Starts the library for one test and ends it afterwards.
struct LibraryScope {
  LibraryScope() { gif::InitializeGIFLibrary(); }
  ~LibraryScope() { gif::FinalizeGIFLibrary(); }
};

TEST(ImageBitmap, EmptyImageHasNone) {
  TGIFImage Image;
  EXPECT_EQ(Image.GetBitmap(), nullptr);
}

TEST(ImageBitmap, SmallFrameSitsAtItsPlaceOnTheScreen) {
  TGIFImage Image;
  Image.SetWidth(6);
  Image.SetHeight(4);
  AddFrame(Image, 3, 1, 2, 2, {RGB(255, 0, 0)}, [](int, int) { return 0; });
  graphics::TBitmap* Bitmap = Image.GetBitmap();
  ASSERT_NE(Bitmap, nullptr);
  EXPECT_EQ(Bitmap->Width(), 6);
  EXPECT_EQ(Bitmap->Height(), 4);
  EXPECT_EQ(Bitmap->Canvas().Pixels(3, 1), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap->Canvas().Pixels(4, 2), RGB(255, 0, 0));
  EXPECT_NE(Bitmap->Canvas().Pixels(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(Image.GetBitmap(), Bitmap);
}

TEST(ImageBitmap, AssignToBitmapAndFromBitmap) {
  TGIFImage Image;
  AddFrame(Image, 0, 0, 3, 2, {RGB(0, 0, 255), RGB(0, 255, 0)}, [](int X, int) { return X == 1; });
  TBitmap Bitmap;
  Bitmap.Assign(&Image);
  ASSERT_EQ(Bitmap.Width(), 3);
  EXPECT_EQ(Bitmap.Canvas().Pixels(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(Bitmap.Canvas().Pixels(2, 0), RGB(0, 0, 255));
  TGIFImage Copy;
  Copy.Assign(&Bitmap);
  ASSERT_EQ(Copy.Frames().Count(), 1);
  EXPECT_EQ(Copy.Width(), 3);
  EXPECT_EQ(Copy.Frames().SubImages(0)->ActiveColorMap()->Colors(Copy.Frames().SubImages(0)->Pixels(1, 0)),
            RGB(0, 255, 0));
}

TEST(ImageBitmap, PaletteOfTheGraphicIsTheImagePalette) {
  TGIFImage Image;
  Image.SetDrawFlags(0);
  Image.GetGlobalColorMap()->Add(RGB(1, 2, 3));
  Image.GetGlobalColorMap()->Add(RGB(4, 5, 6));
  graphics::TGraphic& Graphic = Image;
  gdi::HPALETTE Palette = Graphic.Palette();
  ASSERT_NE(Palette, nullptr);
  EXPECT_EQ(Palette, Image.GetPalette());
  EXPECT_EQ(gdi::GetPaletteEntries(Palette, 0, 256, nullptr), 2u);
}

TEST(ImageBitmap, FlushRenderingsDropsBitmapsAndMovesALoneLocalTable) {
  TGIFImage Image;
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 2, 2, {RGB(9, 9, 9), RGB(8, 8, 8)}, [](int X, int) { return X; });
  ASSERT_NE(Image.GetBitmap(), nullptr);
  Image.FlushRenderings();
  EXPECT_FALSE(Frame->HasBitmap());
  EXPECT_EQ(Frame->ColorMap()->Count(), 0);
  EXPECT_EQ(Image.GetGlobalColorMap()->Count(), 2);
  EXPECT_EQ(Image.GetBitmap()->Canvas().Pixels(1, 0), RGB(8, 8, 8));
}

TEST(ImageBitmap, DrawingAnAnimationShowsItsFirstFrame) {
  TGIFImage Image;
  AddFrame(Image, 0, 0, 2, 2, {RGB(255, 0, 0)}, [](int, int) { return 0; });
  AddFrame(Image, 0, 0, 2, 2, {RGB(0, 255, 0)}, [](int, int) { return 0; });
  TBitmap Target;
  MakeTrueColor(Target, graphics::pf24bit, 4, 4, [](int, int) { return RGB(0, 0, 0); });
  Target.Canvas().StretchDraw(base::Rect(0, 0, 4, 4), &Image);
  EXPECT_EQ(Target.Canvas().Pixels(3, 3), RGB(255, 0, 0));
}

// Each format the registry knows, as a file, and what its pictures must show.
struct PictureFile {
  std::string Extension;
  Bytes File;
  int Width, Height;
  int X, Y;  // a pixel of known colour
  TColor Color;
  int Tolerance;
  bool Transparent;
};

Bytes BitmapFile() {
  TBitmap B;
  MakeIndexed(B, graphics::pf8bit, 7, 5, {RGB(10, 20, 30), RGB(200, 100, 50)}, [](int X, int) { return X > 3; });
  base::TMemoryStream S;
  B.SaveToStream(S);
  return S.Bytes();
}

Bytes JPEGFile() {
  TBitmap B;
  MakeTrueColor(B, graphics::pf24bit, 16, 16, [](int, int) { return RGB(200, 100, 50); });
  graphics::TJPEGImage J;
  J.Assign(&B);
  base::TMemoryStream S;
  J.SaveToStream(S);
  return S.Bytes();
}

Bytes GIFFile() {
  TGIFImage Image;
  AddFrame(Image, 0, 0, 4, 3, {RGB(1, 2, 3), RGB(200, 100, 50)}, [](int X, int) { return X == 2; });
  base::TMemoryStream S;
  Image.SaveToStream(S);
  return S.Bytes();
}

std::vector<PictureFile> PictureFiles() {
  using picturetest::Ints;
  using picturetest::Words;
  return {
      {"bmp", BitmapFile(), 7, 5, 5, 2, RGB(200, 100, 50), 0, false},
      {"jpg", JPEGFile(), 16, 16, 8, 8, RGB(200, 100, 50), 12, false},
      {"jpeg", JPEGFile(), 16, 16, 8, 8, RGB(200, 100, 50), 12, false},
      {"ico", picturetest::IconFile({picturetest::DIBEntry(picturetest::Checker1(8, 8))}), 8, 8, 1, 2, RGB(255, 255, 255), 0, true},
      {"emf", picturetest::TEMFBuilder().Add(39, Ints({1, 0, 0x0000FF, 0})).Add(37, Ints({1})).Add(43, Ints({0, 0, 10, 10})).Finish(),
       100, 50, 5, 5, RGB(255, 0, 0), 0, true},
      {"wmf", picturetest::TWMFBuilder().Add(0x02FC, Words({0, 0x00FF, 0, 0})).Add(0x012D, Words({0})).Add(0x041B, Words({10, 10, 0, 0})).Finish(),
       100, 50, 5, 5, RGB(255, 0, 0), 0, true},
      {"gif", GIFFile(), 4, 3, 2, 1, RGB(200, 100, 50), 0, false},
  };
}

bool Near(TColor A, TColor B, int Tolerance) {
  for (int Shift : {0, 8, 16})
    if (std::abs((A >> Shift & 0xFF) - (B >> Shift & 0xFF)) > Tolerance) return false;
  return true;
}

TEST(ImageGraphic, EveryRegisteredPictureConvertsIntoAFrameAndBack) {
  const LibraryScope Library;
  const picturetest::TScratch Dir;
  std::set<std::string> Covered;
  for (const PictureFile& P : PictureFiles()) {
    SCOPED_TRACE(P.Extension);
    Covered.insert(P.Extension);
    const std::string Path = (Dir / ("p." + P.Extension)).string();
    picturetest::SaveFile(Path, P.File);
    graphics::TPicture Picture;
    Picture.LoadFromFile(Path);
    ASSERT_NE(Picture.Graphic(), nullptr);
    TGIFImage Image;
    Image.SetReductionMethod(gif::rdNone);
    Image.Assign(Picture.Graphic());
    ASSERT_EQ(Image.Frames().Count(), 1);
    TGIFSubImage* Frame = Image.Frames().SubImages(0);
    ASSERT_EQ(Frame->Width(), P.Width);
    ASSERT_EQ(Frame->Height(), P.Height);
    EXPECT_EQ(Frame->Transparent(), P.Transparent);
    EXPECT_TRUE(Near(Frame->ActiveColorMap()->Colors(Frame->Pixels(P.X, P.Y)), P.Color, P.Tolerance));
    TBitmap Back;
    Back.Assign(&Image);
    ASSERT_EQ(Back.Width(), P.Width);
    EXPECT_TRUE(Near(Back.Canvas().Pixels(P.X, P.Y), P.Color, P.Tolerance)) << Back.Canvas().Pixels(P.X, P.Y);
  }
  for (const graphics::TFileFormat& Format : graphics::TPicture::FileFormats())
    EXPECT_TRUE(Covered.count(Format.Extension)) << Format.Extension << " has no case";
}

TEST(ImageGraphic, IconAndMetafileTransparencyFollowTheirMasks) {
  const LibraryScope Library;
  for (const PictureFile& P : PictureFiles()) {
    if (P.Extension != "ico" && P.Extension != "emf") continue;
    SCOPED_TRACE(P.Extension);
    base::TMemoryStream Stream(P.File);
    std::unique_ptr<graphics::TGraphic> Graphic;
    if (P.Extension == "ico")
      Graphic = std::make_unique<graphics::TIcon>();
    else
      Graphic = std::make_unique<graphics::TMetafile>();
    Graphic->LoadFromStream(Stream);
    TGIFImage Image;
    Image.Assign(Graphic.get());
    TGIFSubImage* Frame = Image.Frames().SubImages(0);
    const uint8_t T = Frame->GraphicControlExtension()->TransparentColor();
    // The icon's top row is masked; the metafile covers only its top-left 10 x 10.
    if (P.Extension == "ico") {
      EXPECT_EQ(Frame->Pixels(3, 0), T);
      EXPECT_NE(Frame->Pixels(3, 1), T);
    } else {
      EXPECT_NE(Frame->Pixels(9, 9), T);
      EXPECT_EQ(Frame->Pixels(10, 10), T);
      EXPECT_EQ(Frame->Pixels(60, 40), T);
    }
  }
}

TEST(ImageGraphic, LibraryRegistersGifWithThePictureSystem) {
  const picturetest::TScratch Dir;
  const std::string Path = (Dir / "a.GIF").string();
  picturetest::SaveFile(Path, GIFFile());
  {
    const LibraryScope Library;
    const LibraryScope Nested;
    graphics::TPicture Picture;
    Picture.LoadFromFile(Path);
    EXPECT_NE(dynamic_cast<TGIFImage*>(Picture.Graphic()), nullptr);
    EXPECT_NE(graphics::GraphicFilter().find("GIF Image (*.gif)|*.gif"), std::string::npos);
    EXPECT_TRUE(graphics::TPicture::SupportsClipboardFormat(gif::GIFClipboardFormat()));
    EXPECT_EQ(graphics::GetClipboardFormatName(gif::GIFClipboardFormat()), "GIF Image");
  }
  graphics::TPicture Picture;
  EXPECT_THROW(Picture.LoadFromFile(Path), base::EInvalidGraphic);
  EXPECT_FALSE(graphics::TPicture::SupportsClipboardFormat(gif::GIFClipboardFormat()));
}

// Keeps what is put on it; refuses everything when asked to.
class FakeClipboard : public graphics::TClipboardService {
 public:
  FakeClipboard() { graphics::SetClipboardService(this); }
  ~FakeClipboard() override {
    graphics::SetClipboardService(nullptr);
    for (auto& [Format, Data] : Held)
      if (Data.Bitmap != nullptr) gdi::DeleteObject(Data.Bitmap);
  }
  bool SetData(graphics::TClipboardFormat Format, graphics::TClipboardData Data) override {
    if (Refuse) {
      if (Data.Bitmap != nullptr) gdi::DeleteObject(Data.Bitmap);
      return false;
    }
    Held[Format] = std::move(Data);
    return true;
  }
  std::optional<graphics::TClipboardData> GetData(graphics::TClipboardFormat Format) override {
    auto It = Held.find(Format);
    if (It == Held.end()) return std::nullopt;
    return It->second;
  }
  std::map<graphics::TClipboardFormat, graphics::TClipboardData> Held;
  bool Refuse = false;
};

void FreeOffered(graphics::TClipboardData& Data, gdi::HPALETTE Palette) {
  if (Data.Bitmap != nullptr) gdi::DeleteObject(Data.Bitmap);
  if (Palette != nullptr) gdi::DeleteObject(Palette);
}

TEST(ImageClipboard, RoundTripsThroughTheService) {
  FakeClipboard Clipboard;
  TGIFImage Image;
  AddFrame(Image, 0, 0, 3, 2, {RGB(1, 2, 3), RGB(200, 0, 0)}, [](int X, int Y) { return (X + Y) % 2; });
  graphics::TClipboardFormat Format = 0;
  graphics::TClipboardData Data;
  gdi::HPALETTE Palette = nullptr;
  Image.SaveToClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(Format, graphics::CF_BITMAP);
  ASSERT_NE(Data.Bitmap, nullptr);
  ASSERT_TRUE(Clipboard.Held.count(gif::GIFClipboardFormat()));
  base::TMemoryStream Saved;
  Image.SaveToStream(Saved);
  EXPECT_EQ(Clipboard.Held[gif::GIFClipboardFormat()].Bytes, Saved.Bytes());

  TGIFImage FromGif;
  FromGif.LoadFromClipboardFormat(gif::GIFClipboardFormat(), {}, nullptr);
  ASSERT_EQ(FromGif.Frames().Count(), 1);
  base::TMemoryStream Again;
  FromGif.SaveToStream(Again);
  EXPECT_EQ(Again.Bytes(), Saved.Bytes());

  TGIFImage FromBitmap;
  FromBitmap.LoadFromClipboardFormat(graphics::CF_BITMAP, Data, Palette);
  ASSERT_EQ(FromBitmap.Frames().Count(), 1);
  TGIFSubImage* Frame = FromBitmap.Frames().SubImages(0);
  EXPECT_EQ(Frame->ActiveColorMap()->Colors(Frame->Pixels(1, 0)), RGB(200, 0, 0));
  FreeOffered(Data, Palette);
}

TEST(ImageClipboard, PictureReadsTheGifFormatThroughTheRegistry) {
  const LibraryScope Library;
  FakeClipboard Clipboard;
  graphics::TClipboardData Data;
  Data.Bytes = GIFFile();
  graphics::TPicture Picture;
  Picture.LoadFromClipboardFormat(gif::GIFClipboardFormat(), Data, nullptr);
  auto* Image = dynamic_cast<TGIFImage*>(Picture.Graphic());
  ASSERT_NE(Image, nullptr);
  EXPECT_EQ(Image->Width(), 4);
}

TEST(ImageClipboard, FailuresAndEmptyImages) {
  FakeClipboard Clipboard;
  TGIFImage Empty;
  graphics::TClipboardFormat Format = 77;
  graphics::TClipboardData Data;
  gdi::HPALETTE Palette = nullptr;
  Empty.SaveToClipboardFormat(Format, Data, Palette);
  EXPECT_EQ(Format, 77);
  EXPECT_EQ(Data.Bitmap, nullptr);
  EXPECT_TRUE(Clipboard.Held.empty());

  const auto Message = [](const std::function<void()>& Body) -> std::string {
    try {
      Body();
    } catch (const std::exception& E) {
      return E.what();
    }
    return "";
  };
  TGIFImage Image;
  EXPECT_EQ(Message([&] { Image.LoadFromClipboardFormat(0x1234, {}, nullptr); }), "Unsupported clipboard format");
  EXPECT_EQ(Message([&] { Image.LoadFromClipboardFormat(gif::GIFClipboardFormat(), {}, nullptr); }),
            "Unsupported clipboard format");
  AddFrame(Image, 0, 0, 2, 2, {RGB(1, 2, 3)}, [](int, int) { return 0; });
  Clipboard.Refuse = true;
  EXPECT_EQ(Message([&] { Image.SaveToClipboardFormat(Format, Data, Palette); }), "Failed to store GIF on clipboard");
  EXPECT_EQ(Data.Bitmap, nullptr);
  EXPECT_EQ(Palette, nullptr);
}

}  // namespace
