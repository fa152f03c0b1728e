#include "install/zip/ZipRecords.h"
#include "install/zip/ZipNames.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Stream.h"
#include "platform/base/Strings.h"

namespace {

using base::TMemoryStream;
using zip::TEndCentral;
using zip::TZipHeaderInfo;

std::vector<uint8_t> EndRecord(uint32_t CentralSize, uint32_t CentralOffset, uint16_t Entries,
                               const std::string& Comment) {
  TEndCentral End;
  End.TotalEntries = Entries;
  End.EntriesThisDisk = Entries;
  End.CentralSize = CentralSize;
  End.CentralOffset = CentralOffset;
  End.SetCommentText(Comment);
  TMemoryStream S;
  End.WriteRecord(S);
  return S.Bytes();
}

std::vector<uint8_t> Join(std::vector<uint8_t> A, const std::vector<uint8_t>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

TEST(EndRecord, EmptyArchiveOfTwentyTwoBytes) {
  TMemoryStream S(EndRecord(0, 0, 0, ""));
  ASSERT_EQ(S.Size(), 22);
  TEndCentral End;
  ASSERT_TRUE(End.FindEndRecord(S));
  EXPECT_EQ(End.TotalEntries, 0);
  EXPECT_EQ(End.RecordPosition, 0u);
  EXPECT_FALSE(End.HasComment());
  TMemoryStream Short(std::vector<uint8_t>(21, 0x50));
  EXPECT_FALSE(End.FindEndRecord(Short));
}

TEST(EndRecord, LongestCommentIsFoundAndNoFurther) {
  TMemoryStream Longest(EndRecord(0, 0, 0, std::string(65506, 'c')));
  TEndCentral End;
  ASSERT_TRUE(End.FindEndRecord(Longest));
  EXPECT_EQ(End.CommentLength(), 65506);
  EXPECT_EQ(End.CommentText(), std::string(65506, 'c'));
  EXPECT_EQ(End.CommentPosition, 22u);
  TMemoryStream TooFar(EndRecord(0, 0, 0, std::string(65507, 'c')));
  EXPECT_FALSE(End.FindEndRecord(TooFar));
}

TEST(EndRecord, ExactEndIsPreferredAndTrailingBytesStillOpen) {
  // A record inside the comment of the real one: the real one closes the archive.
  const std::vector<uint8_t> Inner = EndRecord(0, 0, 7, "");
  const std::vector<uint8_t> Outer = EndRecord(0, 0, 1, std::string(Inner.begin(), Inner.end()) + "tail");
  TMemoryStream S(Outer);
  TEndCentral End;
  ASSERT_TRUE(End.FindEndRecord(S));
  EXPECT_EQ(End.TotalEntries, 1);

  // Bytes after a record: the nearest record that fits is taken.
  TMemoryStream Trailing(Join(Join(EndRecord(0, 0, 3, ""), EndRecord(0, 0, 4, "")), {1, 2, 3}));
  ASSERT_TRUE(End.FindEndRecord(Trailing));
  EXPECT_EQ(End.TotalEntries, 4);
  EXPECT_EQ(End.RecordPosition, 22u);
}

TEST(EndRecord, DirectoryThatDoesNotFitIsNoRecord) {
  TMemoryStream S(Join(std::vector<uint8_t>(10, 0), EndRecord(20, 0, 1, "")));
  TEndCentral End;
  EXPECT_FALSE(End.FindEndRecord(S));
  TMemoryStream Fits(Join(std::vector<uint8_t>(20, 0), EndRecord(20, 0, 1, "")));
  EXPECT_TRUE(End.FindEndRecord(Fits));
}

TEST(EndRecord, AllOnesWithLocatorNeedsZip64) {
  std::vector<uint8_t> Locator(20, 0);
  Locator[0] = 0x50, Locator[1] = 0x4B, Locator[2] = 6, Locator[3] = 7;
  TEndCentral End;
  TMemoryStream WithLocator(Join(Locator, EndRecord(0, 0, 0xFFFF, "")));
  ASSERT_TRUE(End.FindEndRecord(WithLocator));
  EXPECT_TRUE(End.NeedsZip64);
  TMemoryStream Without(Join(std::vector<uint8_t>(20, 0), EndRecord(0, 0, 0xFFFF, "")));
  ASSERT_TRUE(End.FindEndRecord(Without));
  EXPECT_FALSE(End.NeedsZip64);
}

TEST(EndRecord, AssignCopiesAllButTheChangedFlag) {
  TEndCentral A;
  A.TotalEntries = 5;
  A.SetCommentText("hello");
  A.CommentChanged = true;
  TEndCentral B;
  B.Assign(&A);
  EXPECT_EQ(B.TotalEntries, 5);
  EXPECT_EQ(B.CommentText(), "hello");
  EXPECT_FALSE(B.CommentChanged);
  base::TStringList Foreign;
  EXPECT_THROW(B.Assign(&Foreign), base::EConvertError);
}

TEST(Entry, NamesSplitAtTheLastSlashAndRoundTrip) {
  TZipHeaderInfo E;
  E.SetDirectory("img");
  E.SetFileName("a.gif");
  E.SetFileCommentText("note");
  E.SetExtraField(std::string("\x55\x54\x05\x00\x01\x02\x03\x04\x05", 9));
  E.CompressedSize = 10;
  TMemoryStream S;
  E.WriteCentral(S);
  EXPECT_EQ(S.Size(), 46 + 9 + 9 + 4);
  EXPECT_EQ(S.Bytes()[28], 9);
  EXPECT_EQ(std::string(S.Bytes().begin() + 46, S.Bytes().begin() + 55), "img/a.gif");
  S.SetPosition(0);
  TZipHeaderInfo R;
  base::TStream* Stream = &S;
  ASSERT_TRUE(R.ReadCentral(Stream, nullptr));
  EXPECT_EQ(R.Directory(), "img/");
  EXPECT_EQ(R.FileName(), "a.gif");
  EXPECT_EQ(R.FileNameLength(), 9);
  EXPECT_EQ(R.ExtraField(), E.ExtraField());
  EXPECT_EQ(R.FileCommentText(), "note");
  EXPECT_EQ(R.CentralOffset, 0u);
  EXPECT_EQ(S.Position(), S.Size());

  TZipHeaderInfo Folder;
  Folder.SetDirectory("img/");
  TMemoryStream F;
  Folder.WriteCentral(F);
  F.SetPosition(0);
  Stream = &F;
  ASSERT_TRUE(R.ReadCentral(Stream, nullptr));
  EXPECT_EQ(R.Directory(), "img/");
  EXPECT_EQ(R.FileName(), "");
}

TEST(Entry, StoredNamesDecodeByFlagAndKeepTheirBytes) {
  struct TCase {
    std::string Raw;
    uint16_t Flags;
    std::string Name;
  };
  const TCase Cases[] = {
      {"caf\x82.txt", 0, "caf\xC3\xA9.txt"},
      {"\x81\xE1\xFE", 0, "\xC3\xBC\xC3\x9F\xE2\x96\xA0"},
      {"caf\xC3\xA9.txt", 0x0800, "caf\xC3\xA9.txt"},
      {"back\\slash:colon", 0, "back\\slash:colon"},
  };
  for (const TCase& C : Cases) {
    uint8_t Record[46] = {0x50, 0x4B, 1, 2};
    Record[8] = uint8_t(C.Flags), Record[9] = uint8_t(C.Flags >> 8);
    TZipHeaderInfo E;
    E.SetFromCentral(Record, C.Raw);
    EXPECT_EQ(E.FileName(), C.Name);
    EXPECT_EQ(E.RawName(), C.Raw);
    EXPECT_EQ(E.Flag, C.Flags);
  }
  TZipHeaderInfo New;
  New.SetFileName("caf\xC3\xA9.txt");
  EXPECT_EQ(New.Flag & zip::UTF8NameFlag, zip::UTF8NameFlag);
  EXPECT_EQ(New.FileNameLength(), 9);
  New.SetFileName("plain.txt");
  EXPECT_EQ(New.Flag & zip::UTF8NameFlag, 0);
}

TEST(Entry, ClearedEntryAsLocalHeader) {
  TZipHeaderInfo E;
  TMemoryStream S;
  S.SetSize(5);
  S.SetPosition(5);
  E.WriteLocal(S);
  EXPECT_EQ(E.LocalHeaderOffset, 5u);
  const std::vector<uint8_t> Expected{0x50, 0x4B, 3, 4, 20, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(S.Bytes().begin() + 5, S.Bytes().end()), Expected);
  S.SetPosition(5);
  TZipHeaderInfo R;
  ASSERT_TRUE(R.ReadLocal(S));
  EXPECT_EQ(R.CompressionMethod, 8);
  EXPECT_EQ(R.CRC32, 0xFFFFFFFFu);
  EXPECT_EQ(R.LocalHeaderOffset, 5u);
}

TEST(Entry, BadRecordsLeaveTheStreamWhereItWas) {
  TZipHeaderInfo E;
  E.SetFileName("name.txt");
  TMemoryStream Whole;
  E.WriteCentral(Whole);
  for (int64_t Cut : {0, 3, 45, 46, 50}) {
    std::vector<uint8_t> Bytes(Whole.Bytes().begin(), Whole.Bytes().begin() + Cut);
    Bytes.insert(Bytes.begin(), {9, 9});
    TMemoryStream S(Bytes);
    S.SetPosition(2);
    base::TStream* Stream = &S;
    TZipHeaderInfo R;
    EXPECT_FALSE(R.ReadCentral(Stream, nullptr)) << Cut;
    EXPECT_EQ(S.Position(), 2);
    S.SetPosition(2);
    EXPECT_FALSE(R.ReadLocal(S));
    EXPECT_EQ(S.Position(), 2);
  }
}

TEST(Entry, CentralHeaderContinuesOnTheNextVolume) {
  TZipHeaderInfo E;
  E.SetFileName("split.txt");
  E.SetFileCommentText("across");
  TMemoryStream Whole;
  E.WriteCentral(Whole);
  for (int64_t Cut : {0, 2, 20, 50, 60}) {
    TMemoryStream First(std::vector<uint8_t>(Whole.Bytes().begin(), Whole.Bytes().begin() + Cut));
    TMemoryStream Second(std::vector<uint8_t>(Whole.Bytes().begin() + Cut, Whole.Bytes().end()));
    base::TStream* Stream = &First;
    int Asked = 0;
    TZipHeaderInfo R;
    ASSERT_TRUE(R.ReadCentral(Stream, [&] {
      ++Asked;
      return &Second;
    })) << Cut;
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(Stream, &Second);
    EXPECT_EQ(R.FileName(), "split.txt");
    EXPECT_EQ(R.FileCommentText(), "across");
  }
}

TEST(Entry, SizesBeyondThirtyTwoBitsAreRefusedOnWrite) {
  TZipHeaderInfo E;
  E.UncompressedSize = uint64_t(1) << 32;
  TMemoryStream S;
  EXPECT_THROW(E.WriteCentral(S), zip::EUnsupportedZip);
  EXPECT_THROW(E.WriteLocal(S), zip::EUnsupportedZip);
  EXPECT_EQ(S.Size(), 0);
}

TEST(Entry, SetDirectoryAndAssign) {
  TZipHeaderInfo E;
  E.SetDirectory("data");
  EXPECT_EQ(E.Directory(), "data/");
  E.SetDirectory("");
  EXPECT_EQ(E.Directory(), "");
  E.SetFileName("x");
  E.SetFileCommentText("c");
  E.Selected = true;
  E.CRC32 = 1234;
  TZipHeaderInfo Copy;
  Copy.Assign(&E);
  EXPECT_EQ(Copy.FullName(), "x");
  EXPECT_EQ(Copy.FileCommentText(), "c");
  EXPECT_TRUE(Copy.Selected);
  EXPECT_EQ(Copy.CRC32, 1234u);
  std::string Extra("\x01\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00", 12);
  E.SetExtraField(std::string("\x55\x54\x01\x00\x07", 5) + Extra);
  EXPECT_TRUE(E.HasZip64Extra());
  E.SetExtraField(std::string("\x55\x54\x01\x00\x07", 5));
  EXPECT_FALSE(E.HasZip64Extra());
}

TEST(SortedZip, OrdersByMode) {
  auto Entry = [](const std::string& Dir, const std::string& Name, uint64_t Packed, uint64_t Size, uint64_t Offset) {
    auto* E = new TZipHeaderInfo;
    E->SetDirectory(Dir);
    E->SetFileName(Name);
    E->CompressedSize = Packed;
    E->UncompressedSize = Size;
    E->LocalHeaderOffset = Offset;
    return E;
  };
  struct TCase {
    zip::TZipSortMode Mode;
    std::vector<std::string> Order;
  };
  const TCase Cases[] = {
      {zip::ByNone, {"b/C", "a/b", "A/a"}},
      {zip::ByName, {"A/a", "a/b", "b/C"}},
      {zip::ByFileName, {"A/a", "a/b", "b/C"}},
      {zip::ByCompressedSize, {"a/b", "A/a", "b/C"}},
      {zip::ByRate, {"b/C", "a/b", "A/a"}},
  };
  for (const TCase& C : Cases) {
    zip::TSortedZip List(zip::dupAccept);
    List.SortMode = C.Mode;
    List.Add(Entry("A", "a", 5, 100, 300));
    List.Add(Entry("a", "b", 10, 10, 200));
    List.Add(Entry("b", "C", 5, 5, 100));
    std::vector<std::string> Order;
    for (int I = 0; I < List.Count(); ++I) Order.push_back(List.Entries(I)->FullName());
    EXPECT_EQ(Order, C.Order) << int(C.Mode);
  }
  zip::TSortedZip BySize(zip::dupAccept);
  BySize.SortMode = zip::ByCompressedSize;
  TZipHeaderInfo A, B;
  A.CompressedSize = B.CompressedSize = 7;
  EXPECT_NE(BySize.Compare(&A, &B), 0);
  zip::TSortedZip Archive(zip::dupError);
  Archive.Add(Entry("", "one", 1, 1, 40));
  std::unique_ptr<TZipHeaderInfo> Duplicate(Entry("", "two", 1, 1, 40));
  EXPECT_THROW(Archive.Add(Duplicate.get()), base::EListError);
}

}  // namespace
