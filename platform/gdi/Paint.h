// Painting the pixels of a drawing operation on the bitmap of a DC: a colour (pen,
// text) or a brush, each through a binary raster operation on the stored values.
// Colours become the bitmap's nearest stored value first, so on indexed bitmaps the
// operations work on palette indexes and not-xor applied twice restores every pixel.
// On true-colour bitmaps only the bits of the colour channels take part.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/base/Types.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/PixelSet.h"
#include "platform/gdi/Surface.h"

namespace gdi {

// What one operation paints with.
struct Ink {
  COLORREF Color = 0;
  int Mode = R2_COPYPEN;
  // A hatch draws Color on its lines only; elsewhere Background when it is set
  // (the OPAQUE background mode) and nothing otherwise.
  std::optional<int> Hatch;
  std::optional<COLORREF> Background;
};

// The ink of a brush in DC's background mode; none for a null brush.
std::optional<Ink> BrushInk(const DCObject& DC, const BrushObject& Brush, int Mode);

// The bitmap a DC draws on; false with ERROR_INVALID_HANDLE when there is none.
bool DrawingTarget(HDC DC, Surface& Pixels);

// An empty set of DC's bitmap's size (the DC holds a bitmap).
PixelSet PixelsOf(const DCObject& DC);

void Paint(const DCObject& DC, const PixelSet& Pixels, const Ink& With);

// Fills Rect with Brush by PATCOPY, hatches included.
bool FillRectWithBrush(HDC DC, const base::TRect& Rect, HBRUSH Brush);

}  // namespace gdi
