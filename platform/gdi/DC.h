// Device contexts. A memory DC draws on the bitmap selected into it (a new one holds
// a 1 x 1 monochrome bitmap); the screen DC stands for the 24-bit true-colour display,
// which has no pixels of its own here and serves as the model for compatible DCs and
// bitmaps. Every DC starts with the stock default palette, the white brush, the
// black pen, the default GUI font, black text on an opaque white background, the
// BLACKONWHITE stretch mode, R2_COPYPEN, ALTERNATE filling and its position at (0, 0).
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/Pen.h"

namespace gdi {

enum StretchMode : int {
  BLACKONWHITE = 1,  // shrinking ANDs the stored values of the merged pixels
  WHITEONBLACK = 2,  // shrinking ORs them
  COLORONCOLOR = 3,  // shrinking drops rows and columns
  HALFTONE = 4,      // shrinking averages the colours of the merged pixels
  STRETCH_ANDSCANS = BLACKONWHITE,
  STRETCH_ORSCANS = WHITEONBLACK,
  STRETCH_DELETESCANS = COLORONCOLOR,
  STRETCH_HALFTONE = HALFTONE,
};

class DCObject : public GdiObject {
 public:
  explicit DCObject(bool Screen);
  ~DCObject() override;

  const bool Screen;
  HBITMAP Bitmap = nullptr;  // none for the screen DC
  HPALETTE Palette = nullptr;
  HBRUSH Brush = nullptr;
  HPEN Pen = nullptr;
  HFONT Font = nullptr;
  int Rop2 = R2_COPYPEN;
  int BkMode = OPAQUE;
  int PolyFillMode = ALTERNATE;
  uint32_t TextAlign = TA_LEFT | TA_TOP;
  base::TPoint Position;  // of MoveToEx and LineTo
  COLORREF TextColor = RGB(0, 0, 0);
  COLORREF BkColor = RGB(255, 255, 255);
  int StretchBltMode = BLACKONWHITE;

  // The colour a COLORREF stands for here; a palette index past the palette's end is
  // black.
  XRGB Resolve(COLORREF Color) const;
};

// Windows are not GDI objects here; only the screen (0) has a DC.
struct WindowObject;
using HWND = WindowObject*;

HDC CreateCompatibleDC(HDC DC);
// Frees a memory DC; what it holds is deselected, not deleted.
bool DeleteDC(HDC DC);
// A DC for the screen when Window is 0; 0 with ERROR_INVALID_HANDLE for a window.
HDC GetDC(HWND Window);
// 1 when DC was a screen DC and is freed, else 0.
int ReleaseDC(HWND Window, HDC DC);

// Selects a bitmap (memory DCs only; a bitmap can be in one DC at a time), a brush,
// a pen or a font and returns what was selected before; 0 with
// ERROR_INVALID_PARAMETER otherwise.
// Palettes go through SelectPalette.
HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object);
// The selected object of ObjectType OBJ_BITMAP, OBJ_BRUSH, OBJ_PEN, OBJ_FONT or OBJ_PAL.
HGDIOBJ GetCurrentObject(HDC DC, uint32_t Type);

// Returns the palette selected before. The display has no hardware palette, so a
// palette selected into a DC is in force at once: it resolves PALETTEINDEX colours and
// gives GetDIBits its colour table. ForceBackground makes no difference.
HPALETTE SelectPalette(HDC DC, HPALETTE Palette, bool ForceBackground);
// The number of entries of the selected palette, or GDI_ERROR.
constexpr uint32_t GDI_ERROR = 0xFFFFFFFF;
uint32_t RealizePalette(HDC DC);

// Each returns the value before, or CLR_INVALID / 0 for no DC or a bad mode.
COLORREF SetTextColor(HDC DC, COLORREF Color);
COLORREF SetBkColor(HDC DC, COLORREF Color);
int SetStretchBltMode(HDC DC, int Mode);

// Entries of the colour table of the DIB section selected into DC (1, 4 or 8 bits);
// the number of entries copied, 0 when there is no such table.
uint32_t GetDIBColorTable(HDC DC, uint32_t Start, uint32_t Count, RGBQUAD* Colors);
uint32_t SetDIBColorTable(HDC DC, uint32_t Start, uint32_t Count, const RGBQUAD* Colors);

}  // namespace gdi
