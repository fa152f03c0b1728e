#include "platform/gdi/Halftone.h"

#include "platform/gdi/LastError.h"

namespace gdi {

const std::vector<PALETTEENTRY>& HalftonePaletteEntries() {
  static const std::vector<PALETTEENTRY> Entries = [] {
    const std::vector<PALETTEENTRY>& Static = DefaultPaletteEntries();
    std::vector<PALETTEENTRY> Table(Static.begin(), Static.begin() + 10);
    for (int R = 0; R < 6; ++R)
      for (int G = 0; G < 6; ++G)
        for (int B = 0; B < 6; ++B)
          Table.push_back(
              {static_cast<uint8_t>(51 * R), static_cast<uint8_t>(51 * G), static_cast<uint8_t>(51 * B), 0});
    for (int K = 1; K <= 20; ++K) {
      const auto Grey = static_cast<uint8_t>((85 * K + 3) / 7);
      Table.push_back({Grey, Grey, Grey, 0});
    }
    Table.insert(Table.end(), Static.end() - 10, Static.end());
    return Table;
  }();
  return Entries;
}

HPALETTE CreateHalftonePalette(HDC DC) {
  if (DC == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return CreatePalette(LOGPALETTE{0x300, HalftonePaletteEntries()});
}

}  // namespace gdi
