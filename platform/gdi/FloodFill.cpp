#include "platform/gdi/FloodFill.h"

#include <optional>
#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"

namespace gdi {
namespace {

// Which pixels may be filled: those showing the colour (surface) or not showing it
// (border), not yet taken.
class Area {
 public:
  Area(const Surface& Pixels, XRGB Color, bool Surface)
      : Width(Pixels.Width), Open(static_cast<size_t>(Pixels.Width) * static_cast<size_t>(Pixels.Height)) {
    std::vector<uint8_t> Shows;  // per stored value of an indexed bitmap
    if (Pixels.Indexed()) {
      Shows.resize(size_t{1} << Pixels.BitCount);
      for (uint32_t V = 0; V < Shows.size(); ++V) Shows[V] = ColorOfValue(Pixels, V) == Color;
    }
    const TrueColorCodec Codec(Pixels.Masks);
    std::vector<uint32_t> Row(static_cast<size_t>(Pixels.Width));
    for (int32_t Y = 0; Y < Pixels.Height; ++Y) {
      ReadPixels(Pixels, 0, Y, Pixels.Width, Row.data());
      uint8_t* Out = &Open[static_cast<size_t>(Y) * static_cast<size_t>(Width)];
      for (size_t X = 0; X < Row.size(); ++X) {
        const bool Match = Pixels.Indexed() ? Shows[Row[X]] != 0 : Codec.Decode(Row[X]) == Color;
        Out[X] = Match == Surface;
      }
    }
  }
  bool IsOpen(int32_t X, int32_t Y) const { return Open[Index(X, Y)] != 0; }
  void Take(int32_t X, int32_t Y) { Open[Index(X, Y)] = 0; }

 private:
  size_t Index(int32_t X, int32_t Y) const { return static_cast<size_t>(Y) * static_cast<size_t>(Width) + X; }
  int32_t Width;
  std::vector<uint8_t> Open;
};

}  // namespace

bool ExtFloodFill(HDC DC, int32_t X, int32_t Y, COLORREF Color, uint32_t Type) {
  Surface Pixels;
  if (!DrawingTarget(DC, Pixels)) return false;
  if (X < 0 || Y < 0 || X >= Pixels.Width || Y >= Pixels.Height) return false;
  Area Fillable(Pixels, DC->Resolve(Color), Type == FLOODFILLSURFACE);
  if (!Fillable.IsOpen(X, Y)) return false;
  PixelSet Filled = PixelsOf(*DC);
  std::vector<base::TPoint> Seeds{{X, Y}};
  while (!Seeds.empty()) {
    const base::TPoint Seed = Seeds.back();
    Seeds.pop_back();
    if (!Fillable.IsOpen(Seed.X, Seed.Y)) continue;
    int32_t Left = Seed.X, Right = Seed.X + 1;
    while (Left > 0 && Fillable.IsOpen(Left - 1, Seed.Y)) --Left;
    while (Right < Pixels.Width && Fillable.IsOpen(Right, Seed.Y)) ++Right;
    for (int32_t C = Left; C < Right; ++C) Fillable.Take(C, Seed.Y);
    Filled.Add(Seed.Y, Left, Right);
    // One seed for every open stretch next to the run, above and below.
    for (const int32_t Row : {Seed.Y - 1, Seed.Y + 1}) {
      if (Row < 0 || Row >= Pixels.Height) continue;
      bool InStretch = false;
      for (int32_t C = Left; C < Right; ++C) {
        const bool Open = Fillable.IsOpen(C, Row);
        if (Open && !InStretch) Seeds.push_back({C, Row});
        InStretch = Open;
      }
    }
  }
  if (const std::optional<Ink> With = BrushInk(*DC, *DC->Brush, R2_COPYPEN)) Paint(*DC, Filled, *With);
  return true;
}

bool FloodFill(HDC DC, int32_t X, int32_t Y, COLORREF Color) { return ExtFloodFill(DC, X, Y, Color, FLOODFILLBORDER); }

}  // namespace gdi
