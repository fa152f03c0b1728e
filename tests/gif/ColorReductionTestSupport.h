// Lookups and pixel helpers for the colour reduction tests.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "gif/ColorLookup.h"
#include "gif/DitherEngine.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/Palette.h"

namespace giftest {

struct RGB {
  int R, G, B;
  friend bool operator==(const RGB&, const RGB&) = default;
};

struct PaletteDeleter {
  void operator()(gdi::PaletteObject* P) const { gdi::DeleteObject(P); }
};
using PalettePtr = std::unique_ptr<gdi::PaletteObject, PaletteDeleter>;

inline gdi::HPALETTE MakePalette(const std::vector<RGB>& Colors) {
  gdi::LOGPALETTE L;
  for (const RGB& C : Colors)
    L.palPalEntry.push_back({static_cast<uint8_t>(C.R), static_cast<uint8_t>(C.G), static_cast<uint8_t>(C.B), 0});
  return gdi::CreatePalette(L);
}

// Each channel becomes 0 below 128 and 255 from 128; the index holds one bit per
// channel (red 4, green 2, blue 1). Remembers every colour it was asked for.
class StepLookup : public gif::TColorLookup {
 public:
  StepLookup() : TColorLookup(8) {}
  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override {
    Asked.push_back({Red, Green, Blue});
    R = Red >= 128 ? 255 : 0;
    G = Green >= 128 ? 255 : 0;
    B = Blue >= 128 ? 255 : 0;
    return static_cast<uint8_t>((R & 4) | (G & 2) | (B & 1));
  }
  std::vector<RGB> Asked;
};

// A picture of Width x Height colours, rows from the top.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<RGB> Pixels;
  const RGB& At(int X, int Y) const { return Pixels[static_cast<size_t>(Y * Width + X)]; }
};

inline Picture RandomPicture(int Width, int Height, unsigned Seed) {
  std::mt19937 Random(Seed);
  std::uniform_int_distribution<int> Level(0, 255);
  Picture P{Width, Height, {}};
  for (int I = 0; I < Width * Height; ++I) P.Pixels.push_back({Level(Random), Level(Random), Level(Random)});
  return P;
}

struct Visit {
  int X, Y;
  uint8_t Index;
  friend bool operator==(const Visit&, const Visit&) = default;
};

// Runs Ditherer over the picture the way colour reduction does and returns the
// pixels in the order they were visited.
inline std::vector<Visit> RunDitherer(gif::TDitherEngine& Ditherer, const Picture& P) {
  std::vector<Visit> Result;
  for (int Y = 0; Y < P.Height; ++Y) {
    while (Ditherer.Column() >= 0 && Ditherer.Column() < P.Width) {
      const int X = Ditherer.Column();
      const RGB& C = P.At(X, Y);
      uint8_t R, G, B;
      const uint8_t Index =
          Ditherer.Dither(static_cast<uint8_t>(C.R), static_cast<uint8_t>(C.G), static_cast<uint8_t>(C.B), R, G, B);
      Result.push_back({X, Y, Index});
    }
    Ditherer.TurnRow();
  }
  return Result;
}

}  // namespace giftest
