#include "platform/gdi/Object.h"

#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DrawingObjects.h"
#include "platform/gdi/Palette.h"

namespace gdi {
namespace {

// Painter threads render bitmaps while the GUI thread draws, so the registry is shared.
struct LiveObjects {
  std::mutex Lock;
  std::unordered_set<const GdiObject*> Objects;
};

LiveObjects& Live() {
  static LiveObjects Registry;
  return Registry;
}

}  // namespace

GdiObject::GdiObject(ObjectKind Kind) : Kind(Kind) {
  LiveObjects& Registry = Live();
  std::lock_guard Guard(Registry.Lock);
  Registry.Objects.insert(this);
}

GdiObject::~GdiObject() {
  LiveObjects& Registry = Live();
  std::lock_guard Guard(Registry.Lock);
  Registry.Objects.erase(this);
}

bool DeleteObject(HGDIOBJ Object) {
  if (Object == nullptr || Object->Stock || Object->Selections > 0 || Object->Kind == ObjectKind::DC) return false;
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
    case ObjectKind::Bitmap: return DescribeBitmap(*static_cast<BitmapObject*>(Object), Size, Buffer);
    default: return DescribeDrawingObject(Object, Size, Buffer);
  }
}

uint32_t GetObjectType(HGDIOBJ Object) {
  LiveObjects& Registry = Live();
  std::lock_guard Guard(Registry.Lock);
  if (Object == nullptr || Registry.Objects.count(Object) == 0) return 0;
  switch (Object->Kind) {
    case ObjectKind::Palette: return OBJ_PAL;
    case ObjectKind::Bitmap: return OBJ_BITMAP;
    case ObjectKind::Pen: return OBJ_PEN;
    case ObjectKind::Brush: return OBJ_BRUSH;
    case ObjectKind::Font: return OBJ_FONT;
    case ObjectKind::DC: return static_cast<DCObject*>(Object)->Screen ? OBJ_DC : OBJ_MEMDC;
  }
  return 0;
}

HGDIOBJ GetStockObject(int Which) {
  static PaletteObject* const DefaultPalette = [] {
    auto* Palette = new PaletteObject(0x300, DefaultPaletteEntries());
    Palette->Stock = true;
    return Palette;
  }();
  if (Which == DEFAULT_PALETTE) return DefaultPalette;
  return StockDrawingObject(Which);
}

}  // namespace gdi
