// Icons: a monochrome AND mask and a colour picture drawn as (target AND mask) XOR
// colour, so mask bits of 1 with black colour pixels leave the target as it was. Icons
// are window-system objects, not GDI objects: DestroyIcon frees them.
#pragma once

#include <cstdint>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"

namespace gdi {

struct ICONINFO {
  bool fIcon = true;
  uint32_t xHotspot = 0;
  uint32_t yHotspot = 0;
  HBITMAP hbmMask = nullptr;   // 1 bit per pixel; twice the height when there is no colour picture
  HBITMAP hbmColor = nullptr;  // may be none: then the lower half of the mask is the XOR picture
};

struct IconObject;
using HICON = IconObject*;

// An icon holding copies of the bitmaps (the caller keeps its own); 0 with
// ERROR_INVALID_PARAMETER without a 1-bit mask or with a colour picture of another
// size than the mask.
HICON CreateIconIndirect(const ICONINFO* Info);
// Fills Info with new copies of the icon's bitmaps, which the caller owns.
bool GetIconInfo(HICON Icon, ICONINFO* Info);
bool DestroyIcon(HICON Icon);

enum : uint32_t { DI_MASK = 1, DI_IMAGE = 2, DI_NORMAL = 3 };
// Draws the icon stretched to Width x Height (0 takes the icon's own size).
bool DrawIconEx(HDC DC, int32_t X, int32_t Y, HICON Icon, int32_t Width, int32_t Height, uint32_t StepIfAniCur,
                HBRUSH FlickerFreeDraw, uint32_t Flags);

}  // namespace gdi
