// One line of text painted on a DC's bitmap: the engine behind TextOut, ExtTextOut
// and DrawText. The run's cell (advance x cell height) is placed by the alignment,
// turned by the escapement about the reference point, optionally clipped, and its
// glyph pixels get the text colour (never combined by the binary raster operation);
// an opaque run paints the rest of its cell with the background colour.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/Types.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Glyphs.h"

namespace gdi {

struct TextRun {
  std::string_view Text;
  const int32_t* Dx = nullptr;  // advances of the code points; none: the font's own
  int32_t X = 0;
  int32_t Y = 0;
  uint32_t Align = TA_LEFT | TA_TOP;
  int32_t Escapement = 0;  // tenths of a degree
  bool Opaque = false;
  const base::TRect* Clip = nullptr;
  // Columns of the run to underline besides the font's own underline (a mnemonic).
  std::optional<std::pair<int32_t, int32_t>> Underline;
};

// The byte ranges of the code points of a UTF-8 text; a byte that starts no valid
// sequence is one code point of its own.
std::vector<std::string_view> CodePoints(std::string_view Text);

// The run's advance width with the font selected into DC.
int32_t RunAdvance(const DCObject& DC, GlyphRasterizer& Glyphs, const TextRun& Run);

// Paints Run on DC's bitmap (the DC holds one).
void PaintTextRun(const DCObject& DC, GlyphRasterizer& Glyphs, const TextRun& Run);

}  // namespace gdi
