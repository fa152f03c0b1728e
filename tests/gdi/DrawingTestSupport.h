// Fixtures for the drawing and text tests: a glyph rasterizer with fixed boxes for
// glyphs, and helpers that look at the pixels a drawing left.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "GdiTestSupport.h"
#include "platform/gdi/Glyphs.h"
#include "platform/gdi/Lines.h"

namespace gdi::testing {

// Every code point advances Step pixels (twice that in a bold font) and, unless it
// is a space, has ink in columns 1 to Step - 2 from row 1 to the baseline. The cell
// is Ascent + Descent rows: the font's |lfHeight| when given, else 10.
class BoxRasterizer : public GlyphRasterizer {
 public:
  static constexpr int32_t Step = 6;

  FontMetrics Metrics(const LOGFONT& Font) override {
    FontMetrics M;
    const int32_t Height = Font.lfHeight == 0 ? 10 : std::max(std::abs(Font.lfHeight), 4);
    M.Ascent = Height - Height / 5;
    M.Descent = Height / 5;
    M.AveCharWidth = Width(Font);
    M.MaxCharWidth = Width(Font);
    M.UnderlinePosition = 1;
    M.StrikeoutPosition = M.Ascent / 2;
    return M;
  }
  int32_t Advance(const LOGFONT& Font, std::string_view Text) override {
    return Width(Font) * static_cast<int32_t>(Count(Text));
  }
  GlyphMask Render(const LOGFONT& Font, std::string_view Text) override {
    const FontMetrics M = Metrics(Font);
    GlyphMask Mask;
    Mask.Width = Advance(Font, Text);
    Mask.Height = M.Height();
    Mask.Coverage.assign(static_cast<size_t>(Mask.Width) * Mask.Height, 0);
    int32_t X = 0;
    for (size_t I = 0; I < Text.size(); ++I) {
      if ((static_cast<uint8_t>(Text[I]) & 0xC0) == 0x80) continue;
      if (Text[I] != ' ')
        for (int32_t Row = 1; Row < M.Ascent; ++Row)
          for (int32_t C = 1; C < Width(Font) - 1; ++C)
            Mask.Coverage[static_cast<size_t>(Row) * Mask.Width + X + C] = 1;
      X += Width(Font);
    }
    return Mask;
  }

 private:
  static int32_t Width(const LOGFONT& Font) { return Font.lfWeight >= FW_BOLD ? 2 * Step : Step; }
  static size_t Count(std::string_view Text) {
    return static_cast<size_t>(
        std::count_if(Text.begin(), Text.end(), [](char C) { return (static_cast<uint8_t>(C) & 0xC0) != 0x80; }));
  }
};

// Installs a BoxRasterizer for the life of a test.
class WithBoxGlyphs : public ::testing::Test {
 protected:
  WithBoxGlyphs() : Previous(SetGlyphRasterizer(&Glyphs)) {}
  ~WithBoxGlyphs() override { SetGlyphRasterizer(Previous); }
  BoxRasterizer Glyphs;

 private:
  GlyphRasterizer* Previous;
};

// The smallest rectangle holding every pixel of Color; empty when there is none.
inline base::TRect Extent(const Canvas& C, COLORREF Color) {
  base::TRect R{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t Y = 0; Y < C.Bitmap->Format.Height; ++Y)
    for (int32_t X = 0; X < C.Bitmap->Format.Width; ++X)
      if (C.Color(X, Y) == Color)
        R = {std::min(R.Left, X), std::min(R.Top, Y), std::max(R.Right, X + 1), std::max(R.Bottom, Y + 1)};
  return R.Left == INT32_MAX ? base::TRect{} : R;
}

inline int CountOf(const Canvas& C, COLORREF Color) {
  int N = 0;
  for (int32_t Y = 0; Y < C.Bitmap->Format.Height; ++Y)
    for (int32_t X = 0; X < C.Bitmap->Format.Width; ++X) N += C.Color(X, Y) == Color;
  return N;
}

// Selects an object for the life of a scope and deletes it afterwards.
class Selected {
 public:
  Selected(HDC DC, HGDIOBJ Object) : DC(DC), Object(Object), Old(SelectObject(DC, Object)) {}
  ~Selected() {
    SelectObject(DC, Old);
    DeleteObject(Object);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC DC;
  HGDIOBJ Object;
  HGDIOBJ Old;
};

}  // namespace gdi::testing
