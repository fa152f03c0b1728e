// Arbitrary bytes through the metafile readers: a refusal must be EInvalidGraphic, and
// the records of a file they accept must play onto a small bitmap without fault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/MetafilePlayCheck.h"
#include "platform/base/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  graphics::TMetafileContent Content;
  try {
    Content = graphics::ReadMetafile(std::vector<uint8_t>(Data, Data + Size));
  } catch (const base::EInvalidGraphic&) {
    return 0;
  }
  fuzzcheck::PlayOntoSmallBitmap(Content, Size % 2 == 0 ? 24 : 8);
  return 0;
}
