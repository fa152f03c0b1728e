#include "platform/gdi/DeviceCaps.h"

namespace gdi {

int GetDeviceCaps(HDC DC, int Index) {
  if (DC == nullptr) return 0;
  switch (Index) {
    case HORZRES: return 1920;
    case VERTRES: return 1080;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 0;
    default: return 0;
  }
}

}  // namespace gdi
