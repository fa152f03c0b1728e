// TFastBMP: a 24-bit fast bitmap, three bytes per pixel in the order blue, green, red.
#pragma once

#include <memory>
#include <string>

#include "editor/bitmaps/FastRGB.h"

namespace editor {

class TFastBMP : public TFastRGB {
 public:
  TFastBMP();

  // Reads a BMP file of any depth the BMP reader accepts, converted to 24 bits. A file
  // that cannot be opened or read raises its error and leaves the image as it was.
  void LoadFromFile(const std::string& FileName);

  std::unique_ptr<TFastRGB> NewLike() const override;

 protected:
  int ColorCount() const override { return 0; }
};

}  // namespace editor
