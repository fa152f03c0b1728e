// What GetDeviceCaps reports. Every DC describes the display, whether or not a bitmap
// is selected into it: a 1920 x 1080 true-colour screen of 24 bits in one plane at
// 96 pixels per inch, without a hardware palette.
#pragma once

#include "platform/gdi/DC.h"

namespace gdi {

enum DeviceCap : int {
  HORZRES = 8,
  VERTRES = 10,
  BITSPIXEL = 12,
  PLANES = 14,
  NUMCOLORS = 24,
  RASTERCAPS = 38,
  LOGPIXELSX = 88,
  LOGPIXELSY = 90,
  SIZEPALETTE = 104,
};

enum RasterCap : int {
  RC_BITBLT = 0x0001,
  RC_BITMAP64 = 0x0008,
  RC_DI_BITMAP = 0x0080,
  RC_PALETTE = 0x0100,
  RC_DIBTODEV = 0x0200,
  RC_STRETCHBLT = 0x0800,
  RC_STRETCHDIB = 0x2000,
};

// HORZRES 1920, VERTRES 1080, BITSPIXEL 24, PLANES 1, NUMCOLORS -1 (more than 256),
// RASTERCAPS the blit capabilities without RC_PALETTE, LOGPIXELSX/Y 96, SIZEPALETTE 0
// (no hardware palette); 0 for other indexes and for no DC.
int GetDeviceCaps(HDC DC, int Index);

}  // namespace gdi
