// Shared helpers of the picture tests: synthetic images, error measures, little-endian
// byte building and ImageMagick in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/graphics/BmpCodec.h"

namespace picturetest {

using Bytes = std::vector<uint8_t>;

inline void Put(Bytes& B, uint64_t Value, int Size) {
  for (int I = 0; I < Size; ++I) B.push_back(static_cast<uint8_t>(Value >> (8 * I)));
}
inline void PutAt(Bytes& B, size_t At, uint64_t Value, int Size) {
  for (int I = 0; I < Size; ++I) B.at(At + I) = static_cast<uint8_t>(Value >> (8 * I));
}

// Blue, green, red of pixel (X, Y), Y counted from the top.
inline const uint8_t* Pixel24(const graphics::TDIBImage& Image, int X, int Y) {
  return Image.Bits.data() + (Image.Height - 1 - Y) * Image.RowBytes() + X * (Image.BitCount / 8);
}

// A smooth 24-bit picture: two gradients and a bright disc, friendly to lossy coding.
inline graphics::TDIBImage Gradient(int W, int H) {
  graphics::TDIBImage Image;
  Image.Width = W;
  Image.Height = H;
  Image.BitCount = 24;
  Image.Bits.resize(Image.RowBytes() * H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      auto* P = const_cast<uint8_t*>(Pixel24(Image, X, Y));
      const double D = std::hypot(X - W / 2.0, Y - H / 2.0);
      const int Disc = D < H / 4.0 ? 80 : 0;
      P[0] = static_cast<uint8_t>(std::min(255, 255 * X / W + Disc / 2));
      P[1] = static_cast<uint8_t>(std::min(255, 255 * Y / H + Disc));
      P[2] = static_cast<uint8_t>(std::min(255, 128 + 127 * (X + Y) / (W + H) - Disc / 4));
    }
  return Image;
}

// Peak signal-to-noise ratio of two 24-bit images of the same size, in dB.
inline double PSNR(const graphics::TDIBImage& A, const graphics::TDIBImage& B) {
  double Sum = 0;
  for (int Y = 0; Y < A.Height; ++Y)
    for (int X = 0; X < A.Width * 3; ++X) {
      const double D = double(Pixel24(A, 0, Y)[X]) - Pixel24(B, 0, Y)[X];
      Sum += D * D;
    }
  const double Mse = Sum / (A.Width * A.Height * 3.0);
  return Mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / Mse);
}

inline Bytes LoadFile(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}
inline void SaveFile(const std::filesystem::path& Path, const Bytes& Data) {
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), Data.size());
}

// A scratch folder removed afterwards, with ImageMagick's convert run inside it.
class TScratch {
 public:
  TScratch() {
    char Pattern[] = "/tmp/animora-picture-XXXXXX";
    Dir = mkdtemp(Pattern);
  }
  ~TScratch() { std::filesystem::remove_all(Dir); }
  TScratch(const TScratch&) = delete;
  TScratch& operator=(const TScratch&) = delete;

  std::filesystem::path operator/(const std::string& Name) const { return Dir / Name; }

  // Whether convert can write a PNG here (it must work, not merely exist).
  static bool MagickAvailable() {
    static const bool Answers = [] {
      const TScratch Probe;
      return Probe.Convert("-size 1x1 xc:red p.png") && std::filesystem::exists(Probe / "p.png");
    }();
    return Answers;
  }
  bool Convert(const std::string& Arguments) const {
    const std::string Command = "cd '" + Dir.string() + "' && convert " + Arguments + " >/dev/null 2>&1";
    return std::system(Command.c_str()) == 0;
  }

 private:
  std::filesystem::path Dir;
};

#define REQUIRE_MAGICK() \
  if (!picturetest::TScratch::MagickAvailable()) GTEST_SKIP() << "ImageMagick's convert is not installed"

}  // namespace picturetest
