#include <gtest/gtest.h>

#include <map>
#include <random>

#include "EncoderTestSupport.h"
#include "gif/GIFWriter.h"
#include "gif/HashTable.h"
#include "platform/base/Exceptions.h"

using namespace enctest;

namespace {

int CodeSizeFor(int Bits) { return std::max(Bits, 2); }

// Runs of codes between clear codes, each without its clear code.
std::vector<std::vector<TCode>> Groups(const TReference& R) {
  std::vector<std::vector<TCode>> Result;
  const int Clear = 1 << R.MinCodeSize;
  for (const TCode& C : R.Codes) {
    if (C.Code == Clear)
      Result.emplace_back();
    else if (C.Code != Clear + 1)
      Result.back().push_back(C);
  }
  return Result;
}

}  // namespace

TEST(EncoderOutput, EveryKindTableSizePatternAndRowOrderReadsBackExactly) {
  const TPattern Patterns[] = {TPattern::Noise,    TPattern::Runs,   TPattern::LongRuns,
                               TPattern::Gradient, TPattern::Single, TPattern::AllDiffer};
  const struct {
    int Width, Height;
  } Sizes[] = {{1, 1}, {7, 3}, {61, 37}, {300, 200}};
  for (const TKind Kind : {TKind::LZW, TKind::RLE})
    for (int Bits = 1; Bits <= 8; ++Bits)
      for (const TPattern Pattern : Patterns)
        for (const auto& Size : Sizes)
          for (const bool Interlaced : {false, true}) {
            SCOPED_TRACE(std::string(KindName(Kind)) + " bits " + std::to_string(Bits) + " " + PatternName(Pattern) +
                         " " + std::to_string(Size.Width) + "x" + std::to_string(Size.Height) +
                         (Interlaced ? " interlaced" : ""));
            const Bytes Pixels = MakePixels(Pattern, 1 << Bits, Size.Width, Size.Height, static_cast<unsigned>(Bits));
            const Bytes Data = Encode(Kind, Bits, 1 << Bits, Pixels, Interlaced, Size.Width, Size.Height);
            const TReference R = ReadReference(Data, Pixels.size());
            ASSERT_EQ(R.Error, "");
            EXPECT_EQ(R.MinCodeSize, CodeSizeFor(Bits));
            EXPECT_EQ(R.Codes.front().Code, 1 << R.MinCodeSize) << "a clear code first";
            EXPECT_EQ(Interlaced ? Deinterlace(R.Stored, Size.Width, Size.Height) : R.Stored, Pixels);
          }
}

TEST(LZWEncoder, ClearsWhenTheNextFreeCodeWouldBe4095AndDropsTheWidth) {
  for (int Bits = 1; Bits <= 8; ++Bits) {
    SCOPED_TRACE("bits " + std::to_string(Bits));
    const Bytes Pixels = MakePixels(TPattern::Noise, 1 << Bits, 600, 400, 3);
    const TReference R = ReadReference(Encode(TKind::LZW, Bits, 1 << Bits, Pixels, false, 600, 400), Pixels.size());
    ASSERT_EQ(R.Error, "");
    const int Clear = 1 << R.MinCodeSize;
    int Clears = 0;
    for (size_t I = 0; I < R.Codes.size(); ++I) {
      const TCode& C = R.Codes[I];
      EXPECT_LT(C.Code, 4095) << "at code " << I;
      EXPECT_LE(C.Width, 12);
      if (C.Code != Clear || I == 0) continue;
      ++Clears;
      EXPECT_EQ(C.NextCode, 4095) << "the table holds codes up to 4094 at the clear code " << I;
      EXPECT_EQ(C.Width, 12) << "the clear code goes out at the width in force";
      ASSERT_LT(I + 1, R.Codes.size());
      EXPECT_EQ(R.Codes[I + 1].Width, R.MinCodeSize + 1) << "then the first width again";
    }
    EXPECT_GE(Clears, 2) << "the frame is large enough to fill the table twice";
  }
}

TEST(RLEEncoder, PlainCodesAreClearedAfterNineOrClearCodeMinusTwo) {
  for (int Bits = 1; Bits <= 8; ++Bits) {
    SCOPED_TRACE("bits " + std::to_string(Bits));
    const int Colors = 1 << Bits;
    const Bytes Pixels = MakePixels(TPattern::AllDiffer, Colors, 1000, 3);
    const TReference R = ReadReference(Encode(TKind::RLE, Bits, Colors, Pixels, false, 1000, 3), Pixels.size());
    ASSERT_EQ(R.Error, "");
    const int Clear = 1 << R.MinCodeSize;
    const size_t Expected = R.MinCodeSize <= 3 ? 9 : static_cast<size_t>(Clear - 2);
    const auto All = Groups(R);
    ASSERT_GT(All.size(), 2u);
    for (size_t G = 0; G < All.size(); ++G) {
      if (G + 1 < All.size())
        EXPECT_EQ(All[G].size(), Expected) << "group " << G;
      else
        EXPECT_LE(All[G].size(), Expected) << "the last group";
      for (const TCode& C : All[G]) EXPECT_LT(C.Code, Clear) << "only single-pixel codes in group " << G;
    }
  }
}

// The codes after a clear for a run of Count copies of Pixel: Pixel, then the
// codes of runs 2, 3, ..., and what is left as one more code.
std::vector<int> GrowingRuns(int MinCodeSize, int Pixel, int64_t Count) {
  const int FirstFree = (1 << MinCodeSize) + 2;
  std::vector<int> Codes;
  for (int64_t N = 1; Count > 0; ++N) {
    const int64_t Take = std::min(N, Count);
    Codes.push_back(Take == 1 ? Pixel : FirstFree + static_cast<int>(Take) - 2);
    Count -= Take;
  }
  return Codes;
}

TEST(RLEEncoder, ARunAfterAClearGrowsOneCopyPerCode) {
  const struct {
    int Bits;
    int Width, Height;
    bool ClearAfter;  // more codes than a plain group may hold
  } Cases[] = {{2, 1000, 1, true}, {8, 1000, 1, false}, {2, 500, 200, true}, {8, 500, 200, true}, {5, 1, 37, false}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE("bits " + std::to_string(Case.Bits) + " pixels " + std::to_string(Case.Width * Case.Height));
    const int Colors = 1 << Case.Bits;
    const Bytes Pixels = MakePixels(TPattern::Single, Colors, Case.Width, Case.Height);
    const TReference R =
        ReadReference(Encode(TKind::RLE, Case.Bits, Colors, Pixels, false, Case.Width, Case.Height), Pixels.size());
    ASSERT_EQ(R.Error, "");
    const int Clear = 1 << R.MinCodeSize;
    std::vector<int> Expected = {Clear};
    for (const int Code : GrowingRuns(R.MinCodeSize, Colors - 1, static_cast<int64_t>(Pixels.size())))
      Expected.push_back(Code);
    if (Case.ClearAfter) Expected.push_back(Clear);
    Expected.push_back(Clear + 1);
    std::vector<int> Got;
    for (const TCode& C : R.Codes) Got.push_back(C.Code);
    EXPECT_EQ(Got, Expected);
  }
}

TEST(RLEEncoder, ARunLongerThanTheTableHoldsClearsBeforeCode4095) {
  for (const int Bits : {2, 8}) {
    SCOPED_TRACE("bits " + std::to_string(Bits));
    const int Colors = 1 << Bits;
    const int FirstFree = (1 << CodeSizeFor(Bits)) + 2;
    const int64_t RunCodes = 4095 - FirstFree;
    const int Width = 4000, Height = static_cast<int>(RunCodes * (RunCodes + 1) / 2 / Width + 300);
    const Bytes Pixels = MakePixels(TPattern::Single, Colors, Width, Height);
    const TReference R = ReadReference(Encode(TKind::RLE, Bits, Colors, Pixels, false, Width, Height), Pixels.size());
    ASSERT_EQ(R.Error, "");
    const int Clear = 1 << R.MinCodeSize;
    ASSERT_GT(R.Codes.size(), static_cast<size_t>(RunCodes + 2));
    const TCode& Full = R.Codes[static_cast<size_t>(RunCodes + 1)];
    EXPECT_EQ(Full.Code, Clear) << "the clear comes after as many codes as the table has room for";
    EXPECT_EQ(Full.NextCode, 4094) << "the decoder's table then ends at code 4093";
    EXPECT_EQ(Full.Width, 12);
    const TCode& After = R.Codes[static_cast<size_t>(RunCodes + 2)];
    EXPECT_EQ(After.Code, Colors - 1) << "after the clear the runs start again at one pixel";
    EXPECT_EQ(After.Width, CodeSizeFor(Bits) + 1);
    for (const TCode& C : R.Codes) EXPECT_LT(C.Code, 4095);
  }
}

TEST(EncoderOutput, InterlacedRowsAreStoredInPassOrder) {
  const struct {
    int Height;
    std::vector<int> Rows;
  } Cases[] = {{1, {0}},       {2, {0, 1}},          {3, {0, 2, 1}}, {4, {0, 2, 1, 3}},
               {5, {0, 4, 2, 1, 3}}, {9, {0, 8, 4, 2, 6, 1, 3, 5, 7}}};
  for (const TKind Kind : {TKind::LZW, TKind::RLE})
    for (const auto& Case : Cases) {
      SCOPED_TRACE(std::string(KindName(Kind)) + " height " + std::to_string(Case.Height));
      const int Width = 3;
      Bytes Pixels;
      for (int Row = 0; Row < Case.Height; ++Row) Pixels.insert(Pixels.end(), Width, static_cast<uint8_t>(Row));
      const TReference R = ReadReference(Encode(Kind, 4, 16, Pixels, true, Width, Case.Height), Pixels.size());
      ASSERT_EQ(R.Error, "");
      std::vector<int> Rows;
      for (size_t I = 0; I < R.Stored.size(); I += Width) Rows.push_back(R.Stored[I]);
      EXPECT_EQ(Rows, Case.Rows);
    }
}

TEST(EncoderOutput, AFrameWithoutPixelsIsTheEndCodeAlone) {
  const struct {
    int Bits, Width, Height;
    bool NoBuffer;
    Bytes Expected;
  } Cases[] = {
      {1, 0, 5, false, {2, 1, 0x05, 0}},
      {2, 5, 0, false, {2, 1, 0x05, 0}},
      {8, 4, 0, false, {8, 2, 0x01, 0x01, 0}},
      {4, 3, 3, true, {4, 1, 0x11, 0}},
  };
  for (const TKind Kind : {TKind::LZW, TKind::RLE})
    for (const auto& Case : Cases) {
      SCOPED_TRACE(std::string(KindName(Kind)) + " bits " + std::to_string(Case.Bits));
      base::TMemoryStream Stream;
      const uint8_t Pixel = 0;
      const uint8_t* Pixels = Case.NoBuffer ? nullptr : &Pixel;
      if (Kind == TKind::LZW)
        gif::TLZWEncoder().Encode(Stream, Case.Bits, 1 << Case.Bits, Pixels, false, Case.Height, Case.Width);
      else
        gif::TRLEEncoder().Encode(Stream, Case.Bits, 1 << Case.Bits, Pixels, false, Case.Height, Case.Width);
      EXPECT_EQ(Stream.Bytes(), Case.Expected);
    }
}

TEST(EncoderOutput, TablesOfOneOrTwoColoursOrNoneStillUseCodeSizeTwo) {
  for (const TKind Kind : {TKind::LZW, TKind::RLE})
    for (const int Bits : {0, 1}) {
      SCOPED_TRACE(std::string(KindName(Kind)) + " bits " + std::to_string(Bits));
      const Bytes Pixels(20, 0);
      const TReference R = ReadReference(Encode(Kind, Bits, 1 << Bits, Pixels, false, 5, 4), Pixels.size());
      ASSERT_EQ(R.Error, "");
      EXPECT_EQ(R.MinCodeSize, 2);
      EXPECT_EQ(R.Codes[0].Code, 4);
      EXPECT_EQ(R.Codes[0].Width, 3);
      EXPECT_EQ(R.Codes.back().Code, 5);
    }
}

TEST(EncoderOutput, AnIndexOutsideTheTableIsRefused) {
  const struct {
    int Bits, ColorCount;
    size_t At;
  } Cases[] = {{3, 5, 0}, {3, 5, 700}, {8, 200, 0}, {8, 200, 4999}, {1, 1, 1}};
  for (const TKind Kind : {TKind::LZW, TKind::RLE})
    for (const auto& Case : Cases) {
      SCOPED_TRACE(std::string(KindName(Kind)) + " count " + std::to_string(Case.ColorCount) + " at " +
                   std::to_string(Case.At));
      Bytes Pixels = MakePixels(TPattern::Noise, Case.ColorCount, 100, 50);
      Pixels[Case.At] = static_cast<uint8_t>(Case.ColorCount);
      base::TMemoryStream Stream;
      try {
        if (Kind == TKind::LZW)
          gif::TLZWEncoder().Encode(Stream, Case.Bits, Case.ColorCount, Pixels.data(), false, 50, 100);
        else
          gif::TRLEEncoder().Encode(Stream, Case.Bits, Case.ColorCount, Pixels.data(), false, 50, 100);
        FAIL() << "no exception";
      } catch (const gif::GIFException& E) {
        EXPECT_STREQ(E.what(), "Color not in color table");
      }
      ASSERT_GE(Stream.Size(), 1);
      EXPECT_EQ(Stream.Bytes()[0], CodeSizeFor(Case.Bits)) << "what was written stays";
    }
  base::TMemoryStream Stream;
  const uint8_t Pixel = 0;
  EXPECT_THROW(gif::TLZWEncoder().Encode(Stream, 9, 512, &Pixel, false, 1, 1), gif::GIFException);
  EXPECT_EQ(Stream.Size(), 0) << "a code size above 8 writes nothing";
}

TEST(GIFWriter, SubBlocksAreFullButTheLastAndNeverEmpty) {
  const struct {
    size_t Count, Chunk;
  } Cases[] = {{0, 1}, {1, 1}, {254, 7}, {255, 255}, {256, 1}, {510, 100}, {1000, 333}, {1000, 1000}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE("count " + std::to_string(Case.Count) + " chunk " + std::to_string(Case.Chunk));
    Bytes Data(Case.Count);
    for (size_t I = 0; I < Data.size(); ++I) Data[I] = static_cast<uint8_t>(I * 7 + 1);
    base::TMemoryStream Target;
    {
      gif::TGIFWriter Writer(Target);
      for (size_t At = 0; At < Data.size(); At += Case.Chunk) {
        const int64_t N = static_cast<int64_t>(std::min(Case.Chunk, Data.size() - At));
        EXPECT_EQ(Writer.Write(Data.data() + At, N), N);
      }
    }  // the destructor writes the last sub-block
    Bytes Expected;
    for (size_t At = 0; At < Data.size(); At += 255) {
      const size_t N = std::min<size_t>(255, Data.size() - At);
      Expected.push_back(static_cast<uint8_t>(N));
      Expected.insert(Expected.end(), Data.begin() + static_cast<ptrdiff_t>(At),
                      Data.begin() + static_cast<ptrdiff_t>(At + N));
    }
    EXPECT_EQ(Target.Bytes(), Expected);
  }

  base::TMemoryStream Target;
  gif::TGIFWriter Writer(Target);
  Writer.Flush();
  const uint8_t Nine = 9;
  Writer.Write(&Nine, 1);
  Writer.Flush();
  Writer.Flush();
  EXPECT_EQ(Target.Bytes(), (Bytes{1, 9})) << "a flush with nothing collected writes nothing";
}

TEST(GIFWriter, ImageDataEndingOnAFullSubBlockHasTheTerminatorRightAfterIt) {
  // Grow a noise frame until its codes fill whole sub-blocks exactly.
  for (const TKind Kind : {TKind::LZW, TKind::RLE}) {
    SCOPED_TRACE(KindName(Kind));
    bool Found = false;
    for (int Width = 1; Width < 5000 && !Found; ++Width) {
      const Bytes Pixels = MakePixels(TPattern::Noise, 256, Width, 1, 5);
      const Bytes Data = Encode(Kind, 8, 256, Pixels, false, Width, 1);
      const TReference R = ReadReference(Data, Pixels.size());
      ASSERT_EQ(R.Error, "") << "width " << Width;
      Found = R.Blocks.back() == 255;
    }
    EXPECT_TRUE(Found);
  }
}

TEST(GIFStream, OnlyTheWriterWritesAndNothingReadsOrSeeks) {
  base::TMemoryStream Target;
  gif::TGIFStream Plain(Target);
  gif::TGIFWriter Writer(Target);
  uint8_t Byte = 0;
  for (base::TStream* Stream : {static_cast<base::TStream*>(&Plain), static_cast<base::TStream*>(&Writer)}) {
    const std::function<void()> Calls[] = {[&] { Stream->Read(&Byte, 1); },
                                           [&] { Stream->Seek(0, base::TSeekOrigin::soBeginning); },
                                           [&] { Stream->SetSize(0); }};
    for (const auto& Call : Calls) {
      try {
        Call();
        ADD_FAILURE() << "no exception";
      } catch (const base::Exception& E) {
        EXPECT_STREQ(E.what(), "Invalid stream operation");
      }
    }
  }
  EXPECT_THROW(Plain.Write(&Byte, 1), base::Exception);
  EXPECT_EQ(Target.Size(), 0);
}

TEST(HashTable, FindsWhatWasAddedUntilCleared) {
  // Random interleavings of misses and adds, checked against a map, up to the
  // 4094 codes an LZW table holds (half the slots, so probes collide often).
  std::mt19937 Random(11);
  gif::THashTable Table;
  for (int Round = 0; Round < 3; ++Round) {
    std::map<uint32_t, uint32_t> Model;
    uint32_t NextCode = 258;
    while (NextCode < 4095) {
      // Prefixes crowd together as they do in LZW: recent codes and roots.
      const uint32_t Prefix = Random() % 2 ? Random() % 256 : NextCode - 1 - Random() % std::min<uint32_t>(NextCode, 64);
      const uint32_t Key = Prefix << 8 | (Random() % 256);
      const auto Known = Model.find(Key);
      const int32_t Found = Table.Find(Key);
      if (Known != Model.end()) {
        ASSERT_EQ(Found, static_cast<int32_t>(Known->second)) << "key " << Key;
        continue;
      }
      ASSERT_EQ(Found, -1) << "key " << Key;
      // Sometimes other keys are added between the miss and the add.
      for (int Other = static_cast<int>(Random() % 3); Other > 0 && NextCode < 4094; --Other) {
        const uint32_t OtherKey = Key ^ ((1 + Random() % 255) & 0xFF);
        if (Model.count(OtherKey)) continue;
        Table.Add(OtherKey, NextCode);
        Model[OtherKey] = NextCode++;
      }
      Table.Add(Key, NextCode);
      Model[Key] = NextCode++;
    }
    for (const auto& [Key, Code] : Model) ASSERT_EQ(Table.Find(Key), static_cast<int32_t>(Code)) << "key " << Key;
    Table.Clear();
    for (const auto& [Key, Code] : Model) ASSERT_EQ(Table.Find(Key), -1) << "after Clear, key " << Key;
  }
}
