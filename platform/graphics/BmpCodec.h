// BMP files to and from one plain in-memory image, independent of any bitmap class.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Stream.h"
#include "platform/gdi/DIB.h"

namespace graphics {

// A device-independent image: rows bottom-up, each padded to a multiple of 4 bytes.
// BitCount is 1, 4, 8, 16, 24 or 32. The masks are 0 for the plain layouts (16 bits:
// 5-5-5; 32 bits: blue, green, red and a fourth byte); the only other layout is 16-bit
// 5-6-5 with the masks F800, 07E0, 001F. Colors is the colour table of images of up to
// 8 bits (1 to 2^BitCount entries; pixel values are kept as stored, even beyond it) and
// empty above 8 bits.
struct TDIBImage {
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t BitCount = 0;
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  std::vector<gdi::RGBQUAD> Colors;
  std::vector<uint8_t> Bits;

  int64_t RowBytes() const { return BMPRowBytes(Width, BitCount); }
  static int64_t BMPRowBytes(int64_t Width, int BitCount) { return (Width * BitCount + 31) / 32 * 4; }
  friend bool operator==(const TDIBImage&, const TDIBImage&) = default;
};

// The most pixels an image may have, read or written (16384 x 16384).
inline constexpr int64_t MaxBMPPixels = int64_t(1) << 28;

// The description that makes a DIB section or a DIB blit of Image's pixels.
gdi::BITMAPINFO BitmapInfoOf(const TDIBImage& Image);

// Reads one BMP file from Stream's position and leaves the stream after its pixels.
// Accepted: the 12-byte core header, the 40-byte header (with masks after it for
// BI_BITFIELDS), the 52-, 56-, 108- and 124-byte headers; BI_RGB at every bit count,
// BI_BITFIELDS at 16 and 32, BI_RLE8 and BI_RLE4 (decoded to 8 and 4 bits, bottom-up only);
// top-down rows are turned bottom-up. Bit-field layouts other than those TDIBImage keeps become
// 32 bits with the alpha channel, if the file has one, in the fourth byte.
// A malformed or unsupported file raises EInvalidGraphic before anything large is allocated.
TDIBImage ReadBMP(base::TStream& Stream);

// Writes Image with a 40-byte header, biClrUsed = the colour count, BI_BITFIELDS only for
// 5-6-5 pixels. An image that breaks the rules of TDIBImage raises EInvalidGraphicOperation.
void WriteBMP(base::TStream& Stream, const TDIBImage& Image);

}  // namespace graphics
