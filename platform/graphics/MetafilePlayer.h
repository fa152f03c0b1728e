// Plays a metafile's records onto a device context through the software GDI.
//
// Drawn: lines (MoveTo, LineTo, polylines, poly-polylines, Bezier curves), polygons
// and poly-polygons in the fill mode, rectangles, rounded rectangles, ellipses, arcs,
// chords and pies, pixels, text (with its font, colour, background, alignment,
// clipping and advances), and blits of device-independent bitmaps (stretched and
// mirrored, with raster operations) or of the brush. Followed: pens, brushes and
// fonts created, selected and deleted, the stock objects, text and background
// colours, background mode, binary raster operation, fill mode, text alignment,
// stretch mode, mapping modes with window and viewport, world transforms, and saving
// and restoring that state. Ignored: clipping, paths, regions, palettes, comments,
// brush patterns (such brushes fill nothing), masked, parallelogram and alpha blits,
// flood fills and everything else the readers drop.
#pragma once

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"
#include "platform/graphics/MetafileRecords.h"

namespace graphics {

// Draws Content on the bitmap selected into DC with its frame filling Dest. The DC's
// colours, modes, selected objects and current position are as before afterwards.
void PlayMetafile(gdi::HDC DC, const TMetafileContent& Content, const base::TRect& Dest);

}  // namespace graphics
