// gif.dat in the start folder: the BMP file through which single images pass between
// the editor, the outside image-tools library and the rotation effect.
#pragma once

#include <string>

#include "platform/graphics/Graphic.h"

namespace editor {

// StartDir/gif.dat
std::string ExchangeFileName(const std::string& StartDir);

// Written beside the file and renamed over it, so a failed write keeps the old image.
void WriteExchangeFile(const std::string& StartDir, graphics::TGraphic& Image);
// Loads the file into Image; a missing or malformed file raises the stream's or the
// reader's error, and the caller's own picture should be a fresh one to stay intact.
void ReadExchangeFile(const std::string& StartDir, graphics::TGraphic& Image);

}  // namespace editor
