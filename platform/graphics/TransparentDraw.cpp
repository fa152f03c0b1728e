#include "platform/graphics/TransparentDraw.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/RasterOp.h"
#include "platform/graphics/BitmapDC.h"
#include "platform/graphics/GDIError.h"
#include "platform/graphics/ScratchDC.h"

namespace graphics {
namespace {

constexpr uint32_t KeepWhereMaskIsSet = gdi::MAKEROP4(0x00AA0029, gdi::SRCCOPY);


}  // namespace

void TransparentStretchBlt(gdi::HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, gdi::HDC Source,
                           int32_t SourceX, int32_t SourceY, int32_t SourceWidth, int32_t SourceHeight,
                           gdi::HBITMAP Mask) {
  if (Width <= 0 || Height <= 0 || SourceWidth <= 0 || SourceHeight <= 0) return;
  // The mask and the picture are first brought to the destination's size, so that one
  // masked blit without stretching does the drawing.
  TScratchDC MaskPart(GDICheck(gdi::CreateBitmap(Width, Height, 1, 1, nullptr)));
  {
    const TBitmapDC Whole(Mask);
    gdi::StretchBlt(MaskPart.DC(), 0, 0, Width, Height, Whole.Handle(), SourceX, SourceY, SourceWidth, SourceHeight,
                    gdi::SRCCOPY);
  }
  TScratchDC Picture(GDICheck(gdi::CreateCompatibleBitmap(Source, Width, Height)));
  gdi::SetStretchBltMode(Picture.DC(), gdi::COLORONCOLOR);
  gdi::StretchBlt(Picture.DC(), 0, 0, Width, Height, Source, SourceX, SourceY, SourceWidth, SourceHeight,
                  gdi::SRCCOPY);
  gdi::HBITMAP Stretched = static_cast<gdi::HBITMAP>(gdi::GetCurrentObject(MaskPart.DC(), gdi::OBJ_BITMAP));
  gdi::MaskBlt(Dest, X, Y, Width, Height, Picture.DC(), 0, 0, Stretched, 0, 0, KeepWhereMaskIsSet);
}

}  // namespace graphics
