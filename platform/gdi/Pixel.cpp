#include "platform/gdi/Pixel.h"

#include "platform/gdi/Surface.h"

namespace gdi {
namespace {

bool Inside(HDC DC, int32_t X, int32_t Y) {
  if (DC == nullptr || DC->Bitmap == nullptr) return false;
  const DIBFormat& F = DC->Bitmap->Format;
  return X >= 0 && Y >= 0 && X < F.Width && Y < F.Height;
}

}  // namespace

COLORREF GetPixel(HDC DC, int32_t X, int32_t Y) {
  if (!Inside(DC, X, Y)) return CLR_INVALID;
  const Surface Pixels = DC->Bitmap->View();
  uint32_t Value = 0;
  ReadPixels(Pixels, X, Y, 1, &Value);
  return ColorRefOf(ColorOfValue(Pixels, Value));
}

COLORREF SetPixel(HDC DC, int32_t X, int32_t Y, COLORREF Color) {
  if (!Inside(DC, X, Y)) return CLR_INVALID;
  const Surface Pixels = DC->Bitmap->View();
  const uint32_t Value = ValueOfColor(Pixels, DC->Resolve(Color));
  WritePixels(Pixels, X, Y, 1, &Value);
  return ColorRefOf(ColorOfValue(Pixels, Value));
}

}  // namespace gdi
