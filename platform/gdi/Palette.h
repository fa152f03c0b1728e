// Logical palettes: up to 65535 RGB entries, each with flag bits that are kept as given.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Color.h"
#include "platform/gdi/Object.h"

namespace gdi {

struct PALETTEENTRY {
  uint8_t peRed = 0;
  uint8_t peGreen = 0;
  uint8_t peBlue = 0;
  uint8_t peFlags = 0;
  friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};

enum : uint8_t { PC_RESERVED = 0x01, PC_EXPLICIT = 0x02, PC_NOCOLLAPSE = 0x04 };

struct LOGPALETTE {
  uint16_t palVersion = 0x300;
  std::vector<PALETTEENTRY> palPalEntry;
};

class PaletteObject : public GdiObject {
 public:
  PaletteObject(uint16_t Version, std::vector<PALETTEENTRY> Entries)
      : GdiObject(ObjectKind::Palette), Version(Version), Entries(std::move(Entries)) {}
  const uint16_t Version;
  std::vector<PALETTEENTRY> Entries;
};

using HPALETTE = PaletteObject*;

// 0 unless the version is 0x300 and there are 1 to 65535 entries.
HPALETTE CreatePalette(const LOGPALETTE& Palette);

// Copies up to Count entries from Start into Entries; returns the number copied, or
// with no Entries buffer the palette's entry count.
uint32_t GetPaletteEntries(HPALETTE Palette, uint32_t Start, uint32_t Count, PALETTEENTRY* Entries);

// The entry nearest to Color's red, green and blue (its top byte is ignored) by squared
// distance, the first of equal distances; CLR_INVALID for no palette.
uint32_t GetNearestPaletteIndex(HPALETTE Palette, COLORREF Color);

// The 20 static colours of the stock default palette: the 16 VGA colours with
// money green, sky blue, cream and medium grey between the dark and light halves.
const std::vector<PALETTEENTRY>& DefaultPaletteEntries();

}  // namespace gdi
