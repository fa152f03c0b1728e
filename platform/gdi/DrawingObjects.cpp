#include "platform/gdi/DrawingObjects.h"

#include <cstring>

#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"

namespace gdi {
namespace {

template <class T>
T* MakeStock(T* Object) {
  Object->Stock = true;
  return Object;
}

HGDIOBJ StockBrush(int Which) {
  static BrushObject* const Brushes[] = {
      MakeStock(new BrushObject(RGB(255, 255, 255))), MakeStock(new BrushObject(RGB(192, 192, 192))),
      MakeStock(new BrushObject(RGB(128, 128, 128))), MakeStock(new BrushObject(RGB(64, 64, 64))),
      MakeStock(new BrushObject(RGB(0, 0, 0))),       MakeStock(new BrushObject(BS_NULL, 0, HS_HORIZONTAL))};
  return Brushes[Which];
}

HGDIOBJ StockPen(int Which) {
  static PenObject* const Pens[] = {MakeStock(new PenObject({PS_SOLID, 1, RGB(255, 255, 255)})),
                                    MakeStock(new PenObject({PS_SOLID, 1, RGB(0, 0, 0)})),
                                    MakeStock(new PenObject({PS_NULL, 1, RGB(0, 0, 0)}))};
  return Pens[Which - WHITE_PEN];
}

HGDIOBJ StockFont(int Which) {
  static FontObject* const System = MakeStock(new FontObject(DefaultFontDescription()));
  static FontObject* const Gui = MakeStock(new FontObject(DefaultFontDescription()));
  return Which == SYSTEM_FONT ? System : Gui;
}

template <class T>
int Describe(const T& Description, int Size, void* Buffer) {
  if (Buffer == nullptr) return sizeof(T);
  if (Size < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(Buffer, &Description, sizeof(T));
  return sizeof(T);
}

}  // namespace

HGDIOBJ StockDrawingObject(int Which) {
  if (Which >= WHITE_BRUSH && Which <= NULL_BRUSH) return StockBrush(Which);
  if (Which >= WHITE_PEN && Which <= NULL_PEN) return StockPen(Which);
  if (Which == SYSTEM_FONT || Which == DEFAULT_GUI_FONT) return StockFont(Which);
  return nullptr;
}

int DescribeDrawingObject(HGDIOBJ Object, int Size, void* Buffer) {
  switch (Object->Kind) {
    case ObjectKind::Pen:
      return Describe(static_cast<const PenObject*>(Object)->Description, Size, Buffer);
    case ObjectKind::Brush: {
      const auto* Brush = static_cast<const BrushObject*>(Object);
      LOGBRUSH Description;
      Description.lbStyle = Brush->Style;
      Description.lbColor = Brush->Color;
      Description.lbHatch = static_cast<uintptr_t>(Brush->Hatch);
      return Describe(Description, Size, Buffer);
    }
    case ObjectKind::Font:
      return Describe(static_cast<const FontObject*>(Object)->Description, Size, Buffer);
    default:
      return 0;
  }
}

}  // namespace gdi
