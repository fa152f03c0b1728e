#include "platform/graphics/BitmapDC.h"

#include "platform/graphics/GDIError.h"

namespace graphics {

TBitmapDC::TBitmapDC(gdi::HBITMAP Bitmap) {
  if (Bitmap->SelectedInto != nullptr) {
    FDC = Bitmap->SelectedInto;
    return;
  }
  FDC = GDICheck(gdi::CreateCompatibleDC(nullptr));
  FOwned = true;
  FOld = gdi::SelectObject(FDC, Bitmap);
}

TBitmapDC::~TBitmapDC() {
  if (!FOwned) return;
  gdi::SelectObject(FDC, FOld);
  gdi::DeleteDC(FDC);
}

}  // namespace graphics
