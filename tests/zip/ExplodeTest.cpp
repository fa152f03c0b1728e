#include <gtest/gtest.h>

#include "install/zip/DecodeTable.h"
#include "install/zip/Explode.h"
#include "tests/zip/ImplodeEncoder.h"
#include "tests/zip/LegacyDecode.h"
#include "tests/zip/ZipFixture.h"

namespace {

using ziptest::TImplodeOptions;
using ziptest::TImplodeToken;

uint16_t FlagsOf(const TImplodeOptions& Options) {
  return static_cast<uint16_t>((Options.LiteralTree ? 4 : 0) | (Options.LargeWindow ? 2 : 0));
}

ziptest::TDecodeResult Explode(const std::vector<uint8_t>& Compressed, const TImplodeOptions& Options, uint64_t Size) {
  return ziptest::RunDecoder(Compressed, Size, [&](zip::TBitInput& Input, zip::TOutputWindow& Output) {
    return zip::ExplodeEntry(Input, Output, FlagsOf(Options), Compressed.size(), Size);
  });
}

// Decodes the tokens' encoding and has unzip and 7-Zip test it as an archive entry.
void ExpectDecodes(const std::vector<TImplodeToken>& Tokens, const TImplodeOptions& Options,
                   const std::vector<uint8_t>& Expected, const char* What) {
  const std::vector<uint8_t> Compressed = ziptest::ImplodeEncode(Tokens, Options);
  const ziptest::TDecodeResult Decoded = Explode(Compressed, Options, Expected.size());
  EXPECT_EQ(Decoded.Result, zip::drSuccess) << What;
  EXPECT_TRUE(Decoded.Output == Expected) << What;
  const std::vector<uint8_t> Archive = ziptest::MakeZip({{"e", 6, FlagsOf(Options), Expected, Compressed}});
  EXPECT_EQ(ziptest::RunPeer("unzip -tqq", Archive), 0) << What;
  EXPECT_EQ(ziptest::RunPeer("7z t", Archive), 0) << What;
}

struct TExplodeCase {
  bool LiteralTree;
  bool LargeWindow;
  size_t Size;
};

class ExplodeRoundTrip : public testing::TestWithParam<TExplodeCase> {};

TEST_P(ExplodeRoundTrip, DecodesWhatTheEncoderImplodedAndThePeersAgree) {
  const TExplodeCase Case = GetParam();
  const TImplodeOptions Options{Case.LiteralTree, Case.LargeWindow};
  const std::vector<uint8_t> Data = ziptest::SampleData(Case.Size, static_cast<uint32_t>(Case.Size));
  ExpectDecodes(ziptest::ImplodeTokens(Data, Options), Options, Data, "sample");
}

// The largest case has more than 200000 compressed bytes, so its distances are looked up
// 8 bits at a time.
INSTANTIATE_TEST_SUITE_P(Cases, ExplodeRoundTrip,
                         testing::Values(TExplodeCase{false, false, 30000}, TExplodeCase{false, true, 30000},
                                         TExplodeCase{true, false, 30000}, TExplodeCase{true, true, 70000},
                                         TExplodeCase{true, true, 1}, TExplodeCase{false, true, 900000}));

TEST(Explode, MatchBeforeTheStartGivesZeros) {
  ExpectDecodes({{0, 5, 4}, {'a', 0, 0}, {0, 3, 3}}, {false, false}, {0, 0, 0, 0, 'a', 0, 0, 'a'}, "4 KB");
  ExpectDecodes({{0, 8000, 5}, {'b', 0, 0}}, {true, true}, {0, 0, 0, 0, 0, 'b'}, "8 KB with literals");
}

TEST(Explode, LengthCode63TakesEightMoreBits) {
  for (const TImplodeOptions Options : {TImplodeOptions{false, false}, TImplodeOptions{true, true}}) {
    const uint32_t Code63 = 63 + (Options.LiteralTree ? 3u : 2u);
    const uint32_t Longest = Code63 + 255;
    std::vector<uint8_t> Expected(1 + Longest + Code63, 'x');
    Expected.push_back('y');
    ExpectDecodes({{'x', 0, 0}, {0, 1, Longest}, {0, 1, Code63}, {'y', 0, 0}}, Options,
                  Expected, Options.LiteralTree ? "with literals" : "raw literals");
  }
}

TEST(Explode, BadTreesAndTruncatedDataFail) {
  const TImplodeOptions Raw{false, false};
  const std::vector<TImplodeToken> Tokens = {{'a', 0, 0}, {0, 1, 10}};
  auto WithLengths = [&](std::vector<int> Lengths, std::vector<int> Distances) {
    return ziptest::ImplodeEncode(Tokens, Raw, {{}, std::move(Lengths), std::move(Distances)});
  };
  std::vector<int> Sixes(64, 6), Sevens(64, 7), Fives(64, 5);
  std::vector<uint8_t> Good = WithLengths(Sixes, Sixes);
  struct TCase {
    const char* What;
    std::vector<uint8_t> Compressed;
    int Result;
  };
  // The length tree of 64 sixes is four runs of 16 (0xF5).
  std::vector<uint8_t> TooMany = Good;
  TooMany[0] = 4;
  TooMany.insert(TooMany.begin() + 5, 0xF5);
  std::vector<uint8_t> TooFew = Good;
  TooFew[0] = 2;
  TooFew.erase(TooFew.begin() + 4);
  const TCase Cases[] = {
      {"incomplete length tree", WithLengths(Sevens, Sixes), zip::drInvalidData},
      {"incomplete distance tree", WithLengths(Sixes, Sevens), zip::drInvalidData},
      {"over-subscribed tree", WithLengths(Fives, Sixes), zip::drUnsupported},
      {"more lengths than codes", TooMany, zip::drInvalidData},
      {"fewer lengths than codes", TooFew, zip::drInvalidData},
      {"input ends mid-code", {Good.begin(), Good.end() - 2}, zip::drInvalidData},
      {"input ends in a tree", {Good.begin(), Good.begin() + 3}, zip::drInvalidData},
  };
  for (const TCase& Case : Cases) {
    const ziptest::TDecodeResult Decoded = Explode(Case.Compressed, Raw, 11);
    EXPECT_EQ(Decoded.Result, Case.Result) << Case.What;
  }
  EXPECT_EQ(Explode(Good, Raw, 11).Result, zip::drSuccess);
}

TEST(Explode, OutputNeverPassesTheDeclaredSize) {
  const TImplodeOptions Options{true, false};
  const std::vector<uint8_t> Data = ziptest::SampleData(20000, 31);
  const std::vector<uint8_t> Compressed = ziptest::Implode(Data, Options);
  for (uint64_t Size : {0u, 1u, 777u, 19999u}) {
    const ziptest::TDecodeResult Decoded = Explode(Compressed, Options, Size);
    EXPECT_LE(Decoded.Output.size(), Size);
    EXPECT_TRUE(std::equal(Decoded.Output.begin(), Decoded.Output.end(), Data.begin()));
  }
}

}  // namespace
