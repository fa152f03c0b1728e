// Device-independent bitmap records: the header and colour table of a DIB, laid out
// byte for byte as in a BMP file (all little-endian), and the compression codes.
#pragma once

#include <cstdint>

namespace gdi {

struct RGBQUAD {
  uint8_t rgbBlue = 0;
  uint8_t rgbGreen = 0;
  uint8_t rgbRed = 0;
  uint8_t rgbReserved = 0;
  friend bool operator==(const RGBQUAD&, const RGBQUAD&) = default;
};

enum : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

#pragma pack(push, 1)
struct BITMAPINFOHEADER {
  uint32_t biSize = sizeof(BITMAPINFOHEADER);
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // positive: bottom-up rows; negative: top-down
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct BITMAPFILEHEADER {
  uint16_t bfType = 0x4D42;  // "BM"
  uint32_t bfSize = 0;
  uint16_t bfReserved1 = 0;
  uint16_t bfReserved2 = 0;
  uint32_t bfOffBits = 0;
};

// The 12-byte header of the oldest bitmap files; their colour entries are RGBTRIPLEs.
struct BITMAPCOREHEADER {
  uint32_t bcSize = sizeof(BITMAPCOREHEADER);
  uint16_t bcWidth = 0;
  uint16_t bcHeight = 0;
  uint16_t bcPlanes = 1;
  uint16_t bcBitCount = 0;
};

struct RGBTRIPLE {
  uint8_t rgbtBlue = 0;
  uint8_t rgbtGreen = 0;
  uint8_t rgbtRed = 0;
};
#pragma pack(pop)

static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPCOREHEADER) == 12);
static_assert(sizeof(RGBTRIPLE) == 3);

// A header with room for the largest colour table; with BI_BITFIELDS the first three
// entries hold the red, green and blue masks.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};

}  // namespace gdi
