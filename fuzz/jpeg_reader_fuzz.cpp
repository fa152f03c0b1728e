// Arbitrary bytes through the JPEG reader: a refusal must be EInvalidGraphic, and an
// image it returns must encode and decode back at the same size and depth.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/JPEGImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  base::TMemoryStream Stream(std::vector<uint8_t>(Data, Data + Size));
  graphics::TDIBImage Image;
  try {
    // Small pictures keep each run short; the limit itself is what the tests check.
    Image = graphics::ReadJPEG(Stream, {.Smoothing = Size % 2 == 0, .MaxPixels = int64_t(1) << 20});
  } catch (const base::EInvalidGraphic&) {
    return 0;
  }
  if (Image.Bits.size() != static_cast<size_t>(Image.RowBytes() * Image.Height)) std::abort();
  if (Image.BitCount != 24) return 0;
  base::TMemoryStream Encoded(graphics::EncodeJPEG(Image, static_cast<int>(Size % 101), Size % 3 == 0));
  const graphics::TDIBImage Back = graphics::ReadJPEG(Encoded);
  if (Back.Width != Image.Width || Back.Height != Image.Height) std::abort();
  return 0;
}
