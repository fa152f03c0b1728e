// Arbitrary bytes extracted as a zip archive, with a password set, into a fresh folder
// each run: nothing may be created outside it, no link may be followed, and a refusal
// must be one of the library's exceptions (fuzz/ZipExtractCheck.h). Hangs are caught by
// libFuzzer's -timeout.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/ZipExtractCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Failure = fuzzcheck::CheckZipExtract(Data, Size);
  if (!Failure.empty()) {
    std::fprintf(stderr, "%s\n", Failure.c_str());
    std::abort();
  }
  return 0;
}
