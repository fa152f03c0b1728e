#include <gtest/gtest.h>

#include "GIFTestSupport.h"
#include "gif/StreamHelpers.h"
#include "platform/base/Strings.h"
#include "platform/gdi/LastError.h"

using namespace gif;
using namespace giftest;

namespace {

// Sizes of the sub-blocks in a written chain, the terminator included.
std::vector<int> BlockSizes(const std::vector<uint8_t>& Data) {
  std::vector<int> Sizes;
  for (size_t At = 0; At < Data.size(); At += Data[At] + 1u) Sizes.push_back(Data[At]);
  return Sizes;
}

}  // namespace

TEST(SubBlockStrings, LinesAreCutAt255BytesAndReadBackOneLinePerBlock) {
  const struct {
    std::vector<std::string> Lines;
    std::vector<int> Sizes;
    std::vector<std::string> ReadBack;
  } Cases[] = {
      {{std::string(600, 'a')}, {255, 255, 90, 0}, {std::string(255, 'a'), std::string(255, 'a'), std::string(90, 'a')}},
      {{std::string(255, 'b')}, {255, 0}, {std::string(255, 'b')}},
      {{std::string(256, 'c')}, {255, 1, 0}, {std::string(255, 'c'), "c"}},
      {{"ab", "", "cd"}, {2, 2, 0}, {"ab", "cd"}},
      {{}, {0}, {}},
  };
  for (const auto& C : Cases) {
    base::TStringList Lines;
    for (const auto& L : C.Lines) Lines.Add(L);
    base::TMemoryStream Out;
    WriteSubBlockStrings(Out, Lines);
    EXPECT_EQ(BlockSizes(Out.Bytes()), C.Sizes);
    Out.SetPosition(0);
    base::TStringList Back;
    ReadSubBlockStrings(Out, Back);
    ASSERT_EQ(Back.Count(), static_cast<int>(C.ReadBack.size()));
    for (int I = 0; I < Back.Count(); ++I) EXPECT_EQ(Back.Strings(I), C.ReadBack[static_cast<size_t>(I)]);
    EXPECT_EQ(Out.Position(), Out.Size());
  }
}

TEST(SubBlockStrings, ReadingStopsAtZeroBytesAndAtTheEnd) {
  base::TStringList Lines;
  auto Stream = StreamOf({3, 'a', 0, 'b', 2, 'c', 'd'});
  ReadSubBlockStrings(Stream, Lines);
  ASSERT_EQ(Lines.Count(), 2) << "the data ending on a size byte ends the list";
  EXPECT_EQ(Lines.Strings(0), "a");
  EXPECT_EQ(Lines.Strings(1), "cd");

  auto Short = StreamOf({5, 'a', 'b'});
  EXPECT_THROW(ReadSubBlockStrings(Short, Lines), GIFException);
}

TEST(StreamHelpers, ReadByteAtTheEndIsAnError) {
  auto Stream = StreamOf({7});
  EXPECT_EQ(ReadByte(Stream), 7);
  try {
    ReadByte(Stream);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Premature end of data");
  }
}

TEST(StreamHelpers, RowBytesAndBitsForColors) {
  EXPECT_EQ(RowBytes(1, 1, 32), 4);
  EXPECT_EQ(RowBytes(33, 1, 32), 8);
  EXPECT_EQ(RowBytes(3, 24, 32), 12);
  EXPECT_EQ(RowBytes(17, 1, 16), 4);
  EXPECT_EQ(RowBytes(5, 8, 8), 5);
  EXPECT_EQ(RowBytes(100000, 32, 32), 400000);
  const int Expected[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {128, 7}, {129, 8}, {256, 8}};
  for (const auto& E : Expected) EXPECT_EQ(BitsForColors(E[0]), E[1]) << E[0];
}

TEST(StreamHelpers, CheckGDIHandleRaisesOutOfResources) {
  gdi::SetLastError(0);
  try {
    CheckGDIHandle<gdi::HPALETTE>(nullptr);
    FAIL();
  } catch (const base::EOutOfResources& E) {
    EXPECT_STREQ(E.what(), "Out of system resources");
  }
  gdi::SetLastError(gdi::ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_THROW(CheckGDIHandle<gdi::HPALETTE>(nullptr), base::EOutOfResources);
  gdi::HPALETTE P = gdi::CreatePalette({0x300, {{1, 2, 3, 0}}});
  EXPECT_EQ(CheckGDIHandle(P), P);
  gdi::DeleteObject(P);
}
