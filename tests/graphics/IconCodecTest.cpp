// Icon files: the directory, the choice of image, every depth with its mask, PNG
// entries, and refusals of malformed files.
#include <gtest/gtest.h>

#include <functional>

#include "platform/base/Exceptions.h"
#include "platform/graphics/IconCodec.h"
#include "platform/graphics/IconPNG.h"
#include "tests/graphics/IconTestSupport.h"

using namespace picturetest;
using graphics::TIconEntry;

namespace {

graphics::TIconImage DecodeChosen(const Bytes& File) {
  const auto Entries = graphics::ReadIconDirectory(File);
  return graphics::DecodeIconImage(File, Entries[graphics::ChooseIconEntry(Entries)]);
}

TEST(IconCodec, DirectoryDescribesEveryImageFromItsOwnHeader) {
  const Bytes File = IconFile({DIBEntry(Checker1(16, 16)), DIBEntry(Alpha32(32, 24, 255, 0))});
  const auto Entries = graphics::ReadIconDirectory(File);
  ASSERT_EQ(Entries.size(), 2u);
  EXPECT_EQ(Entries[0].Width, 16);
  EXPECT_EQ(Entries[0].Height, 16);
  EXPECT_EQ(Entries[0].BitCount, 1);
  EXPECT_EQ(Entries[1].Width, 32);
  EXPECT_EQ(Entries[1].Height, 24);
  EXPECT_EQ(Entries[1].BitCount, 32);
  EXPECT_FALSE(Entries[1].PNG);
}

TEST(IconCodec, TheLargestThenDeepestImageIsChosen) {
  struct TCase {
    const char* Name;
    std::vector<TIconEntry> Entries;
    size_t Chosen;
  };
  const TCase Cases[] = {
      {"larger wins", {{16, 16, 32}, {32, 32, 4}, {24, 24, 32}}, 1},
      {"deeper wins on equal size", {{32, 32, 4}, {32, 32, 24}, {32, 32, 8}}, 1},
      {"first wins a tie", {{32, 32, 8}, {32, 32, 8}}, 0},
      {"area, not width", {{64, 8, 32}, {30, 30, 1}}, 1},
  };
  for (const TCase& C : Cases) EXPECT_EQ(graphics::ChooseIconEntry(C.Entries), C.Chosen) << C.Name;
}

TEST(IconCodec, OneBitImageKeepsItsPixelsTableAndAndMask) {
  const TIconDIB D = Checker1(16, 16);
  const auto Entries = graphics::ReadIconDirectory(IconFile({DIBEntry(D)}));
  const auto Image = graphics::DecodeIconImage(IconFile({DIBEntry(D)}), Entries[0]);
  EXPECT_EQ(Image.Color.BitCount, 1);
  EXPECT_EQ(Image.Color.Bits, D.Color);
  ASSERT_EQ(Image.Color.Colors.size(), 2u);
  EXPECT_EQ(Image.Color.Colors[1].rgbRed, 255);
  EXPECT_EQ(Image.Mask.Bits, D.Mask);
  EXPECT_TRUE(MaskBit(Image.Mask, 5, 0));
  EXPECT_FALSE(MaskBit(Image.Mask, 5, 1));
}

TEST(IconCodec, EveryDepthDecodesWithItsMask) {
  for (const uint16_t Bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(Bits);
    const int W = 5, H = 3;
    TIconDIB D(W, H, Bits);
    if (Bits <= 8) D.Table.assign(4u << Bits, 0x7F);
    const size_t Row = (W * Bits + 31) / 32 * 4;
    for (size_t I = 0; I < Row * H; ++I) D.Color.push_back(static_cast<uint8_t>(I * 7));
    if (Bits == 32)
      for (size_t I = 3; I < D.Color.size(); I += 4) D.Color[I] = 0;  // no alpha: the AND mask rules
    D.Mask.assign(4 * H, 0);
    D.Mask[4 * (H - 1)] = 0xA0;  // pixels 0 and 2 of the top row
    const Bytes File = IconFile({DIBEntry(D)});
    const auto Image = DecodeChosen(File);
    EXPECT_EQ(Image.Color.BitCount, Bits);
    EXPECT_EQ(Image.Color.Width, W);
    EXPECT_EQ(Image.Color.Height, H);
    if (Bits != 16) {
      EXPECT_EQ(Image.Color.Bits, D.Color);
    }
    for (int X = 0; X < W; ++X) EXPECT_EQ(MaskBit(Image.Mask, X, 0), X == 0 || X == 2) << X;
    EXPECT_FALSE(MaskBit(Image.Mask, 0, 1));
  }
}

TEST(IconCodec, AlphaChannelDecidesTheMaskOfThirtyTwoBitImages) {
  const auto Image = DecodeChosen(IconFile({DIBEntry(Alpha32(8, 4, 255, 100))}));
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 8; ++X) {
      EXPECT_EQ(MaskBit(Image.Mask, X, Y), X >= 4) << X << "," << Y;
      EXPECT_EQ(Pixel24(Image.Color, X, Y)[0], X >= 4 ? 0 : 200) << X << "," << Y;
    }
  const auto Opaque = DecodeChosen(IconFile({DIBEntry(Alpha32(8, 4, 0, 0))}));
  for (int X = 0; X < 8; ++X) {
    EXPECT_TRUE(MaskBit(Opaque.Mask, X, 3));
    EXPECT_FALSE(MaskBit(Opaque.Mask, X, 0));
  }
}

TEST(IconCodec, PNGEntriesDecodeWithTransparencyFromAlpha) {
  REQUIRE_MAGICK();
  const TScratch Dir;
  ASSERT_TRUE(Dir.Convert("-size 40x20 xc:none -fill '#3060C0' -draw 'rectangle 20,0 39,19' PNG32:p.png"));
  const Bytes File = IconFile({DIBEntry(Checker1(16, 16)), LoadFile(Dir / "p.png")});
  const auto Entries = graphics::ReadIconDirectory(File);
  ASSERT_TRUE(Entries[1].PNG);
  EXPECT_EQ(Entries[1].Width, 40);
  EXPECT_EQ(Entries[1].BitCount, 32);
  ASSERT_EQ(graphics::ChooseIconEntry(Entries), 1u);
  const auto Image = graphics::DecodeIconImage(File, Entries[1]);
  ASSERT_EQ(Image.Color.BitCount, 32);
  EXPECT_EQ(Image.Color.Width, 40);
  EXPECT_EQ(Image.Color.Height, 20);
  const uint8_t* P = Pixel24(Image.Color, 30, 5);
  EXPECT_EQ(P[0], 0xC0);
  EXPECT_EQ(P[1], 0x60);
  EXPECT_EQ(P[2], 0x30);
  EXPECT_TRUE(MaskBit(Image.Mask, 5, 5));
  EXPECT_FALSE(MaskBit(Image.Mask, 30, 5));
  const uint8_t* Hidden = Pixel24(Image.Color, 5, 5);
  EXPECT_EQ(Hidden[0] | Hidden[1] | Hidden[2], 0);
}

TEST(IconCodec, FilesOfAnotherWriterLoad) {
  REQUIRE_MAGICK();
  const TScratch Dir;
  ASSERT_TRUE(Dir.Convert("-size 16x16 xc:red a.png"));
  ASSERT_TRUE(Dir.Convert("-size 48x48 xc:none -fill blue -draw 'rectangle 24,0 47,47' b.png"));
  ASSERT_TRUE(Dir.Convert("-size 32x32 xc:lime c.png"));
  ASSERT_TRUE(Dir.Convert("a.png b.png c.png out.ico"));
  const Bytes File = LoadFile(Dir / "out.ico");
  const auto Entries = graphics::ReadIconDirectory(File);
  ASSERT_EQ(Entries.size(), 3u);
  const size_t Chosen = graphics::ChooseIconEntry(Entries);
  EXPECT_EQ(Entries[Chosen].Width, 48);
  const auto Image = graphics::DecodeIconImage(File, Entries[Chosen]);
  EXPECT_TRUE(MaskBit(Image.Mask, 3, 10));
  EXPECT_FALSE(MaskBit(Image.Mask, 40, 10));
  for (const TIconEntry& E : Entries) EXPECT_NO_THROW(graphics::DecodeIconImage(File, E));
}

// A 32-bit W x H image without an AND mask, as some writers leave it out when alpha
// carries the transparency: pixel (X, Y) (Y from the top) is transparent below the
// diagonal, and its colour follows X and Y.
TIconDIB Unmasked32(int32_t W, int32_t H) {
  TIconDIB D(W, H, 32);
  for (int32_t Row = H - 1; Row >= 0; --Row)
    for (int32_t X = 0; X < W; ++X)
      D.Color.insert(D.Color.end(), {uint8_t(8 * X), uint8_t(8 * Row), 90, uint8_t(X < Row ? 0 : 255)});
  return D;
}

TEST(IconCodec, ThirtyTwoBitImagesWithoutAnAndMaskTakeTheirMaskFromAlpha) {
  Bytes File = IconFile({DIBEntry(Unmasked32(16, 16)), DIBEntry(Unmasked32(32, 32))});
  // The directory gives each image's size, as a favicon's does.
  for (const size_t Entry : {0, 1})
    for (const size_t Side : {0, 1}) PutAt(File, 6 + 16 * Entry + Side, 16 << Entry, 1);
  const auto Entries = graphics::ReadIconDirectory(File);
  for (const TIconEntry& E : Entries) EXPECT_NO_THROW(graphics::DecodeIconImage(File, E));
  const size_t Chosen = graphics::ChooseIconEntry(Entries);
  ASSERT_EQ(Entries[Chosen].Width, 32);
  const auto Image = graphics::DecodeIconImage(File, Entries[Chosen]);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      ASSERT_EQ(MaskBit(Image.Mask, X, Y), X < Y) << X << "," << Y;
      const uint8_t* Pixel = Image.Color.Bits.data() + (31 - Y) * Image.Color.RowBytes() + 4 * X;
      if (X >= Y) ASSERT_EQ(Bytes(Pixel, Pixel + 3), (Bytes{uint8_t(8 * X), uint8_t(8 * Y), 90})) << X << "," << Y;
    }

  REQUIRE_MAGICK();
  const TScratch Dir;
  SaveFile(Dir / "favicon.ico", File);
  ASSERT_TRUE(Dir.Convert("'favicon.ico[1]' -depth 8 rgba:seen.rgba"));
  const Bytes Seen = LoadFile(Dir / "seen.rgba");
  ASSERT_EQ(Seen.size(), 32u * 32 * 4);
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X) {
      const uint8_t* Theirs = Seen.data() + (Y * 32 + X) * 4;
      ASSERT_EQ(MaskBit(Image.Mask, X, Y), Theirs[3] == 0) << X << "," << Y;
      const uint8_t* Ours = Image.Color.Bits.data() + (31 - Y) * Image.Color.RowBytes() + 4 * X;
      if (Theirs[3] != 0) ASSERT_EQ(Bytes(Ours, Ours + 3), (Bytes{Theirs[2], Theirs[1], Theirs[0]})) << X << "," << Y;
    }
}

TEST(IconCodec, MalformedFilesRaiseInvalidGraphicWithTheReason) {
  const Bytes Good = IconFile({DIBEntry(Checker1(8, 8))});
  auto With = [&](size_t At, uint32_t Value, int Size) {
    Bytes B = Good;
    PutAt(B, At, Value, Size);
    return B;
  };
  TIconDIB Rle(4, 4, 8);
  Rle.Table.resize(1024);
  Rle.Color.resize(16);
  Rle.Mask.resize(16);
  Rle.Compression = 1;
  TIconDIB ShortMask = Checker1(8, 8);
  ShortMask.Mask.resize(20);
  TIconDIB ShortColor = Unmasked32(8, 8);
  ShortColor.Color.resize(ShortColor.Color.size() - 4);
  const size_t Image = 6 + 16;
  Bytes Png(graphics::PNGSignature, graphics::PNGSignature + 8);
  Png.insert(Png.end(), {0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 8, 0, 0, 0, 8, 8, 6, 0, 0, 0, 1, 2, 3, 4});
  Bytes HugePng = Png;
  PutAt(HugePng, 16, 0x00100000, 4);  // 4096, big-endian
  struct TCase {
    const char* Name;
    Bytes File;
    const char* Text;
  };
  const TCase Cases[] = {
      {"empty", {}, "Not an icon file"},
      {"cursor", IconFile({DIBEntry(Checker1(8, 8))}, 2), "Not an icon file"},
      {"no images", IconFile({}), "Icon file has no images"},
      {"directory cut", Bytes(Good.begin(), Good.begin() + 14), "Icon directory is truncated"},
      {"offset outside", With(6 + 12, 100000, 4), "Icon image lies outside the file"},
      {"size outside", With(6 + 8, 100000, 4), "Icon image lies outside the file"},
      {"header size", With(Image, 12, 4), "Invalid icon image header"},
      {"two bits", With(Image + 14, 2, 2), "Unsupported icon image format"},
      {"run-length", IconFile({DIBEntry(Rle)}), "Unsupported icon image format"},
      {"zero width", With(Image + 4, 0, 4), "Invalid icon image dimensions"},
      {"too tall", With(Image + 8, 2 * 2000, 4), "Invalid icon image dimensions"},
      {"table too long", With(Image + 32, 3, 4), "Invalid icon image header"},
      {"mask cut", IconFile({DIBEntry(ShortMask)}), "Icon image data is truncated"},
      {"32-bit colour cut", IconFile({DIBEntry(ShortColor)}), "Icon image data is truncated"},
      {"png header", IconFile({Bytes(Png.begin(), Png.begin() + 20)}), "Invalid icon image header"},
      {"png too large", IconFile({HugePng}), "Invalid icon image dimensions"},
      {"png data", IconFile({Png}), "Invalid PNG image in icon: "},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    try {
      DecodeChosen(C.File);
      ADD_FAILURE() << "loaded";
    } catch (const base::EInvalidGraphic& E) {
      EXPECT_EQ(std::string(E.what()).rfind(C.Text, 0), 0u) << E.what();
    }
  }
}

}  // namespace
