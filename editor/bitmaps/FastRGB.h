// TFastRGB: an in-memory raster image whose pixels are one DIB section, selected into a
// memory device context, so the same bytes are drawn to a window and addressed
// directly. Rows are bottom-up and padded to 4 bytes: row 0 in memory is the bottom row
// of the picture, and every y of these classes is a row in that memory order.
// TFastBMP (24 bits, blue-green-red) and TFast256 (8-bit indexes with a 256-entry
// colour table) differ only in their pixel size and colour table; operations that move
// pixels between two images need both of one class.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/DIB.h"
#include "platform/graphics/BmpCodec.h"

namespace editor {

class TFastRGB {
 public:
  virtual ~TFastRGB();
  TFastRGB(const TFastRGB&) = delete;
  TFastRGB& operator=(const TFastRGB&) = delete;

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  // Bytes per row, a multiple of 4.
  int32_t RowInc() const { return FRowInc; }
  // Padding bytes at the end of each row.
  int32_t Gap() const { return FGap; }
  // RowInc x Height, the byte size of the pixel block.
  int64_t Size() const { return FSize; }
  uint8_t* Bits() const { return FBits; }
  // Row y in memory order (0 is the bottom row).
  uint8_t* Row(int32_t Y) const { return FRows[Y]; }
  int BytesPerPixel() const { return FInfo.bmiHeader.biBitCount / 8; }
  gdi::HDC DC() const { return FDC; }
  bool Empty() const { return FWidth <= 0 || FHeight <= 0; }

  // New sizes make a new section (pixels undefined, zero here); the current size keeps
  // the pixels. A side of 0 or less leaves an empty image.
  virtual void SetSize(int32_t W, int32_t H);
  // 1:1 at (X, Y).
  virtual void Draw(gdi::HDC Target, int32_t X, int32_t Y) const;
  // The whole image scaled into (X, Y, W, H), rows and columns dropped, not blended.
  virtual void Stretch(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H) const;
  // The W x H part at (SX, SY) 1:1 at (X, Y).
  virtual void DrawRect(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY) const;
  // The SW x SH part at (SX, SY) scaled into (X, Y, W, H).
  virtual void StretchRect(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY,
                           int32_t SW, int32_t SH) const;
  // The image repeated from the rectangle's top-left corner.
  virtual void TileDraw(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H) const;
  // Nearest neighbour into Dst, which the caller has sized.
  virtual void Resize(TFastRGB& Dst) const;
  // Bilinear into Dst, which the caller has sized; on the index bytes of 8-bit images.
  virtual void SmoothResize(TFastRGB& Dst) const;
  // The W x H block at (SX, SY) into Dst at (X, Y), clipped to both images; source
  // and destination may overlap.
  virtual void CopyRect(TFastRGB& Dst, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY) const;
  // Dst filled with this image repeated from (0, 0).
  virtual void Tile(TFastRGB& Dst) const;

  // A new empty image of the same class (8-bit: with this colour table).
  virtual std::unique_ptr<TFastRGB> NewLike() const = 0;
  // Writes the BMP file atomically: a failed write keeps the old file.
  void SaveToFile(const std::string& FileName) const;
  // Size, colour table and pixels of Src, an image of the same class.
  void CopyFrom(const TFastRGB& Src);
  // Raises EInvalidOperation unless Other has this image's pixel size.
  void CheckSameClass(const TFastRGB& Other) const;
  // Image's size and pixels, converted to this image's format (the colour table of an
  // 8-bit image must be in place first).
  void TakePixels(const graphics::TDIBImage& Image);

 protected:
  explicit TFastRGB(uint16_t BitCount);
  // Colour entries that are written to a file and used for drawing; none for 24 bits.
  virtual int ColorCount() const = 0;
  // The BMP file through the validated reader, before anything of this image changes.
  static graphics::TDIBImage ReadFile(const std::string& FileName);
  const gdi::BITMAPINFO& Info() const { return FInfo; }
  gdi::BITMAPINFO& Info() { return FInfo; }

 private:
  void ReleaseSection();

  gdi::BITMAPINFO FInfo;
  gdi::HDC FDC = nullptr;
  gdi::HBITMAP FSection = nullptr;
  uint8_t* FBits = nullptr;
  std::vector<uint8_t*> FRows;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  int32_t FRowInc = 0;
  int32_t FGap = 0;
  int64_t FSize = 0;
};

}  // namespace editor
