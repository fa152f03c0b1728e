// A QFont as the drawing tools' TFont: face, pixel height at 96 pixels per inch, styles.
#pragma once

#include <QFont>

#include "platform/graphics/Font.h"

namespace ui {

// Font's face, height and styles; the colour stays as it was.
void AssignQFont(graphics::TFont& Target, const QFont& Font);

}  // namespace ui
