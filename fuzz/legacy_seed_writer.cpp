// Seeds for zip_legacy_fuzz: sample data coded by the tests' encoders for every older
// method and variant, in the harness's format, written into the folder given.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/zip/ImplodeEncoder.h"
#include "tests/zip/ReduceEncoder.h"
#include "tests/zip/ShrinkEncoder.h"
#include "tests/zip/ZipFixture.h"

namespace {

void Write(const std::string& Name, uint8_t Selector, size_t Size, const std::vector<uint8_t>& Compressed) {
  std::ofstream Out(Name, std::ios::binary);
  const char Header[4] = {static_cast<char>(Selector), static_cast<char>(Size), static_cast<char>(Size >> 8),
                          static_cast<char>(Size >> 16)};
  Out.write(Header, 4);
  Out.write(reinterpret_cast<const char*>(Compressed.data()), Compressed.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: legacy_seed_writer FOLDER\n");
    return 2;
  }
  const std::string Folder = argv[1];
  for (size_t Size : {300u, 3000u}) {
    const std::vector<uint8_t> Data = ziptest::SampleData(Size, static_cast<uint32_t>(Size));
    const std::string Stem = Folder + "/" + std::to_string(Size);
    Write(Stem + "-shrunk", 0, Size, ziptest::Shrink(Data, 40));
    for (int Factor = 1; Factor <= 4; ++Factor) {
      Write(Stem + "-reduced" + std::to_string(Factor), static_cast<uint8_t>(Factor), Size,
            ziptest::Reduce(Data, Factor, 8 * Factor));
    }
    for (uint8_t Flags : {0, 2, 4, 6}) {
      Write(Stem + "-imploded" + std::to_string(Flags), static_cast<uint8_t>(5 | Flags << 3), Size,
            ziptest::Implode(Data, {(Flags & 4) != 0, (Flags & 2) != 0}));
    }
  }
  return 0;
}
