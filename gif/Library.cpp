#include "gif/Library.h"

#include "gif/GIFImage.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/graphics/Picture.h"

namespace gif {
namespace {

int StartCount = 0;

bool ScreenNeedsDither() {
  gdi::HDC Screen = gdi::GetDC(nullptr);
  if (Screen == nullptr) return false;
  const int Bits = gdi::GetDeviceCaps(Screen, gdi::BITSPIXEL) * gdi::GetDeviceCaps(Screen, gdi::PLANES);
  gdi::ReleaseDC(nullptr, Screen);
  return Bits < 9;
}

}  // namespace

graphics::TClipboardFormat GIFClipboardFormat() {
  static const graphics::TClipboardFormat Format = graphics::RegisterClipboardFormat("GIF Image");
  return Format;
}

void InitializeGIFLibrary() {
  if (StartCount++ > 0) return;
  graphics::TPicture::RegisterFileFormat("gif", "GIF Image", graphics::GraphicClassOf<TGIFImage>());
  graphics::TPicture::RegisterClipboardFormat(GIFClipboardFormat(), graphics::GraphicClassOf<TGIFImage>());
  GIFLibraryDefaults().ScreenNeedsDither = ScreenNeedsDither();
}

void FinalizeGIFLibrary() {
  if (StartCount == 0 || --StartCount > 0) return;
  graphics::TPicture::UnregisterGraphicClass(graphics::GraphicClassOf<TGIFImage>());
}

}  // namespace gif
