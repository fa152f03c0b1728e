#include "install/zip/Deflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/zip/DeflateSymbols.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Source and output in memory; the source hands out at most Chunk bytes per read.
class TMemoryStreams : public zip::TDeflateStreams {
 public:
  TMemoryStreams(const Bytes& Source, size_t Chunk) : In(Source), ChunkSize(Chunk) {}
  int32_t ReadSourceData(uint8_t* Buffer, int32_t Size) override {
    const size_t N = std::min({static_cast<size_t>(Size), In.size() - Pos, ChunkSize});
    if (N > 0) std::memcpy(Buffer, In.data() + Pos, N);
    Pos += N;
    return static_cast<int32_t>(N);
  }
  void WriteCompressedData(const uint8_t* Buffer, int32_t Count) override {
    Out.insert(Out.end(), Buffer, Buffer + Count);
  }
  Bytes Out;

 private:
  const Bytes& In;
  size_t Pos = 0;
  size_t ChunkSize;
};

struct TResult {
  Bytes Data;
  int64_t Size = 0;
  zip::TDeflateRecord Record;
};

TResult Compress(const Bytes& Input, int Level, size_t Chunk = SIZE_MAX, uint16_t Attributes = 2) {
  zip::TDeflater Deflater;
  Deflater.AllocateBuffers();
  TMemoryStreams Streams(Input, Chunk);
  TResult R;
  R.Record.InternalAttributes = Attributes;
  R.Size = Deflater.DeflateEntry(Streams, Level, R.Record);
  R.Data = std::move(Streams.Out);
  return R;
}

Bytes ZlibInflate(const Bytes& Stream, size_t Expected) {
  Bytes Out(Expected + 1);
  z_stream Z{};
  if (inflateInit2(&Z, -15) != Z_OK) return {};
  Z.next_in = const_cast<Bytef*>(Stream.data());
  Z.avail_in = static_cast<uInt>(Stream.size());
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  const int Rc = inflate(&Z, Z_FINISH);
  const bool Whole = Rc == Z_STREAM_END && Z.avail_in == 0;
  Out.resize(Z.total_out);
  inflateEnd(&Z);
  return Whole ? Out : Bytes{};
}

Bytes RandomBytes(size_t N, uint32_t Seed) {
  std::mt19937 Gen(Seed);
  Bytes B(N);
  for (auto& X : B) X = static_cast<uint8_t>(Gen());
  return B;
}

Bytes Text(size_t N, uint32_t Seed) {
  static const char* const Words[] = {"the",   "frame", "delay", "palette", "colour", "of",   "and",
                                      "a",     "zip",   "entry", "window",  "block",  "to",   "is",
                                      "image", "with",  "in",    "tree",    "code",   "match"};
  std::mt19937 Gen(Seed);
  std::string S;
  while (S.size() < N) {
    S += Words[Gen() % 20];
    S += Gen() % 11 == 0 ? ".\n" : " ";
  }
  S.resize(N);
  return Bytes(S.begin(), S.end());
}

// Little-endian records with slowly changing fields, like a table in a binary file.
Bytes Records(size_t N, uint32_t Seed) {
  std::mt19937 Gen(Seed);
  Bytes B;
  uint32_t A = 0;
  while (B.size() < N) {
    A += Gen() % 7;
    const uint32_t Fields[3] = {A, A * 3 + 0x80000000u, static_cast<uint32_t>(Gen() % 300)};
    for (uint32_t F : Fields)
      for (int I = 0; I < 4; ++I) B.push_back(static_cast<uint8_t>(F >> (8 * I)));
  }
  B.resize(N);
  return B;
}

// Random stretches repeated at distances on both sides of the longest one allowed.
Bytes FarRepeats(size_t N, uint32_t Seed) {
  Bytes B = RandomBytes(N, Seed);
  for (size_t At = 40000; At + 3000 < N; At += 37000) {
    std::copy_n(B.begin() + static_cast<long>(At - 32506), 1000, B.begin() + static_cast<long>(At));
    std::copy_n(B.begin() + static_cast<long>(At + 1000 - 32507), 1000, B.begin() + static_cast<long>(At + 1000));
    std::copy_n(B.begin() + static_cast<long>(At + 2000 - 30000), 1000, B.begin() + static_cast<long>(At + 2000));
  }
  return B;
}

Bytes Mixed(size_t N, uint32_t Seed) {
  Bytes B;
  uint32_t S = Seed;
  while (B.size() < N) {
    const Bytes Part = (S % 3 == 0) ? RandomBytes(3000 + S % 5000, S) : (S % 3 == 1) ? Text(20000, S) : Records(9000, S);
    B.insert(B.end(), Part.begin(), Part.end());
    S = S * 1103515245u + 12345u;
  }
  B.resize(N);
  return B;
}

struct TInput {
  const char* Name;
  Bytes Data;
};

std::vector<TInput> Corpus() {
  std::vector<TInput> C;
  C.push_back({"empty", {}});
  C.push_back({"one byte", {0x41}});
  C.push_back({"short random", RandomBytes(1000, 1)});
  C.push_back({"random 200k", RandomBytes(200000, 2)});
  C.push_back({"one byte repeated", Bytes(150000, 'a')});
  C.push_back({"text", Text(300000, 3)});
  C.push_back({"records", Records(250000, 4)});
  C.push_back({"far repeats", FarRepeats(200000, 5)});
  C.push_back({"mixed", Mixed(400000, 6)});
  Bytes Ramp(70000);
  for (size_t I = 0; I < Ramp.size(); ++I) Ramp[I] = static_cast<uint8_t>(I * I >> 7);
  C.push_back({"ramp", Ramp});
  return C;
}

TEST(Deflate, EveryLevelInflatesInZlibToTheSameBytes) {
  for (const TInput& In : Corpus()) {
    for (int Level = 0; Level <= 9; ++Level) {
      SCOPED_TRACE(std::string(In.Name) + " at level " + std::to_string(Level));
      const TResult R = Compress(In.Data, Level);
      ASSERT_EQ(R.Size, static_cast<int64_t>(R.Data.size()));
      if (R.Record.CompressionMethod == 0) {
        EXPECT_EQ(R.Data, In.Data);
        continue;
      }
      ASSERT_EQ(R.Record.CompressionMethod, 8);
      EXPECT_EQ(ZlibInflate(R.Data, In.Data.size()), In.Data);
      const ziptest::TDeflateSymbols S = ziptest::DecodeDeflate(R.Data);
      EXPECT_TRUE(S.Ok);
      EXPECT_EQ(S.Output, In.Data);
      for (const ziptest::TDeflateMatch& M : S.Matches) {
        ASSERT_LE(M.Distance, 32506u);
        ASSERT_GE(M.Length, 3u);
      }
    }
  }
}

TEST(Deflate, SmallReadsGiveAValidStream) {
  const Bytes Input = Mixed(150000, 7);
  for (int Level : {0, 1, 4, 6, 9}) {
    SCOPED_TRACE(Level);
    const TResult R = Compress(Input, Level, 7);
    ASSERT_EQ(R.Record.CompressionMethod, 8);
    EXPECT_EQ(ZlibInflate(R.Data, Input.size()), Input);
  }
}

TEST(Deflate, EmptyAndIncompressibleFilesAreStoredWhole) {
  for (int Level = 0; Level <= 9; ++Level) {
    SCOPED_TRACE(Level);
    const TResult Empty = Compress({}, Level);
    EXPECT_EQ(Empty.Size, 0);
    EXPECT_EQ(Empty.Record.CompressionMethod, 0);
    const Bytes Random = RandomBytes(32000, 8);
    const TResult R = Compress(Random, Level);
    EXPECT_EQ(R.Record.CompressionMethod, 0);
    EXPECT_EQ(R.Size, 32000);
    EXPECT_EQ(R.Data, Random);
  }
}

TEST(Deflate, LargeRandomDataGoesIntoStoredBlocks) {
  const Bytes Random = RandomBytes(200000, 9);
  const TResult R = Compress(Random, 6);
  ASSERT_EQ(R.Record.CompressionMethod, 8);
  const ziptest::TDeflateSymbols S = ziptest::DecodeDeflate(R.Data);
  ASSERT_TRUE(S.Ok);
  EXPECT_EQ(S.Output, Random);
  EXPECT_GT(std::count(S.BlockTypes.begin(), S.BlockTypes.end(), 0), 3);
  // Each stored block costs 5 bytes at most over its data.
  EXPECT_LE(R.Size, 200000 + 5 * static_cast<int64_t>(S.BlockTypes.size()));
}

// Every match is as long as it may be. The lazy levels enter every string, so each match
// is found one byte back; the greedy ones skip the strings inside long matches, so after
// the first match the latest entered string is the previous match's start.
TEST(Deflate, RepeatedByteMakesLongestMatches) {
  const Bytes Input(100000, 'x');
  const struct {
    int Level;
    uint16_t Flags;
    unsigned Distance;
  } Cases[] = {{0, 4, 258}, {1, 4, 258}, {2, 4, 258}, {3, 0, 258}, {4, 0, 1},
               {6, 0, 1},   {7, 0, 1},   {8, 2, 1},   {9, 2, 1}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Level);
    const TResult R = Compress(Input, C.Level);
    EXPECT_EQ(R.Record.Flags, C.Flags);
    const ziptest::TDeflateSymbols S = ziptest::DecodeDeflate(R.Data);
    ASSERT_TRUE(S.Ok);
    EXPECT_EQ(S.Output, Input);
    ASSERT_GT(S.Matches.size(), 300u);
    EXPECT_EQ(S.Matches[0].Distance, 1u);
    for (size_t I = 0; I + 1 < S.Matches.size(); ++I) {
      ASSERT_EQ(S.Matches[I].Length, 258u);
      if (I > 0) {
        ASSERT_EQ(S.Matches[I].Distance, C.Distance);
      }
    }
    EXPECT_LT(R.Size, C.Distance == 1 ? 150 : 500);
  }
}

TEST(Deflate, FlagBitsAreAddedToTheRecordsFlags) {
  const Bytes Input = Text(5000, 10);
  zip::TDeflater Deflater;
  Deflater.AllocateBuffers();
  TMemoryStreams Streams(Input, SIZE_MAX);
  zip::TDeflateRecord Record;
  Record.Flags = 1;
  Deflater.DeflateEntry(Streams, 9, Record);
  EXPECT_EQ(Record.Flags, 3);
}

TEST(Deflate, ClassifiesTextAndBinary) {
  EXPECT_EQ(Compress(Text(50000, 11), 6).Record.InternalAttributes, 1);
  EXPECT_EQ(Compress(RandomBytes(50000, 12), 6).Record.InternalAttributes, 0);
  EXPECT_EQ(Compress(Records(50000, 13), 1).Record.InternalAttributes, 0);
  // A record that already says what the data is keeps it.
  EXPECT_EQ(Compress(RandomBytes(50000, 12), 6, SIZE_MAX, 1).Record.InternalAttributes, 1);
}

TEST(Deflate, SlidingWindowReachesBackAcrossTheSlide) {
  const Bytes Input = FarRepeats(300000, 14);
  const TResult R = Compress(Input, 9);
  const ziptest::TDeflateSymbols S = ziptest::DecodeDeflate(R.Data);
  ASSERT_TRUE(S.Ok);
  EXPECT_EQ(S.Output, Input);
  unsigned Longest = 0;
  for (const auto& M : S.Matches) Longest = std::max(Longest, M.Distance);
  EXPECT_EQ(Longest, 32506u);
  // The copies at 32507 could only be taken as matches if the limit were broken, and
  // those at 30000 are found after every slide.
  size_t Near = 0;
  for (const auto& M : S.Matches) Near += M.Distance == 30000 ? M.Length : 0;
  EXPECT_GT(Near, 7u * 900);
}

TEST(Deflate, OneDeflaterCompressesFileAfterFile) {
  zip::TDeflater Deflater;
  Deflater.AllocateBuffers();
  const Bytes Inputs[] = {Text(90000, 15), Bytes(5, 'q'), Mixed(120000, 16), Text(90000, 15)};
  Bytes First;
  for (const Bytes& In : Inputs) {
    TMemoryStreams Streams(In, SIZE_MAX);
    zip::TDeflateRecord Record;
    Deflater.DeflateEntry(Streams, 6, Record);
    if (Record.CompressionMethod == 8)
      EXPECT_EQ(ZlibInflate(Streams.Out, In.size()), In);
    else
      EXPECT_EQ(Streams.Out, In);
    if (First.empty()) First = Streams.Out;
  }
  // Nothing of an earlier file leaks into a later one.
  TMemoryStreams Again(Inputs[3], SIZE_MAX);
  zip::TDeflateRecord Record;
  Deflater.DeflateEntry(Again, 6, Record);
  EXPECT_EQ(Again.Out, First);
}

}  // namespace
