#include "platform/avi/AVIFrameDecoder.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/BmpCodec.h"
#include "platform/graphics/BmpMasks.h"
#include "platform/graphics/BmpRle.h"
#include "platform/graphics/JPEGImageCodec.h"

namespace avi {

namespace {

constexpr uint32_t BI_MJPG = MakeFourCC("MJPG");
constexpr uint32_t BI_mjpg = MakeFourCC("mjpg");
constexpr int32_t MaxSide = 65535;
constexpr int MaskBytes = 12;

[[noreturn]] void Unsupported() { throw EAVIError("Unsupported AVI video format"); }

bool Uncompressed(uint32_t Compression) { return Compression == gdi::BI_RGB || Compression == gdi::BI_BITFIELDS; }

bool ValidDepth(uint32_t Compression, uint16_t BitCount) {
  switch (Compression) {
    case gdi::BI_RGB:
      return BitCount == 1 || BitCount == 4 || BitCount == 8 || BitCount == 16 || BitCount == 24 || BitCount == 32;
    case gdi::BI_RLE8:
      return BitCount == 8;
    case gdi::BI_RLE4:
      return BitCount == 4;
    case gdi::BI_BITFIELDS:
      return BitCount == 16 || BitCount == 32;
    default:
      return true;
  }
}

}  // namespace

TAVIFrameDecoder::TAVIFrameDecoder(base::TStream& Stream, const std::vector<uint8_t>& Format, TAVIStreamChunks Chunks)
    : FStream(Stream), FChunks(std::move(Chunks)) {
  gdi::BITMAPINFOHEADER Info;
  if (Format.size() < sizeof Info) Unsupported();
  std::memcpy(&Info, Format.data(), sizeof Info);
  if (Info.biSize < sizeof Info || Info.biSize > Format.size()) Unsupported();
  FCompression = Info.biCompression == BI_mjpg ? BI_MJPG : Info.biCompression;
  if (!Uncompressed(FCompression) && !RunLength() && FCompression != BI_MJPG) Unsupported();
  if (Info.biPlanes != 1 || !ValidDepth(FCompression, Info.biBitCount)) Unsupported();
  const int64_t Height = Info.biHeight;
  if (Info.biWidth < 1 || Info.biWidth > MaxSide || Height == 0 || Height < -MaxSide || Height > MaxSide)
    Unsupported();
  // Only uncompressed rows may be stored top-down.
  if (Height < 0 && !Uncompressed(FCompression)) Unsupported();
  FWidth = Info.biWidth;
  FHeight = static_cast<int32_t>(std::abs(Height));
  FTopDown = Height < 0;
  if (int64_t{FWidth} * FHeight > MaxAVIFramePixels) Unsupported();
  FBitCount = FCompression == BI_MJPG ? 24 : Info.biBitCount;
  FRowBytes = graphics::TDIBImage::BMPRowBytes(FWidth, FBitCount);

  size_t TableBytes = 0;
  if (FBitCount <= 8) {
    const uint32_t Capacity = 1u << FBitCount;
    const size_t Present = (Format.size() - Info.biSize) / sizeof(gdi::RGBQUAD);
    const size_t Used = std::min<size_t>({Info.biClrUsed == 0 ? Capacity : Info.biClrUsed, Capacity, Present});
    FInitialColors.resize(Capacity);
    std::memcpy(FInitialColors.data(), Format.data() + Info.biSize, Used * sizeof(gdi::RGBQUAD));
    TableBytes = Capacity * sizeof(gdi::RGBQUAD);
  } else if (FCompression == gdi::BI_BITFIELDS) {
    // The masks follow the 40 bytes, inside a larger header or after the 40-byte one.
    if (Format.size() < sizeof Info + MaskBytes) Unsupported();
    graphics::TColorMasks Masks;
    std::memcpy(&Masks.Red, Format.data() + sizeof Info, 4);
    std::memcpy(&Masks.Green, Format.data() + sizeof Info + 4, 4);
    std::memcpy(&Masks.Blue, Format.data() + sizeof Info + 8, 4);
    try {
      graphics::CheckColorMasks(Masks, FBitCount);
    } catch (const base::EInvalidGraphic&) {
      Unsupported();
    }
    TableBytes = MaskBytes;
  }
  FColors = FInitialColors;

  gdi::BITMAPINFOHEADER Out;
  Out.biWidth = FWidth;
  Out.biHeight = FHeight;
  Out.biBitCount = FBitCount;
  Out.biCompression = FCompression == gdi::BI_BITFIELDS ? gdi::BI_BITFIELDS : gdi::BI_RGB;
  Out.biSizeImage = static_cast<uint32_t>(FRowBytes * FHeight);
  Out.biClrUsed = static_cast<uint32_t>(FInitialColors.size());
  FBitsOffset = sizeof Out + TableBytes;
  // The header and table now; the picture's bytes only once a frame is decoded.
  FPacked.resize(FBitsOffset);
  std::memcpy(FPacked.data(), &Out, sizeof Out);
  if (FCompression == gdi::BI_BITFIELDS) std::memcpy(FPacked.data() + sizeof Out, Format.data() + sizeof Info, MaskBytes);
}

const std::vector<uint8_t>& TAVIFrameDecoder::Frame(int32_t Index) {
  if (Index < 0 || Index >= FrameCount()) throw EAVIError("AVI frame position out of range");
  ApplyPalette(Index);
  if (RunLength()) {
    int32_t Key = Index;
    while (Key > 0 && !FChunks.Frames[Key].Key) --Key;
    const bool Restart = FPictureFrame < 0 || FPictureFrame > Index || Key > FPictureFrame;
    const int32_t From = Restart ? Key : FPictureFrame + 1;
    // Every chunk is looked at before the picture is made or touched.
    for (int32_t Each = From; Each <= Index; ++Each) CheckRunLengthChunk(FChunks.Frames[Each]);
    AllocatePicture();
    if (Restart) BlankPicture();
    FPictureFrame = -1;
    for (int32_t Each = From; Each <= Index; ++Each) Decode(FChunks.Frames[Each]);
    FPictureFrame = Index;
  } else {
    int32_t Shown = Index;
    while (Shown >= 0 && FChunks.Frames[Shown].Size == 0) --Shown;
    if (Shown < 0) {
      FPictureFrame = -1;
      AllocatePicture();
      BlankPicture();
    } else if (Shown != FPictureFrame) {
      FPictureFrame = -1;
      Decode(FChunks.Frames[Shown]);
      FPictureFrame = Shown;
    }
  }
  if (!FColors.empty())
    std::memcpy(FPacked.data() + sizeof(gdi::BITMAPINFOHEADER), FColors.data(), FColors.size() * sizeof(gdi::RGBQUAD));
  return FPacked;
}

bool TAVIFrameDecoder::Repeats(int32_t Index) {
  if (Index <= 0 || Index >= FrameCount()) return false;
  const TAVIChunk& Chunk = FChunks.Frames[Index];
  for (const TAVIPaletteChange& Change : FChunks.PaletteChanges)
    if (Change.Frame == Index) return false;
  if (!RunLength()) return Chunk.Size == 0;
  if (Chunk.Key) return false;
  if (Chunk.Size == 0) return true;
  // A delta that only ends the bitmap changes nothing.
  if (Chunk.Size < 2) return false;
  uint8_t Codes[2];
  FStream.SetPosition(Chunk.Offset);
  FStream.ReadBuffer(Codes, sizeof Codes);
  return Codes[0] == 0 && Codes[1] == 1;
}

void TAVIFrameDecoder::AllocatePicture() {
  const size_t Total = FBitsOffset + static_cast<size_t>(FRowBytes * FHeight);
  if (FPacked.size() != Total) FPacked.resize(Total);
}

void TAVIFrameDecoder::BlankPicture() {
  std::fill(FPacked.begin() + static_cast<ptrdiff_t>(FBitsOffset), FPacked.end(), 0);
}

// An empty chunk repeats the picture; any other holds at least one code of two bytes.
void TAVIFrameDecoder::CheckRunLengthChunk(const TAVIChunk& Chunk) {
  if (Chunk.Size == 1) throw EAVIError("AVI frame is truncated");
}

void TAVIFrameDecoder::ApplyPalette(int32_t Index) {
  if (FColors.empty()) return;
  if (Index < FPaletteFrame) {
    FColors = FInitialColors;
    FNextChange = 0;
  }
  FPaletteFrame = Index;
  for (; FNextChange < FChunks.PaletteChanges.size() && FChunks.PaletteChanges[FNextChange].Frame <= Index;
       ++FNextChange)
    ApplyPaletteChange(FChunks.PaletteChanges[FNextChange].Chunk);
}

void TAVIFrameDecoder::ApplyPaletteChange(const TAVIChunk& Chunk) {
  AVIPALCHANGEHEADER Header;
  if (Chunk.Size < sizeof Header) return;
  const uint32_t Size = std::min<uint32_t>(Chunk.Size, sizeof Header + 256 * 4);
  FChunk.resize(Size);
  FStream.SetPosition(Chunk.Offset);
  FStream.ReadBuffer(FChunk.data(), Size);
  std::memcpy(&Header, FChunk.data(), sizeof Header);
  const size_t Wanted = Header.bNumEntries == 0 ? 256 : Header.bNumEntries;
  const size_t Present = (Size - sizeof Header) / 4;
  if (Header.bFirstEntry >= FColors.size()) return;
  const size_t Count = std::min({Wanted, Present, FColors.size() - Header.bFirstEntry});
  // Palette entries are red, green, blue, flags.
  for (size_t I = 0; I < Count; ++I) {
    const uint8_t* Entry = FChunk.data() + sizeof Header + 4 * I;
    FColors[Header.bFirstEntry + I] = gdi::RGBQUAD{Entry[2], Entry[1], Entry[0], 0};
  }
}

void TAVIFrameDecoder::Decode(const TAVIChunk& Chunk) {
  if (Chunk.Size == 0) return;
  if (RunLength()) {
    FStream.SetPosition(Chunk.Offset);
    graphics::DecodeRLEOnto(FStream, Chunk.Offset + Chunk.Size, FWidth, FHeight, FBitCount, Bits());
  } else if (FCompression == BI_MJPG) {
    DecodeJPEG(Chunk);
  } else {
    DecodeUncompressed(Chunk);
  }
}

void TAVIFrameDecoder::DecodeUncompressed(const TAVIChunk& Chunk) {
  const int64_t ImageBytes = FRowBytes * FHeight;
  if (Chunk.Size < ImageBytes) throw EAVIError("AVI frame is truncated");
  AllocatePicture();
  if (!FTopDown) {
    FStream.SetPosition(Chunk.Offset);
    FStream.ReadBuffer(Bits(), ImageBytes);
    return;
  }
  ReadChunk(Chunk);
  for (int32_t Row = 0; Row < FHeight; ++Row)
    std::memcpy(Bits() + (FHeight - 1 - Row) * FRowBytes, FChunk.data() + Row * FRowBytes, FRowBytes);
}

void TAVIFrameDecoder::DecodeJPEG(const TAVIChunk& Chunk) {
  ReadChunk(Chunk);
  base::TMemoryStream Source(std::move(FChunk));
  FChunk = {};
  graphics::TJPEGReadOptions Options;
  Options.MaxPixels = int64_t{FWidth} * FHeight;
  const graphics::TDIBImage Image = graphics::ReadJPEG(Source, Options);
  if (Image.Width != FWidth || Image.Height != FHeight) throw EAVIError("AVI frame size differs from its format");
  AllocatePicture();
  if (Image.BitCount == 24) {
    std::memcpy(Bits(), Image.Bits.data(), static_cast<size_t>(FRowBytes * FHeight));
    return;
  }
  // A greyscale picture: 8-bit indexes into its grey table.
  const int64_t SourceRow = Image.RowBytes();
  for (int32_t Row = 0; Row < FHeight; ++Row)
    for (int32_t X = 0; X < FWidth; ++X) {
      const gdi::RGBQUAD& Grey = Image.Colors[Image.Bits[Row * SourceRow + X]];
      uint8_t* Pixel = Bits() + Row * FRowBytes + 3 * X;
      Pixel[0] = Grey.rgbBlue;
      Pixel[1] = Grey.rgbGreen;
      Pixel[2] = Grey.rgbRed;
    }
}

void TAVIFrameDecoder::ReadChunk(const TAVIChunk& Chunk) {
  FChunk.resize(Chunk.Size);
  FStream.SetPosition(Chunk.Offset);
  FStream.ReadBuffer(FChunk.data(), Chunk.Size);
}

}  // namespace avi
