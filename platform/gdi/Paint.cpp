#include "platform/gdi/Paint.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/LastError.h"

namespace gdi {
namespace {

// The stored bits that carry colour: all of an indexed pixel, the channels of a
// true-colour one.
uint32_t ColorBitsOf(const Surface& Pixels) {
  if (Pixels.Indexed()) return (1u << Pixels.BitCount) - 1;
  return TrueColorCodec(Pixels.Masks).ColorBits();
}

}  // namespace

std::optional<Ink> BrushInk(const DCObject& DC, const BrushObject& Brush, int Mode) {
  if (Brush.Style == BS_NULL) return std::nullopt;
  Ink With;
  With.Color = Brush.Color;
  With.Mode = Mode;
  if (Brush.Style == BS_HATCHED) {
    With.Hatch = Brush.Hatch;
    if (DC.BkMode == OPAQUE) With.Background = DC.BkColor;
  }
  return With;
}

bool DrawingTarget(HDC DC, Surface& Pixels) {
  if (DC == nullptr || DC->Bitmap == nullptr || DC->Bitmap->Bits() == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  Pixels = DC->Bitmap->View();
  return true;
}

PixelSet PixelsOf(const DCObject& DC) { return PixelSet(DC.Bitmap->Format.Width, DC.Bitmap->Format.Height); }

void Paint(const DCObject& DC, const PixelSet& Pixels, const Ink& With) {
  if (Pixels.Empty() || With.Mode < R2_BLACK || With.Mode > R2_WHITE) return;
  const Surface Target = DC.Bitmap->View();
  const uint32_t Bits = ColorBitsOf(Target);
  const uint32_t Fore = ValueOfColor(Target, DC.Resolve(With.Color));
  const bool HasBack = With.Background.has_value();
  const uint32_t Back = HasBack ? ValueOfColor(Target, DC.Resolve(*With.Background)) : 0;
  std::vector<uint32_t> Row;
  for (const PixelRun& Run : Pixels.Runs()) {
    const int32_t Count = Run.Right - Run.Left;
    Row.resize(static_cast<size_t>(Count));
    ReadPixels(Target, Run.Left, Run.Y, Count, Row.data());
    for (int32_t I = 0; I < Count; ++I) {
      uint32_t Value = Fore;
      if (With.Hatch && !HatchCovers(*With.Hatch, Run.Left + I, Run.Y)) {
        if (!HasBack) continue;
        Value = Back;
      }
      const uint32_t D = Row[static_cast<size_t>(I)];
      Row[static_cast<size_t>(I)] = (Rop2(With.Mode, Value, D) & Bits) | (D & ~Bits);
    }
    WritePixels(Target, Run.Left, Run.Y, Count, Row.data());
  }
}

bool FillRectWithBrush(HDC DC, const base::TRect& Rect, HBRUSH Brush) {
  Surface Target;
  if (Brush == nullptr || !DrawingTarget(DC, Target)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  const std::optional<Ink> With = BrushInk(*DC, *Brush, R2_COPYPEN);
  if (!With) return true;
  PixelSet Pixels = PixelsOf(*DC);
  const int32_t Bottom = std::min(Rect.Bottom, Pixels.ClipHeight());
  for (int32_t Y = std::max(Rect.Top, 0); Y < Bottom; ++Y) Pixels.Add(Y, Rect.Left, Rect.Right);
  Paint(*DC, Pixels, *With);
  return true;
}

}  // namespace gdi
