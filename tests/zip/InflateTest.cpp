#include "install/zip/Inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <tuple>

#include "tests/zip/InflateSupport.h"

namespace {

using ziptest::TBitWriter;
using ziptest::TChunkSource;
using ziptest::TVectorSink;

struct TDecoded {
  int Result;
  std::vector<uint8_t> Bytes;
};

TDecoded Inflate(const std::vector<uint8_t>& Stream, uint64_t Limit, size_t ChunkSize = 16000) {
  TChunkSource Source(Stream, ChunkSize);
  zip::TBitInput Input(Source);
  zip::TOutputWindow Window;
  TVectorSink Sink;
  Window.Begin(Sink, Limit);
  zip::TInflate Inflater;
  int Result = Inflater.InflateEntry(Input, Window);
  return {Result, Sink.Bytes};
}

std::vector<uint8_t> ZlibDeflate(const std::vector<uint8_t>& Data, int Level, int Strategy,
                                 size_t FlushEvery = 0) {
  z_stream Z{};
  EXPECT_EQ(deflateInit2(&Z, Level, Z_DEFLATED, -15, 9, Strategy), Z_OK);
  std::vector<uint8_t> Out(deflateBound(&Z, Data.size()) + 64 + Data.size() / 64);
  Z.next_out = Out.data();
  Z.avail_out = static_cast<uInt>(Out.size());
  size_t Pos = 0;
  int Flush;
  do {
    size_t Piece = FlushEvery ? std::min(FlushEvery, Data.size() - Pos) : Data.size() - Pos;
    Z.next_in = const_cast<Bytef*>(Data.data() + Pos);
    Z.avail_in = static_cast<uInt>(Piece);
    Pos += Piece;
    Flush = Pos == Data.size() ? Z_FINISH : Z_SYNC_FLUSH;
    int R = deflate(&Z, Flush);
    EXPECT_TRUE(R == Z_OK || R == Z_STREAM_END);
  } while (Flush != Z_FINISH);
  Out.resize(Z.total_out);
  deflateEnd(&Z);
  return Out;
}

uint32_t Lcg(uint32_t& State) {
  State = State * 1103515245u + 12345u;
  return State >> 8;
}

std::vector<uint8_t> Text(size_t Size) {
  static const char* Words[] = {"the ", "frame ", "palette ", "of ", "animation ", "colour ", "\n",
                                "delay ", "a ", "transparent ", "index, ", "loop. ", "GIF89a "};
  std::vector<uint8_t> Out;
  uint32_t S = 7;
  while (Out.size() < Size) {
    const char* W = Words[Lcg(S) % 13];
    Out.insert(Out.end(), W, W + std::char_traits<char>::length(W));
  }
  Out.resize(Size);
  return Out;
}

std::vector<uint8_t> Random(size_t Size, uint32_t Seed) {
  std::vector<uint8_t> Out(Size);
  for (auto& B : Out) B = static_cast<uint8_t>(Lcg(Seed));
  return Out;
}

// Long runs and short periods: matches of distance 1 to 7 and of length 258.
std::vector<uint8_t> Runs(size_t Size) {
  std::vector<uint8_t> Out;
  uint32_t S = 3;
  while (Out.size() < Size) {
    unsigned Period = 1 + Lcg(S) % 7, Length = 1 + Lcg(S) % 2000;
    uint8_t Pattern[7];
    for (auto& B : Pattern) B = static_cast<uint8_t>(Lcg(S));
    for (unsigned I = 0; I < Length; ++I) Out.push_back(Pattern[I % Period]);
  }
  Out.resize(Size);
  return Out;
}

// Text, noise, zeros and records in turn, past several windows and output chunks.
std::vector<uint8_t> Mixed() {
  std::vector<uint8_t> Out;
  for (int Round = 0; Round < 3; ++Round) {
    auto T = Text(60000 + Round * 1000), R = Random(30000, Round + 11), U = Runs(50000);
    Out.insert(Out.end(), T.begin(), T.end());
    Out.insert(Out.end(), R.begin(), R.end());
    Out.insert(Out.end(), 40000, 0);
    Out.insert(Out.end(), U.begin(), U.end());
    for (uint32_t I = 0; I < 5000; ++I)
      for (int K = 0; K < 4; ++K) Out.push_back(static_cast<uint8_t>((I * 37) >> (8 * K)));
  }
  return Out;
}

const std::vector<std::pair<std::string, std::vector<uint8_t>>>& Inputs() {
  static const std::vector<std::pair<std::string, std::vector<uint8_t>>> Cases = {
      {"empty", {}},
      {"one", {'x'}},
      {"text", Text(70000)},
      {"random", Random(40000, 5)},
      {"runs", Runs(90000)},
      {"mixed", Mixed()},
  };
  return Cases;
}

class InflateAgainstZlib : public testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(InflateAgainstZlib, GivesTheOriginalBytes) {
  auto [Level, Strategy] = GetParam();
  for (const auto& [Name, Data] : Inputs()) {
    std::vector<uint8_t> Stream = ZlibDeflate(Data, Level, Strategy);
    TDecoded D = Inflate(Stream, Data.size());
    EXPECT_EQ(D.Result, zip::drSuccess) << Name;
    EXPECT_TRUE(D.Bytes == Data) << Name;
  }
}

INSTANTIATE_TEST_SUITE_P(LevelsAndStrategies, InflateAgainstZlib,
                         testing::Combine(testing::Range(0, 10),
                                          testing::Values(Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY,
                                                          Z_RLE, Z_FIXED)));

TEST(Inflate, ChunkBoundariesAnywhere) {
  // Chunks of 1 and 7 bytes put every code and stored block across a chunk boundary.
  const std::vector<uint8_t> Data = Mixed();
  for (int Level : {0, 1, 6, 9}) {
    std::vector<uint8_t> Stream = ZlibDeflate(Data, Level, Z_DEFAULT_STRATEGY);
    for (size_t Chunk : {size_t{1}, size_t{7}, size_t{4093}}) {
      TDecoded D = Inflate(Stream, Data.size(), Chunk);
      EXPECT_EQ(D.Result, zip::drSuccess) << Level << " " << Chunk;
      EXPECT_TRUE(D.Bytes == Data) << Level << " " << Chunk;
    }
  }
}

TEST(Inflate, ManyBlocksWithEmptyStoredBlocks) {
  // A sync flush ends each piece with an empty stored block (LEN 0, NLEN 0xFFFF).
  const std::vector<uint8_t> Data = Mixed();
  for (int Strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY}) {
    std::vector<uint8_t> Stream = ZlibDeflate(Data, 6, Strategy, 997);
    TDecoded D = Inflate(Stream, Data.size(), 333);
    EXPECT_EQ(D.Result, zip::drSuccess);
    EXPECT_TRUE(D.Bytes == Data);
  }
}

TEST(Inflate, OutputStopsAtTheDeclaredSize) {
  const std::vector<uint8_t> Data = Text(100000);
  for (int Level : {0, 6}) {
    std::vector<uint8_t> Stream = ZlibDeflate(Data, Level, Z_DEFAULT_STRATEGY);
    for (uint64_t Limit : {uint64_t{0}, uint64_t{1}, uint64_t{99999}}) {
      TDecoded D = Inflate(Stream, Limit);
      EXPECT_EQ(D.Result, zip::drInvalidData) << Level << " " << Limit;
      EXPECT_LE(D.Bytes.size(), Limit);
    }
  }
}

TEST(Inflate, TruncatedStreamsAreInvalid) {
  const std::vector<uint8_t> Data = Mixed();
  for (int Level : {0, 1, 9}) {
    std::vector<uint8_t> Stream = ZlibDeflate(Data, Level, Z_DEFAULT_STRATEGY);
    for (size_t Cut : {size_t{0}, size_t{1}, Stream.size() / 2, Stream.size() - 1}) {
      std::vector<uint8_t> Short(Stream.begin(), Stream.begin() + static_cast<ptrdiff_t>(Cut));
      EXPECT_EQ(Inflate(Short, Data.size()).Result, zip::drInvalidData) << Level << " " << Cut;
    }
  }
}

// Fixed-code helpers: literal/length symbol and distance code as the fixed codes send them.
void FixedSymbol(TBitWriter& W, unsigned Symbol) {
  if (Symbol < 144) W.Code(0x30 + Symbol, 8);
  else if (Symbol < 256) W.Code(0x190 + Symbol - 144, 9);
  else if (Symbol < 280) W.Code(Symbol - 256, 7);
  else W.Code(0xC0 + Symbol - 280, 8);
}

std::vector<uint8_t> FixedBlock(const std::vector<std::pair<unsigned, unsigned>>& LengthDistance) {
  // Each pair is a literal (distance 0) or a match with length code and distance code
  // without extra bits.
  TBitWriter W;
  W.Bits(1, 1);
  W.Bits(1, 2);
  for (auto [Symbol, DistanceCode] : LengthDistance) {
    FixedSymbol(W, Symbol);
    if (Symbol > 256) W.Code(DistanceCode, 5);
  }
  FixedSymbol(W, 256);
  return W.Bytes;
}

// A dynamic block: header with the given code lengths (sent one by one), then Symbols
// coded with them (literal/length symbols; after a length symbol, a distance code).
std::vector<uint8_t> DynamicBlock(const std::vector<uint8_t>& Literal, const std::vector<uint8_t>& Distance,
                                  const std::vector<unsigned>& Symbols) {
  TBitWriter W;
  W.Bits(1, 1);
  W.Bits(2, 2);
  W.Bits(static_cast<uint32_t>(Literal.size() - 257), 5);
  W.Bits(static_cast<uint32_t>(Distance.size() - 1), 5);
  W.Bits(15, 4);
  // Code-length code: 0..12 of four bits, 13..18 of five (a complete set).
  std::vector<uint8_t> LengthLengths(19);
  for (unsigned S = 0; S < 19; ++S) LengthLengths[S] = S < 13 ? 4 : 5;
  static const unsigned Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  for (unsigned S : Order) W.Bits(LengthLengths[S], 3);
  auto LengthCodes = ziptest::CanonicalCodes(LengthLengths);
  for (uint8_t L : Literal) W.Code(LengthCodes[L], LengthLengths[L]);
  for (uint8_t L : Distance) W.Code(LengthCodes[L], LengthLengths[L]);
  auto LitCodes = ziptest::CanonicalCodes(Literal), DistCodes = ziptest::CanonicalCodes(Distance);
  for (size_t I = 0; I < Symbols.size(); ++I) {
    unsigned S = Symbols[I];
    W.Code(LitCodes[S], Literal[S]);
    if (S > 256) {
      unsigned D = Symbols[++I];
      W.Code(DistCodes[D], Distance[D]);
    }
  }
  W.Code(LitCodes[256], Literal[256]);
  return W.Bytes;
}

// Literal/length lengths: 'a', 'b', 256 and 257 (length 3) of two bits each.
std::vector<uint8_t> FourLiteralCodes() {
  std::vector<uint8_t> L(258, 0);
  L['a'] = L['b'] = L[256] = L[257] = 2;
  return L;
}

TEST(Inflate, HandMadeStreams) {
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Stream;
    int Result;
    std::string Output;
  };
  TBitWriter Stored;
  Stored.Bits(0, 1);
  Stored.Bits(0, 2);
  Stored.AlignToByte();
  for (uint8_t B : {0x00, 0x00, 0xFF, 0xFF}) Stored.Byte(B);  // LEN 0, then a final fixed block
  std::vector<uint8_t> StoredThenFixed = Stored.Bytes;
  for (uint8_t B : FixedBlock({{'z', 0}})) StoredThenFixed.push_back(B);

  TBitWriter BadComplement;
  BadComplement.Bits(1, 1);
  BadComplement.Bits(0, 2);
  BadComplement.AlignToByte();
  for (uint8_t B : {0x01, 0x00, 0xFF, 0xFF, 0x71}) BadComplement.Byte(B);

  TBitWriter Type3;
  Type3.Bits(1, 1);
  Type3.Bits(3, 2);
  Type3.Bits(0, 13);

  std::vector<uint8_t> OneDistance(1, 1);
  std::vector<uint8_t> NoDistance(1, 0);
  std::vector<uint8_t> OverSubscribed = FourLiteralCodes();
  OverSubscribed['c'] = 2;
  std::vector<uint8_t> Incomplete = FourLiteralCodes();
  Incomplete['b'] = 0;

  std::string Run(259, 'a');
  const std::vector<TCase> Cases = {
      {"empty stored block continues", StoredThenFixed, zip::drSuccess, "z"},
      {"stored complement wrong", BadComplement.Bytes, zip::drInvalidData, ""},
      {"block type 3", Type3.Bytes, zip::drUnsupported, ""},
      // Length 258 (symbol 285) at distance 1 (code 0).
      {"length 258 at distance 1", FixedBlock({{'a', 0}, {285, 0}}), zip::drSuccess, Run},
      {"distance before the start", FixedBlock({{'a', 0}, {257, 1}}), zip::drInvalidData, ""},
      {"distance code 30", FixedBlock({{'a', 0}, {257, 30}}), zip::drInvalidData, ""},
      {"length symbol 286", FixedBlock({{'a', 0}, {286, 0}}), zip::drInvalidData, ""},
      {"one distance code of one bit", DynamicBlock(FourLiteralCodes(), OneDistance, {'a', 'b', 257, 0}),
       zip::drSuccess, "abbbb"},
      {"empty distance code unused", DynamicBlock(FourLiteralCodes(), NoDistance, {'a', 'b'}), zip::drSuccess,
       "ab"},
      {"empty distance code used", DynamicBlock(FourLiteralCodes(), NoDistance, {'a', 'b', 257, 0}),
       zip::drInvalidData, ""},
      {"over-subscribed literal code", DynamicBlock(OverSubscribed, OneDistance, {'a'}), zip::drUnsupported, ""},
      {"incomplete literal code", DynamicBlock(Incomplete, OneDistance, {'a'}), zip::drInvalidData, ""},
  };
  for (const TCase& C : Cases) {
    TDecoded D = Inflate(C.Stream, 1000);
    EXPECT_EQ(D.Result, C.Result) << C.Name;
    if (C.Result == zip::drSuccess) {
      EXPECT_EQ(std::string(D.Bytes.begin(), D.Bytes.end()), C.Output) << C.Name;
    }
  }
}

TEST(Inflate, DynamicHeaderLimits) {
  // HLIT of 287 or 288 and HDIST of 31 or 32 are refused.
  for (auto [Lit, Dist] : {std::pair{30u, 0u}, std::pair{31u, 0u}, std::pair{0u, 30u}, std::pair{0u, 31u}}) {
    TBitWriter W;
    W.Bits(1, 1);
    W.Bits(2, 2);
    W.Bits(Lit, 5);
    W.Bits(Dist, 5);
    W.Bits(0, 4);
    W.Bits(0, 32);
    EXPECT_EQ(Inflate(W.Bytes, 100).Result, zip::drInvalidData) << Lit << " " << Dist;
  }
}

TEST(Inflate, RepeatPastTheLengthsIsInvalid) {
  // HLIT 257, HDIST 1: 258 lengths; 18 with 7 extra bits of 127 gives 138 zeros twice
  // (276) which passes the end.
  TBitWriter W;
  W.Bits(1, 1);
  W.Bits(2, 2);
  W.Bits(0, 5);
  W.Bits(0, 5);
  W.Bits(15, 4);
  std::vector<uint8_t> LengthLengths(19);
  for (unsigned S = 0; S < 19; ++S) LengthLengths[S] = S < 13 ? 4 : 5;
  static const unsigned Order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  for (unsigned S : Order) W.Bits(LengthLengths[S], 3);
  auto Codes = ziptest::CanonicalCodes(LengthLengths);
  for (int K = 0; K < 2; ++K) {
    W.Code(Codes[18], 5);
    W.Bits(127, 7);
  }
  W.Bits(0, 32);
  EXPECT_EQ(Inflate(W.Bytes, 100).Result, zip::drInvalidData);
}

}  // namespace
