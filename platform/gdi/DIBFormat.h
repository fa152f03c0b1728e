// The pixel layout that a caller's DIB header describes, checked before any pixel is
// touched.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/DIB.h"
#include "platform/gdi/Surface.h"

namespace gdi {

enum : uint32_t { DIB_RGB_COLORS = 0 };

// Pixel memory is limited to what a 32-bit image size can state.
constexpr int64_t MaxImageBytes = 0x7FFFFFFF;

struct DIBFormat {
  int32_t Width = 0;
  int32_t Height = 0;  // rows, always positive
  bool TopDown = false;
  int BitCount = 0;
  uint32_t Compression = BI_RGB;
  int32_t Stride = 0;  // rows padded to 4 bytes
  std::vector<RGBQUAD> Colors;
  uint32_t Masks[3] = {};

  int64_t ImageBytes() const { return int64_t{Stride} * Height; }
  // Rows of this layout in Bits; Rows may be fewer than Height for a band of lines.
  Surface View(void* Bits, int32_t Rows) const;
};

// Reads the header at Info: a header of biSize >= 40 bytes, its colour table right
// after it (biClrUsed entries, or 2^bits when 0) and, for BI_BITFIELDS, the red, green
// and blue masks at byte 40. Uncompressed 1, 4, 8, 24 bits, BI_RGB or BI_BITFIELDS
// 16 and 32 bits. False with ERROR_INVALID_PARAMETER for anything else.
bool ReadDIBFormat(const BITMAPINFO* Info, DIBFormat& Format);

// The colour table's place in a header block.
inline RGBQUAD* ColorTableOf(BITMAPINFO* Info) {
  return reinterpret_cast<RGBQUAD*>(reinterpret_cast<uint8_t*>(Info) + Info->bmiHeader.biSize);
}
inline const RGBQUAD* ColorTableOf(const BITMAPINFO* Info) {
  return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(Info) + Info->bmiHeader.biSize);
}

}  // namespace gdi
