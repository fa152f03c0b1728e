// A memory device context holding a bitmap of its own for the length of one drawing
// step; both are freed together. A failed platform call raises EOutOfResources.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Object.h"
#include "platform/graphics/GDIError.h"

namespace graphics {

class TScratchDC {
 public:
  explicit TScratchDC(gdi::HBITMAP Bitmap) : FBitmap(GDICheck(Bitmap)) {
    FDC = gdi::CreateCompatibleDC(nullptr);
    if (FDC == nullptr) {
      gdi::DeleteObject(FBitmap);
      GDIError();
    }
    FOld = gdi::SelectObject(FDC, FBitmap);
  }
  ~TScratchDC() {
    gdi::SelectObject(FDC, FOld);
    gdi::DeleteDC(FDC);
    gdi::DeleteObject(FBitmap);
  }
  TScratchDC(const TScratchDC&) = delete;
  TScratchDC& operator=(const TScratchDC&) = delete;
  gdi::HDC DC() const { return FDC; }
  gdi::HBITMAP Bitmap() const { return FBitmap; }

 private:
  gdi::HBITMAP FBitmap;
  gdi::HDC FDC = nullptr;
  gdi::HGDIOBJ FOld = nullptr;
};

}  // namespace graphics
