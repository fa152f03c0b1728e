// TFast256: an 8-bit fast bitmap, one colour-table index per pixel, with a 256-entry
// colour table (blue, green, red, reserved 0) that drawing and files use.
#pragma once

#include <memory>
#include <string>

#include "editor/bitmaps/FastRGB.h"

namespace editor {

class TFastBMP;

enum class TConversionMode { cmGray, cmCut, cmDither };
using enum TConversionMode;

class TFast256 : public TFastRGB {
 public:
  TFast256();

  gdi::RGBQUAD* Colors() { return Info().bmiColors; }
  const gdi::RGBQUAD* Colors() const { return Info().bmiColors; }

  // Reads a BMP file: up to 8 bits keep the file's colour table (its own colour count,
  // the other entries 0) and indexes; deeper files are reduced with Mode. A file that
  // cannot be opened or read raises its error and leaves the image as it was.
  void LoadFromFile(const std::string& FileName, TConversionMode Mode);

  std::unique_ptr<TFastRGB> NewLike() const override;

 protected:
  int ColorCount() const override { return 256; }
};

// Sets Dst to Src's size and fills its pixels and colour table: cmGray with 256 greys,
// otherwise the exact colours when Src has at most 256, else a median-cut palette with
// its boxes as they fall (cmCut) or with Floyd-Steinberg error diffusion (cmDither).
// Table entries beyond those produced keep their contents.
void ConvertTo256(TFast256& Dst, const TFastBMP& Src, TConversionMode Mode);

}  // namespace editor
