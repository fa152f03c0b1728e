// Arbitrary bytes read as a zip archive's directory, in both incomplete-archive modes:
// a refusal must be one of the library's exceptions, and a directory read must list,
// sort and select.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/ZipDirectoryCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string Failure = fuzzcheck::CheckZipDirectory(Data, Size);
  if (!Failure.empty()) {
    std::fprintf(stderr, "%s\n", Failure.c_str());
    std::abort();
  }
  return 0;
}
