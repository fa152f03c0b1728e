// Helpers for driving inflate from memory: a source handing out a buffer in chunks
// of a chosen size, a sink gathering the output, and a bit writer for hand-made
// deflate streams.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "install/zip/BitInput.h"
#include "install/zip/OutputWindow.h"

namespace ziptest {

class TChunkSource : public zip::TByteSource {
 public:
  TChunkSource(const std::vector<uint8_t>& Data, size_t ChunkSize) : FData(Data), FChunk(ChunkSize) {}
  std::span<const uint8_t> NextChunk() override {
    size_t N = std::min(FChunk, FData.size() - FPos);
    // Each chunk in its own allocation, so reading outside it is caught by the sanitizer.
    FCopy.assign(FData.begin() + static_cast<ptrdiff_t>(FPos), FData.begin() + static_cast<ptrdiff_t>(FPos + N));
    FPos += N;
    return {FCopy.data(), FCopy.size()};
  }

 private:
  const std::vector<uint8_t>& FData;
  size_t FChunk;
  size_t FPos = 0;
  std::vector<uint8_t> FCopy;
};

class TVectorSink : public zip::TOutputSink {
 public:
  void Write(const uint8_t* Data, size_t Count) override { Bytes.insert(Bytes.end(), Data, Data + Count); }
  std::vector<uint8_t> Bytes;
};

// Writes bits least significant first, and prefix codes most significant first.
class TBitWriter {
 public:
  void Bits(uint32_t Value, unsigned Count) {
    for (unsigned I = 0; I < Count; ++I) Bit((Value >> I) & 1);
  }
  void Code(uint32_t Code, unsigned Length) {
    for (unsigned I = Length; I-- > 0;) Bit((Code >> I) & 1);
  }
  void AlignToByte() {
    while (FCount != 0) Bit(0);
  }
  void Byte(uint8_t Value) { Bytes.push_back(Value); }
  std::vector<uint8_t> Bytes;

 private:
  void Bit(uint32_t B) {
    if (FCount == 0) Bytes.push_back(0);
    Bytes.back() |= static_cast<uint8_t>(B << FCount);
    FCount = (FCount + 1) & 7;
  }
  unsigned FCount = 0;
};

// Canonical codes of the given lengths.
inline std::vector<uint32_t> CanonicalCodes(const std::vector<uint8_t>& Lengths) {
  uint32_t Counts[17] = {}, Next[17] = {};
  for (uint8_t L : Lengths) ++Counts[L];
  Counts[0] = 0;
  uint32_t Code = 0;
  for (unsigned L = 1; L <= 16; ++L) {
    Code = (Code + Counts[L - 1]) << 1;
    Next[L] = Code;
  }
  std::vector<uint32_t> Codes(Lengths.size());
  for (size_t S = 0; S < Lengths.size(); ++S)
    if (Lengths[S] != 0) Codes[S] = Next[Lengths[S]]++;
  return Codes;
}

}  // namespace ziptest
