#include "platform/gdi/Palette.h"

#include <algorithm>

#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/LastError.h"

namespace gdi {

HPALETTE CreatePalette(const LOGPALETTE& Palette) {
  if (Palette.palVersion != 0x300 || Palette.palPalEntry.empty() || Palette.palPalEntry.size() > 0xFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return new PaletteObject(Palette.palVersion, Palette.palPalEntry);
}

uint32_t GetPaletteEntries(HPALETTE Palette, uint32_t Start, uint32_t Count, PALETTEENTRY* Entries) {
  if (Palette == nullptr) return 0;
  const auto Size = static_cast<uint32_t>(Palette->Entries.size());
  if (Entries == nullptr) return Size;
  if (Start >= Size) return 0;
  const uint32_t N = std::min(Count, Size - Start);
  std::copy_n(Palette->Entries.begin() + Start, N, Entries);
  return N;
}

uint32_t GetNearestPaletteIndex(HPALETTE Palette, COLORREF Color) {
  if (Palette == nullptr) return CLR_INVALID;
  const auto& Entries = Palette->Entries;
  return NearestIndex(static_cast<uint32_t>(Entries.size()), GetRValue(Color), GetGValue(Color), GetBValue(Color),
                      [&Entries](uint32_t I) { return MakeXRGB(Entries[I].peRed, Entries[I].peGreen, Entries[I].peBlue); });
}

const std::vector<PALETTEENTRY>& DefaultPaletteEntries() {
  static const std::vector<PALETTEENTRY> Entries = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
      {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
      {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
      {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
      {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
  };
  return Entries;
}

}  // namespace gdi
