// Compression of our deflate against zlib at levels 1, 6 and 9 on the same files, with
// libdeflate's figures beside them as the ceiling. Each figure is the best of three
// runs over the whole corpus; the ratios are our size and speed to zlib's (size below 1
// is smaller, speed above 1 is faster).
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/zip/zip_bench.h"
#include "install/zip/Deflate.h"

namespace {

using Bytes = std::vector<uint8_t>;

class TCountingStreams : public zip::TDeflateStreams {
 public:
  explicit TCountingStreams(const Bytes& Source) : In(Source) {}
  int32_t ReadSourceData(uint8_t* Buffer, int32_t Size) override {
    const size_t N = std::min(static_cast<size_t>(Size), In.size() - Pos);
    if (N > 0) std::memcpy(Buffer, In.data() + Pos, N);
    Pos += N;
    return static_cast<int32_t>(N);
  }
  void WriteCompressedData(const uint8_t*, int32_t) override {}

 private:
  const Bytes& In;
  size_t Pos = 0;
};

struct TFigure {
  uint64_t Size = 0;
  double Seconds = 1e30;
};

template <typename F>
TFigure Measure(const std::vector<Bytes>& Files, F Compress) {
  TFigure Best;
  for (int Run = 0; Run < 3; ++Run) {
    const auto Start = std::chrono::steady_clock::now();
    uint64_t Size = 0;
    for (const Bytes& File : Files) Size += Compress(File);
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    Best.Size = Size;
    Best.Seconds = std::min(Best.Seconds, Seconds);
  }
  return Best;
}

}  // namespace

namespace zipbench {

std::vector<TRatio> MeasureCompress(const std::vector<std::string>& Names) {
  std::vector<Bytes> Files;
  uint64_t Total = 0;
  size_t Largest = 0;
  for (const std::string& Name : Names) {
    std::ifstream In(Name, std::ios::binary);
    Files.emplace_back(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    Total += Files.back().size();
    Largest = std::max(Largest, Files.back().size());
  }
  Bytes Out(Largest + Largest / 100 + 1024);
  zip::TDeflater Deflater;
  Deflater.AllocateBuffers();
  std::vector<TRatio> Ratios;
  const auto MBs = [&](const TFigure& F) { return static_cast<double>(Total) / F.Seconds / 1e6; };
  for (int Level : {1, 6, 9}) {
    const TFigure Ours = Measure(Files, [&](const Bytes& File) {
      TCountingStreams Streams(File);
      zip::TDeflateRecord Record;
      return static_cast<uint64_t>(Deflater.DeflateEntry(Streams, Level, Record));
    });
    const TFigure Zlib = Measure(Files, [&](const Bytes& File) {
      z_stream Z{};
      deflateInit2(&Z, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
      Z.next_in = const_cast<Bytef*>(File.data());
      Z.avail_in = static_cast<uInt>(File.size());
      Z.next_out = Out.data();
      Z.avail_out = static_cast<uInt>(Out.size());
      deflate(&Z, Z_FINISH);
      const uint64_t Size = Z.total_out;
      deflateEnd(&Z);
      return Size;
    });
    libdeflate_compressor* C = libdeflate_alloc_compressor(Level);
    const TFigure Ceiling = Measure(Files, [&](const Bytes& File) {
      return static_cast<uint64_t>(libdeflate_deflate_compress(C, File.data(), File.size(), Out.data(), Out.size()));
    });
    libdeflate_free_compressor(C);
    std::printf("deflate level %d: ours %llu bytes %.1f MB/s | zlib %llu bytes %.1f MB/s | libdeflate %llu bytes %.1f MB/s\n",
                Level, static_cast<unsigned long long>(Ours.Size), MBs(Ours),
                static_cast<unsigned long long>(Zlib.Size), MBs(Zlib),
                static_cast<unsigned long long>(Ceiling.Size), MBs(Ceiling));
    const std::string L = std::to_string(Level);
    Ratios.push_back({"deflate" + L + " size/zlib", static_cast<double>(Ours.Size) / static_cast<double>(Zlib.Size)});
    Ratios.push_back({"deflate" + L + "/zlib", Zlib.Seconds / Ours.Seconds});
  }
  return Ratios;
}

}  // namespace zipbench
