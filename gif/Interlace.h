// Interlaced row order of GIF images: rows 0, 8, 16, ...; then 4, 12, ...; then
// 2, 6, 10, ...; then 1, 3, 5, .... A pass that holds no row is passed over.
#pragma once

#include <cstdint>
#include <vector>

namespace gif {

struct TInterlacePass {
  int32_t Start;
  int32_t Step;
};

inline constexpr TInterlacePass InterlacePasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

// Place in interlaced order of row Row of a Height-row image.
int32_t InterlacedRowIndex(int32_t Row, int32_t Height);

// Moves the rows of an image stored in interlaced order to their display rows, in
// place. The working memory is taken at construction, so Apply never allocates and
// never throws.
class TDeinterlacer {
 public:
  TDeinterlacer(uint8_t* Pixels, int32_t Width, int32_t Height);
  void Apply() noexcept;

 private:
  uint8_t* Pixels;
  int32_t Width;
  int32_t Height;
  std::vector<uint8_t> Saved;  // one row
  std::vector<bool> Placed;
};

}  // namespace gif
