#include "platform/gdi/Blit.h"

#include <optional>
#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"
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

TransferRequest Rectangles(int32_t X, int32_t Y, int32_t Width, int32_t Height, int32_t SourceX, int32_t SourceY,
                           int32_t SourceWidth, int32_t SourceHeight) {
  TransferRequest T;
  T.DstX = X;
  T.DstY = Y;
  T.DstWidth = Width;
  T.DstHeight = Height;
  T.SrcX = SourceX;
  T.SrcY = SourceY;
  T.SrcWidth = SourceWidth;
  T.SrcHeight = SourceHeight;
  return T;
}

// Runs T on Dest's bitmap with Dest's colours, reading Source's bitmap when an
// operation needs it.
bool Run(HDC Dest, HDC Source, TransferRequest T, XRGB Pattern, HBITMAP Mask) {
  if (!HoldsBitmap(Dest)) return Refuse(ERROR_INVALID_HANDLE);
  const bool NeedsSource = RopUsesSource(T.Foreground) || (Mask != nullptr && RopUsesSource(T.Background));
  if (NeedsSource && !HoldsBitmap(Source)) return Refuse(ERROR_INVALID_HANDLE);
  const Surface Pixels = Dest->Bitmap->View();
  T.Destination = &Pixels;
  T.Pattern = Pattern;
  T.StretchMode = Dest->StretchBltMode;
  std::optional<SourcePixels> Read;
  if (NeedsSource) {
    Read.emplace(*Source->Bitmap, *Dest->Bitmap);
    T.Source = &Read->View;
    T.Rules.Apply = true;
    T.Rules.Zero = Dest->Resolve(Dest->TextColor);
    T.Rules.One = Dest->Resolve(Dest->BkColor);
    T.Rules.Key = Source->Resolve(Source->BkColor);
  }
  std::optional<Surface> Bits;
  if (Mask != nullptr) {
    Bits.emplace(Mask->View());
    T.Mask = &*Bits;
  }
  Transfer(T);
  return true;
}

}  // namespace

bool BitBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX, int32_t SourceY,
            uint32_t Rop) {
  return StretchBlt(Dest, X, Y, Width, Height, Source, SourceX, SourceY, Width, Height, Rop);
}

bool StretchBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
                int32_t SourceY, int32_t SourceWidth, int32_t SourceHeight, uint32_t Rop) {
  if (Dest == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  TransferRequest T = Rectangles(X, Y, Width, Height, SourceX, SourceY, SourceWidth, SourceHeight);
  T.Foreground = T.Background = RopIndex(Rop);
  return Run(Dest, Source, T, Dest->Resolve(Dest->Brush->Color), nullptr);
}

bool MaskBlt(HDC Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height, HDC Source, int32_t SourceX,
             int32_t SourceY, HBITMAP Mask, int32_t MaskX, int32_t MaskY, uint32_t Rop4) {
  if (Mask == nullptr) return BitBlt(Dest, X, Y, Width, Height, Source, SourceX, SourceY, Rop4 & 0x00FFFFFF);
  if (Dest == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  const DIBFormat& M = Mask->Format;
  if (M.BitCount != 1 || Width < 0 || Height < 0 || MaskX < 0 || MaskY < 0 || int64_t{MaskX} + Width > M.Width ||
      int64_t{MaskY} + Height > M.Height)
    return Refuse(ERROR_INVALID_PARAMETER);
  TransferRequest T = Rectangles(X, Y, Width, Height, SourceX, SourceY, Width, Height);
  T.Foreground = static_cast<uint8_t>(Rop4 >> 16);
  T.Background = static_cast<uint8_t>(Rop4 >> 24);
  T.MaskX = MaskX;
  T.MaskY = MaskY;
  return Run(Dest, Source, T, Dest->Resolve(Dest->Brush->Color), Mask);
}

bool PatBlt(HDC DC, int32_t X, int32_t Y, int32_t Width, int32_t Height, uint32_t Rop) {
  if (RopUsesSource(RopIndex(Rop))) return Refuse(ERROR_INVALID_PARAMETER);
  return BitBlt(DC, X, Y, Width, Height, nullptr, 0, 0, Rop);
}

bool FillRect(HDC DC, const base::TRect& Rect, HBRUSH Brush) {
  if (DC == nullptr || Brush == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  if (Rect.IsEmpty()) return true;
  if (Brush->Style != BS_SOLID) return FillRectWithBrush(DC, Rect, Brush);
  TransferRequest T = Rectangles(Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), 0, 0, 0, 0);
  T.Foreground = T.Background = RopIndex(PATCOPY);
  return Run(DC, nullptr, T, DC->Resolve(Brush->Color), nullptr);
}

}  // namespace gdi
