#include "platform/gdi/Blit.h"

#include <cstring>
#include <optional>
#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/Transfer.h"

namespace gdi {
namespace {

bool Refuse(uint32_t Code) {
  SetLastError(Code);
  return false;
}

bool HoldsBitmap(HDC DC) { return DC != nullptr && DC->Bitmap != nullptr; }

// A source that is also the destination is read from a copy, so that overlapping
// rectangles copy as if all pixels were read first.
class SourcePixels {
 public:
  SourcePixels(const BitmapObject& Source, const BitmapObject& Dest) : View(Source.View()) {
    if (&Source != &Dest) return;
    Copy.assign(View.Bits, View.Bits + Source.Format.ImageBytes());
    View.Bits = Copy.data();
  }
  Surface View;

 private:
  std::vector<uint8_t> Copy;
};

struct Blit {
  HDC Dest;
  int32_t X, Y, Width, Height;
  HDC Source;
  int32_t SourceX, SourceY, SourceWidth, SourceHeight;
  uint8_t Foreground, Background;
  HBITMAP Mask = nullptr;
  int32_t MaskX = 0, MaskY = 0;
  int StretchMode = COLORONCOLOR;
};

bool Run(const Blit& B, XRGB Pattern) {
  if (!HoldsBitmap(B.Dest)) return Refuse(ERROR_INVALID_HANDLE);
  const bool NeedsSource = RopUsesSource(B.Foreground) || (B.Mask != nullptr && RopUsesSource(B.Background));
  if (NeedsSource && !HoldsBitmap(B.Source)) return Refuse(ERROR_INVALID_HANDLE);
  const Surface Dest = B.Dest->Bitmap->View();
  std::optional<SourcePixels> Source;
  std::optional<Surface> Mask;
  TransferRequest T;
  T.Destination = &Dest;
  T.DstX = B.X;
  T.DstY = B.Y;
  T.DstWidth = B.Width;
  T.DstHeight = B.Height;
  T.Foreground = B.Foreground;
  T.Background = B.Background;
  T.Pattern = Pattern;
  T.StretchMode = B.StretchMode;
  if (NeedsSource) {
    Source.emplace(*B.Source->Bitmap, *B.Dest->Bitmap);
    T.Source = &Source->View;
    T.SrcX = B.SourceX;
    T.SrcY = B.SourceY;
    T.SrcWidth = B.SourceWidth;
    T.SrcHeight = B.SourceHeight;
    T.Rules.Apply = true;
    T.Rules.Zero = B.Dest->Resolve(B.Dest->TextColor);
    T.Rules.One = B.Dest->Resolve(B.Dest->BkColor);
    T.Rules.Key = B.Source->Resolve(B.Source->BkColor);
  }
  if (B.Mask != nullptr) {
    Mask.emplace(B.Mask->View());
    T.Mask = &*Mask;
    T.MaskX = B.MaskX;
    T.MaskY = B.MaskY;
  }
  Transfer(T);
  return true;
}

XRGB BrushColor(HDC DC) { return DC->Resolve(DC->Brush->Color); }

}  // namespace

bool BitBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
            int32_t SourceY, uint32_t Rop) {
  return StretchBlt(Dest, X, Y, Width, Height, Source, SourceX, SourceY, Width, Height, Rop);
}

bool StretchBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
                int32_t SourceY, int32_t SourceWidth, int32_t SourceHeight, uint32_t Rop) {
  if (Dest == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  const Blit B{Dest,        X,          Y,           Width,        Height,       Source,
               SourceX,     SourceY,    SourceWidth, SourceHeight, RopIndex(Rop), RopIndex(Rop),
               nullptr,     0,          0,           Dest->StretchBltMode};
  return Run(B, BrushColor(Dest));
}

bool MaskBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
             int32_t SourceY, HBITMAP Mask, int32_t MaskX, int32_t MaskY, uint32_t Rop4) {
  if (Mask == nullptr) return BitBlt(Dest, X, Y, Width, Height, Source, SourceX, SourceY, Rop4 & 0x00FFFFFF);
  if (Dest == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  const DIBFormat& M = Mask->Format;
  if (M.BitCount != 1 || Width < 0 || Height < 0 || MaskX < 0 || MaskY < 0 || int64_t{MaskX} + Width > M.Width ||
      int64_t{MaskY} + Height > M.Height)
    return Refuse(ERROR_INVALID_PARAMETER);
  const Blit B{Dest,    X,       Y,     Width,  Height, Source, SourceX, SourceY, Width, Height,
               static_cast<uint8_t>(Rop4 >> 16), static_cast<uint8_t>(Rop4 >> 24), Mask, MaskX, MaskY};
  return Run(B, BrushColor(Dest));
}

bool PatBlt(HDC DC, int32_t X, int32_t Y, int32_t Width, int32_t Height, uint32_t Rop) {
  if (RopUsesSource(RopIndex(Rop))) return Refuse(ERROR_INVALID_PARAMETER);
  return BitBlt(DC, X, Y, Width, Height, nullptr, 0, 0, Rop);
}

bool FillRect(HDC DC, const base::TRect& Rect, HBRUSH Brush) {
  if (DC == nullptr || Brush == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  if (Rect.IsEmpty()) return true;
  const Blit B{DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), nullptr, 0, 0, 0, 0, RopIndex(PATCOPY),
               RopIndex(PATCOPY)};
  return Run(B, DC->Resolve(Brush->Color));
}

}  // namespace gdi
