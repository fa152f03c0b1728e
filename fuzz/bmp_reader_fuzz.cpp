// Arbitrary bytes through the BMP reader: a refusal must be EInvalidGraphic, and an
// image it returns must write and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  base::TMemoryStream Stream(std::vector<uint8_t>(Data, Data + Size));
  graphics::TDIBImage Image;
  try {
    Image = graphics::ReadBMP(Stream);
  } catch (const base::EInvalidGraphic&) {
    return 0;
  }
  base::TMemoryStream Written;
  graphics::WriteBMP(Written, Image);
  Written.SetPosition(0);
  if (!(graphics::ReadBMP(Written) == Image)) std::abort();
  return 0;
}
