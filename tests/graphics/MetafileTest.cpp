// TMetafile: its size from the header at the screen's resolution, loading through the
// picture registry, copies, saving and refusals.
#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Metafile.h"
#include "platform/graphics/Picture.h"
#include "tests/graphics/MetafileTestSupport.h"

using namespace picturetest;
using graphics::TMetafile;

namespace {

void Load(TMetafile& M, const Bytes& File) {
  base::TMemoryStream Stream(File);
  M.LoadFromStream(Stream);
}

TEST(Metafile, SizeIsTheFrameAtNinetySixPixelsPerInch) {
  struct TCase {
    const char* Name;
    Bytes File;
    int Width, Height;
    bool Enhanced;
  };
  const TCase Cases[] = {
      {"enhanced, 0.01 mm", TEMFBuilder({0, 0, 2646, 1323}).Finish(), 100, 50, true},
      {"enhanced, offset frame", TEMFBuilder({1000, 500, 3540, 3040}).Finish(), 96, 96, true},
      {"placeable, twips", TWMFBuilder({0, 0, 1440, 720}, 1440).Finish(), 96, 48, false},
      {"placeable, pixels", TWMFBuilder({-20, -10, 80, 40}, 96).Finish(), 100, 50, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TMetafile M;
    Load(M, C.File);
    EXPECT_FALSE(M.Empty());
    EXPECT_EQ(M.Width(), C.Width);
    EXPECT_EQ(M.Height(), C.Height);
    EXPECT_EQ(M.Enhanced(), C.Enhanced);
    EXPECT_TRUE(M.Transparent());
  }
}

TEST(Metafile, SavingWritesTheFileAndCopiesDrawTheSame) {
  const Bytes File = TEMFBuilder().Add(39, Ints({1, 0, 0x0000FF, 0})).Add(37, Ints({1})).Add(43, Ints({0, 0, 10, 10})).Finish();
  TMetafile M;
  Load(M, File);
  base::TMemoryStream Stream;
  M.SaveToStream(Stream);
  EXPECT_EQ(Stream.Bytes(), File);
  TMetafile Copy;
  Copy.Assign(&M);
  EXPECT_EQ(Copy.Width(), 100);
  EXPECT_EQ(Copy.Content().Records.size(), M.Content().Records.size());
  graphics::TBitmap B;
  B.SetPixelFormat(graphics::pf24bit);
  B.SetWidth(100);
  B.SetHeight(50);
  B.Canvas().Draw(0, 0, &Copy);
  EXPECT_EQ(B.Canvas().Pixels(5, 5), 0x0000FF);
}

TEST(Metafile, ItsDrawingSizeCanBeSet) {
  TMetafile M;
  Load(M, TEMFBuilder().Finish());
  M.SetWidth(30);
  M.SetHeight(20);
  EXPECT_EQ(M.Width(), 30);
  EXPECT_EQ(M.Height(), 20);
  EXPECT_TRUE(M.Modified());
}

TEST(Metafile, AMalformedFileRaisesAndKeepsTheMetafileHeldBefore) {
  TMetafile M;
  Load(M, TWMFBuilder({0, 0, 1440, 720}, 1440).Finish());
  EXPECT_THROW(Load(M, Bytes(10, 0)), base::EInvalidGraphic);
  EXPECT_THROW(Load(M, TEMFBuilder().Raw(Ints({43, 400})).Finish(false)), base::EInvalidGraphic);
  EXPECT_EQ(M.Width(), 96);
  EXPECT_FALSE(M.Enhanced());
}

TEST(Metafile, PicturesLoadEmfAndWmfFilesThroughIt) {
  const TScratch Dir;
  SaveFile(Dir / "a.emf", TEMFBuilder().Finish());
  SaveFile(Dir / "b.WMF", TWMFBuilder().Finish());
  for (const char* Name : {"a.emf", "b.WMF"}) {
    graphics::TPicture Picture;
    Picture.LoadFromFile((Dir / Name).string());
    EXPECT_NE(dynamic_cast<TMetafile*>(Picture.Graphic()), nullptr) << Name;
    EXPECT_EQ(Picture.Width(), 100) << Name;
  }
  const std::string Filter = graphics::GraphicFilter();
  EXPECT_NE(Filter.find("Enhanced Metafiles (*.emf)|*.emf"), std::string::npos) << Filter;
  EXPECT_NE(Filter.find("Metafiles (*.wmf)|*.wmf"), std::string::npos) << Filter;
}

}  // namespace
