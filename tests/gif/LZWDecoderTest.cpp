#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "CodecTestSupport.h"

using namespace codectest;

namespace {

const std::vector<std::string> NoWarnings;

// The decoder written the plain way, over a list of codes: prefix chains walked onto
// a stack, one string per code. The decoder under test copies strings out of its
// own output instead and must give the same pixels.
struct TReference {
  Bytes Pixels;  // in stored row order
  bool Circular = false;
};

TReference ReferenceDecode(int MinCodeSize, const std::vector<int>& Codes, size_t Count, uint8_t Fill) {
  TReference Result;
  Result.Pixels.assign(Count, Fill);
  const int Clear = 1 << MinCodeSize, End = Clear + 1;
  std::vector<int> Prefix(4096), Suffix(4096);
  int Next = 0, First = 0, Prev = 0;
  size_t At = 0, Out = 0;
  const auto Fetch = [&] { return At < Codes.size() ? Codes[At++] : -1; };
  bool Start = true;
  while (Out < Count) {
    int Code = Start ? Clear : Fetch();
    Start = false;
    if (Code < 0 || Code == End) break;
    if (Code == Clear) {
      for (int I = 0; I < 4096; ++I) {
        Prefix[I] = 0;
        Suffix[I] = I < Clear ? I : 0;
      }
      Next = Clear + 2;
      do Code = Fetch();
      while (Code == Clear);
      if (Code < 0 || Code >= Clear + 2) break;
      First = Prev = Code;
      Result.Pixels[Out++] = static_cast<uint8_t>(Code);
      continue;
    }
    const int In = Code;
    std::vector<int> Stack;
    if (Code >= Next) {
      Stack.push_back(First);
      Code = Prev;
    }
    for (int Steps = 0; Code >= Clear; ++Steps) {
      if (Prefix[Code] == Code || Steps > 4096) {
        Result.Circular = true;
        return Result;
      }
      Stack.push_back(Suffix[Code]);
      Code = Prefix[Code];
    }
    First = Suffix[Code];
    Stack.push_back(First);
    if (Next < 4096) {
      Prefix[Next] = Prev;
      Suffix[Next] = First;
      ++Next;
    }
    Prev = In;
    for (; !Stack.empty() && Out < Count; Stack.pop_back()) Result.Pixels[Out++] = static_cast<uint8_t>(Stack.back());
  }
  return Result;
}

// Rows of an interlaced frame moved to display order, pass by pass.
Bytes Deinterlaced(const Bytes& Stored, int Width, int Height) {
  Bytes Result(Stored.size());
  size_t From = 0;
  for (const auto& [Start, Step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
    for (int Row = Start; Row < Height; Row += Step, From += static_cast<size_t>(Width))
      std::copy_n(Stored.begin() + static_cast<ptrdiff_t>(From), Width,
                  Result.begin() + static_cast<ptrdiff_t>(Row) * Width);
  return Result;
}

// Codes that an encoder could have written, with clears, deferred clears (the table
// left full) and, when Damaged, codes beyond the next free one.
std::vector<int> RandomCodes(std::mt19937& Random, int MinCodeSize, int Count, bool Damaged, unsigned ClearOdds) {
  const int Clear = 1 << MinCodeSize;
  TWidthTracker Widths(MinCodeSize);
  std::vector<int> Codes;
  const auto Take = [&](int Code) {
    Codes.push_back(Code);
    Widths.Took(Code);
  };
  const auto Root = [&] { return static_cast<int>(Random() % static_cast<unsigned>(Clear)); };
  Take(Clear);
  Take(Root());
  while (static_cast<int>(Codes.size()) < Count) {
    const unsigned Dice = Random() % 1000;
    const int Limit = 1 << Widths.Width();
    if (Dice < ClearOdds) {
      Take(Clear);
      Take(Root());
    } else if (Damaged && Dice < 30 && Widths.NextCode() + 1 < Limit) {
      Take(Widths.NextCode() + 1 + static_cast<int>(Random() % static_cast<unsigned>(Limit - Widths.NextCode() - 1)));
    } else {
      // Mostly recent entries, as real data uses them; the next free one included.
      int Code = Dice < 500 ? Root() : std::max(0, Widths.NextCode() - static_cast<int>(Random() % 64));
      Code = std::min(Code, std::min(Widths.NextCode(), Limit - 1));
      if (Code == Clear || Code == Clear + 1) Code = 0;
      Take(Code);
    }
  }
  Take(Clear + 1);
  return Codes;
}

TCodeStream StreamOf(int MinCodeSize, const std::vector<int>& Codes) {
  TCodeStream Stream(MinCodeSize);
  for (const int Code : Codes) Stream.Add(Code);
  return Stream;
}

std::string DecodeError(const Bytes& Data, int Width, int Height) {
  try {
    Decode(Data, Width, Height);
  } catch (const gif::GIFException& E) {
    return E.what();
  }
  return "";
}

}  // namespace

TEST(LZWDecoder, SmallStreams) {
  const struct {
    const char* Name;
    int MinCodeSize;
    std::vector<int> Codes;
    int Width, Height;
    Bytes Pixels;
  } Cases[] = {
      {"roots, first width 3", 2, {4, 1, 0, 3, 2, 5}, 4, 1, {1, 0, 3, 2}},
      {"one-colour table: clear 4, end 5, first free 6", 2, {4, 0, 6, 7, 5}, 6, 1, {0, 0, 0, 0, 0, 0}},
      {"table entries", 2, {4, 1, 2, 6, 7, 5}, 6, 1, {1, 2, 1, 2, 2, 1}},
      {"the next free code: previous string and its own first index", 2, {4, 1, 6, 5}, 3, 1, {1, 1, 1}},
      {"a code beyond the next free one decodes as that one", 2, {4, 1, 7, 5}, 3, 1, {1, 1, 1}},
      {"the width grows at 8 codes", 2, {4, 3, 3, 6, 8, 9, 5}, 9, 1, {3, 3, 3, 3, 3, 3, 3, 3, 3}},
      {"clear codes in a row", 2, {4, 4, 4, 2, 4, 3, 5}, 2, 1, {2, 3}},
      {"clear then end stores the end code's low bits", 2, {4, 5, 5}, 1, 1, {5}},
      {"code size 8: end 257 stores 1", 8, {256, 257, 257}, 1, 1, {1}},
      {"code size 11 roots keep their low 8 bits", 11, {2048, 300, 2047, 2049}, 2, 1, {44, 255}},
      {"code size 1", 1, {2, 1, 0, 4, 3}, 4, 1, {1, 0, 1, 0}},
      {"end code before the last pixels leaves the fill", 2, {4, 1, 1, 5}, 4, 1, {1, 1, 0, 0}},
      {"no clear code at the start", 2, {2, 1, 5}, 2, 1, {2, 1}},
      {"data left after the last pixel", 2, {4, 1, 2, 3, 5}, 2, 1, {1, 2}},
  };
  for (const auto& C : Cases) {
    const Bytes Data = StreamOf(C.MinCodeSize, C.Codes).Data();
    const TDecoded Got = Decode(Data, C.Width, C.Height);
    EXPECT_EQ(Got.Pixels, C.Pixels) << C.Name;
    EXPECT_EQ(Got.Warnings, NoWarnings) << C.Name;
    EXPECT_EQ(Got.Position, static_cast<int64_t>(Data.size())) << C.Name;
  }
}

// The decoder must leave the stream right after the terminator, wherever the last
// code ends: inside a sub-block, on its last bit, or after more sub-blocks.
TEST(LZWDecoder, StopsRightAfterTheTerminator) {
  for (int Count = 1; Count <= 40; ++Count) {
    std::vector<int> Codes = {4};
    for (int I = 0; I < Count; ++I) Codes.push_back(I % 4);
    Codes.push_back(5);
    for (const size_t BlockSize : {1, 2, 3, 5, 255}) {
      const Bytes Data = StreamOf(2, Codes).Data(BlockSize);
      const Bytes Next = {',', 1, 2, 3};
      Bytes Followed = Data;
      Followed.insert(Followed.end(), Next.begin(), Next.end());
      for (const int Pixels : {Count - 1, Count, Count + 3}) {
        if (Pixels <= 0) continue;
        const TDecoded Got = Decode(Followed, Pixels, 1);
        const std::string Name = std::to_string(Count) + " codes, blocks of " + std::to_string(BlockSize) + ", " +
                                 std::to_string(Pixels) + " pixels";
        EXPECT_EQ(Got.Position, static_cast<int64_t>(Data.size())) << Name;
        EXPECT_EQ(Got.Warnings, NoWarnings) << Name;
      }
    }
  }
}

TEST(LZWDecoder, TrailingSubBlocksAreSkipped) {
  const Bytes Codes = StreamOf(2, {4, 1, 2, 5}).Data(255, false);
  const struct {
    const char* Name;
    Bytes Tail;
    int Pixels;
  } Cases[] = {
      {"after the end code", {3, 9, 9, 9, 1, 7, 0}, 2},
      {"after an early end code", {2, 9, 9, 0}, 5},
      {"after the pixels, when the next code is not the end code", {4, 0xFF, 0xFF, 0xFF, 0xFF, 0}, 1},
  };
  for (const auto& C : Cases) {
    Bytes Data = Codes;
    Data.insert(Data.end(), C.Tail.begin(), C.Tail.end());
    Data.push_back(',');
    const TDecoded Got = Decode(Data, C.Pixels, 1);
    EXPECT_EQ(Got.Position, static_cast<int64_t>(Data.size()) - 1) << C.Name;
    EXPECT_EQ(Got.Pixels[0], 1) << C.Name;
  }
}

TEST(LZWDecoder, DamagedData) {
  const Bytes Valid = StreamOf(2, {4, 1, 2, 3, 0, 5}).Data();
  const struct {
    const char* Name;
    Bytes Data;
    Bytes Pixels;
    std::vector<std::string> Warnings;
    int64_t Position;
  } Cases[] = {
      {"no code size byte", {}, {7, 7, 7, 7, 7}, {}, 0},
      {"code size 0", {0, 2, 0xFF, 0xFF, 0, ','}, {7, 7, 7, 7, 7}, {"Invalid LZW code size"}, 5},
      {"code size 12", {12, 2, 0xFF, 0xFF, 0, ','}, {7, 7, 7, 7, 7}, {"Invalid LZW code size"}, 5},
      {"code size 255", {255, 0, ','}, {7, 7, 7, 7, 7}, {"Invalid LZW code size"}, 2},
      {"ends where a length byte belongs", Bytes(Valid.begin(), Valid.end() - 1), {1, 2, 3, 0, 7}, {},
       static_cast<int64_t>(Valid.size()) - 1},
      {"sub-block longer than the data", Bytes(Valid.begin(), Valid.end() - 2), {1, 2, 3, 7, 7},
       {"Premature end of data"}, static_cast<int64_t>(Valid.size()) - 2},
      {"codes wanted after the terminator", StreamOf(2, {4, 1, 2, 3, 0}).Data(), {1, 2, 3, 0, 7},
       {"Decoder bit buffer under-run"}, 5},
      {"a code beyond the roots after a clear", StreamOf(2, {4, 1, 4, 6, 1, 5}).Data(), {1, 7, 7, 7, 7},
       {"Invalid code after clear code"}, 6},
      {"the first code beyond the roots", StreamOf(2, {4, 7, 5}).Data(), {7, 7, 7, 7, 7},
       {"Invalid code after clear code"}, 5},
  };
  for (const auto& C : Cases) {
    const TDecoded Got = Decode(C.Data, 5, 1, false, 7);
    EXPECT_EQ(Got.Pixels, C.Pixels) << C.Name;
    EXPECT_EQ(Got.Warnings, C.Warnings) << C.Name;
    EXPECT_EQ(Got.Position, C.Position) << C.Name;
  }
}

TEST(LZWDecoder, LoopingTableEntriesAreAnError) {
  // Code 7 taken beyond the next free code 6 makes the entry after it, 7, its own prefix.
  EXPECT_EQ(DecodeError(StreamOf(2, {4, 0, 7, 1, 7, 5}).Data(), 10, 1), "Circular decoder table entry");
  // Entries 11 and 12 refer to each other.
  EXPECT_EQ(DecodeError(StreamOf(3, {8, 0, 12, 11, 1, 11, 9}).Data(), 20, 1), "Circular decoder table entry");
  // The same codes once the pixels are all there are only passed over.
  EXPECT_EQ(DecodeError(StreamOf(2, {4, 0, 7, 1, 7, 5}).Data(), 4, 1), "");
}

TEST(LZWDecoder, FullTableWithoutAClearKeepsDecoding) {
  // 8-bit roots until the table holds 4096 codes (3838 entries after the first
  // root), then codes of the full table at 12 bits.
  std::vector<int> Codes = {256};
  Bytes Roots;
  for (int I = 0; I < 3839; ++I) {
    Roots.push_back(static_cast<uint8_t>(I * 7 % 256));
    Codes.push_back(Roots.back());
  }
  for (const int Code : {258, 4095, 1000, 3, 257}) Codes.push_back(Code);
  Bytes Expected = Roots;
  for (const int Entry : {258, 4095, 1000}) {
    Expected.push_back(Roots[static_cast<size_t>(Entry - 258)]);
    Expected.push_back(Roots[static_cast<size_t>(Entry - 257)]);
  }
  Expected.push_back(3);
  const Bytes Data = StreamOf(8, Codes).Data();
  const TDecoded Got = Decode(Data, static_cast<int>(Expected.size()), 1);
  EXPECT_EQ(Got.Pixels, Expected);
  EXPECT_EQ(Got.Warnings, NoWarnings);
  EXPECT_EQ(Got.Position, static_cast<int64_t>(Data.size()));
}

TEST(LZWDecoder, AgreesWithThePlainDecoderOnRandomStreams) {
  std::mt19937 Random(4);
  for (int Round = 0; Round < 400; ++Round) {
    const int MinCodeSize = std::vector<int>{1, 2, 3, 4, 5, 7, 8, 8, 8, 9, 11}[Round % 11];
    const bool Damaged = Round % 3 == 0;
    const int CodeCount = Round % 5 == 0 ? 9000 : 1 + static_cast<int>(Random() % 600);
    // Some streams never clear, so their tables fill up.
    const std::vector<int> Codes = RandomCodes(Random, MinCodeSize, CodeCount, Damaged, Round % 2 == 0 ? 3 : 0);
    const int Width = 1 + static_cast<int>(Random() % 97);
    const int Height = 1 + static_cast<int>(Random() % (CodeCount * 3 / Width + 2));
    const bool Interlaced = Round % 4 == 1;
    const size_t BlockSize = std::vector<size_t>{255, 1, 13, 254}[Round % 4];
    const Bytes Data = StreamOf(MinCodeSize, Codes).Data(BlockSize);
    const std::string Name = "round " + std::to_string(Round);

    const TReference Want = ReferenceDecode(MinCodeSize, Codes, static_cast<size_t>(Width) * Height, 9);
    if (Want.Circular) {
      EXPECT_EQ(DecodeError(Data, Width, Height), "Circular decoder table entry") << Name;
      continue;
    }
    const TDecoded Got = Decode(Data, Width, Height, Interlaced, 9);
    EXPECT_EQ(Got.Pixels, Interlaced ? Deinterlaced(Want.Pixels, Width, Height) : Want.Pixels) << Name;
    EXPECT_EQ(Got.Warnings, NoWarnings) << Name;
    EXPECT_EQ(Got.Position, static_cast<int64_t>(Data.size())) << Name;
  }
}

TEST(LZWDecoder, EncodedFramesComeBackUnchanged) {
  for (const TPattern Pattern : {TPattern::Noise, TPattern::Runs, TPattern::Gradient, TPattern::Single})
    for (const int Bits : {1, 2, 4, 8})
      for (const auto& [Width, Height] : {std::pair{1, 1}, {7, 3}, {64, 64}, {333, 97}}) {
        const Bytes Pixels = Frame(Pattern, Bits, Width, Height);
        // Roots only: the table fills, so this also runs into the deferred clear.
        TCodeStream Stream(std::max(Bits, 2));
        Stream.Add(1 << std::max(Bits, 2));
        for (const uint8_t Pixel : Pixels) Stream.Add(Pixel);
        Stream.Add((1 << std::max(Bits, 2)) + 1);
        const TDecoded Got = Decode(Stream.Data(), Width, Height);
        EXPECT_EQ(Got.Pixels, Pixels) << Bits << " bits, " << Width << "x" << Height;
      }
}
