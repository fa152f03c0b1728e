#include "platform/gdi/DIBits.h"

#include <algorithm>
#include <cstdlib>

#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/Halftone.h"
#include "platform/gdi/LastError.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/Transfer.h"

namespace gdi {
namespace {

int Refuse(uint32_t Code) {
  SetLastError(Code);
  return 0;
}

std::vector<RGBQUAD> QuadsOf(const std::vector<PALETTEENTRY>& Entries) {
  std::vector<RGBQUAD> Quads;
  for (const PALETTEENTRY& E : Entries) Quads.push_back({E.peBlue, E.peGreen, E.peRed, 0});
  return Quads;
}

// The colours that the stock default palette stands for at each depth.
std::vector<RGBQUAD> SystemColors(int BitCount) {
  if (BitCount == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
  if (BitCount == 4) {
    std::vector<PALETTEENTRY> Vga(DefaultPaletteEntries().begin(), DefaultPaletteEntries().begin() + 8);
    Vga.insert(Vga.end(), DefaultPaletteEntries().end() - 8, DefaultPaletteEntries().end());
    return QuadsOf(Vga);
  }
  return QuadsOf(HalftonePaletteEntries());
}

std::vector<RGBQUAD> OutputColors(HDC DC, const BitmapObject& Bitmap, int BitCount) {
  if (Bitmap.Format.BitCount == BitCount) return Bitmap.Format.Colors;
  if (DC->Palette->Stock) return SystemColors(BitCount);
  std::vector<RGBQUAD> Colors = QuadsOf(DC->Palette->Entries);
  Colors.resize(std::min<size_t>(Colors.size(), size_t{1} << BitCount));
  return Colors;
}

}  // namespace

int GetDIBits(HDC DC, HBITMAP Bitmap, uint32_t Start, uint32_t Lines, void* Bits, BITMAPINFO* Info, uint32_t Usage) {
  if (DC == nullptr || Bitmap == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  DIBFormat Format;
  if (Usage != DIB_RGB_COLORS || Bits == nullptr) return Refuse(ERROR_INVALID_PARAMETER);
  if (!ReadDIBFormat(Info, Format)) return 0;
  const int32_t Height = Bitmap->Format.Height;
  const int64_t Last = std::min<int64_t>({int64_t{Start} + Lines, Height, Format.Height});
  if (Start >= Last) return 0;
  const auto Count = static_cast<int32_t>(Last - Start);

  if (Format.BitCount <= 8) {
    Format.Colors = OutputColors(DC, *Bitmap, Format.BitCount);
    RGBQUAD* Table = ColorTableOf(Info);
    std::fill_n(Table, size_t{1} << Format.BitCount, RGBQUAD{});
    std::copy(Format.Colors.begin(), Format.Colors.end(), Table);
    Info->bmiHeader.biClrUsed = 0;
    Info->bmiHeader.biClrImportant = 0;
  }
  Info->bmiHeader.biSizeImage = static_cast<uint32_t>(Format.ImageBytes());

  const Surface Source = Bitmap->View();
  const Surface Dest = Format.View(Bits, Count);
  TransferRequest T;
  T.Source = &Source;
  T.Destination = &Dest;
  T.DstWidth = T.SrcWidth = Format.Width;
  T.DstHeight = T.SrcHeight = Count;
  T.SrcY = Format.TopDown ? static_cast<int32_t>(Start) : Height - static_cast<int32_t>(Start) - Count;
  Transfer(T);
  return Count;
}

int SetDIBits(HDC, HBITMAP Bitmap, uint32_t Start, uint32_t Lines, const void* Bits, const BITMAPINFO* Info,
              uint32_t Usage) {
  if (Bitmap == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  DIBFormat Format;
  if (Usage != DIB_RGB_COLORS || Bits == nullptr) return Refuse(ERROR_INVALID_PARAMETER);
  if (!ReadDIBFormat(Info, Format)) return 0;
  const int64_t Last = std::min<int64_t>(int64_t{Start} + Lines, Format.Height);
  if (Start >= Last) return 0;
  const auto Count = static_cast<int32_t>(Last - Start);

  // The transfer only reads the source.
  const Surface Source = Format.View(const_cast<void*>(Bits), Count);
  const Surface Dest = Bitmap->View();
  TransferRequest T;
  T.Source = &Source;
  T.Destination = &Dest;
  T.DstWidth = T.SrcWidth = Format.Width;
  T.DstHeight = T.SrcHeight = Count;
  T.DstY = Format.TopDown ? static_cast<int32_t>(Start) : Dest.Height - static_cast<int32_t>(Start) - Count;
  Transfer(T);
  return Count;
}

int StretchDIBits(HDC DC, int32_t XDest, int32_t YDest, int32_t DestWidth, int32_t DestHeight, int32_t XSrc,
                  int32_t YSrc, int32_t SrcWidth, int32_t SrcHeight, const void* Bits, const BITMAPINFO* Info,
                  uint32_t Usage, uint32_t Rop) {
  if (DC == nullptr || DC->Bitmap == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  DIBFormat Format;
  if (Usage != DIB_RGB_COLORS || Bits == nullptr) return Refuse(ERROR_INVALID_PARAMETER);
  if (!ReadDIBFormat(Info, Format)) return 0;

  const Surface Source = Format.View(const_cast<void*>(Bits), Format.Height);
  const Surface Dest = DC->Bitmap->View();
  TransferRequest T;
  T.Source = &Source;
  T.Destination = &Dest;
  T.DstX = XDest;
  T.DstY = YDest;
  T.DstWidth = DestWidth;
  T.DstHeight = DestHeight;
  T.SrcX = XSrc;
  T.SrcWidth = SrcWidth;
  T.SrcHeight = SrcHeight;
  // From the lower-left origin to the top-left one; a negative height runs from the
  // row above the rectangle's far end.
  const int64_t Top = Format.TopDown ? YSrc : int64_t{Format.Height} - YSrc - SrcHeight - (SrcHeight < 0 ? 2 : 0);
  if (Top < INT32_MIN || Top > INT32_MAX) return Refuse(ERROR_INVALID_PARAMETER);
  T.SrcY = static_cast<int32_t>(Top);
  T.Foreground = T.Background = RopIndex(Rop);
  T.Pattern = DC->Resolve(DC->Brush->Color);
  T.StretchMode = DC->StretchBltMode;
  Transfer(T);
  return static_cast<int>(std::min<int64_t>(std::abs(int64_t{SrcHeight}), INT32_MAX));
}

}  // namespace gdi
