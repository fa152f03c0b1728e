#include "platform/graphics/Palettes.h"

namespace graphics {

gdi::HPALETTE PaletteFromColors(const std::vector<gdi::RGBQUAD>& Colors) {
  if (Colors.empty()) return nullptr;
  gdi::LOGPALETTE Log;
  for (const gdi::RGBQUAD& C : Colors) Log.palPalEntry.push_back({C.rgbRed, C.rgbGreen, C.rgbBlue, 0});
  return gdi::CreatePalette(Log);
}

gdi::HPALETTE CopyPalette(gdi::HPALETTE Palette) {
  if (Palette == nullptr) return nullptr;
  return gdi::CreatePalette(gdi::LOGPALETTE{0x300, Palette->Entries});
}

std::vector<gdi::RGBQUAD> ColorsOfPalette(gdi::HPALETTE Palette) {
  std::vector<gdi::RGBQUAD> Colors;
  if (Palette == nullptr) return Colors;
  for (const gdi::PALETTEENTRY& E : Palette->Entries) Colors.push_back({E.peBlue, E.peGreen, E.peRed, 0});
  return Colors;
}

gdi::HPALETTE SystemPalette16() {
  static gdi::PaletteObject* const Palette = [] {
    const auto& Static = gdi::DefaultPaletteEntries();
    std::vector<gdi::PALETTEENTRY> Entries(Static.begin(), Static.begin() + 8);
    Entries.insert(Entries.end(), Static.end() - 8, Static.end());
    auto* Stock = new gdi::PaletteObject(0x300, Entries);
    Stock->Stock = true;
    return Stock;
  }();
  return Palette;
}

}  // namespace graphics
