// TColor ($00BBGGRR, system colours with the top bit) to and from QColor.
#pragma once

#include <QColor>

#include "platform/base/Types.h"

namespace ui {

// System colours resolve to the program's system-colour table.
QColor ToQColor(base::TColor Color);
base::TColor FromQColor(const QColor& Color);

}  // namespace ui
