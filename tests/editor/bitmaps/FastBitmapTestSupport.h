// Helpers of the fast-bitmap tests: images filled from pixel tables and a temporary
// folder for their files.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/bitmaps/Fast256.h"
#include "editor/bitmaps/FastBMP.h"

namespace fasttest {

using TRGB = std::array<uint8_t, 3>;  // red, green, blue

inline void SetPixel(editor::TFastBMP& Image, int X, int Y, TRGB C) {
  uint8_t* P = Image.Row(Y) + 3 * X;
  P[0] = C[2];
  P[1] = C[1];
  P[2] = C[0];
}
inline TRGB GetPixel(const editor::TFastBMP& Image, int X, int Y) {
  const uint8_t* P = Image.Row(Y) + 3 * X;
  return {P[2], P[1], P[0]};
}

// An 8-bit image whose index at (x, y) is Indexes[y][x] (memory rows).
inline void Fill(editor::TFast256& Image, const std::vector<std::vector<uint8_t>>& Indexes) {
  Image.SetSize(static_cast<int>(Indexes[0].size()), static_cast<int>(Indexes.size()));
  for (size_t Y = 0; Y < Indexes.size(); ++Y)
    for (size_t X = 0; X < Indexes[Y].size(); ++X) Image.Row(static_cast<int>(Y))[X] = Indexes[Y][X];
}
inline std::vector<std::vector<uint8_t>> Indexes(const editor::TFast256& Image) {
  std::vector<std::vector<uint8_t>> Out(Image.Height());
  for (int Y = 0; Y < Image.Height(); ++Y) Out[Y].assign(Image.Row(Y), Image.Row(Y) + Image.Width());
  return Out;
}

class TempFolder {
 public:
  TempFolder() : Path(std::filesystem::temp_directory_path() / ("fastbmp-" + std::to_string(::getpid()) + "-" + Next())) {
    std::filesystem::create_directories(Path);
  }
  ~TempFolder() { std::filesystem::remove_all(Path); }
  std::string File(const std::string& Name) const { return (Path / Name).string(); }

 private:
  static std::string Next() {
    static int Count = 0;
    return std::to_string(++Count);
  }
  std::filesystem::path Path;
};

}  // namespace fasttest
