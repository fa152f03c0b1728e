// The modes a DC draws lines, shapes and text with.
#pragma once

#include <cstdint>

#include "platform/gdi/Rop2.h"

namespace gdi {

class DCObject;
using HDC = DCObject*;

// Background of text, of the gaps of styled pens and of the hatches of brushes.
enum BackgroundMode : int { TRANSPARENT = 1, OPAQUE = 2 };
// Which points lie inside a polygon that crosses itself.
enum PolyFillMode : int { ALTERNATE = 1, WINDING = 2 };
// Where TextOut's point lies on the text.
enum : uint32_t {
  TA_LEFT = 0,
  TA_RIGHT = 2,
  TA_CENTER = 6,
  TA_TOP = 0,
  TA_BOTTOM = 8,
  TA_BASELINE = 24,
};

// Each returns the mode before; 0 for no DC or a mode out of range.
int SetROP2(HDC DC, int Mode);
int GetROP2(HDC DC);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
int SetPolyFillMode(HDC DC, int Mode);
int GetPolyFillMode(HDC DC);
// CLR_INVALID for no DC.
uint32_t GetTextColor(HDC DC);
uint32_t GetBkColor(HDC DC);
// GDI_ERROR (DC.h) for no DC.
uint32_t SetTextAlign(HDC DC, uint32_t Align);
uint32_t GetTextAlign(HDC DC);

}  // namespace gdi
