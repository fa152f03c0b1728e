// Arbitrary bytes decoded by the older zip methods. The first byte picks the method (1
// to 6, and for 6 the flags), the next three give the declared size, the rest is the
// compressed data, handed out in uneven chunks. A decoder must never write past the
// declared size, and one that reports success must have written all of it (unshrink may
// stop short when its input ends).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "install/zip/DecodeTable.h"
#include "install/zip/Explode.h"
#include "install/zip/Unreduce.h"
#include "install/zip/Unshrink.h"

namespace {

struct TSource : zip::TByteSource {
  std::span<const uint8_t> Rest;
  size_t Next = 1;
  std::span<const uint8_t> NextChunk() override {
    const std::span<const uint8_t> Piece = Rest.first(std::min(Next, Rest.size()));
    Rest = Rest.subspan(Piece.size());
    Next = Next * 3 % 251 + 1;
    return Piece;
  }
};

struct TSink : zip::TOutputSink {
  uint64_t Written = 0;
  void Write(const uint8_t*, size_t Count) override { Written += Count; }
};

[[noreturn]] void Fail(const char* What, int Method) {
  std::fprintf(stderr, "method %d: %s\n", Method, What);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 4) return 0;
  const int Method = (Data[0] & 7) % 6 + 1;
  const uint16_t Flags = static_cast<uint16_t>((Data[0] >> 3) & 6);
  const uint64_t Declared = (Data[1] | Data[2] << 8 | Data[3] << 16) & 0x3FFFF;
  TSource Source;
  Source.Rest = std::span<const uint8_t>(Data + 4, Size - 4);
  TSink Sink;
  zip::TBitInput Input(Source);
  // One window for every input, as one extraction run keeps it for all its entries.
  static zip::TOutputWindow Output;
  Output.Begin(Sink, Declared);
  int Result = zip::drInvalidData;
  if (Method == 1) {
    Result = zip::UnshrinkEntry(Input, Output, Declared);
  } else if (Method <= 5) {
    Result = zip::UnreduceEntry(Input, Output, Method - 1, Declared);
  } else {
    Result = zip::ExplodeEntry(Input, Output, Flags, Size - 4, Declared);
  }
  Output.Flush();
  if (Sink.Written > Declared || Output.Total() != Sink.Written) Fail("output past the declared size", Method);
  if (Result == zip::drSuccess && Method > 1 && Sink.Written != Declared) Fail("success short of the size", Method);
  return 0;
}
