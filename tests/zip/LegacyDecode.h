// Runs an older-method decoder over bytes in memory, fed in small chunks so codes
// straddle chunk ends, and collects what it writes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "install/zip/BitInput.h"
#include "install/zip/OutputWindow.h"

namespace ziptest {

struct TDecodeResult {
  int Result = -1;
  std::vector<uint8_t> Output;
};

using TDecoder = std::function<int(zip::TBitInput&, zip::TOutputWindow&)>;

inline TDecodeResult RunDecoder(const std::vector<uint8_t>& Compressed, uint64_t Size, const TDecoder& Decoder,
                                size_t ChunkSize = 7) {
  struct TSource : zip::TByteSource {
    std::span<const uint8_t> Rest;
    size_t Chunk;
    std::span<const uint8_t> NextChunk() override {
      const std::span<const uint8_t> Piece = Rest.first(std::min(Chunk, Rest.size()));
      Rest = Rest.subspan(Piece.size());
      return Piece;
    }
  } Source;
  Source.Rest = Compressed;
  Source.Chunk = ChunkSize;
  struct TSink : zip::TOutputSink {
    std::vector<uint8_t> Bytes;
    void Write(const uint8_t* Data, size_t Count) override { Bytes.insert(Bytes.end(), Data, Data + Count); }
  } Sink;
  zip::TBitInput Input(Source);
  zip::TOutputWindow Output;
  Output.Begin(Sink, Size);
  TDecodeResult Result;
  Result.Result = Decoder(Input, Output);
  Result.Output = std::move(Sink.Bytes);
  return Result;
}

}  // namespace ziptest
