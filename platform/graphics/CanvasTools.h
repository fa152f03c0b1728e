// The canvas's tools in force on its device context for the length of one drawing
// operation: the pen with its mode, the brush with the background it implies (opaque
// in the brush colour for a solid brush, transparent otherwise) and the font with its
// colour. Everything is put back afterwards, so the tools' handles are never left
// selected and may be remade whenever a tool changes.
#pragma once

#include <cstdint>

#include "platform/gdi/DC.h"

namespace graphics {

class TCanvas;

class TCanvasTools {
 public:
  enum : uint8_t { UsePen = 1, UseBrush = 2, UseFont = 4 };
  TCanvasTools(TCanvas& Canvas, uint8_t Tools);
  ~TCanvasTools();
  TCanvasTools(const TCanvasTools&) = delete;
  TCanvasTools& operator=(const TCanvasTools&) = delete;

  gdi::HDC DC() const { return FDC; }

 private:
  gdi::HDC FDC;
  int FOldRop2, FOldBkMode;
  gdi::COLORREF FOldBkColor, FOldTextColor;
  gdi::HGDIOBJ FOldPen = nullptr, FOldBrush = nullptr, FOldFont = nullptr;
};

}  // namespace graphics
