#include "platform/gdi/Bitmap.h"

#include <cstdlib>
#include <cstring>

#include "platform/gdi/DC.h"
#include "platform/gdi/LastError.h"

namespace gdi {
namespace {

const RGBQUAD BlackAndWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

// Layout of a device bitmap: rows padded to 16 bits, top row first.
DIBFormat DeviceFormat(int32_t Width, int32_t Height, int BitCount) {
  DIBFormat Format;
  Format.Width = Width;
  Format.Height = Height;
  Format.TopDown = true;
  Format.BitCount = BitCount;
  Format.Stride = static_cast<int32_t>(((int64_t{Width} * BitCount + 15) / 16) * 2);
  if (BitCount == 1) Format.Colors.assign(BlackAndWhite, BlackAndWhite + 2);
  if (BitCount == 24) std::memcpy(Format.Masks, DefaultMasks32, sizeof Format.Masks);
  return Format;
}

bool DeviceSizeAllowed(int32_t Width, int32_t Height, int BitCount) {
  if (Width <= 0 || Height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (((int64_t{Width} * BitCount + 15) / 16) * 2 * Height > MaxImageBytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  return true;
}

HBITMAP Granted(BitmapObject* Bitmap) {
  if (Bitmap->Bits() != nullptr) return Bitmap;
  delete Bitmap;
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

}  // namespace

void BitmapObject::FreeMemory::operator()(uint8_t* Bits) const { std::free(Bits); }

BitmapObject::BitmapObject(const DIBFormat& Format, bool Section)
    : GdiObject(ObjectKind::Bitmap),
      Section(Section),
      Format(Format),
      Memory(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(Format.ImageBytes()), 1))) {}

Surface BitmapObject::View() const {
  Surface View = Format.View(Memory.get(), Format.Height);
  View.Monochrome = Monochrome();
  return View;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* Info, uint32_t Usage, void** Bits) {
  if (Bits != nullptr) *Bits = nullptr;
  DIBFormat Format;
  if (Usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!ReadDIBFormat(Info, Format)) return nullptr;
  HBITMAP Bitmap = Granted(new BitmapObject(Format, true));
  if (Bitmap != nullptr && Bits != nullptr) *Bits = Bitmap->Bits();
  return Bitmap;
}

HBITMAP CreateBitmap(int32_t Width, int32_t Height, uint32_t Planes, uint32_t BitCount, const void* Bits) {
  if (Planes != 1 || BitCount != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!DeviceSizeAllowed(Width, Height, 1)) return nullptr;
  HBITMAP Bitmap = Granted(new BitmapObject(DeviceFormat(Width, Height, 1), false));
  if (Bitmap != nullptr && Bits != nullptr)
    std::memcpy(Bitmap->Bits(), Bits, static_cast<size_t>(Bitmap->Format.ImageBytes()));
  return Bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC DC, int32_t Width, int32_t Height) {
  if (DC == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  const BitmapObject* Held = DC->Bitmap;
  if (Held != nullptr && Held->Section) {
    DIBFormat Format = Held->Format;
    Format.Width = Width;
    Format.Height = Height;
    const int64_t RowBytes = ((int64_t{Width} * Format.BitCount + 31) / 32) * 4;
    if (Width <= 0 || Height <= 0 || RowBytes * Height > MaxImageBytes) {
      SetLastError(Width <= 0 || Height <= 0 ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    Format.Stride = static_cast<int32_t>(RowBytes);
    return Granted(new BitmapObject(Format, true));
  }
  const int BitCount = Held != nullptr && Held->Monochrome() ? 1 : 24;
  if (!DeviceSizeAllowed(Width, Height, BitCount)) return nullptr;
  return Granted(new BitmapObject(DeviceFormat(Width, Height, BitCount), false));
}

int DescribeBitmap(const BitmapObject& Bitmap, int Size, void* Buffer) {
  const DIBFormat& F = Bitmap.Format;
  const bool Full = Bitmap.Section && (Buffer == nullptr || Size >= static_cast<int>(sizeof(DIBSECTION)));
  if (Buffer == nullptr) return Full ? sizeof(DIBSECTION) : sizeof(BITMAP);
  if (Size < static_cast<int>(sizeof(BITMAP))) return 0;
  DIBSECTION D;
  D.dsBm.bmWidth = F.Width;
  D.dsBm.bmHeight = F.Height;
  D.dsBm.bmWidthBytes = F.Stride;
  D.dsBm.bmBitsPixel = static_cast<uint16_t>(F.BitCount);
  D.dsBm.bmBits = Bitmap.Section ? Bitmap.Bits() : nullptr;
  if (!Full) {
    std::memcpy(Buffer, &D.dsBm, sizeof(BITMAP));
    return sizeof(BITMAP);
  }
  D.dsBmih.biWidth = F.Width;
  D.dsBmih.biHeight = F.TopDown ? -F.Height : F.Height;
  D.dsBmih.biBitCount = static_cast<uint16_t>(F.BitCount);
  D.dsBmih.biCompression = F.Compression;
  D.dsBmih.biSizeImage = static_cast<uint32_t>(F.ImageBytes());
  D.dsBmih.biClrUsed = static_cast<uint32_t>(F.Colors.size());
  if (F.BitCount == 16 || F.BitCount == 32) std::memcpy(D.dsBitfields, F.Masks, sizeof D.dsBitfields);
  std::memcpy(Buffer, &D, sizeof D);
  return sizeof D;
}

HBITMAP StockBitmap() {
  static BitmapObject* const Bitmap = [] {
    auto* Stock = new BitmapObject(DeviceFormat(1, 1, 1), false);
    Stock->Stock = true;
    return Stock;
  }();
  return Bitmap;
}

}  // namespace gdi
