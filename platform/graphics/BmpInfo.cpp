#include <algorithm>

#include "platform/graphics/BmpCodec.h"

namespace graphics {

gdi::BITMAPINFO BitmapInfoOf(const TDIBImage& Image) {
  gdi::BITMAPINFO Info;
  Info.bmiHeader.biWidth = Image.Width;
  Info.bmiHeader.biHeight = Image.Height;
  Info.bmiHeader.biBitCount = Image.BitCount;
  Info.bmiHeader.biClrUsed = static_cast<uint32_t>(Image.Colors.size());
  std::copy(Image.Colors.begin(), Image.Colors.end(), Info.bmiColors);
  if (Image.BitCount == 16 && Image.GreenMask == 0x07E0) {
    Info.bmiHeader.biCompression = gdi::BI_BITFIELDS;
    const uint32_t Masks[3] = {Image.RedMask, Image.GreenMask, Image.BlueMask};
    for (int I = 0; I < 3; ++I)
      Info.bmiColors[I] = {uint8_t(Masks[I]), uint8_t(Masks[I] >> 8), uint8_t(Masks[I] >> 16), uint8_t(Masks[I] >> 24)};
  }
  return Info;
}

}  // namespace graphics
