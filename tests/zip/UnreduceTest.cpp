#include <gtest/gtest.h>

#include "install/zip/Unreduce.h"
#include "tests/zip/BitWriter.h"
#include "tests/zip/LegacyDecode.h"
#include "tests/zip/ReduceEncoder.h"
#include "tests/zip/ZipFixture.h"

// Neither unzip nor 7-Zip reads reduced entries, so the encoder is the only peer.

namespace {

using ziptest::RunDecoder;

ziptest::TDecodeResult Unreduce(const std::vector<uint8_t>& Compressed, int Factor, uint64_t Size) {
  return RunDecoder(Compressed, Size, [=](zip::TBitInput& Input, zip::TOutputWindow& Output) {
    return zip::UnreduceEntry(Input, Output, Factor, Size);
  });
}

struct TReduceCase {
  int Factor;
  int MaxFollowers;
  size_t Size;
};

class UnreduceRoundTrip : public testing::TestWithParam<TReduceCase> {};

TEST_P(UnreduceRoundTrip, DecodesWhatTheEncoderReduced) {
  const TReduceCase Case = GetParam();
  const std::vector<uint8_t> Data = ziptest::SampleData(Case.Size, Case.Factor * 100 + Case.MaxFollowers);
  const std::vector<uint8_t> Compressed = ziptest::Reduce(Data, Case.Factor, Case.MaxFollowers);
  const ziptest::TDecodeResult Decoded = Unreduce(Compressed, Case.Factor, Data.size());
  EXPECT_EQ(Decoded.Result, 0);
  EXPECT_TRUE(Decoded.Output == Data);
}

// Follower sets of every index width (0, 1, 2, 5, 17 and 63 followers), every factor.
INSTANTIATE_TEST_SUITE_P(Cases, UnreduceRoundTrip,
                         testing::Values(TReduceCase{1, 0, 20000}, TReduceCase{2, 1, 20000}, TReduceCase{3, 2, 20000},
                                         TReduceCase{4, 5, 20000}, TReduceCase{1, 17, 50000},
                                         TReduceCase{2, 63, 50000}, TReduceCase{3, 32, 70000},
                                         TReduceCase{4, 63, 70000}, TReduceCase{4, 32, 1}));

std::vector<uint8_t> Escaped(std::initializer_list<int> Bytes) {
  std::vector<uint8_t> Out;
  for (int Byte : Bytes) Out.push_back(static_cast<uint8_t>(Byte));
  return Out;
}

TEST(Unreduce, EscapedStreamsDecode) {
  struct TCase {
    const char* What;
    int Factor;
    std::vector<uint8_t> Stream;
    std::vector<uint8_t> Expected;
  };
  std::vector<uint8_t> Long = {'a', 'b'};
  for (int I = 0; I < 0x7F + 40 + 3; ++I) Long.push_back(Long[Long.size() - 2]);
  std::vector<uint8_t> Far(300, 'q');
  Far[0] = 'x';
  Far.insert(Far.end(), {'x', 'q', 'q', 'q'});
  const TCase Cases[] = {
      {"144 0 is one 144", 1, Escaped({'a', 144, 0, 'b'}), Escaped({'a', 144, 'b'})},
      // 144, 0x7F: the length takes the next byte (state 2), distance 2.
      {"a full length takes one more byte", 1, Escaped({'a', 'b', 144, 0x7F, 40, 1}), Long},
      // Distance high bits above the length bits: 0x10 >> 4 = 1, so 256 + 43 + 1 = 300.
      {"high distance bits", 4, [] {
         std::vector<uint8_t> S = {'x'};
         S.insert(S.end(), 299, 'q');
         S.insert(S.end(), {144, 0x11, 43});
         return S;
       }(), Far},
      {"a match before the start gives zeros", 2, Escaped({144, 0x02, 9, 'z'}), Escaped({0, 0, 0, 0, 0, 'z'})},
  };
  for (const TCase& Case : Cases) {
    for (int Followers : {0, 8}) {
      const ziptest::TDecodeResult Decoded =
          Unreduce(ziptest::ReduceFollowers(Case.Stream, Followers), Case.Factor, Case.Expected.size());
      EXPECT_EQ(Decoded.Result, 0) << Case.What;
      EXPECT_EQ(Decoded.Output, Case.Expected) << Case.What;
    }
  }
}

TEST(Unreduce, MalformedDataFails) {
  const std::vector<uint8_t> Data = ziptest::SampleData(30000, 77);
  const std::vector<uint8_t> Compressed = ziptest::Reduce(Data, 3);
  struct TCase {
    const char* What;
    std::vector<uint8_t> Compressed;
    uint64_t Size;
  };
  // A set of three followers has index 3 unused: 0 then index 3 (2 bits) after byte 0.
  ziptest::TBitWriter BadIndex;
  for (int Lead = 255; Lead >= 0; --Lead) {
    BadIndex.Put(Lead == 0 ? 3 : 0, 6);
    if (Lead == 0) {
      for (int Byte : {'a', 'b', 'c'}) BadIndex.Put(Byte, 8);
    }
  }
  BadIndex.Put(0, 1);
  BadIndex.Put(3, 2);
  const TCase Cases[] = {
      {"input ends mid-code", {Compressed.begin(), Compressed.begin() + Compressed.size() / 2}, Data.size()},
      {"input ends in the follower sets", {Compressed.begin(), Compressed.begin() + 20}, Data.size()},
      {"an index past the follower set", BadIndex.Data(), 10},
      {"a match past the declared size", ziptest::ReduceFollowers(Escaped({'a', 144, 0x05, 0})), 4},
  };
  for (const TCase& Case : Cases) {
    const ziptest::TDecodeResult Decoded = Unreduce(Case.Compressed, 3, Case.Size);
    EXPECT_EQ(Decoded.Result, 1) << Case.What;
    EXPECT_LE(Decoded.Output.size(), Case.Size) << Case.What;
  }
}

}  // namespace
