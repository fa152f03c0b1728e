// A view of pixel memory for the transfer engine: the rows of a bitmap or of a
// caller's DIB, and the colours its stored values stand for.
#pragma once

#include <cstdint>

#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/DIB.h"

namespace gdi {

struct Surface {
  int32_t Width = 0;
  int32_t Height = 0;
  int BitCount = 0;                 // 1, 4, 8, 16, 24 or 32
  uint8_t* Bits = nullptr;          // the first row in memory
  int32_t Stride = 0;               // bytes per row
  bool TopDown = false;             // the first row in memory is the top row
  const RGBQUAD* Colors = nullptr;  // 1, 4 and 8 bits; values past the table are black
  uint32_t ColorCount = 0;
  uint32_t Masks[3] = {};  // red, green, blue of 16, 24 and 32 bits
  // A monochrome device bitmap: blits colour its bits with the DCs' text and
  // background colours instead of its black-and-white table.
  bool Monochrome = false;

  bool Indexed() const { return BitCount <= 8; }
  // Row Y counted from the top of the picture.
  uint8_t* Row(int32_t Y) const { return Bits + static_cast<int64_t>(TopDown ? Y : Height - 1 - Y) * Stride; }
};

// Stored values of Count pixels from (X, Y) onwards; the caller keeps them inside.
void ReadPixels(const Surface& Pixels, int32_t X, int32_t Y, int32_t Count, uint32_t* Values);
// Writes the low BitCount bits of each value.
void WritePixels(const Surface& Pixels, int32_t X, int32_t Y, int32_t Count, const uint32_t* Values);

// Decoding and encoding of 16-, 24- and 32-bit values through their channel masks.
class TrueColorCodec {
 public:
  explicit TrueColorCodec(const uint32_t (&Masks)[3]);
  XRGB Decode(uint32_t Value) const;
  uint32_t Encode(XRGB Color) const;
  uint32_t ColorBits() const { return Channels[0].Mask | Channels[1].Mask | Channels[2].Mask; }

 private:
  struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Width = 0;
  };
  Channel Channels[3];
};

constexpr uint32_t DefaultMasks16[3] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t DefaultMasks32[3] = {0xFF0000, 0x00FF00, 0x0000FF};

// A mask is usable when it is one run of set bits within the pixel.
bool ValidMasks(const uint32_t (&Masks)[3], int BitCount);

// The colour a stored value shows (monochrome bitmaps as black and white).
XRGB ColorOfValue(const Surface& Pixels, uint32_t Value);
// The stored value nearest to a colour.
uint32_t ValueOfColor(const Surface& Pixels, XRGB Color);

}  // namespace gdi
