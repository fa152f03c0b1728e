// Arbitrary deflate streams through inflate. Input: a 3-byte output limit, a byte that
// sets the input chunk size, then the stream. Inflate must stay within the limit and
// end with a result; whenever zlib decodes the stream within the limit, ours must
// decode it too, to the same bytes.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "install/zip/Inflate.h"
#include "tests/zip/InflateSupport.h"

namespace {

void Fail(const char* Why) {
  std::fprintf(stderr, "%s\n", Why);
  std::abort();
}

// zlib's output, or false when it refuses the stream or needs more than Limit bytes.
bool ZlibInflate(const std::vector<uint8_t>& Stream, size_t Limit, std::vector<uint8_t>& Out) {
  z_stream Z{};
  if (inflateInit2(&Z, -15) != Z_OK) return false;
  Out.assign(Limit + 1, 0);
  Z.next_in = const_cast<Bytef*>(Stream.data());
  Z.avail_in = static_cast<uInt>(Stream.size());
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  int R = inflate(&Z, Z_FINISH);
  Out.resize(Z.total_out);
  inflateEnd(&Z);
  return R == Z_STREAM_END && Out.size() <= Limit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 4) return 0;
  const size_t Limit = (Data[0] | Data[1] << 8 | Data[2] << 16) & 0xFFFFF;
  const size_t Chunk = 1 + Data[3] % 64 * 97;
  std::vector<uint8_t> Stream(Data + 4, Data + Size);

  ziptest::TChunkSource Source(Stream, Chunk);
  zip::TBitInput Input(Source);
  zip::TOutputWindow Window;
  ziptest::TVectorSink Sink;
  Window.Begin(Sink, Limit);
  zip::TInflate Inflater;
  int Result = Inflater.InflateEntry(Input, Window);
  if (Result != zip::drSuccess && Result != zip::drInvalidData && Result != zip::drUnsupported)
    Fail("unknown result");
  if (Sink.Bytes.size() > Limit) Fail("output past the limit");

  std::vector<uint8_t> Expected;
  if (ZlibInflate(Stream, Limit, Expected)) {
    if (Result != zip::drSuccess) Fail("zlib decodes a stream that inflate refuses");
    if (Sink.Bytes != Expected) Fail("inflate and zlib give different bytes");
  }
  return 0;
}
