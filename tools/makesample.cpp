// makesample OUT.gif: writes a small looping animation (a ball bouncing over a floor)
// with the project's GIF library, so the editor has something to open on a fresh
// checkout and the library's writer is exercised on every build.
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>

#include "gif/GIFImage.h"

namespace {

constexpr int Width = 160;
constexpr int Height = 120;
constexpr int FrameCount = 12;
constexpr int Radius = 14;
enum : uint8_t { Sky, Floor, Ball, Shine };

void DrawFrame(gif::TGIFSubImage& Frame, int Index) {
  const double Phase = static_cast<double>(Index) / FrameCount;
  const int CentreX = Radius + static_cast<int>(Phase * (Width - 2 * Radius));
  const int FloorY = Height - 20;
  const int CentreY = FloorY - Radius - static_cast<int>(std::abs(std::sin(Phase * 2 * M_PI)) * 60);
  for (int Y = 0; Y < Height; ++Y) {
    uint8_t* Row = Frame.Scanline(Y);
    for (int X = 0; X < Width; ++X) {
      const int DX = X - CentreX;
      const int DY = Y - CentreY;
      uint8_t Colour = Y >= FloorY ? Floor : Sky;
      if (DX * DX + DY * DY <= Radius * Radius) Colour = (DX + 5) * (DX + 5) + (DY + 5) * (DY + 5) < 20 ? Shine : Ball;
      Row[X] = Colour;
    }
  }
}

void MakeSample(const std::string& FileName) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(Width);
  Image.Header().SetScreenHeight(Height);
  for (base::TColor Colour : {base::TColor{0xF0D8A0}, base::TColor{0x306040}, base::TColor{0x2050E0},
                              base::TColor{0xFFFFFF}})
    Image.GetGlobalColorMap()->Add(Colour);
  for (int Index = 0; Index < FrameCount; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, Width, Height);
    Frame->AllocatePixels();
    DrawFrame(*Frame, Index);
    if (Index == 0) {
      auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(Frame.get());
      Loop->SetLoops(0);
      Frame->Extensions()->Add(std::move(Loop));
    }
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(8);
    Frame->SetGraphicControlExtension(Control.get());
    Frame->Extensions()->Add(std::move(Control));
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: makesample OUT.gif\n");
    return 2;
  }
  try {
    MakeSample(argv[1]);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "makesample: %s\n", Error.what());
    return 1;
  }
  return 0;
}
