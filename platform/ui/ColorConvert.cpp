#include "platform/ui/ColorConvert.h"

#include "platform/graphics/Colors.h"

namespace ui {

QColor ToQColor(base::TColor Color) {
  const gdi::COLORREF RGB = graphics::ColorToRGB(Color);
  return QColor(static_cast<int>(RGB & 0xFF), static_cast<int>((RGB >> 8) & 0xFF), static_cast<int>((RGB >> 16) & 0xFF));
}

base::TColor FromQColor(const QColor& Color) {
  return static_cast<base::TColor>(static_cast<uint32_t>(Color.red()) | (static_cast<uint32_t>(Color.green()) << 8) |
                                   (static_cast<uint32_t>(Color.blue()) << 16));
}

}  // namespace ui
