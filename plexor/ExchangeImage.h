// Images as the library hands them on: plain DIBs (graphics::TDIBImage) written as BMP
// files, made from and shown as QImages.
#pragma once

#include <QImage>
#include <string>

#include "platform/base/Types.h"
#include "platform/graphics/BmpCodec.h"

namespace plexor {

// Indexed8 stays 8-bit with its colour table; anything else becomes 24-bit.
graphics::TDIBImage DIBFromQImage(const QImage& Image);
// Null for an image Qt cannot show.
QImage QImageFromDIB(const graphics::TDIBImage& Image);
// The part of Image inside Rect, in its own bit depth and colour table; Rect is clipped
// to the image first and may come out empty (Width or Height 0).
graphics::TDIBImage CropDIB(const graphics::TDIBImage& Image, base::TRect Rect);

graphics::TDIBImage ReadBMPFile(const std::string& FileName);
// Written beside the target and renamed over it.
void WriteBMPFile(const std::string& FileName, const graphics::TDIBImage& Image);

// StartDir/gif.dat.
std::string ExchangeFileName(const std::string& StartDir);

}  // namespace plexor
