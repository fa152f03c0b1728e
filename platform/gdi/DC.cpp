#include "platform/gdi/DC.h"

#include <algorithm>
#include <utility>

#include "platform/gdi/LastError.h"

namespace gdi {
namespace {

// Stock objects are shared by every DC (and by every thread that makes DCs) and are
// never deleted, so only other objects count their selections.
template <class Handle>
void Hold(Handle& Slot, Handle Object) {
  if (Slot != nullptr && !Slot->Stock) --Slot->Selections;
  Slot = Object;
  if (Slot != nullptr && !Slot->Stock) ++Slot->Selections;
}

void HoldBitmap(DCObject& DC, HBITMAP Bitmap) {
  if (DC.Bitmap != nullptr && !DC.Bitmap->Stock) DC.Bitmap->SelectedInto = nullptr;
  Hold(DC.Bitmap, Bitmap);
  if (Bitmap != nullptr && !Bitmap->Stock) Bitmap->SelectedInto = &DC;
}

bool Refuse(uint32_t Code) {
  SetLastError(Code);
  return false;
}

// The colour table of the DIB section in DC, or null.
BitmapObject* IndexedSection(HDC DC) {
  if (DC == nullptr || DC->Bitmap == nullptr || !DC->Bitmap->Section || DC->Bitmap->Format.BitCount > 8) return nullptr;
  return DC->Bitmap;
}

}  // namespace

DCObject::DCObject(bool Screen) : GdiObject(ObjectKind::DC), Screen(Screen) {
  if (!Screen) HoldBitmap(*this, StockBitmap());
  Hold(Palette, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  Hold(Brush, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  Hold(Pen, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
  Hold(Font, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

DCObject::~DCObject() {
  HoldBitmap(*this, nullptr);
  Hold(Palette, static_cast<HPALETTE>(nullptr));
  Hold(Brush, static_cast<HBRUSH>(nullptr));
  Hold(Pen, static_cast<HPEN>(nullptr));
  Hold(Font, static_cast<HFONT>(nullptr));
}

XRGB DCObject::Resolve(COLORREF Color) const {
  if ((Color >> 24) == 0x01) {
    const uint32_t Index = Color & 0xFFFF;
    if (Palette == nullptr || Index >= Palette->Entries.size()) return 0;
    const PALETTEENTRY& E = Palette->Entries[Index];
    return MakeXRGB(E.peRed, E.peGreen, E.peBlue);
  }
  return XRGBOf(Color & 0xFFFFFF);
}

HDC CreateCompatibleDC(HDC DC) {
  if (DC != nullptr && GetObjectType(DC) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return new DCObject(false);
}

bool DeleteDC(HDC DC) {
  if (DC == nullptr || DC->Screen) return Refuse(ERROR_INVALID_HANDLE);
  delete DC;
  return true;
}

HDC GetDC(HWND Window) {
  if (Window != nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return new DCObject(true);
}

int ReleaseDC(HWND, HDC DC) {
  if (DC == nullptr || !DC->Screen) return 0;
  delete DC;
  return 1;
}

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Object) {
  if (DC == nullptr || Object == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (Object->Kind == ObjectKind::Bitmap) {
    auto* Bitmap = static_cast<HBITMAP>(Object);
    if (DC->Screen || (Bitmap->SelectedInto != nullptr && Bitmap->SelectedInto != DC)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    HBITMAP Previous = DC->Bitmap;
    HoldBitmap(*DC, Bitmap);
    return Previous;
  }
  if (Object->Kind == ObjectKind::Brush) {
    HBRUSH Previous = DC->Brush;
    Hold(DC->Brush, static_cast<HBRUSH>(Object));
    return Previous;
  }
  if (Object->Kind == ObjectKind::Pen) {
    HPEN Previous = DC->Pen;
    Hold(DC->Pen, static_cast<HPEN>(Object));
    return Previous;
  }
  if (Object->Kind == ObjectKind::Font) {
    HFONT Previous = DC->Font;
    Hold(DC->Font, static_cast<HFONT>(Object));
    return Previous;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}

HGDIOBJ GetCurrentObject(HDC DC, uint32_t Type) {
  if (DC == nullptr) return nullptr;
  switch (Type) {
    case OBJ_BITMAP: return DC->Bitmap;
    case OBJ_BRUSH: return DC->Brush;
    case OBJ_PEN: return DC->Pen;
    case OBJ_FONT: return DC->Font;
    case OBJ_PAL: return DC->Palette;
    default: return nullptr;
  }
}

HPALETTE SelectPalette(HDC DC, HPALETTE Palette, bool) {
  if (DC == nullptr || Palette == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HPALETTE Previous = DC->Palette;
  Hold(DC->Palette, Palette);
  return Previous;
}

uint32_t RealizePalette(HDC DC) {
  if (DC == nullptr) return GDI_ERROR;
  return static_cast<uint32_t>(DC->Palette->Entries.size());
}

COLORREF SetTextColor(HDC DC, COLORREF Color) {
  if (DC == nullptr) return CLR_INVALID;
  return std::exchange(DC->TextColor, Color);
}

COLORREF SetBkColor(HDC DC, COLORREF Color) {
  if (DC == nullptr) return CLR_INVALID;
  return std::exchange(DC->BkColor, Color);
}

int SetStretchBltMode(HDC DC, int Mode) {
  if (DC == nullptr || Mode < BLACKONWHITE || Mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return std::exchange(DC->StretchBltMode, Mode);
}

uint32_t GetDIBColorTable(HDC DC, uint32_t Start, uint32_t Count, RGBQUAD* Colors) {
  const BitmapObject* Section = IndexedSection(DC);
  if (Section == nullptr || Colors == nullptr) return 0;
  const auto& Table = Section->Format.Colors;
  if (Start >= Table.size()) return 0;
  const uint32_t N = std::min<uint32_t>(Count, static_cast<uint32_t>(Table.size()) - Start);
  std::copy_n(Table.begin() + Start, N, Colors);
  return N;
}

uint32_t SetDIBColorTable(HDC DC, uint32_t Start, uint32_t Count, const RGBQUAD* Colors) {
  BitmapObject* Section = IndexedSection(DC);
  if (Section == nullptr || Colors == nullptr) return 0;
  auto& Table = Section->Format.Colors;
  if (Start >= Table.size()) return 0;
  const uint32_t N = std::min<uint32_t>(Count, static_cast<uint32_t>(Table.size()) - Start);
  std::copy_n(Colors, N, Table.begin() + Start);
  for (uint32_t I = Start; I < Start + N; ++I) Table[I].rgbReserved = 0;
  return N;
}

}  // namespace gdi
