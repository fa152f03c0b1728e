#include "platform/ui/FontConvert.h"

#include "platform/base/Rounding.h"

namespace ui {

void AssignQFont(graphics::TFont& Target, const QFont& Font) {
  Target.SetName(Font.family().toStdString());
  Target.SetHeight(Font.pixelSize() > 0 ? -Font.pixelSize()
                                        : -static_cast<int>(base::Round(Font.pointSizeF() * 96 / 72)));
  graphics::TFontStyles Styles;
  if (Font.bold()) Styles.Include(graphics::fsBold);
  if (Font.italic()) Styles.Include(graphics::fsItalic);
  if (Font.underline()) Styles.Include(graphics::fsUnderline);
  if (Font.strikeOut()) Styles.Include(graphics::fsStrikeOut);
  Target.SetStyle(Styles);
}

}  // namespace ui
