// GDI objects and their handles. A handle is a pointer to the object; 0 (nullptr)
// means none. Stock objects live for the whole process and refuse deletion.
#pragma once

#include <cstdint>

namespace gdi {

enum class ObjectKind : uint8_t { Palette, Bitmap, Pen, Brush, Font, DC };

class GdiObject {
 public:
  explicit GdiObject(ObjectKind Kind) : Kind(Kind) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  const ObjectKind Kind;
  bool Stock = false;
};

using HGDIOBJ = GdiObject*;

// Frees an object; false for none and for stock objects.
bool DeleteObject(HGDIOBJ Object);

// Copies the object's description into Buffer (at most Size bytes) and returns the
// bytes written; with no buffer, the bytes needed. Palettes give their entry count
// as a 16-bit value. 0 for none.
int GetObject(HGDIOBJ Object, int Size, void* Buffer);

enum StockObject : int { DEFAULT_PALETTE = 15 };
HGDIOBJ GetStockObject(int Which);

}  // namespace gdi
