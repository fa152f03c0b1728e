#include "gif/DIB.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "gif/GIFException.h"
#include "gif/StreamHelpers.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/DIBits.h"
#include "platform/graphics/BmpCodec.h"

namespace gif {
namespace {

int DescribedBits(TPixelFormat PixelFormat) {
  switch (PixelFormat) {
    case graphics::pf1bit: return 1;
    case graphics::pf4bit: return 4;
    case graphics::pf8bit: return 8;
    case graphics::pf24bit: return 24;
    default: RaiseGIFError("Unsupported PixelFormat");
  }
}

uint32_t TableBytes(int Bits) { return Bits <= 8 ? uint32_t{4} << Bits : 0; }

}  // namespace

void FillDIBHeader(gdi::HBITMAP Bitmap, gdi::BITMAPINFOHEADER& Header, TPixelFormat PixelFormat) {
  gdi::DIBSECTION Section;
  const int Got =
      gdi::GetObjectType(Bitmap) == gdi::OBJ_BITMAP ? gdi::GetObject(Bitmap, sizeof Section, &Section) : 0;
  if (Got <= 0) RaiseGIFError("Bitmap image is not valid");
  if (Got < static_cast<int>(offsetof(gdi::DIBSECTION, dsBitfields)) || Section.dsBmih.biSize < 40) {
    Header = gdi::BITMAPINFOHEADER();
    Header.biWidth = Section.dsBm.bmWidth;
    Header.biHeight = Section.dsBm.bmHeight;
  } else {
    Header = Section.dsBmih;
    Header.biSize = sizeof Header;
  }
  const int Bits = DescribedBits(PixelFormat);
  Header.biBitCount = static_cast<uint16_t>(Bits);
  Header.biPlanes = 1;
  Header.biCompression = gdi::BI_RGB;
  // The table that follows the header is the one of 2^bits entries MeasureDIB counts.
  Header.biClrUsed = 0;
  Header.biClrImportant = 0;
  Header.biSizeImage = static_cast<uint32_t>(RowBytes(Header.biWidth, Bits, 32)) *
                       static_cast<uint32_t>(std::abs(static_cast<int64_t>(Header.biHeight)));
}

void MeasureDIB(gdi::HBITMAP Bitmap, uint32_t& InfoSize, uint32_t& ImageSize, TPixelFormat PixelFormat) {
  gdi::BITMAPINFOHEADER Header;
  FillDIBHeader(Bitmap, Header, PixelFormat);
  InfoSize = sizeof Header + TableBytes(Header.biBitCount);
  ImageSize = Header.biSizeImage;
}

bool FetchDIB(gdi::HBITMAP Bitmap, gdi::HPALETTE Palette, void* Info, void* Bits, TPixelFormat PixelFormat) {
  auto* Header = static_cast<gdi::BITMAPINFOHEADER*>(Info);
  FillDIBHeader(Bitmap, *Header, PixelFormat);
  std::memset(static_cast<uint8_t*>(Info) + sizeof *Header, 0, TableBytes(Header->biBitCount));
  gdi::HDC DC = CheckGDIHandle(gdi::CreateCompatibleDC(nullptr));
  gdi::HPALETTE OldPalette = nullptr;
  if (Palette != nullptr) {
    OldPalette = gdi::SelectPalette(DC, Palette, false);
    gdi::RealizePalette(DC);
  }
  const auto Rows = static_cast<uint32_t>(std::abs(static_cast<int64_t>(Header->biHeight)));
  const int Copied =
      gdi::GetDIBits(DC, Bitmap, 0, Rows, Bits, static_cast<gdi::BITMAPINFO*>(Info), gdi::DIB_RGB_COLORS);
  if (OldPalette != nullptr) gdi::SelectPalette(DC, OldPalette, false);
  gdi::DeleteDC(DC);
  return Copied > 0 && static_cast<uint32_t>(Copied) == Rows;
}

TPixelFormat GetPixelFormat(graphics::TBitmap& Bitmap) { return Bitmap.PixelFormat(); }

void SetPixelFormat(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat) { Bitmap.SetPixelFormat(PixelFormat); }

void PaletteToRGBQuads(void* Entries, int Count) {
  auto* Bytes = static_cast<uint8_t*>(Entries);
  for (int I = Count - 1; I >= 0; --I) {
    uint8_t* E = Bytes + 4 * I;
    std::swap(E[0], E[2]);
    E[3] = 0;
  }
}

TDIBReader::TDIBReader(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat) : TDIB(Bitmap, PixelFormat) {
  Bitmap.SetPixelFormat(PixelFormat);
}

uint8_t* TDIBReader::RowAddress(int Row) { return FBitmap.ScanLine(Row); }

void TDIBWriter::TFree::operator()(uint8_t* Block) const { std::free(Block); }

TDIBWriter::TDIBWriter(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat, int32_t Width, int32_t Height,
                       gdi::HPALETTE Palette)
    : TDIB(Bitmap, PixelFormat),
      FWidth(Width),
      FHeight(Height),
      FPalette(Palette),
      FUncaught(std::uncaught_exceptions()) {
  if (PixelFormat != graphics::pf8bit && PixelFormat != graphics::pf24bit) RaiseGIFError("Unsupported PixelFormat");
  // A negative size would make a negative row length and a block of any size.
  if (Width <= 0 || Height <= 0) RaiseGIFError("Invalid image dimensions");
}

TDIBWriter::~TDIBWriter() {
  if (std::uncaught_exceptions() > FUncaught) return;
  try {
    StoreIntoBitmap();
  } catch (const std::exception&) {
    // A destructor cannot raise; the bitmap keeps what it held. Callers that need to
    // know call StoreIntoBitmap themselves.
  }
}

int32_t TDIBWriter::RowSize() const { return RowBytes(FWidth, FPixelFormat == graphics::pf8bit ? 8 : 24, 32); }

void TDIBWriter::ReleaseDIB() {
  FInfo.reset();
  FBits.reset();
  FInfoSize = FBitsSize = 0;
}

void TDIBWriter::AllocateDIB() {
  ReleaseDIB();
  try {
    const bool Indexed = FPixelFormat == graphics::pf8bit;
    const uint32_t InfoSize = sizeof(gdi::BITMAPINFOHEADER) + (Indexed ? 256 * sizeof(gdi::RGBQUAD) : 0);
    FInfo.reset(static_cast<uint8_t*>(std::calloc(InfoSize, 1)));
    if (FInfo == nullptr) throw base::EOutOfMemory("Failed to allocate memory for GIF DIB");
    FInfoSize = InfoSize;
    gdi::BITMAPINFOHEADER Header;
    Header.biWidth = FWidth;
    Header.biHeight = FHeight;
    Header.biBitCount = Indexed ? 8 : 24;
    if (Indexed) {
      uint32_t Count = 0;
      if (gdi::GetObjectType(FPalette) == gdi::OBJ_PAL) {
        auto* Table = reinterpret_cast<gdi::PALETTEENTRY*>(FInfo.get() + sizeof Header);
        Count = gdi::GetPaletteEntries(FPalette, 0, 256, Table);
        PaletteToRGBQuads(Table, static_cast<int>(Count));
      }
      Header.biClrUsed = 256;
      Header.biClrImportant = Count;
    }
    std::memcpy(FInfo.get(), &Header, sizeof Header);
    // Beyond what a bitmap can hold, the block is refused as if no memory were granted.
    if (int64_t{FWidth} * FHeight <= graphics::MaxBMPPixels) {
      FBitsSize = static_cast<uint32_t>(RowSize()) * static_cast<uint32_t>(FHeight);
      FBits.reset(static_cast<uint8_t*>(std::calloc(FBitsSize, 1)));
    }
    if (FBits == nullptr) throw base::EOutOfMemory("Failed to allocate memory for GIF DIB");
  } catch (...) {
    ReleaseDIB();
    throw;
  }
}

void TDIBWriter::EnsureDIB() {
  if (FBits == nullptr) AllocateDIB();
}

uint8_t* TDIBWriter::RowAddress(int Row) {
  EnsureDIB();
  if (Row < 0 || Row >= FHeight) throw base::EInvalidGraphicOperation("Scan line index out of range");
  return FBits.get() + static_cast<int64_t>(FHeight - Row - 1) * RowSize();
}

void TDIBWriter::StoreIntoBitmap() {
  if (FBits == nullptr) return;
  base::TMemoryStream Stream;
  gdi::BITMAPFILEHEADER File;
  File.bfOffBits = sizeof File + FInfoSize;
  File.bfSize = File.bfOffBits + FBitsSize;
  Stream.WriteBuffer(&File, sizeof File);
  Stream.WriteBuffer(FInfo.get(), FInfoSize);
  Stream.WriteBuffer(FBits.get(), FBitsSize);
  ReleaseDIB();
  Stream.SetPosition(0);
  FBitmap.LoadFromStream(Stream);
}

}  // namespace gif
