// The one pixel engine behind the blits and the DIB transfers: it maps a source
// rectangle onto a destination rectangle (stretching, mirroring when the extents'
// signs differ), clips both to their surfaces, translates colours between the formats
// and applies the raster operation to the destination's stored values row by row.
#pragma once

#include <cstdint>

#include "platform/gdi/ColorTranslation.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Surface.h"

namespace gdi {

struct TransferRequest {
  const Surface* Source = nullptr;  // may be null when no operation reads the source
  const Surface* Destination = nullptr;
  // A negative extent runs left (up) from the given column (row), that one included.
  int32_t DstX = 0, DstY = 0, DstWidth = 0, DstHeight = 0;
  int32_t SrcX = 0, SrcY = 0, SrcWidth = 0, SrcHeight = 0;
  // ROP3 truth tables (RasterOp.h); Background applies where the mask bit is 0.
  uint8_t Foreground = 0xCC;
  uint8_t Background = 0xCC;
  // A 1-bit surface whose (MaskX, MaskY) lies on the destination's top-left pixel;
  // used only without stretching, and the caller keeps the rectangle inside it.
  const Surface* Mask = nullptr;
  int32_t MaskX = 0, MaskY = 0;
  XRGB Pattern = 0;  // the brush's colour
  int StretchMode = COLORONCOLOR;
  MonochromeRules Rules;
};

void Transfer(const TransferRequest& Request);

}  // namespace gdi
