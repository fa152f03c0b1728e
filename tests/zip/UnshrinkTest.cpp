#include <gtest/gtest.h>

#include "install/zip/Unshrink.h"
#include "tests/zip/BitWriter.h"
#include "tests/zip/LegacyDecode.h"
#include "tests/zip/ShrinkEncoder.h"
#include "tests/zip/ZipFixture.h"

namespace {

using ziptest::RunDecoder;

ziptest::TDecodeResult Unshrink(const std::vector<uint8_t>& Compressed, uint64_t Size) {
  return RunDecoder(Compressed, Size, [Size](zip::TBitInput& Input, zip::TOutputWindow& Output) {
    return zip::UnshrinkEntry(Input, Output, Size);
  });
}

// Codes as (value, width) pairs.
std::vector<uint8_t> Codes(std::initializer_list<std::pair<uint32_t, int>> List) {
  ziptest::TBitWriter Bits;
  for (auto [Code, Width] : List) Bits.Put(Code, Width);
  return Bits.Data();
}

std::vector<uint8_t> Bytes(const std::string& Text) { return {Text.begin(), Text.end()}; }

struct TShrinkCase {
  size_t Size;
  uint32_t Seed;
  int PruneEvery;
};

class UnshrinkRoundTrip : public testing::TestWithParam<TShrinkCase> {};

TEST_P(UnshrinkRoundTrip, DecodesWhatTheEncoderShrankAndThePeersAgree) {
  const TShrinkCase Case = GetParam();
  const std::vector<uint8_t> Data = ziptest::SampleData(Case.Size, Case.Seed);
  const std::vector<uint8_t> Compressed = ziptest::Shrink(Data, Case.PruneEvery);
  const ziptest::TDecodeResult Decoded = Unshrink(Compressed, Data.size());
  EXPECT_EQ(Decoded.Result, 0);
  EXPECT_TRUE(Decoded.Output == Data);

  const std::vector<uint8_t> Archive = ziptest::MakeZip({{"data.bin", 1, 0, Data, Compressed}});
  EXPECT_EQ(ziptest::RunPeer("7z t", Archive), 0);
  // unzip's partial clear looks only below the lowest free code, so it frees fewer
  // strings than the encoder after a clear that came before the table was full.
  if (Case.PruneEvery == 0) {
    EXPECT_EQ(ziptest::RunPeer("unzip -tqq", Archive), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, UnshrinkRoundTrip,
                         testing::Values(TShrinkCase{1, 1, 0}, TShrinkCase{5000, 2, 0},
                                         // Fills the table, widens to 13 bits and clears when full.
                                         TShrinkCase{400000, 3, 0}, TShrinkCase{60000, 4, 37},
                                         TShrinkCase{120000, 5, 500}, TShrinkCase{30000, 6, 3}));

TEST(Unshrink, CodeOfTheNextFreeEntryIsThePreviousStringAndItsFirstByte) {
  const std::vector<uint8_t> Compressed = Codes({{'a', 9}, {257, 9}, {'b', 9}, {259, 9}});
  // 257 arrives before it is defined: a + a; later 259 likewise: b + b.
  const ziptest::TDecodeResult Decoded = Unshrink(Compressed, 6);
  EXPECT_EQ(Decoded.Result, 0);
  EXPECT_EQ(Decoded.Output, Bytes("aaabbb"));
  EXPECT_EQ(ziptest::RunPeer("unzip -tqq", ziptest::MakeZip({{"k", 1, 0, Bytes("aaabbb"), Compressed}})), 0);
}

TEST(Unshrink, PartialClearFreesLeavesAndNewStringsTakeTheLowestFreedCodes) {
  // a b 257=ab c: defines 257 ab, 258 ba, 259 abc. The clear frees 258 and 259 (257 is
  // extended by 259); d then defines 258 = cd, 258 decodes as cd and defines 259 = dc.
  const std::vector<uint8_t> Compressed = Codes({{'a', 9}, {'b', 9}, {257, 9}, {'c', 9}, {256, 9}, {2, 9}, {'d', 9},
                                                  {258, 9}, {257, 9}, {259, 9}});
  const std::vector<uint8_t> Expected = Bytes("ababcdcdabdc");
  const ziptest::TDecodeResult Decoded = Unshrink(Compressed, Expected.size());
  EXPECT_EQ(Decoded.Result, 0);
  EXPECT_EQ(Decoded.Output, Expected);
  const std::vector<uint8_t> Archive = ziptest::MakeZip({{"p", 1, 0, Expected, Compressed}});
  EXPECT_EQ(ziptest::RunPeer("unzip -tqq", Archive), 0);
  EXPECT_EQ(ziptest::RunPeer("7z t", Archive), 0);
}

TEST(Unshrink, StringsAfterAPartialClearExtendThePreviousCodeEvenWhenItWasFreed) {
  using TCodes = std::vector<std::pair<uint32_t, int>>;
  auto Then = [](TCodes First, const TCodes& More) {
    First.insert(First.end(), More.begin(), More.end());
    return First;
  };
  // a b 257 defines 257 = ab and 258 = ba; the clear frees both, 257 being the previous
  // code, so the next string would make 257 its own ancestor: the code is taken
  // without a string.
  const TCodes Cleared = {{'a', 9}, {'b', 9}, {257, 9}, {256, 9}, {2, 9}};
  // a b 257 c 259 defines 257 ab, 258 ba, 259 abc, 260 ca; the clear frees 258, 259 and
  // 260, and d defines 258 = 259 + d while 259 is free: a free prefix stands for the
  // previous string.
  const TCodes Dangling = {{'a', 9}, {'b', 9}, {257, 9}, {'c', 9}, {259, 9}, {256, 9}, {2, 9}, {'d', 9}};
  struct TCase {
    const char* What;
    TCodes Codes;
    std::string Expected;
  };
  const TCase Cases[] = {
      {"a b after the clear", Then(Cleared, {{'a', 9}, {'b', 9}}), "ababab"},
      {"the code after the one without a string", Then(Cleared, {{'a', 9}, {'b', 9}, {258, 9}}), "abababab"},
      {"c after the clear", Then(Cleared, {{'c', 9}}), "ababc"},
      {"a string whose prefix is free", Then(Dangling, {{258, 9}}), "ababcabcdddd"},
      {"a string whose prefix was defined again", Then(Dangling, {{'e', 9}, {258, 9}}), "ababcabcdeded"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.What);
    ziptest::TBitWriter Bits;
    for (auto [Code, Width] : Case.Codes) Bits.Put(Code, Width);
    const ziptest::TDecodeResult Decoded = Unshrink(Bits.Data(), Case.Expected.size());
    EXPECT_EQ(Decoded.Result, 0);
    EXPECT_EQ(Decoded.Output, Bytes(Case.Expected));
    const std::vector<uint8_t> Archive = ziptest::MakeZip({{"k", 1, 0, Bytes(Case.Expected), Bits.Data()}});
    EXPECT_EQ(ziptest::RunPeer("unzip -tqq", Archive), 0);
    EXPECT_EQ(ziptest::RunPeer("7z t", Archive), 0);
  }
}

TEST(Unshrink, WidenedCodesAreReadWithTheNewWidth) {
  const std::vector<uint8_t> Compressed = Codes({{'x', 9}, {256, 9}, {1, 9}, {'y', 10}, {257, 10}});
  const ziptest::TDecodeResult Decoded = Unshrink(Compressed, 4);
  EXPECT_EQ(Decoded.Result, 0);
  EXPECT_EQ(Decoded.Output, Bytes("xyxy"));
}

TEST(Unshrink, EndsWhereTheInputEnds) {
  const std::vector<uint8_t> Data = ziptest::SampleData(20000, 9);
  std::vector<uint8_t> Compressed = ziptest::Shrink(Data);
  Compressed.resize(Compressed.size() / 2);
  const ziptest::TDecodeResult Decoded = Unshrink(Compressed, Data.size());
  EXPECT_EQ(Decoded.Result, 0);
  ASSERT_GT(Decoded.Output.size(), 0u);
  ASSERT_LT(Decoded.Output.size(), Data.size());
  EXPECT_TRUE(std::equal(Decoded.Output.begin(), Decoded.Output.end(), Data.begin()));
}

TEST(Unshrink, MalformedCodesStopTheEntry) {
  struct TCase {
    const char* What;
    std::vector<uint8_t> Compressed;
  };
  const TCase Cases[] = {
      {"widened past 13 bits", Codes({{'a', 9}, {256, 9}, {1, 9}, {256, 10}, {1, 10}, {256, 11}, {1, 11}, {256, 12},
                                      {1, 12}, {256, 13}, {1, 13}, {'a', 14}})},
      {"a free code other than the next one", Codes({{'a', 9}, {300, 9}})},
      {"a control code first", Codes({{256, 9}, {1, 9}})},
      {"a code taken without a string",
       Codes({{'a', 9}, {'b', 9}, {257, 9}, {256, 9}, {2, 9}, {'a', 9}, {'b', 9}, {257, 9}})},
  };
  for (const TCase& Case : Cases) {
    const ziptest::TDecodeResult Decoded = Unshrink(Case.Compressed, 100);
    EXPECT_EQ(Decoded.Result, 1) << Case.What;
  }
}

TEST(Unshrink, OutputNeverPassesTheDeclaredSize) {
  const std::vector<uint8_t> Data = ziptest::SampleData(5000, 10);
  const std::vector<uint8_t> Compressed = ziptest::Shrink(Data);
  for (uint64_t Size : {0u, 1u, 1000u, 4999u}) {
    const ziptest::TDecodeResult Decoded = Unshrink(Compressed, Size);
    EXPECT_LE(Decoded.Output.size(), Size);
    EXPECT_TRUE(std::equal(Decoded.Output.begin(), Decoded.Output.end(), Data.begin()));
  }
}

}  // namespace
