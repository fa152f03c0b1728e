// Arbitrary bytes opened as an AVI video and decoded frame by frame: a refusal must be
// EAVIError, and every frame decoded must be a packed DIB that reads back as a BMP of
// the stream's size.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/AVIReadCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Failure = fuzzcheck::CheckAVIRead(Data, Size);
  if (!Failure.empty()) {
    std::fprintf(stderr, "%s\n", Failure.c_str());
    std::abort();
  }
  return 0;
}
