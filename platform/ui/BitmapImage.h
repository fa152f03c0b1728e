// TBitmap to and from QImage, keeping the pixel format where Qt has one: 1-bit as Mono,
// 4- and 8-bit as Indexed8 with the bitmap's colour table, 15- and 16-bit as RGB555 and
// RGB16, 24-bit as BGR888, 32-bit as RGB32. A device bitmap becomes RGB32 and stays a
// device bitmap. From Qt: Mono and Indexed8 become indexed bitmaps with the image's
// colour table and values, RGB555, RGB16 and BGR888 their own formats, anything else a
// 32-bit bitmap with the alpha channel in the fourth byte.
#pragma once

#include <QImage>

#include "platform/graphics/Bitmap.h"

namespace ui {

// A null image for an empty bitmap.
QImage BitmapToQImage(graphics::TBitmap& Bitmap);
// Replaces Bitmap's pixels and format; a null image empties it.
void AssignQImage(graphics::TBitmap& Bitmap, const QImage& Image);

}  // namespace ui
