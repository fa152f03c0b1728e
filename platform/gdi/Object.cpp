#include "platform/gdi/Object.h"

#include <cstring>

#include "platform/gdi/Palette.h"

namespace gdi {

bool DeleteObject(HGDIOBJ Object) {
  if (Object == nullptr || Object->Stock) return false;
  delete Object;
  return true;
}

int GetObject(HGDIOBJ Object, int Size, void* Buffer) {
  if (Object == nullptr) return 0;
  switch (Object->Kind) {
    case ObjectKind::Palette: {
      const auto Count = static_cast<uint16_t>(static_cast<PaletteObject*>(Object)->Entries.size());
      if (Buffer == nullptr) return sizeof Count;
      if (Size < static_cast<int>(sizeof Count)) return 0;
      std::memcpy(Buffer, &Count, sizeof Count);
      return sizeof Count;
    }
    default:
      return 0;
  }
}

HGDIOBJ GetStockObject(int Which) {
  static PaletteObject* const DefaultPalette = [] {
    auto* Palette = new PaletteObject(0x300, DefaultPaletteEntries());
    Palette->Stock = true;
    return Palette;
  }();
  return Which == DEFAULT_PALETTE ? DefaultPalette : nullptr;
}

}  // namespace gdi
