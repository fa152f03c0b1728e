// Transfers between bitmaps and a caller's DIB (a header block as DIBFormat.h reads it
// and separate pixel memory). Scan lines count in the DIB's memory order: from the
// bottom for a bottom-up DIB, from the top for a top-down one; a bitmap's scan lines
// are matched to them from the same end. Colours are matched as in the blits, except
// that a monochrome device bitmap counts as black and white here.
#pragma once

#include <cstdint>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DIB.h"
#include "platform/gdi/RasterOp.h"

namespace gdi {

// Copies scan lines Start .. Start + Lines - 1 of Bitmap into Bits (which holds just
// those lines) in the format Info asks for, and returns the number copied. For 1, 4
// and 8 bits the colour table is written after the header, 2^bits entries with
// biClrUsed 0: a bitmap of the same depth gives its own table and its stored values;
// otherwise the table is the palette selected into DC (the stock default palette
// stands for the system's black and white, its 16 VGA colours, or the halftone
// palette) and each pixel takes the nearest of its entries. 0 on failure.
int GetDIBits(HDC DC, HBITMAP Bitmap, uint32_t Start, uint32_t Lines, void* Bits, BITMAPINFO* Info, uint32_t Usage);

// Copies Lines scan lines from Start of the DIB (Bits holds just those lines) into
// Bitmap, converted to its format; returns the number copied. DC is not consulted.
int SetDIBits(HDC DC, HBITMAP Bitmap, uint32_t Start, uint32_t Lines, const void* Bits, const BITMAPINFO* Info,
              uint32_t Usage);

// Draws the source rectangle of a whole DIB into DC's bitmap like StretchBlt, with the
// DC's stretch mode. As on the original platform, the source origin of a bottom-up DIB
// is its lower-left corner and YSrc counts upwards. Returns |SrcHeight|, 0 on failure.
int StretchDIBits(HDC DC, int32_t XDest, int32_t YDest, int32_t DestWidth, int32_t DestHeight, int32_t XSrc,
                  int32_t YSrc, int32_t SrcWidth, int32_t SrcHeight, const void* Bits, const BITMAPINFO* Info,
                  uint32_t Usage, uint32_t Rop);

}  // namespace gdi
