#include "platform/gdi/Text.h"

#include <algorithm>
#include <optional>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/TextRun.h"

namespace gdi {
namespace {

GlyphRasterizer* Rasterizer(HDC DC) {
  if (DC == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  GlyphRasterizer* Glyphs = CurrentGlyphRasterizer();
  if (Glyphs == nullptr) SetLastError(ERROR_INVALID_PARAMETER);
  return Glyphs;
}

}  // namespace

bool TextOut(HDC DC, int32_t X, int32_t Y, std::string_view Text) {
  return ExtTextOut(DC, X, Y, 0, nullptr, Text, nullptr);
}

bool ExtTextOut(HDC DC, int32_t X, int32_t Y, uint32_t Options, const base::TRect* Rect, std::string_view Text,
                const int32_t* Dx) {
  GlyphRasterizer* Glyphs = Rasterizer(DC);
  Surface Target;
  if (Glyphs == nullptr || !DrawingTarget(DC, Target)) return false;
  if (Rect != nullptr && (Options & ETO_OPAQUE) != 0) {
    PixelSet Box = PixelsOf(*DC);
    for (int32_t Row = std::max(Rect->Top, 0); Row < std::min(Rect->Bottom, Target.Height); ++Row)
      Box.Add(Row, Rect->Left, Rect->Right);
    Ink Background;
    Background.Color = DC->BkColor;
    Paint(*DC, Box, Background);
  }
  TextRun Run;
  Run.Text = Text;
  Run.Dx = Dx;
  Run.X = X;
  Run.Y = Y;
  Run.Align = DC->TextAlign;
  Run.Escapement = DC->Font->Description.lfEscapement;
  // A filled rectangle already is the background.
  Run.Opaque = DC->BkMode == OPAQUE && !(Rect != nullptr && (Options & ETO_OPAQUE) != 0);
  Run.Clip = Rect != nullptr && (Options & ETO_CLIPPED) != 0 ? Rect : nullptr;
  PaintTextRun(*DC, *Glyphs, Run);
  return true;
}

bool GetTextExtentPoint32(HDC DC, std::string_view Text, SIZE* Size) {
  GlyphRasterizer* Glyphs = Rasterizer(DC);
  if (Glyphs == nullptr || Size == nullptr) return false;
  Size->cx = Glyphs->Advance(DC->Font->Description, Text);
  Size->cy = Glyphs->Metrics(DC->Font->Description).Height();
  return true;
}

bool GetTextMetrics(HDC DC, TEXTMETRIC* Metrics) {
  GlyphRasterizer* Glyphs = Rasterizer(DC);
  if (Glyphs == nullptr || Metrics == nullptr) return false;
  const LOGFONT& Font = DC->Font->Description;
  const FontMetrics M = Glyphs->Metrics(Font);
  Metrics->tmHeight = M.Height();
  Metrics->tmAscent = M.Ascent;
  Metrics->tmDescent = M.Descent;
  Metrics->tmInternalLeading = M.InternalLeading;
  Metrics->tmExternalLeading = M.ExternalLeading;
  Metrics->tmAveCharWidth = M.AveCharWidth;
  Metrics->tmMaxCharWidth = M.MaxCharWidth;
  Metrics->tmWeight = Font.lfWeight == FW_DONTCARE ? FW_NORMAL : Font.lfWeight;
  Metrics->tmItalic = Font.lfItalic;
  Metrics->tmUnderlined = Font.lfUnderline;
  Metrics->tmStruckOut = Font.lfStrikeOut;
  return true;
}

}  // namespace gdi
