// seed_writer KIND DIR: writes small seed files for the KIND (bmp, jpeg or ico) reader
// harness into DIR, made with the project's own writers, so that fuzzing starts from
// files that reach the decoders: BMPs of every depth, top-down and RLE; baseline colour
// and greyscale JPEGs; icons of every DIB depth, one entry and several.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/Stream.h"
#include "platform/graphics/BmpCodec.h"
#include "platform/graphics/JPEGImageCodec.h"

namespace {

using Bytes = std::vector<uint8_t>;
using graphics::TDIBImage;

void Save(const std::string& Dir, const std::string& Name, const Bytes& Data) {
  std::ofstream File(Dir + "/" + Name, std::ios::binary);
  File.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

void Put16(Bytes& Data, size_t At, uint16_t Value) {
  Data[At] = static_cast<uint8_t>(Value);
  Data[At + 1] = static_cast<uint8_t>(Value >> 8);
}

void Put32(Bytes& Data, size_t At, uint32_t Value) {
  for (int I = 0; I < 4; ++I) Data[At + static_cast<size_t>(I)] = static_cast<uint8_t>(Value >> (8 * I));
}

// A Width x Height image of BitCount bits with a diagonal pattern and, up to 8 bits, a
// full colour table of greys.
TDIBImage Pattern(int Width, int Height, uint16_t BitCount, bool Rgb565 = false) {
  TDIBImage Image;
  Image.Width = Width;
  Image.Height = Height;
  Image.BitCount = BitCount;
  if (Rgb565) {
    Image.RedMask = 0xF800;
    Image.GreenMask = 0x07E0;
    Image.BlueMask = 0x001F;
  }
  if (BitCount <= 8) {
    const int Count = 1 << BitCount;
    for (int I = 0; I < Count; ++I) {
      const auto Level = static_cast<uint8_t>(I * 255 / (Count - 1));
      Image.Colors.push_back({Level, static_cast<uint8_t>(255 - Level), Level, 0});
    }
  }
  Image.Bits.resize(static_cast<size_t>(Image.RowBytes() * Height));
  for (size_t I = 0; I < Image.Bits.size(); ++I) Image.Bits[I] = static_cast<uint8_t>(I * 37 + I / 7);
  return Image;
}

Bytes BMPFile(const TDIBImage& Image) {
  base::TMemoryStream Stream;
  graphics::WriteBMP(Stream, Image);
  return Stream.Bytes();
}

// The same file with its rows stored top row first, as a negative height says.
Bytes TopDown(const TDIBImage& Image) {
  Bytes File = BMPFile(Image);
  const uint32_t Offset = File[10] | File[11] << 8 | File[12] << 16 | static_cast<uint32_t>(File[13]) << 24;
  const auto Row = static_cast<size_t>(Image.RowBytes());
  Bytes Flipped(File.begin(), File.begin() + Offset);
  for (int Y = Image.Height - 1; Y >= 0; --Y) {
    const auto Start = File.begin() + Offset + static_cast<std::ptrdiff_t>(Row * static_cast<size_t>(Y));
    Flipped.insert(Flipped.end(), Start, Start + static_cast<std::ptrdiff_t>(Row));
  }
  Put32(Flipped, 22, static_cast<uint32_t>(-Image.Height));
  return Flipped;
}

// An RLE file of 8 x 4 pixels: encoded runs, an absolute run, a delta and the ends of
// line and bitmap, in the coding of Bits (8 or 4).
Bytes RLEFile(uint16_t Bits) {
  const Bytes Codes = Bits == 8 ? Bytes{4, 1, 4, 2, 0, 0, 0, 4, 3, 4, 5, 6, 0, 0, 0, 2, 2, 1, 3, 7, 0, 1}
                                : Bytes{8, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 0, 0, 2, 2, 1, 3, 0x77, 0, 1};
  TDIBImage Header = Pattern(8, 4, Bits);
  Header.Bits.clear();
  Header.Bits.resize(static_cast<size_t>(Header.RowBytes() * Header.Height));
  Bytes File = BMPFile(Header);
  const uint32_t Offset = File[10] | File[11] << 8;
  File.resize(Offset);
  File.insert(File.end(), Codes.begin(), Codes.end());
  Put32(File, 2, static_cast<uint32_t>(File.size()));
  Put32(File, 30, Bits == 8 ? 1 : 2);
  Put32(File, 34, static_cast<uint32_t>(Codes.size()));
  return File;
}

// An icon file with one DIB entry per image: the BMP without its file header, its
// height doubled for the AND mask that follows the colour pixels.
Bytes IconFile(const std::vector<TDIBImage>& Images) {
  Bytes File(6 + 16 * Images.size());
  Put16(File, 2, 1);
  Put16(File, 4, static_cast<uint16_t>(Images.size()));
  for (size_t I = 0; I < Images.size(); ++I) {
    const TDIBImage& Image = Images[I];
    const Bytes Bmp = BMPFile(Image);
    Bytes Entry(Bmp.begin() + 14, Bmp.end());
    Put32(Entry, 8, static_cast<uint32_t>(Image.Height * 2));
    const auto MaskRow = static_cast<size_t>(TDIBImage::BMPRowBytes(Image.Width, 1));
    for (int Y = 0; Y < Image.Height; ++Y)
      for (size_t X = 0; X < MaskRow; ++X) Entry.push_back(static_cast<uint8_t>(Y % 2 == 0 ? 0x0F : 0x00));
    const size_t At = 6 + 16 * I;
    File[At] = static_cast<uint8_t>(Image.Width);
    File[At + 1] = static_cast<uint8_t>(Image.Height);
    File[At + 2] = static_cast<uint8_t>(Image.BitCount < 8 ? 1 << Image.BitCount : 0);
    Put16(File, At + 4, 1);
    Put16(File, At + 6, Image.BitCount);
    Put32(File, At + 8, static_cast<uint32_t>(Entry.size()));
    Put32(File, At + 12, static_cast<uint32_t>(File.size()));
    File.insert(File.end(), Entry.begin(), Entry.end());
  }
  return File;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: seed_writer bmp|jpeg|ico DIR\n");
    return 2;
  }
  const std::string Kind = argv[1];
  const std::string Dir = argv[2];
  if (Kind == "bmp") {
    for (uint16_t Bits : {1, 4, 8, 16, 24, 32})
      Save(Dir, "own-" + std::to_string(Bits) + ".bmp", BMPFile(Pattern(13, 7, Bits)));
    Save(Dir, "own-16-565.bmp", BMPFile(Pattern(13, 7, 16, true)));
    Save(Dir, "own-8-topdown.bmp", TopDown(Pattern(13, 7, 8)));
    Save(Dir, "own-24-topdown.bmp", TopDown(Pattern(13, 7, 24)));
    Save(Dir, "own-rle8.bmp", RLEFile(8));
    Save(Dir, "own-rle4.bmp", RLEFile(4));
  } else if (Kind == "jpeg") {
    const TDIBImage Colour = Pattern(24, 16, 24);
    Save(Dir, "own-75.jpg", graphics::EncodeJPEG(Colour, 75, false));
    Save(Dir, "own-10.jpg", graphics::EncodeJPEG(Colour, 10, false));
    Save(Dir, "own-grey.jpg", graphics::EncodeJPEG(Colour, 75, true));
  } else if (Kind == "ico") {
    for (uint16_t Bits : {1, 4, 8, 24, 32})
      Save(Dir, "own-" + std::to_string(Bits) + ".ico", IconFile({Pattern(16, 16, Bits)}));
    Save(Dir, "own-several.ico", IconFile({Pattern(16, 16, 4), Pattern(32, 32, 8), Pattern(24, 24, 32)}));
  } else {
    std::fprintf(stderr, "seed_writer: no seeds for %s\n", Kind.c_str());
    return 2;
  }
  return 0;
}
