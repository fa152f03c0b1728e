#include "gif/MaskedBlit.h"

#include "gif/StreamHelpers.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/RasterOp.h"
#include "platform/graphics/ScratchDC.h"

namespace gif {
namespace {

// Keep the destination where the mask is 1, copy the source where it is 0.
constexpr uint32_t MaskedCopy = gdi::MAKEROP4(0x00AA0029, gdi::SRCCOPY);

void CheckGDI(bool Done) {
  if (!Done) CheckGDIHandleObject(nullptr);
}


// The mask is taken out of its context while the platform's masked blit uses it.
void EqualSizeBlit(gdi::HDC Dest, const base::TRect& DestRect, gdi::HDC Source, int SourceX, int SourceY,
                   gdi::HDC MaskDC, int MaskX, int MaskY) {
  gdi::HBITMAP Placeholder = CheckGDIHandle(gdi::CreateBitmap(1, 1, 1, 1, nullptr));
  auto* Mask = static_cast<gdi::HBITMAP>(gdi::SelectObject(MaskDC, Placeholder));
  const bool Done = gdi::MaskBlt(Dest, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), Source,
                                 SourceX, SourceY, Mask, MaskX, MaskY, MaskedCopy);
  gdi::SelectObject(MaskDC, Mask);
  gdi::DeleteObject(Placeholder);
  CheckGDI(Done);
}

}  // namespace

void MaskedBlit(gdi::HDC Dest, const base::TRect& DestRect, gdi::HDC Source, const base::TRect& SourceRect,
                gdi::HDC MaskDC) {
  if (DestRect.IsEmpty() || SourceRect.IsEmpty()) return;
  if (DestRect.Width() == SourceRect.Width() && DestRect.Height() == SourceRect.Height()) {
    EqualSizeBlit(Dest, DestRect, Source, SourceRect.Left, SourceRect.Top, MaskDC, SourceRect.Left,
                  SourceRect.Top);
    return;
  }
  // Source and mask are stretched to the destination's size first, so the final
  // step only copies or keeps pixels, whatever colour table the destination has.
  const int W = DestRect.Width(), H = DestRect.Height();
  gdi::HDC Screen = CheckGDIHandle(gdi::GetDC(nullptr));
  gdi::HBITMAP Picture = gdi::CreateCompatibleBitmap(Screen, W, H);
  gdi::ReleaseDC(nullptr, Screen);
  graphics::TScratchDC Stretched(Picture);
  graphics::TScratchDC StretchedMask(gdi::CreateBitmap(W, H, 1, 1, nullptr));
  gdi::SetStretchBltMode(Stretched.DC(), gdi::COLORONCOLOR);
  gdi::SetStretchBltMode(StretchedMask.DC(), gdi::COLORONCOLOR);
  CheckGDI(gdi::StretchBlt(Stretched.DC(), 0, 0, W, H, Source, SourceRect.Left, SourceRect.Top, SourceRect.Width(),
                           SourceRect.Height(), gdi::SRCCOPY));
  CheckGDI(gdi::StretchBlt(StretchedMask.DC(), 0, 0, W, H, MaskDC, SourceRect.Left, SourceRect.Top,
                           SourceRect.Width(), SourceRect.Height(), gdi::SRCCOPY));
  EqualSizeBlit(Dest, DestRect, Stretched.DC(), 0, 0, StretchedMask.DC(), 0, 0);
}

}  // namespace gif
