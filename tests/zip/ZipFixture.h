// Archives of one or more entries whose compressed data the test made, written for the
// peers (Info-ZIP unzip, 7-Zip) to test, and the test data they compress.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

struct TFixtureEntry {
  std::string Name;
  uint16_t Method = 0;
  uint16_t Flags = 0;
  std::vector<uint8_t> Data;        // the uncompressed bytes
  std::vector<uint8_t> Compressed;  // as the method codes them
};

std::vector<uint8_t> MakeZip(const std::vector<TFixtureEntry>& Entries);
// Writes the archive to a temporary file and returns the exit status of Command + " "
// + the file's name (output discarded).
int RunPeer(const std::string& Command, const std::vector<uint8_t>& Archive);

// Text-like bytes with repeats at every distance, and runs, and every byte value.
std::vector<uint8_t> SampleData(size_t Size, uint32_t Seed);

}  // namespace ziptest
