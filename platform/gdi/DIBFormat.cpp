#include "platform/gdi/DIBFormat.h"

#include <cstring>

#include "platform/gdi/LastError.h"

namespace gdi {
namespace {

bool Refuse() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

Surface DIBFormat::View(void* Bits, int32_t Rows) const {
  Surface View;
  View.Width = Width;
  View.Height = Rows;
  View.BitCount = BitCount;
  View.Bits = static_cast<uint8_t*>(Bits);
  View.Stride = Stride;
  View.TopDown = TopDown;
  View.Colors = Colors.data();
  View.ColorCount = static_cast<uint32_t>(Colors.size());
  std::memcpy(View.Masks, Masks, sizeof Masks);
  return View;
}

bool ReadDIBFormat(const BITMAPINFO* Info, DIBFormat& Format) {
  if (Info == nullptr) return Refuse();
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < sizeof(BITMAPINFOHEADER) || H.biPlanes != 1 || H.biWidth <= 0 || H.biHeight == 0 ||
      H.biHeight == INT32_MIN)
    return Refuse();
  const int Bits = H.biBitCount;
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 16 && Bits != 24 && Bits != 32) return Refuse();
  const bool Fields = H.biCompression == BI_BITFIELDS;
  if (H.biCompression != BI_RGB && !(Fields && (Bits == 16 || Bits == 32))) return Refuse();

  Format.Width = H.biWidth;
  Format.Height = H.biHeight < 0 ? -H.biHeight : H.biHeight;
  Format.TopDown = H.biHeight < 0;
  Format.BitCount = Bits;
  Format.Compression = H.biCompression;
  const int64_t RowBytes = ((int64_t{Format.Width} * Bits + 31) / 32) * 4;
  if (RowBytes * Format.Height > MaxImageBytes) return Refuse();
  Format.Stride = static_cast<int32_t>(RowBytes);

  Format.Colors.clear();
  if (Bits <= 8) {
    const uint32_t Full = 1u << Bits;
    const uint32_t Count = H.biClrUsed == 0 || H.biClrUsed > Full ? Full : H.biClrUsed;
    const RGBQUAD* Table = ColorTableOf(Info);
    Format.Colors.assign(Table, Table + Count);
    for (RGBQUAD& Entry : Format.Colors) Entry.rgbReserved = 0;
  }
  if (Fields) {
    std::memcpy(Format.Masks, reinterpret_cast<const uint8_t*>(Info) + sizeof(BITMAPINFOHEADER), sizeof Format.Masks);
    if (!ValidMasks(Format.Masks, Bits)) return Refuse();
  } else if (Bits == 16) {
    std::memcpy(Format.Masks, DefaultMasks16, sizeof Format.Masks);
  } else if (Bits > 16) {
    std::memcpy(Format.Masks, DefaultMasks32, sizeof Format.Masks);
  }
  return true;
}

}  // namespace gdi
