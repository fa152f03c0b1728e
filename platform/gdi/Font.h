// Logical fonts: the description a glyph rasterizer (Glyphs.h) resolves into glyphs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/Object.h"

namespace gdi {

enum FontWeight : int32_t { FW_DONTCARE = 0, FW_THIN = 100, FW_NORMAL = 400, FW_BOLD = 700, FW_HEAVY = 900 };
enum : uint8_t { DEFAULT_CHARSET = 1, OUT_DEFAULT_PRECIS = 0, OUT_TT_ONLY_PRECIS = 7 };

constexpr int LF_FACESIZE = 32;

struct LOGFONT {
  // Negative: the character (em) height in pixels; positive: the cell height (ascent
  // plus descent); 0: the rasterizer's default size.
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;       // 0: the face's own proportions
  int32_t lfEscapement = 0;  // angle of the baseline, tenths of a degree counter-clockwise
  int32_t lfOrientation = 0;
  int32_t lfWeight = FW_NORMAL;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = OUT_DEFAULT_PRECIS;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};  // UTF-8, zero-terminated

  std::string FaceName() const;
  // Stores Name cut to fit, on a character boundary.
  void SetFaceName(const std::string& Name);
};

class FontObject : public GdiObject {
 public:
  explicit FontObject(const LOGFONT& Description) : GdiObject(ObjectKind::Font), Description(Description) {}
  const LOGFONT Description;
};

using HFONT = FontObject*;

HFONT CreateFontIndirect(const LOGFONT* Description);

// The font every DC starts with (DEFAULT_GUI_FONT): "MS Sans Serif", 11 pixels.
const LOGFONT& DefaultFontDescription();

}  // namespace gdi
