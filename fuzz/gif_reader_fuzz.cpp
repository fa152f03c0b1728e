// Arbitrary bytes through TGIFImage::LoadFromStream: a refusal must be a GIFException
// that leaves the stream where it was, and an image it reads must be consistent and
// copy unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/GIFReadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Failure = fuzzcheck::CheckGIFRead(Data, Size);
  if (!Failure.empty()) {
    std::fprintf(stderr, "%s\n", Failure.c_str());
    std::abort();
  }
  return 0;
}
