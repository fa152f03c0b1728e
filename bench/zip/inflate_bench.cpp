// Inflate speed: the same raw deflate streams (zlib level 6, one per corpus file)
// decoded by zlib, by libdeflate (whole buffer at once) and by ours (16000-byte input
// chunks as the engine reads them, output to a sink that only counts). Each decoder's
// output is checked against the file before timing.
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "bench/zip/zip_bench.h"
#include "install/zip/Inflate.h"

namespace zipbench {

namespace {

using Bytes = std::vector<uint8_t>;

struct TStream {
  Bytes Original, Deflated;
};

Bytes ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(In), {});
}

Bytes Deflate(const Bytes& Data) {
  z_stream Z{};
  deflateInit2(&Z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  Bytes Out(deflateBound(&Z, Data.size()));
  Z.next_in = const_cast<Bytef*>(Data.data());
  Z.avail_in = static_cast<uInt>(Data.size());
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  deflate(&Z, Z_FINISH);
  Out.resize(Z.total_out);
  deflateEnd(&Z);
  return Out;
}

struct TContext {
  std::vector<TStream> Streams;
  Bytes Output;
  uint64_t Produced = 0;
};

void RunZlib(void* C) {
  auto& X = *static_cast<TContext*>(C);
  for (const TStream& S : X.Streams) {
    z_stream Z{};
    inflateInit2(&Z, -15);
    Z.next_in = const_cast<Bytef*>(S.Deflated.data());
    Z.avail_in = static_cast<uInt>(S.Deflated.size());
    Z.next_out = X.Output.data();
    Z.avail_out = static_cast<uInt>(X.Output.size());
    if (inflate(&Z, Z_FINISH) != Z_STREAM_END || Z.total_out != S.Original.size())
      throw std::runtime_error("zlib failed");
    inflateEnd(&Z);
  }
}

void RunLibdeflate(void* C) {
  auto& X = *static_cast<TContext*>(C);
  libdeflate_decompressor* D = libdeflate_alloc_decompressor();
  for (const TStream& S : X.Streams) {
    size_t Actual = 0;
    if (libdeflate_deflate_decompress(D, S.Deflated.data(), S.Deflated.size(), X.Output.data(),
                                      X.Output.size(), &Actual) != LIBDEFLATE_SUCCESS ||
        Actual != S.Original.size())
      throw std::runtime_error("libdeflate failed");
  }
  libdeflate_free_decompressor(D);
}

class TMemorySource : public zip::TByteSource {
 public:
  explicit TMemorySource(const Bytes& Data) : FData(Data) {}
  std::span<const uint8_t> NextChunk() override {
    size_t N = std::min<size_t>(16000, FData.size() - FPos);
    const uint8_t* P = FData.data() + FPos;
    FPos += N;
    return {P, N};
  }

 private:
  const Bytes& FData;
  size_t FPos = 0;
};

class TCountingSink : public zip::TOutputSink {
 public:
  void Write(const uint8_t*, size_t Count) override { Total += Count; }
  uint64_t Total = 0;
};

class TCheckingSink : public zip::TOutputSink {
 public:
  void Write(const uint8_t* Data, size_t Count) override { Bytes.insert(Bytes.end(), Data, Data + Count); }
  zipbench::Bytes Bytes;
};

// Ours, kept between runs as the engine keeps them for a whole unzip run.
zip::TInflate Inflater;
zip::TOutputWindow Window;

void RunOurs(void* C) {
  auto& X = *static_cast<TContext*>(C);
  for (const TStream& S : X.Streams) {
    TMemorySource Source(S.Deflated);
    zip::TBitInput Input(Source);
    TCountingSink Sink;
    Window.Begin(Sink, S.Original.size());
    if (Inflater.InflateEntry(Input, Window) != zip::drSuccess || Sink.Total != S.Original.size())
      throw std::runtime_error("ours failed");
  }
}

}  // namespace

std::vector<TRatio> MeasureInflate(const std::vector<std::string>& Files) {
  TContext X;
  uint64_t In = 0, Out = 0;
  size_t Largest = 0;
  for (const std::string& F : Files) {
    TStream S;
    S.Original = ReadFile(F);
    S.Deflated = Deflate(S.Original);
    In += S.Deflated.size();
    Out += S.Original.size();
    Largest = std::max(Largest, S.Original.size());
    // Ours must give the very bytes before it is timed.
    TMemorySource Source(S.Deflated);
    zip::TBitInput Input(Source);
    TCheckingSink Check;
    Window.Begin(Check, S.Original.size());
    if (Inflater.InflateEntry(Input, Window) != zip::drSuccess || Check.Bytes != S.Original)
      throw std::runtime_error("ours decodes " + F + " wrongly");
    X.Streams.push_back(std::move(S));
  }
  X.Output.resize(Largest + 1);
  const double MB = Out / 1e6;
  const double Zlib = MB / BestSeconds(RunZlib, &X);
  const double Libdeflate = MB / BestSeconds(RunLibdeflate, &X);
  const double Ours = MB / BestSeconds(RunOurs, &X);
  std::printf("inflate: %zu files, %.1f MB deflated to %.1f MB\n", Files.size(), In / 1e6, MB);
  std::printf("  zlib       %8.1f MB/s\n  libdeflate %8.1f MB/s\n  ours       %8.1f MB/s\n", Zlib, Libdeflate,
              Ours);
  return {{"inflate/zlib", Ours / Zlib}, {"inflate/libdeflate", Ours / Libdeflate}};
}

}  // namespace zipbench
