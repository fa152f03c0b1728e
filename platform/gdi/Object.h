// GDI objects and their handles. A handle is a pointer to the object; 0 (nullptr)
// means none. Stock objects live for the whole process and refuse deletion.
#pragma once

#include <cstdint>

namespace gdi {

enum class ObjectKind : uint8_t { Palette, Bitmap, Pen, Brush, Font, DC };

class GdiObject {
 public:
  // Every live object is known by its handle, so that GetObjectType can tell a
  // handle that has been deleted.
  explicit GdiObject(ObjectKind Kind);
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  const ObjectKind Kind;
  bool Stock = false;
  // Device contexts that hold this object selected (not counted for stock objects);
  // such an object refuses deletion.
  uint32_t Selections = 0;
};

using HGDIOBJ = GdiObject*;

// Frees an object; false for none, for stock objects, for objects selected into a
// device context and for device contexts (DeleteDC and ReleaseDC free those).
bool DeleteObject(HGDIOBJ Object);

// Copies the object's description into Buffer (at most Size bytes) and returns the
// bytes written; with no buffer, the bytes needed. Palettes give their entry count
// as a 16-bit value; bitmaps a BITMAP, or a DIBSECTION for a DIB section when Size
// has room for it (Bitmap.h); pens, brushes and fonts a LOGPEN, LOGBRUSH or LOGFONT.
// 0 for none.
int GetObject(HGDIOBJ Object, int Size, void* Buffer);

enum ObjectType : uint32_t {
  OBJ_PEN = 1,
  OBJ_BRUSH = 2,
  OBJ_DC = 3,
  OBJ_PAL = 5,
  OBJ_FONT = 6,
  OBJ_BITMAP = 7,
  OBJ_MEMDC = 10,
};
// The type of a live object; 0 for none and for a handle that no longer names one.
uint32_t GetObjectType(HGDIOBJ Object);

enum StockObject : int {
  WHITE_BRUSH = 0,
  LTGRAY_BRUSH = 1,
  GRAY_BRUSH = 2,
  DKGRAY_BRUSH = 3,
  BLACK_BRUSH = 4,
  NULL_BRUSH = 5,
  HOLLOW_BRUSH = NULL_BRUSH,
  WHITE_PEN = 6,
  BLACK_PEN = 7,
  NULL_PEN = 8,
  SYSTEM_FONT = 13,
  DEFAULT_PALETTE = 15,
  DEFAULT_GUI_FONT = 17,
};
HGDIOBJ GetStockObject(int Which);

}  // namespace gdi
