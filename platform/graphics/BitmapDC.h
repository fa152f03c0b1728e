// A device context holding a given bitmap for the length of one operation: the one it
// is already selected into, or a memory DC made for it and freed afterwards.
#pragma once

#include "platform/gdi/DC.h"

namespace graphics {

class TBitmapDC {
 public:
  explicit TBitmapDC(gdi::HBITMAP Bitmap);
  ~TBitmapDC();
  TBitmapDC(const TBitmapDC&) = delete;
  TBitmapDC& operator=(const TBitmapDC&) = delete;

  gdi::HDC Handle() const { return FDC; }

 private:
  gdi::HDC FDC = nullptr;
  gdi::HGDIOBJ FOld = nullptr;
  bool FOwned = false;
};

}  // namespace graphics
