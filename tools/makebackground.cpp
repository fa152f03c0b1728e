// makebackground OUT.bmp: writes the GIF wizard's sample background, a 150 x 100 piece
// of veined marble, with the project's own bitmap writer.
#include <cmath>
#include <cstdio>
#include <exception>

#include "platform/graphics/Bitmap.h"

namespace {

constexpr int Width = 150;
constexpr int Height = 100;

void MakeBackground(const std::string& FileName) {
  graphics::TBitmap Bitmap;
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
  for (int Y = 0; Y < Height; ++Y) {
    uint8_t* Row = Bitmap.ScanLine(Y);
    for (int X = 0; X < Width; ++X) {
      // Veins: a sine across the stone, bent by two slower waves.
      const double Bend = 9 * std::sin(Y * 0.11) + 5 * std::sin((X + Y) * 0.05);
      const double Vein = std::abs(std::sin((X + 0.6 * Y + Bend) * 0.09));
      const double Light = 0.78 + 0.2 * std::pow(Vein, 0.3);
      Row[3 * X] = static_cast<uint8_t>(200 * Light);      // blue
      Row[3 * X + 1] = static_cast<uint8_t>(215 * Light);  // green
      Row[3 * X + 2] = static_cast<uint8_t>(230 * Light);  // red
    }
  }
  Bitmap.Changed(&Bitmap);
  Bitmap.SaveToFile(FileName);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: makebackground OUT.bmp\n");
    return 2;
  }
  try {
    MakeBackground(argv[1]);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "makebackground: %s\n", Error.what());
    return 1;
  }
  return 0;
}
