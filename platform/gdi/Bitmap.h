// Bitmaps: DIB sections of 1, 4, 8, 16, 24 and 32 bits per pixel whose pixel memory the
// caller reaches through the bits pointer (rows padded to 4 bytes, bottom-up unless
// the header's height is negative), and device bitmaps: monochrome ones and ones in
// the screen's 24-bit format (rows padded to 2 bytes; their pixels are reached only
// through the GDI calls).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/DIB.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/Surface.h"

namespace gdi {

class DCObject;
using HDC = DCObject*;

// The layouts below are those of the original platform with this machine's pointers,
// so a DIBSECTION is 104 bytes here and its BITMAP part 32.
struct BITMAP {
  int32_t bmType = 0;
  int32_t bmWidth = 0;
  int32_t bmHeight = 0;
  int32_t bmWidthBytes = 0;
  uint16_t bmPlanes = 1;
  uint16_t bmBitsPixel = 0;
  void* bmBits = nullptr;  // DIB sections only
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  uint32_t dsBitfields[3] = {};  // red, green, blue masks of 16- and 32-bit sections
  void* dshSection = nullptr;    // sections are never backed by a file mapping here
  uint32_t dsOffset = 0;
};

static_assert(offsetof(BITMAP, bmBits) == 24 && sizeof(BITMAP) == 24 + sizeof(void*));
static_assert(offsetof(DIBSECTION, dsBmih) == sizeof(BITMAP));
static_assert(offsetof(DIBSECTION, dsBitfields) == sizeof(BITMAP) + 40);
static_assert(sizeof(DIBSECTION) == (sizeof(void*) == 8 ? 104 : 84));

class BitmapObject : public GdiObject {
 public:
  // Pixel memory of Format's size, zero-filled; Memory is null when none was granted.
  BitmapObject(const DIBFormat& Format, bool Section);

  const bool Section;
  DIBFormat Format;  // for device bitmaps: the layout of their rows
  HDC SelectedInto = nullptr;

  uint8_t* Bits() const { return Memory.get(); }
  bool Monochrome() const { return !Section && Format.BitCount == 1; }
  // The whole picture for the transfer engine.
  Surface View() const;

 private:
  struct FreeMemory {
    void operator()(uint8_t* Bits) const;
  };
  std::unique_ptr<uint8_t, FreeMemory> Memory;
};

using HBITMAP = BitmapObject*;

// A DIB section as Info describes it (DIB_RGB_COLORS only; DC is not consulted), its
// pixels zero; *Bits receives the pixel memory. 0 with ERROR_INVALID_PARAMETER for a
// header the section cannot have, ERROR_NOT_ENOUGH_MEMORY when no memory is granted.
HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, uint32_t Usage, void** Bits);

// A monochrome device bitmap (1 plane, 1 bit); Bits, when given, holds its rows top
// first, each padded to a multiple of 16 bits, bit 1 = white.
HBITMAP CreateBitmap(int32_t Width, int32_t Height, uint32_t Planes, uint32_t BitCount, const void* Bits);

// A bitmap in the format of what DC draws on: the screen's 24-bit device format for
// the screen DC, monochrome for a memory DC holding a monochrome bitmap, and a DIB
// section of the same format and colour table for one holding a DIB section.
HBITMAP CreateCompatibleBitmap(HDC DC, int32_t Width, int32_t Height);

// GetObject of a bitmap (Object.h).
int DescribeBitmap(const BitmapObject& Bitmap, int Size, void* Buffer);

// The 1 x 1 monochrome bitmap that a new memory DC holds.
HBITMAP StockBitmap();

}  // namespace gdi
