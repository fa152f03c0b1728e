// Block transfers between device contexts with raster operations (RasterOp.h).
// Coordinates are pixels of the bitmaps selected into the DCs, top-left origin; both
// rectangles are clipped to their bitmaps and pixels whose source lies outside the
// source bitmap are left alone. Between formats:
// - a monochrome device bitmap as the source: its 0 bits take the destination DC's
//   text colour, its 1 bits the destination DC's background colour;
// - a monochrome device bitmap as the destination of a colour source: pixels equal to
//   the source DC's background colour become 1 (white), all others 0;
// - otherwise colours go through RGB to the destination's format, indexed
//   destinations taking the nearest entry of their colour table, except that between
//   bitmaps sharing a colour table the stored values pass unchanged.
// The operation then works on the destination's stored values, so SRCINVERT twice
// restores a bitmap exactly. BLACKNESS and WHITENESS fill with the destination's
// nearest black or white; PATCOPY and the other pattern operations use the colour of
// the DC's brush. 1-bit DIB sections are indexed bitmaps with their own two colours.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DC.h"

namespace gdi {

// False with ERROR_INVALID_HANDLE when a DC that the operation needs is missing or
// holds no bitmap. Negative extents run left or up from the given point.
bool BitBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX, int32_t SourceY,
            uint32_t Rop);

// Scales the source rectangle onto the destination rectangle by the destination DC's
// stretch mode; extents of different signs mirror the picture on that axis.
bool StretchBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
                int32_t SourceY, int32_t SourceWidth, int32_t SourceHeight, uint32_t Rop);

// Per pixel the foreground operation of Rop4 where the mask bit is 1 and the
// background operation where it is 0 (MAKEROP4). Mask is a 1-bit bitmap whose
// rectangle at (MaskX, MaskY) must lie inside it (else ERROR_INVALID_PARAMETER);
// without a mask this is BitBlt with the foreground operation.
bool MaskBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
             int32_t SourceY, HBITMAP Mask, int32_t MaskX, int32_t MaskY, uint32_t Rop4);

// An operation without a source (PATCOPY, DSTINVERT, BLACKNESS, ...).
bool PatBlt(HDC DC, int32_t X, int32_t Y, int32_t Width, int32_t Height, uint32_t Rop);

// Fills Rect (right and bottom exclusive) with Brush (Brush.h: hatches included).
bool FillRect(HDC DC, const base::TRect& Rect, HBRUSH Brush);

}  // namespace gdi
