#include "editor/bitmaps/Fast256.h"

#include <algorithm>

#include "editor/bitmaps/FastBMP.h"

namespace editor {

TFast256::TFast256() : TFastRGB(8) {}

void TFast256::LoadFromFile(const std::string& FileName, TConversionMode Mode) {
  graphics::TDIBImage Image = ReadFile(FileName);
  if (Image.BitCount > 8) {
    TFastBMP Deep;
    Deep.TakePixels(Image);
    ConvertTo256(*this, Deep, Mode);
    return;
  }
  // The file's own entries; the rest of the table is no colour of this picture.
  std::fill_n(Colors(), 256, gdi::RGBQUAD{});
  std::copy(Image.Colors.begin(), Image.Colors.end(), Colors());
  // The indexes as stored: the section's table is the file's, so none is remapped.
  SetSize(Image.Width, Image.Height);
  if (Image.BitCount == 8) {
    for (int32_t Y = 0; Y < Height(); ++Y)
      std::copy_n(Image.Bits.data() + Y * Image.RowBytes(), Width(), Row(Y));
    return;
  }
  TakePixels(Image);
}

std::unique_ptr<TFastRGB> TFast256::NewLike() const {
  auto Image = std::make_unique<TFast256>();
  std::copy_n(Colors(), 256, Image->Colors());
  return Image;
}

}  // namespace editor
