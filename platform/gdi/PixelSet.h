// The pixels one drawing operation covers, as horizontal runs clipped to the bitmap.
// An operation collects all its pixels first and paints each once, so that the
// raster operations (not-xor above all) give the same result however the shape's
// parts overlap.
#pragma once

#include <cstdint>
#include <vector>

namespace gdi {

struct PixelRun {
  int32_t Y = 0;
  int32_t Left = 0;
  int32_t Right = 0;  // exclusive
};

class PixelSet {
 public:
  PixelSet(int32_t Width, int32_t Height) : Width(Width), Height(Height) {}

  // Adds [Left, Right) of row Y, clipped.
  void Add(int32_t Y, int32_t Left, int32_t Right);
  void AddPixel(int32_t X, int32_t Y) { Add(Y, X, X + 1); }
  // Removes every pixel that Other holds.
  void Subtract(const PixelSet& Other);
  // Sorted by row, then column; runs of a row neither overlap nor touch.
  const std::vector<PixelRun>& Runs() const;
  bool Empty() const { return Runs().empty(); }
  int32_t ClipWidth() const { return Width; }
  int32_t ClipHeight() const { return Height; }

 private:
  void Normalize() const;
  int32_t Width;
  int32_t Height;
  mutable std::vector<PixelRun> Items;
  mutable bool Normal = true;
};

}  // namespace gdi
