#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "platform/base/Exceptions.h"
#include "platform/graphics/BmpCodec.h"
#include "platform/graphics/BmpMasks.h"
#include "platform/graphics/BmpRle.h"

namespace graphics {

namespace {

constexpr const char* SBadSignature = "Not a bitmap file";
constexpr const char* SBadHeader = "Invalid bitmap header";
constexpr const char* SBadDimensions = "Invalid bitmap dimensions";
constexpr const char* SUnsupported = "Unsupported bitmap format";
constexpr const char* SBadColorTable = "Invalid bitmap color table";
constexpr const char* STruncatedPixels = "Bitmap pixel data is truncated";

[[noreturn]] void Fail(const char* Message) { throw base::EInvalidGraphic(Message); }

void ReadExactly(base::TStream& Stream, void* Buffer, int64_t Count, const char* Message) {
  if (Stream.Read(Buffer, Count) != Count) Fail(Message);
}

uint32_t Dword(const uint8_t* P) {
  return uint32_t(P[0]) | uint32_t(P[1]) << 8 | uint32_t(P[2]) << 16 | uint32_t(P[3]) << 24;
}

// What the headers say about the pixels, whichever header the file has.
struct TLayout {
  int64_t Width = 0;
  int64_t Height = 0;  // negative: top-down rows
  uint16_t Planes = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = gdi::BI_RGB;
  uint32_t ColorsUsed = 0;
  int EntrySize = sizeof(gdi::RGBQUAD);
  TColorMasks Masks;
};

bool IsKnownHeaderSize(uint32_t Size) {
  return Size == sizeof(gdi::BITMAPCOREHEADER) || Size == sizeof(gdi::BITMAPINFOHEADER) || Size == 52 || Size == 56 ||
         Size == 108 || Size == 124;
}

// Reads the information header and, for BI_BITFIELDS after a 40-byte header, the masks.
TLayout ReadLayout(base::TStream& Stream) {
  std::array<uint8_t, 124> Header{};
  ReadExactly(Stream, Header.data(), 4, SBadHeader);
  const uint32_t Size = Dword(Header.data());
  if (!IsKnownHeaderSize(Size)) Fail(SBadHeader);
  ReadExactly(Stream, Header.data() + 4, Size - 4, SBadHeader);

  TLayout L;
  if (Size == sizeof(gdi::BITMAPCOREHEADER)) {
    gdi::BITMAPCOREHEADER Core;
    std::memcpy(&Core, Header.data(), sizeof Core);
    L.Width = Core.bcWidth;
    L.Height = Core.bcHeight;
    L.Planes = Core.bcPlanes;
    L.BitCount = Core.bcBitCount;
    L.EntrySize = sizeof(gdi::RGBTRIPLE);
    if (L.BitCount != 1 && L.BitCount != 4 && L.BitCount != 8 && L.BitCount != 24) Fail(SUnsupported);
    return L;
  }
  gdi::BITMAPINFOHEADER Info;
  std::memcpy(&Info, Header.data(), sizeof Info);
  L.Width = Info.biWidth;
  L.Height = Info.biHeight;
  L.Planes = Info.biPlanes;
  L.BitCount = Info.biBitCount;
  L.Compression = Info.biCompression;
  L.ColorsUsed = Info.biClrUsed;
  if (L.Compression == gdi::BI_BITFIELDS) {
    // The masks follow the first 40 bytes: inside the larger headers, after the 40-byte one.
    if (Size == sizeof(gdi::BITMAPINFOHEADER)) ReadExactly(Stream, Header.data() + Size, 12, SBadHeader);
    const uint8_t* M = Header.data() + sizeof(gdi::BITMAPINFOHEADER);
    L.Masks = {Dword(M), Dword(M + 4), Dword(M + 8), Size >= 56 ? Dword(M + 12) : 0};
  }
  return L;
}

bool IsSupported(uint16_t BitCount, uint32_t Compression) {
  switch (Compression) {
    case gdi::BI_RGB:
      return BitCount == 1 || BitCount == 4 || BitCount == 8 || BitCount == 16 || BitCount == 24 || BitCount == 32;
    case gdi::BI_RLE8: return BitCount == 8;
    case gdi::BI_RLE4: return BitCount == 4;
    case gdi::BI_BITFIELDS: return BitCount == 16 || BitCount == 32;
    default: return false;
  }
}

void FlipRows(TDIBImage& Image) {
  const size_t Row = static_cast<size_t>(Image.RowBytes());
  for (int32_t Top = 0, Bottom = Image.Height - 1; Top < Bottom; ++Top, --Bottom)
    std::swap_ranges(Image.Bits.begin() + Top * Row, Image.Bits.begin() + (Top + 1) * Row,
                     Image.Bits.begin() + Bottom * Row);
}

}  // namespace

TDIBImage ReadBMP(base::TStream& Stream) {
  const int64_t Start = Stream.Position();
  const int64_t End = Stream.Size();
  gdi::BITMAPFILEHEADER File;
  ReadExactly(Stream, &File, sizeof File, SBadSignature);
  if (File.bfType != gdi::BITMAPFILEHEADER().bfType) Fail(SBadSignature);
  const TLayout L = ReadLayout(Stream);
  if (L.Planes != 1) Fail(SBadHeader);
  if (L.Width < 1 || L.Height == 0 || L.Width * std::abs(L.Height) > MaxBMPPixels) Fail(SBadDimensions);
  const bool Rle = L.Compression == gdi::BI_RLE8 || L.Compression == gdi::BI_RLE4;
  if (!IsSupported(L.BitCount, L.Compression) || (Rle && L.Height < 0)) Fail(SUnsupported);
  if (L.Compression == gdi::BI_BITFIELDS) CheckColorMasks(L.Masks, L.BitCount);

  const int64_t MaxColors = L.BitCount <= 8 ? int64_t(1) << L.BitCount : 256;
  const int64_t ColorCount = L.ColorsUsed != 0 ? L.ColorsUsed : (L.BitCount <= 8 ? MaxColors : 0);
  if (ColorCount > MaxColors) Fail(SBadColorTable);
  const int64_t TableEnd = Stream.Position() + ColorCount * L.EntrySize;
  const int64_t PixelStart = Start + File.bfOffBits;
  if (TableEnd > End) Fail(SBadColorTable);
  if (PixelStart < TableEnd || PixelStart > End) Fail(SBadHeader);

  TDIBImage Image;
  Image.Width = static_cast<int32_t>(L.Width);
  Image.Height = static_cast<int32_t>(std::abs(L.Height));
  Image.BitCount = L.BitCount;
  if (L.BitCount <= 8) {
    std::array<uint8_t, 256 * sizeof(gdi::RGBQUAD)> Table;
    ReadExactly(Stream, Table.data(), ColorCount * L.EntrySize, SBadColorTable);
    for (int64_t I = 0; I < ColorCount; ++I) {
      const uint8_t* E = Table.data() + I * L.EntrySize;
      Image.Colors.push_back({E[0], E[1], E[2], L.EntrySize == 4 ? E[3] : uint8_t(0)});
    }
  }

  Stream.SetPosition(PixelStart);
  if (Rle) {
    Image.Bits = DecodeRLE(Stream, End, Image.Width, Image.Height, Image.BitCount);
  } else {
    const int64_t Size = Image.RowBytes() * Image.Height;
    if (Size > End - PixelStart) Fail(STruncatedPixels);
    Image.Bits.resize(static_cast<size_t>(Size));
    ReadExactly(Stream, Image.Bits.data(), Size, STruncatedPixels);
  }
  if (L.Height < 0) FlipRows(Image);
  if (L.Compression == gdi::BI_BITFIELDS) NormalizeBitfields(Image, L.Masks);
  return Image;
}

}  // namespace graphics
