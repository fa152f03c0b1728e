// Files that other encoders write with indexes their colour tables do not cover: they
// open, and they save again showing what they showed, read back by giflib.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameBitmapTestSupport.h"
#include "GiflibPeer.h"
#include "gif/GIFImage.h"
#include "platform/base/Stream.h"

using namespace gif;

namespace {

using Bytes = std::vector<uint8_t>;

struct TFixtureFrame {
  int Width = 0, Height = 0;
  int CodeSize = 2;
  Bytes Local;  // triplets; a power of two of them, or none
  int Transparent = -1;
  int Delay = 0;
  Bytes Pixels;
};

void Put16(Bytes& Out, int Value) {
  Out.push_back(static_cast<uint8_t>(Value));
  Out.push_back(static_cast<uint8_t>(Value >> 8));
}

int SizeBits(const Bytes& Table) {
  int Bits = 0;
  while ((3 << (Bits + 1)) < static_cast<int>(Table.size())) ++Bits;
  return Bits;
}

// Plain LZW, as simple encoders write it: every pixel a literal code, and a clear code
// often enough that the code width never grows.
Bytes PlainLZW(int CodeSize, const Bytes& Pixels) {
  const int Clear = 1 << CodeSize, Width = CodeSize + 1, PerClear = Clear - 2;
  std::vector<int> Codes;
  for (size_t I = 0; I < Pixels.size(); ++I) {
    if (I % PerClear == 0) Codes.push_back(Clear);
    Codes.push_back(Pixels[I]);
  }
  Codes.push_back(Clear + 1);
  Bytes Packed((Codes.size() * Width + 7) / 8, 0);
  for (size_t C = 0; C < Codes.size(); ++C)
    for (int Bit = 0; Bit < Width; ++Bit)
      if ((Codes[C] >> Bit) & 1) Packed[(C * Width + Bit) / 8] |= static_cast<uint8_t>(1 << ((C * Width + Bit) % 8));
  Bytes Out = {static_cast<uint8_t>(CodeSize)};
  for (size_t Start = 0; Start < Packed.size(); Start += 255) {
    const size_t Count = std::min<size_t>(255, Packed.size() - Start);
    Out.push_back(static_cast<uint8_t>(Count));
    Out.insert(Out.end(), Packed.begin() + Start, Packed.begin() + Start + Count);
  }
  Out.push_back(0);
  return Out;
}

Bytes WriteFixture(int ScreenWidth, int ScreenHeight, const Bytes& Global, const std::vector<TFixtureFrame>& Frames) {
  Bytes Out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(Out, ScreenWidth);
  Put16(Out, ScreenHeight);
  Out.push_back(static_cast<uint8_t>(Global.empty() ? 0 : 0x80 | SizeBits(Global)));
  Out.push_back(0);
  Out.push_back(0);
  Out.insert(Out.end(), Global.begin(), Global.end());
  for (const TFixtureFrame& F : Frames) {
    Out.insert(Out.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(F.Transparent >= 0 ? 1 : 0)});
    Put16(Out, F.Delay);
    Out.insert(Out.end(), {static_cast<uint8_t>(F.Transparent >= 0 ? F.Transparent : 0), 0});
    Out.push_back(',');
    Put16(Out, 0);
    Put16(Out, 0);
    Put16(Out, F.Width);
    Put16(Out, F.Height);
    Out.push_back(static_cast<uint8_t>(F.Local.empty() ? 0 : 0x80 | SizeBits(F.Local)));
    Out.insert(Out.end(), F.Local.begin(), F.Local.end());
    const Bytes Data = PlainLZW(F.CodeSize, F.Pixels);
    Out.insert(Out.end(), Data.begin(), Data.end());
  }
  Out.push_back(';');
  return Out;
}

Bytes Cycle(int Count, std::initializer_list<int> Values) {
  Bytes Pixels;
  for (int I = 0; Pixels.size() < static_cast<size_t>(Count); ++I)
    Pixels.push_back(static_cast<uint8_t>(*(Values.begin() + I % Values.size())));
  return Pixels;
}

const Bytes FourColors = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};

struct TFixture {
  const char* Name;
  Bytes File;
};

std::vector<TFixture> Fixtures() {
  return {
      {"pixels beyond a four-entry table",
       WriteFixture(8, 4, FourColors,
                    {{8, 4, 3, {}, -1, 10, Cycle(32, {0, 1, 2, 3, 4, 5, 6, 7})},
                     {8, 4, 3, {9, 9, 9, 8, 8, 8, 7, 7, 7, 6, 6, 6}, -1, 20, Cycle(32, {7, 6, 5, 4, 3, 2, 1, 0})}})},
      {"a transparent index beyond the table",
       WriteFixture(8, 4, FourColors,
                    {{8, 4, 2, {}, -1, 10, Cycle(32, {0, 1, 2, 3})},
                     {8, 4, 8, {}, 200, 30, Cycle(32, {200, 1, 200, 3, 2})}})},
      {"no colour table at all",
       WriteFixture(6, 3, {},
                    {{6, 3, 2, {}, -1, 5, Cycle(18, {0, 1, 2, 3})}, {6, 3, 2, {}, 2, 7, Cycle(18, {2, 2, 0, 3})}})},
  };
}

// What a frame shows through the library: each pixel's colour, or clNone where it is
// transparent.
std::vector<base::TColor> Shown(TGIFSubImage& Frame) {
  graphics::TBitmap* Bitmap = Frame.GetBitmap();
  std::vector<base::TColor> Result;
  for (int Y = 0; Y < Frame.Height(); ++Y)
    for (int X = 0; X < Frame.Width(); ++X)
      Result.push_back(Frame.Mask() != nullptr && frametest::MaskBit(Frame.Mask(), X, Y) ? base::clNone
                                                                               : Bitmap->Canvas().Pixels(X, Y));
  return Result;
}

Bytes Indexes(const TGIFSubImage& Frame) { return Bytes(Frame.Data(), Frame.Data() + Frame.PixelBytes()); }

Bytes Saved(TGIFImage& Image) {
  base::TMemoryStream Out;
  Image.SaveToStream(Out);
  return Out.Bytes();
}

void Load(TGIFImage& Image, const Bytes& File) {
  base::TMemoryStream In(File);
  Image.LoadFromStream(In);
}

TEST(SaveUnusualTables, FilesWithIndexesBeyondTheirTablesSaveAndShowTheSame) {
  for (const TFixture& Fixture : Fixtures()) {
    SCOPED_TRACE(Fixture.Name);
    TGIFImage Original;
    Load(Original, Fixture.File);
    Bytes File;
    ASSERT_NO_THROW(File = Saved(Original));

    TGIFImage Back;
    Load(Back, File);
    const giftest::GiflibImage Peer = giftest::GiflibImage::FromBytes(File);
    ASSERT_EQ(Peer.Error(), "");
    ASSERT_EQ(Back.Frames().Count(), Original.Frames().Count());
    ASSERT_EQ(Peer.Count(), Original.Frames().Count());
    for (int I = 0; I < Original.Frames().Count(); ++I) {
      SCOPED_TRACE("frame " + std::to_string(I));
      TGIFSubImage& Before = *Original.Frames().SubImages(I);
      TGIFSubImage& After = *Back.Frames().SubImages(I);
      EXPECT_EQ(Indexes(After), Indexes(Before)) << "indexes are kept";
      const GifImageDesc& Desc = Peer.Frame(I).ImageDesc;
      EXPECT_EQ(Desc.Width, Before.Width());
      EXPECT_EQ(Desc.Height, Before.Height());
      EXPECT_EQ(Peer.DisplayPixels(I), Indexes(Before));
      GraphicsControlBlock Control;
      ASSERT_TRUE(Peer.Control(I, Control));
      EXPECT_EQ(Control.DelayTime, Before.GraphicControlExtension()->Delay());
      EXPECT_EQ(Control.TransparentColor,
                Before.Transparent() ? Before.GraphicControlExtension()->TransparentColor() : NO_TRANSPARENT_COLOR);
      // giflib reads a pixel through the table it was written with: every index has a colour.
      const ColorMapObject* Table = Desc.ColorMap != nullptr ? Desc.ColorMap : Peer.File().SColorMap;
      ASSERT_NE(Table, nullptr);
      for (const uint8_t Index : Peer.DisplayPixels(I)) ASSERT_LT(Index, Table->ColorCount);
      EXPECT_LT(Control.TransparentColor, Table->ColorCount);

      std::vector<base::TColor> Expected;
      try {
        Expected = Shown(Before);
      } catch (const GIFException& E) {
        // Without any table the library cannot render the frame before the save; the
        // saved file shows its pixels black.
        EXPECT_STREQ(E.what(), "No global or local color table defined");
        for (const uint8_t Index : Indexes(Before))
          Expected.push_back(Before.Transparent() && Index == Before.GraphicControlExtension()->TransparentColor()
                                 ? base::clNone
                                 : base::TColor{0});
      }
      EXPECT_EQ(Shown(After), Expected);
    }
  }
}

std::string ReadText(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), {});
}

TEST(SaveUnusualTables, GifinfoRewritesThem) {
  std::string Template = (std::filesystem::temp_directory_path() / "animora-unusual-XXXXXX").string();
  ASSERT_NE(::mkdtemp(Template.data()), nullptr);
  const std::filesystem::path Folder = Template;
  for (const TFixture& Fixture : Fixtures()) {
    SCOPED_TRACE(Fixture.Name);
    const std::filesystem::path In = Folder / "in.gif", Out = Folder / "out.gif";
    std::filesystem::remove(Out);
    { std::ofstream(In, std::ios::binary).write(reinterpret_cast<const char*>(Fixture.File.data()), Fixture.File.size()); }
    const std::string Command = std::string("'") + GIFINFO_PATH + "' --rewrite '" + Out.string() + "' '" + In.string() +
                                "' 2>'" + (Folder / "err.txt").string() + "'";
    EXPECT_EQ(std::system(Command.c_str()), 0) << ReadText(Folder / "err.txt");
    const std::string Written = ReadText(Out);
    TGIFImage Original;
    Load(Original, Fixture.File);
    const Bytes Expected = Saved(Original);
    EXPECT_EQ(Bytes(Written.begin(), Written.end()), Expected);
  }
  std::filesystem::remove_all(Folder);
}

}  // namespace
