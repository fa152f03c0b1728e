// Helpers of the bitmap and canvas tests: bitmaps of every kind and colour grids.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

namespace bitmaptest {

using graphics::TBitmap;
using graphics::TColor;
using graphics::TPixelFormat;

// A kind of bitmap: a pixel format, or a monochrome device bitmap.
struct TKind {
  const char* Name;
  TPixelFormat Format;
  bool Mono = false;
};

inline const TKind Kinds[] = {
    {"Device", graphics::pfDevice},  {"MonoDevice", graphics::pfDevice, true},
    {"Bits1", graphics::pf1bit},     {"Bits4", graphics::pf4bit},
    {"Bits8", graphics::pf8bit},     {"Bits15", graphics::pf15bit},
    {"Bits16", graphics::pf16bit},   {"Bits24", graphics::pf24bit},
    {"Bits32", graphics::pf32bit},
};

inline bool TwoColors(const TKind& K) { return K.Mono || K.Format == graphics::pf1bit; }

inline void MakeKind(TBitmap& B, const TKind& K) {
  if (K.Mono) {
    B.SetPixelFormat(graphics::pfDevice);
    B.SetMonochrome(true);
  } else {
    B.SetPixelFormat(K.Format);
    // A black-and-white pf1bit picture becomes a monochrome device bitmap.
    if (K.Format == graphics::pfDevice) B.SetMonochrome(false);
  }
}

// Colours every kind stores exactly: the eight corners of the colour cube, or only
// black and white.
inline std::vector<TColor> ExactColors(bool OnlyBlackAndWhite) {
  if (OnlyBlackAndWhite) return {0x000000, 0xFFFFFF};
  return {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF};
}

// The colour of (X, Y) in a grid made of Colors.
inline TColor GridColor(const std::vector<TColor>& Colors, int X, int Y) {
  return Colors[(X * 3 + Y * 5) % Colors.size()];
}

inline void PaintGrid(TBitmap& B, const std::vector<TColor>& Colors) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) B.Canvas().SetPixels(X, Y, GridColor(Colors, X, Y));
}

// "" when every pixel shows its grid colour, else the first that does not.
inline std::string GridDifference(TBitmap& B, const std::vector<TColor>& Colors) {
  for (int Y = 0; Y < B.Height(); ++Y)
    for (int X = 0; X < B.Width(); ++X) {
      const TColor Got = B.Canvas().Pixels(X, Y);
      if (Got != GridColor(Colors, X, Y))
        return "(" + std::to_string(X) + ", " + std::to_string(Y) + ") shows " + std::to_string(Got) + " not " +
               std::to_string(GridColor(Colors, X, Y));
    }
  return "";
}

// A 24-bit bitmap of W x H holding the grid.
inline void MakeGrid(TBitmap& B, int W, int H, const std::vector<TColor>& Colors) {
  B.SetPixelFormat(graphics::pf24bit);
  B.SetWidth(W);
  B.SetHeight(H);
  PaintGrid(B, Colors);
}

}  // namespace bitmaptest
