#include "platform/graphics/IconCodec.h"

#include <algorithm>
#include <cstring>

#include "platform/base/ByteOrder.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/IconPNG.h"

namespace graphics {

namespace {

constexpr const char* SNotIcon = "Not an icon file";
constexpr const char* SNoImages = "Icon file has no images";
constexpr const char* STruncatedDirectory = "Icon directory is truncated";
constexpr const char* SOutside = "Icon image lies outside the file";
constexpr const char* SBadImageHeader = "Invalid icon image header";
constexpr const char* SUnsupported = "Unsupported icon image format";
constexpr const char* SBadDimensions = "Invalid icon image dimensions";
constexpr const char* STruncatedImage = "Icon image data is truncated";

[[noreturn]] void Fail(const char* Message) { throw base::EInvalidGraphic(Message); }

uint32_t Le(const uint8_t* P, int Size) { return static_cast<uint32_t>(base::LoadLittleEndian(P, Size)); }
uint32_t Be32(const uint8_t* P) { return uint32_t(P[0]) << 24 | uint32_t(P[1]) << 16 | uint32_t(P[2]) << 8 | P[3]; }

bool ValidSide(int64_t Side) { return Side >= 1 && Side <= MaxIconSide; }

constexpr size_t InfoSize = sizeof(gdi::BITMAPINFOHEADER);

// Width, height, bits and compression of an image stored as a DIB (height doubled, the
// colour rows followed by the mask rows).
struct TDIBLayout {
  int32_t Width;
  int32_t Height;
  uint16_t BitCount;
  uint32_t Colors;
  int64_t TableBytes() const { return int64_t(Colors) * 4; }
  int64_t ColorBytes() const { return TDIBImage::BMPRowBytes(Width, BitCount) * Height; }
  int64_t MaskBytes() const { return TDIBImage::BMPRowBytes(Width, 1) * Height; }
};

TDIBLayout ReadDIBLayout(const uint8_t* P, uint32_t Size) {
  if (Size < InfoSize || Le(P, 4) != InfoSize) Fail(SBadImageHeader);
  const auto Width = static_cast<int32_t>(Le(P + 4, 4));
  const auto StoredHeight = static_cast<int32_t>(Le(P + 8, 4));
  const auto BitCount = static_cast<uint16_t>(Le(P + 14, 2));
  const uint32_t Compression = Le(P + 16, 4);
  const uint32_t ColorsUsed = Le(P + 32, 4);
  if (Compression != gdi::BI_RGB) Fail(SUnsupported);
  if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 16 && BitCount != 24 && BitCount != 32)
    Fail(SUnsupported);
  if (!ValidSide(Width) || !ValidSide(StoredHeight / 2)) Fail(SBadDimensions);
  const uint32_t MaxColors = BitCount <= 8 ? 1u << BitCount : 256;
  const uint32_t Colors = ColorsUsed != 0 ? ColorsUsed : (BitCount <= 8 ? MaxColors : 0);
  if (Colors > MaxColors) Fail(SBadImageHeader);
  return {Width, StoredHeight / 2, BitCount, Colors};
}

int PNGBitCount(uint8_t Depth, uint8_t ColorType) {
  switch (ColorType) {
    case 2: return 3 * Depth;
    case 4: return 2 * Depth;
    case 6: return 4 * Depth;
    default: return Depth;
  }
}

// A clear mask: black and white entries, every pixel opaque.
TDIBImage OpaqueMask(int32_t Width, int32_t Height) {
  TDIBImage Mask;
  Mask.Width = Width;
  Mask.Height = Height;
  Mask.BitCount = 1;
  Mask.Colors = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  Mask.Bits.assign(Mask.RowBytes() * Height, 0);
  return Mask;
}

// The mask of a 32-bit image's alpha channel; the pixels it hides turn black.
TDIBImage MaskFromAlpha(TDIBImage& Color) {
  TDIBImage Mask = OpaqueMask(Color.Width, Color.Height);
  const int64_t MaskRow = Mask.RowBytes();
  for (int32_t Y = 0; Y < Color.Height; ++Y) {
    uint8_t* Source = Color.Bits.data() + Y * Color.RowBytes();
    uint8_t* Dest = Mask.Bits.data() + Y * MaskRow;
    for (int32_t X = 0; X < Color.Width; ++X)
      if (Source[4 * X + 3] < 128) {
        Dest[X / 8] |= uint8_t(0x80 >> (X % 8));
        std::fill_n(Source + 4 * X, 3, 0);
      }
  }
  return Mask;
}

bool HasAlpha(const TDIBImage& Color) {
  if (Color.BitCount != 32) return false;
  for (size_t I = 3; I < Color.Bits.size(); I += 4)
    if (Color.Bits[I] != 0) return true;
  return false;
}

}  // namespace

std::vector<TIconEntry> ReadIconDirectory(const std::vector<uint8_t>& File) {
  if (File.size() < 6) Fail(SNotIcon);
  if (Le(File.data(), 2) != 0 || Le(File.data() + 2, 2) != 1) Fail(SNotIcon);
  const uint32_t Count = Le(File.data() + 4, 2);
  if (Count == 0) Fail(SNoImages);
  if (6 + size_t(Count) * 16 > File.size()) Fail(STruncatedDirectory);

  std::vector<TIconEntry> Entries;
  for (uint32_t I = 0; I < Count; ++I) {
    const uint8_t* D = File.data() + 6 + 16 * I;
    TIconEntry E;
    E.Size = Le(D + 8, 4);
    E.Offset = Le(D + 12, 4);
    if (E.Offset > File.size() || E.Size > File.size() - E.Offset) Fail(SOutside);
    const uint8_t* P = File.data() + E.Offset;
    E.PNG = E.Size >= sizeof PNGSignature && std::memcmp(P, PNGSignature, sizeof PNGSignature) == 0;
    if (E.PNG) {
      // The image header chunk comes first: length 13, "IHDR", width, height, depth, type.
      if (E.Size < 33 || Be32(P + 8) != 13 || std::memcmp(P + 12, "IHDR", 4) != 0) Fail(SBadImageHeader);
      if (!ValidSide(Be32(P + 16)) || !ValidSide(Be32(P + 20))) Fail(SBadDimensions);
      E.Width = static_cast<int32_t>(Be32(P + 16));
      E.Height = static_cast<int32_t>(Be32(P + 20));
      E.BitCount = PNGBitCount(P[24], P[25]);
    } else {
      const TDIBLayout L = ReadDIBLayout(P, E.Size);
      E.Width = L.Width;
      E.Height = L.Height;
      E.BitCount = L.BitCount;
    }
    Entries.push_back(E);
  }
  return Entries;
}

size_t ChooseIconEntry(const std::vector<TIconEntry>& Entries) {
  size_t Best = 0;
  for (size_t I = 1; I < Entries.size(); ++I) {
    const TIconEntry& A = Entries[I];
    const TIconEntry& B = Entries[Best];
    const int64_t AreaA = int64_t(A.Width) * A.Height;
    const int64_t AreaB = int64_t(B.Width) * B.Height;
    if (AreaA > AreaB || (AreaA == AreaB && A.BitCount > B.BitCount)) Best = I;
  }
  return Best;
}

TIconImage DecodeIconImage(const std::vector<uint8_t>& File, const TIconEntry& Entry) {
  if (Entry.Offset > File.size() || Entry.Size > File.size() - Entry.Offset) Fail(SOutside);
  const uint8_t* P = File.data() + Entry.Offset;
  TIconImage Image;
  if (Entry.PNG) {
    Image.Color = DecodePNG(P, Entry.Size, MaxIconSide);
    Image.Mask = MaskFromAlpha(Image.Color);
    return Image;
  }
  const TDIBLayout L = ReadDIBLayout(P, Entry.Size);
  const int64_t ColorStart = InfoSize + L.TableBytes();
  const int64_t MaskStart = ColorStart + L.ColorBytes();
  // Some writers leave out the AND mask of a 32-bit image, whose alpha channel carries
  // the transparency; its colour rows must still be whole.
  const bool Masked = MaskStart + L.MaskBytes() <= Entry.Size;
  if (!Masked && (L.BitCount != 32 || MaskStart > Entry.Size)) Fail(STruncatedImage);

  // The colour part as a BMP file of its own, with the height it really has.
  std::vector<uint8_t> Bmp(sizeof(gdi::BITMAPFILEHEADER));
  Bmp.insert(Bmp.end(), P, P + MaskStart);
  gdi::BITMAPFILEHEADER Header;
  Header.bfSize = static_cast<uint32_t>(Bmp.size());
  Header.bfOffBits = static_cast<uint32_t>(sizeof Header + ColorStart);
  std::memcpy(Bmp.data(), &Header, sizeof Header);
  const auto Height = static_cast<uint32_t>(L.Height);
  std::memcpy(Bmp.data() + sizeof Header + 8, &Height, 4);
  base::TMemoryStream Stream(std::move(Bmp));
  Image.Color = ReadBMP(Stream);

  if (HasAlpha(Image.Color)) {
    Image.Mask = MaskFromAlpha(Image.Color);
  } else {
    Image.Mask = OpaqueMask(L.Width, L.Height);
    if (Masked) std::copy(P + MaskStart, P + MaskStart + L.MaskBytes(), Image.Mask.Bits.begin());
  }
  return Image;
}

}  // namespace graphics
