// Device-independent bitmaps of framework bitmaps: describing and copying a bitmap's
// pixels as an uncompressed DIB, and row access for the colour reduction and the frame
// conversions: TDIBReader on an existing bitmap in a chosen pixel format, TDIBWriter
// building a new 8- or 24-bit DIB that becomes the bitmap's contents.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Object.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DIB.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

using graphics::TPixelFormat;

// Describes Bitmap as an uncompressed DIB of the 1-, 4-, 8- or 24-bit format, with no
// colour count of its own (a table, when there is one, has 2^bits entries). GIFException
// "Bitmap image is not valid" for a handle that names no bitmap, "Unsupported
// PixelFormat" for another format.
void FillDIBHeader(gdi::HBITMAP Bitmap, gdi::BITMAPINFOHEADER& Header, TPixelFormat PixelFormat);
// InfoSize: the header and a table of 2^bits entries (8 bits or fewer); ImageSize: the
// pixel rows, each padded to 32 bits.
void MeasureDIB(gdi::HBITMAP Bitmap, uint32_t& InfoSize, uint32_t& ImageSize, TPixelFormat PixelFormat);
// Fills Info (of MeasureDIB's InfoSize) and copies the pixels into Bits (of ImageSize),
// indexed formats taking the nearest entries of Palette when one is given. True only
// when every row was copied.
bool FetchDIB(gdi::HBITMAP Bitmap, gdi::HPALETTE Palette, void* Info, void* Bits, TPixelFormat PixelFormat);

TPixelFormat GetPixelFormat(graphics::TBitmap& Bitmap);
// Converts the bitmap to the format.
void SetPixelFormat(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat);

// Palette entries (red, green, blue, flags) become DIB colour entries (blue, green,
// red, 0) in place.
void PaletteToRGBQuads(void* Entries, int Count);

class TDIB : public base::TObject {
 public:
  ANIMORA_CLASS(TDIB)
  TDIB(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat) : FBitmap(Bitmap), FPixelFormat(PixelFormat) {}
  // The first byte of the row, row 0 being the top one.
  virtual uint8_t* RowAddress(int Row) = 0;

 protected:
  graphics::TBitmap& FBitmap;
  const TPixelFormat FPixelFormat;
};

// Rows of an existing bitmap, which is converted to the format asked for.
class TDIBReader : public TDIB {
 public:
  ANIMORA_CLASS(TDIBReader)
  TDIBReader(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat);
  // The bitmap's own scan line.
  uint8_t* RowAddress(int Row) override;
};

// A new 8- or 24-bit DIB of Width x Height whose rows are written through RowAddress;
// Palette (not owned, may be none) gives the colour table of an 8-bit one, at most 256
// entries. StoreIntoBitmap makes the DIB the bitmap's contents; destroying a writer
// does it too, unless an exception is passing or no row was ever asked for.
class TDIBWriter : public TDIB {
 public:
  ANIMORA_CLASS(TDIBWriter)
  // GIFException "Unsupported PixelFormat" for other formats and "Invalid image
  // dimensions" for a width or height below 1. Allocates nothing yet.
  TDIBWriter(graphics::TBitmap& Bitmap, TPixelFormat PixelFormat, int32_t Width, int32_t Height,
             gdi::HPALETTE Palette);
  ~TDIBWriter() override;
  TDIBWriter(const TDIBWriter&) = delete;
  TDIBWriter& operator=(const TDIBWriter&) = delete;

  // Zero-filled rows, allocated on first use; EOutOfMemory "Failed to allocate memory
  // for GIF DIB" when none is granted, EInvalidGraphicOperation "Scan line index out of
  // range" for a row outside the image.
  uint8_t* RowAddress(int Row) override;
  // Loads the bitmap from the DIB, when one was built, and frees the DIB.
  void StoreIntoBitmap();

  const gdi::BITMAPINFOHEADER* Info() const { return reinterpret_cast<const gdi::BITMAPINFOHEADER*>(FInfo.get()); }
  uint32_t InfoSize() const { return FInfoSize; }
  uint32_t BitsSize() const { return FBitsSize; }

 private:
  struct TFree {
    void operator()(uint8_t* Block) const;
  };
  using TBlock = std::unique_ptr<uint8_t, TFree>;

  void EnsureDIB();
  void AllocateDIB();
  void ReleaseDIB();
  int32_t RowSize() const;

  const int32_t FWidth;
  const int32_t FHeight;
  const gdi::HPALETTE FPalette;
  const int FUncaught;
  TBlock FInfo;
  uint32_t FInfoSize = 0;
  TBlock FBits;
  uint32_t FBitsSize = 0;
};

}  // namespace gif
