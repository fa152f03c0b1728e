// Reading enhanced and placeable metafiles into records: the header's frame, every
// supported record with its fields, records dropped, and malformed files refused.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/Exceptions.h"
#include "platform/graphics/MetafileReader.h"
#include "tests/graphics/MetafileTestSupport.h"

using namespace picturetest;
using graphics::TMetaOp;
using graphics::TMetaRecord;

namespace {

using Points = std::vector<base::TPoint>;
using Args = std::vector<int32_t>;

struct TRecordCase {
  const char* Name;
  uint32_t Type;
  Bytes Body;
  TMetaOp Op;
  Args ExpectedArgs;
  Points ExpectedPoints = {};
  Args ExpectedCounts = {};
  std::string ExpectedText = {};
};

void ExpectRecord(const TMetaRecord& R, const TRecordCase& C) {
  EXPECT_EQ(R.Op, C.Op);
  EXPECT_EQ(R.Args, C.ExpectedArgs);
  EXPECT_EQ(R.Points, C.ExpectedPoints);
  EXPECT_EQ(R.Counts, C.ExpectedCounts);
  EXPECT_EQ(R.Text, C.ExpectedText);
}

const Bytes Bounds = Ints({0, 0, 0, 0});

TEST(EnhancedMetafile, HeaderGivesTheFrameAndTheReferenceDevice) {
  const auto Content = graphics::ReadMetafile(TEMFBuilder({10, 20, 2656, 1343}).Finish());
  EXPECT_EQ(Content.Kind, graphics::TMetafileKind::Enhanced);
  EXPECT_EQ(Content.Frame, base::Rect(10, 20, 2656, 1343));
  EXPECT_EQ(Content.UnitsPerInch, 2540);
  EXPECT_EQ(Content.DevicePixels, base::Point(960, 960));
  EXPECT_EQ(Content.DeviceMillimeters, base::Point(254, 254));
  EXPECT_TRUE(Content.Records.empty());
}

TEST(EnhancedMetafile, EverySupportedRecordIsReadWithItsFields) {
  Bytes Font = Ints({3, -20, 0, 900, 0, 700});
  Font.insert(Font.end(), {1, 0, 1, 0, 0, 0, 0, 0});
  Font = Cat({Font, Utf16(u"Arial"), Bytes(64 - 10, 0)});
  const Bytes TextBody = Cat({Bounds, Ints({1, 0, 0}), Ints({5, 6, 2, 76, 2, 1, 2, 30, 40, 80}),
                              Utf16(u"Hi"), Ints({7, 8})});
  const TRecordCase Cases[] = {
      {"set map mode", 17, Ints({8}), TMetaOp::SetMapMode, {8}},
      {"window ext", 9, Ints({200, -100}), TMetaOp::SetWindowExt, {200, -100}},
      {"window org", 10, Ints({5, 6}), TMetaOp::SetWindowOrg, {5, 6}},
      {"viewport ext", 11, Ints({20, 10}), TMetaOp::SetViewportExt, {20, 10}},
      {"viewport org", 12, Ints({-5, 6}), TMetaOp::SetViewportOrg, {-5, 6}},
      {"scale viewport", 31, Ints({1, 2, 3, 4}), TMetaOp::ScaleViewportExt, {1, 2, 3, 4}},
      {"scale window", 32, Ints({5, 6, 7, 8}), TMetaOp::ScaleWindowExt, {5, 6, 7, 8}},
      {"bk mode", 18, Ints({1}), TMetaOp::SetBkMode, {1}},
      {"fill mode", 19, Ints({2}), TMetaOp::SetPolyFillMode, {2}},
      {"rop2", 20, Ints({7}), TMetaOp::SetROP2, {7}},
      {"stretch mode", 21, Ints({3}), TMetaOp::SetStretchBltMode, {3}},
      {"text align", 22, Ints({24}), TMetaOp::SetTextAlign, {24}},
      {"text colour", 24, Ints({0x0000FF}), TMetaOp::SetTextColor, {0x0000FF}},
      {"bk colour", 25, Ints({0x00FF00}), TMetaOp::SetBkColor, {0x00FF00}},
      {"save", 33, {}, TMetaOp::SaveDC, {}},
      {"restore", 34, Ints({-1}), TMetaOp::RestoreDC, {-1}},
      {"select", 37, Ints({0x80000004}), TMetaOp::SelectObject, {int32_t(0x80000004)}},
      {"delete", 40, Ints({2}), TMetaOp::DeleteObject, {2}},
      {"pen", 38, Ints({1, 2, 3, 0, 0x112233}), TMetaOp::CreatePen, {1, 2, 3, 0x112233}},
      {"cosmetic pen", 95, Ints({2, 0, 0, 0, 0, 0x0001, 9, 0, 0x445566, 0, 0}), TMetaOp::CreatePen, {2, 1, 0, 0x445566}},
      {"geometric pen", 95, Ints({2, 0, 0, 0, 0, 0x10000, 9, 0, 0x445566, 0, 0}), TMetaOp::CreatePen, {2, 0, 9, 0x445566}},
      {"brush", 39, Ints({4, 2, 0x0000FF, 5}), TMetaOp::CreateBrush, {4, 2, 0x0000FF, 5}},
      {"palette", 49, Ints({5, 0x300, 0}), TMetaOp::CreateOther, {5}},
      {"font", 82, Font, TMetaOp::CreateFont, {3, -20, 0, 900, 700, 1, 0, 1}, {}, {}, "Arial"},
      {"move", 27, Ints({3, 4}), TMetaOp::MoveTo, {}, {{3, 4}}},
      {"line", 54, Ints({-3, 4}), TMetaOp::LineTo, {}, {{-3, 4}}},
      {"pixel", 15, Ints({3, 4, 0xABCDEF}), TMetaOp::SetPixel, {0xABCDEF}, {{3, 4}}},
      {"rectangle", 43, Ints({1, 2, 30, 40}), TMetaOp::Rectangle, {}, {{1, 2}, {30, 40}}},
      {"ellipse", 42, Ints({1, 2, 30, 40}), TMetaOp::Ellipse, {}, {{1, 2}, {30, 40}}},
      {"round rect", 44, Ints({1, 2, 30, 40, 6, 8}), TMetaOp::RoundRect, {6, 8}, {{1, 2}, {30, 40}}},
      {"arc", 45, Ints({1, 2, 30, 40, 5, 6, 7, 8}), TMetaOp::Arc, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"arc to", 55, Ints({1, 2, 30, 40, 5, 6, 7, 8}), TMetaOp::ArcTo, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"chord", 46, Ints({1, 2, 30, 40, 5, 6, 7, 8}), TMetaOp::Chord, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"pie", 47, Ints({1, 2, 30, 40, 5, 6, 7, 8}), TMetaOp::Pie, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"polyline", 4, Cat({Bounds, Ints({2, 1, 2, 3, 4})}), TMetaOp::Polyline, {}, {{1, 2}, {3, 4}}},
      {"polyline16", 87, Cat({Bounds, Ints({2}), Words({1, 2, -3, 4})}), TMetaOp::Polyline, {}, {{1, 2}, {-3, 4}}},
      {"polyline to", 6, Cat({Bounds, Ints({1, 5, 6})}), TMetaOp::PolylineTo, {}, {{5, 6}}},
      {"polyline to16", 89, Cat({Bounds, Ints({1}), Words({5, 6})}), TMetaOp::PolylineTo, {}, {{5, 6}}},
      {"bezier", 2, Cat({Bounds, Ints({4, 0, 0, 1, 1, 2, 2, 3, 3})}), TMetaOp::PolyBezier, {},
       {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {"bezier16", 85, Cat({Bounds, Ints({1}), Words({9, 9})}), TMetaOp::PolyBezier, {}, {{9, 9}}},
      {"bezier to", 5, Cat({Bounds, Ints({3, 1, 1, 2, 2, 3, 3})}), TMetaOp::PolyBezierTo, {}, {{1, 1}, {2, 2}, {3, 3}}},
      {"bezier to16", 88, Cat({Bounds, Ints({1}), Words({4, 4})}), TMetaOp::PolyBezierTo, {}, {{4, 4}}},
      {"polygon", 3, Cat({Bounds, Ints({3, 0, 0, 9, 0, 0, 9})}), TMetaOp::PolyPolygon, {}, {{0, 0}, {9, 0}, {0, 9}},
       {3}},
      {"polygon16", 86, Cat({Bounds, Ints({3}), Words({0, 0, 9, 0, 0, 9})}), TMetaOp::PolyPolygon, {},
       {{0, 0}, {9, 0}, {0, 9}}, {3}},
      {"polypolygon", 8, Cat({Bounds, Ints({2, 5, 2, 3, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5})}), TMetaOp::PolyPolygon, {},
       {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, {2, 3}},
      {"polypolygon16", 91, Cat({Bounds, Ints({1, 2, 2}), Words({1, 1, 2, 2})}), TMetaOp::PolyPolygon, {},
       {{1, 1}, {2, 2}}, {2}},
      {"polypolyline", 7, Cat({Bounds, Ints({1, 2, 2, 1, 1, 2, 2})}), TMetaOp::PolyPolyline, {}, {{1, 1}, {2, 2}}, {2}},
      {"polypolyline16", 90, Cat({Bounds, Ints({1, 2, 2}), Words({1, 1, 2, 2})}), TMetaOp::PolyPolyline, {},
       {{1, 1}, {2, 2}}, {2}},
      {"text", 84, TextBody, TMetaOp::TextOut, {2}, {{5, 6}, {1, 2}, {30, 40}}, {7, 8}, "Hi"},
      {"ansi text", 83, Cat({Bounds, Ints({1, 0, 0}), Ints({5, 6, 3, 76, 0, 0, 0, 0, 0, 0}), Bytes{'a', 0xE9, 'c', 0}}),
       TMetaOp::TextOut, {0}, {{5, 6}}, {}, "a\xC3\xA9" "c"},
  };
  for (const TRecordCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const auto Content = graphics::ReadMetafile(TEMFBuilder().Add(C.Type, C.Body).Finish());
    ASSERT_EQ(Content.Records.size(), 1u);
    ExpectRecord(Content.Records[0], C);
  }
}

TEST(EnhancedMetafile, WorldTransformsKeepTheirMatrixAndMode) {
  Bytes Matrix;
  for (const float F : {2.0f, 0.5f, -0.5f, 3.0f, 10.0f, -20.0f}) {
    uint32_t U;
    std::memcpy(&U, &F, 4);
    Put(Matrix, U, 4);
  }
  const auto Content =
      graphics::ReadMetafile(TEMFBuilder().Add(35, Matrix).Add(36, Cat({Matrix, Ints({3})})).Finish());
  ASSERT_EQ(Content.Records.size(), 2u);
  EXPECT_EQ(Content.Records[0].Op, TMetaOp::SetWorldTransform);
  EXPECT_EQ(Content.Records[1].Op, TMetaOp::ModifyWorldTransform);
  EXPECT_EQ(Content.Records[1].Args, Args{3});
  const std::array<float, 6> Expected{2.0f, 0.5f, -0.5f, 3.0f, 10.0f, -20.0f};
  EXPECT_EQ(Content.Records[0].Xform, Expected);
}

TEST(EnhancedMetafile, BlitRecordsCarryTheirBitmapAndSourceFromTheTop) {
  const Bytes Dib = DIB24(2, 3, [](int X, int Y) { return uint32_t(X * 100 + Y); });
  const Bytes Info(Dib.begin(), Dib.begin() + 40);
  const Bytes Pixels(Dib.begin() + 40, Dib.end());
  const Bytes Identity = Ints({0x3F800000, 0, 0, 0x3F800000, 0, 0});
  // Bitmap offsets count from the record's start: 8 bytes of type and size first.
  const Bytes BitBlt = Cat({Bounds, Ints({10, 20, 2, 3, 0xCC0020, 0, 1}), Identity, Ints({0, 0, 100, 40, 140, 24}),
                            Info, Pixels});
  const Bytes StretchBlt = Cat({Bounds, Ints({10, 20, 4, 6, 0xCC0020, 1, 0}), Identity,
                                Ints({0, 0, 108, 40, 148, 24, 1, 2}), Info, Pixels});
  const Bytes StretchDIBits =
      Cat({Bounds, Ints({10, 20, 0, 1, 2, 2, 80, 40, 120, 24, 0, 0xCC0020, 8, 8}), Info, Pixels});
  const Bytes PatBlt = Cat({Bounds, Ints({1, 2, 3, 4, 0xF00021, 0, 0}), Identity, Ints({0, 0, 0, 0, 0, 0})});
  const auto Content =
      graphics::ReadMetafile(TEMFBuilder().Add(76, BitBlt).Add(77, StretchBlt).Add(81, StretchDIBits).Add(76, PatBlt).Finish());
  ASSERT_EQ(Content.Records.size(), 4u);
  for (size_t I = 0; I < 3; ++I) {
    ASSERT_NE(Content.Records[I].Image, nullptr) << I;
    EXPECT_EQ(Content.Records[I].Image->Width, 2);
    EXPECT_EQ(Content.Records[I].Image->Height, 3);
    EXPECT_EQ(Content.Records[I].Op, TMetaOp::Blit);
  }
  EXPECT_EQ(Content.Records[0].Args, (Args{10, 20, 2, 3, 0, 1, 2, 3, 0xCC0020}));
  EXPECT_EQ(Content.Records[1].Args, (Args{10, 20, 4, 6, 1, 0, 1, 2, 0xCC0020}));
  // From the bottom, rows 1 and 2 of three are rows 0 and 1 from the top.
  EXPECT_EQ(Content.Records[2].Args, (Args{10, 20, 8, 8, 0, 0, 2, 2, 0xCC0020}));
  EXPECT_EQ(Content.Records[3].Image, nullptr);
  EXPECT_EQ(Content.Records[3].Args, (Args{1, 2, 3, 4, 0, 0, 3, 4, 0xF00021}));
}

TEST(EnhancedMetafile, RecordsThePlayerDoesNotDrawAreDropped) {
  const auto Content = graphics::ReadMetafile(TEMFBuilder()
                                                  .Add(70, Ints({4, 0x12345678}))   // comment
                                                  .Add(30, Ints({0, 0, 10, 10}))    // clip rectangle
                                                  .Add(59, {})                      // begin path
                                                  .Add(43, Ints({1, 1, 5, 5}))
                                                  .Add(9999, Ints({1}))             // unknown
                                                  .Finish());
  ASSERT_EQ(Content.Records.size(), 1u);
  EXPECT_EQ(Content.Records[0].Op, TMetaOp::Rectangle);
}

TEST(EnhancedMetafile, ReadingStopsAtTheEndRecordAndAcceptsAFileWithoutOne) {
  Bytes File = TEMFBuilder().Add(43, Ints({1, 1, 5, 5})).Finish();
  File = Cat({File, Ints({43, 24, 1, 1, 5, 5})});
  EXPECT_EQ(graphics::ReadMetafile(File).Records.size(), 1u);
  EXPECT_EQ(graphics::ReadMetafile(TEMFBuilder().Add(43, Ints({1, 1, 5, 5})).Finish(false)).Records.size(), 1u);
}

Bytes Head(Bytes File, size_t Size) {
  File.resize(Size);
  return File;
}

// The first (or only) text of the error a malformed file raises.
std::string ErrorOf(const Bytes& File) {
  try {
    graphics::ReadMetafile(File);
  } catch (const base::EInvalidGraphic& E) {
    return E.what();
  }
  return "loaded";
}

TEST(EnhancedMetafile, MalformedFilesRaiseInvalidGraphicWithWhatAndWhere) {
  Bytes BadSignature = TEMFBuilder().Finish();
  PutAt(BadSignature, 40, 0x12345678, 4);
  Bytes NoDevice = TEMFBuilder().Finish();
  PutAt(NoDevice, 80, 0, 4);
  Bytes HeaderTooLong = TEMFBuilder().Finish();
  PutAt(HeaderTooLong, 4, 4000, 4);
  const Bytes Dib = DIB24(2, 3, [](int, int) { return 0u; });
  const Bytes Identity = Ints({0x3F800000, 0, 0, 0x3F800000, 0, 0});
  auto Blit = [&](const Bytes& Bitmap, int64_t BitsSize) {
    return TEMFBuilder()
        .Add(76, Cat({Bounds, Ints({0, 0, 2, 3, 0xCC0020, 0, 0}), Identity, Ints({0, 0, 100, 40, 140, BitsSize}),
                      Bitmap}))
        .Finish();
  };
  Bytes HugeRle = Ints({40, 20000, 20000});
  Put(HugeRle, 1, 2);
  Put(HugeRle, 8, 2);
  Put(HugeRle, 1, 4);
  HugeRle.resize(40 + 1024 + 4, 0);
  Bytes HugeBlit = Cat({Bounds, Ints({0, 0, 2, 3, 0xCC0020, 0, 0}), Identity, Ints({0, 0, 100, 1064, 1164, 4})});
  HugeBlit = Cat({HugeBlit, Bytes(HugeRle.begin(), HugeRle.end())});
  struct TCase {
    const char* Name;
    Bytes File;
    std::string Text;
  };
  const TCase Cases[] = {
      {"empty", {}, "Not a metafile"},
      {"text file", Bytes(100, 'x'), "Not a metafile"},
      {"short header", Head(TEMFBuilder().Finish(), 60), "Invalid metafile header"},
      {"signature", BadSignature, "Not a metafile"},
      {"header size", HeaderTooLong, "Invalid metafile header"},
      {"device size", NoDevice, "Invalid metafile header"},
      {"empty frame", TEMFBuilder({0, 0, 0, 100}).Finish(), "Invalid metafile dimensions"},
      {"record cut", TEMFBuilder().Raw(Ints({43, 24, 1})).Finish(false), "Metafile record at offset 88 is truncated"},
      {"record head cut", TEMFBuilder().Raw(Words({43})).Finish(false), "Metafile record at offset 88 is truncated"},
      {"odd size", TEMFBuilder().Raw(Ints({43, 22, 0, 0, 0, 0})).Finish(), "Invalid metafile record size at offset 88"},
      {"tiny size", TEMFBuilder().Raw(Ints({43, 4})).Finish(), "Invalid metafile record size at offset 88"},
      {"short rectangle", TEMFBuilder().Add(43, Ints({1, 1, 5})).Finish(), "Invalid metafile record (type 43) at offset 88"},
      {"points beyond", TEMFBuilder().Add(4, Cat({Bounds, Ints({3, 1, 2})})).Finish(),
       "Invalid metafile record (type 4) at offset 88"},
      {"huge count", TEMFBuilder().Add(4, Cat({Bounds, Ints({0x40000000, 1, 2})})).Finish(),
       "Invalid metafile record (type 4) at offset 88"},
      {"counts disagree", TEMFBuilder().Add(8, Cat({Bounds, Ints({1, 3, 2, 1, 1, 2, 2})})).Finish(),
       "Invalid metafile record (type 8) at offset 88"},
      {"string outside", TEMFBuilder().Add(84, Cat({Bounds, Ints({1, 0, 0, 0, 0, 50, 500, 0, 0, 0, 0, 0, 0})})).Finish(),
       "Invalid metafile record (type 84) at offset 88"},
      {"bad transform", TEMFBuilder().Add(35, Ints({0x7F800000, 0, 0, 0x3F800000, 0, 0})).Finish(),
       "Invalid metafile record (type 35) at offset 88"},
      {"bitmap outside", Blit(Dib, 1000), "Invalid metafile record (type 76) at offset 88"},
      {"bitmap pixels cut", Blit(Bytes(Dib.begin(), Dib.end() - 4), 20), "Invalid bitmap in metafile: "},
      {"bitmap header", Blit(Cat({Ints({7}), Bytes(Dib.begin() + 4, Dib.end())}), 24), "Invalid bitmap in metafile: "},
      {"bitmaps too large", TEMFBuilder().Add(76, HugeBlit).Finish(), "Metafile bitmaps are too large"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ErrorOf(C.File).rfind(C.Text, 0), 0u) << ErrorOf(C.File);
  }
}

TEST(PlaceableMetafile, HeaderGivesTheBoxAndItsUnits) {
  const auto Content = graphics::ReadMetafile(TWMFBuilder({-10, 5, 1430, 725}, 1440).Finish());
  EXPECT_EQ(Content.Kind, graphics::TMetafileKind::Placeable);
  EXPECT_EQ(Content.Frame, base::Rect(-10, 5, 1430, 725));
  EXPECT_EQ(Content.UnitsPerInch, 1440);
}

TEST(PlaceableMetafile, EverySupportedRecordIsReadWithItsFields) {
  Bytes Font = Words({-16, 0, 900, 0, 700});
  Font.insert(Font.end(), {1, 1, 0, 0, 0, 0, 0, 0, 'C', 'o', 'u', 'r', 0, 0});
  const Bytes Dib = DIB24(2, 3, [](int, int) { return 0x0000FFu; });
  struct TCase {
    const char* Name;
    uint16_t Function;
    Bytes Params;
    TMetaOp Op;
    Args ExpectedArgs;
    Points ExpectedPoints = {};
    Args ExpectedCounts = {};
    std::string ExpectedText = {};
    bool Image = false;
  };
  const TCase Cases[] = {
      {"map mode", 0x0103, Words({8}), TMetaOp::SetMapMode, {8}},
      {"window org", 0x020B, Words({-6, 5}), TMetaOp::SetWindowOrg, {5, -6}},
      {"window ext", 0x020C, Words({50, 100}), TMetaOp::SetWindowExt, {100, 50}},
      {"offset window", 0x020F, Words({2, 1}), TMetaOp::OffsetWindowOrg, {1, 2}},
      {"scale window", 0x0410, Words({4, 3, 2, 1}), TMetaOp::ScaleWindowExt, {1, 2, 3, 4}},
      {"save", 0x001E, {}, TMetaOp::SaveDC, {}},
      {"restore", 0x0127, Words({-1}), TMetaOp::RestoreDC, {-1}},
      {"bk mode", 0x0102, Words({2}), TMetaOp::SetBkMode, {2}},
      {"rop2", 0x0104, Words({7}), TMetaOp::SetROP2, {7}},
      {"fill mode", 0x0106, Words({1}), TMetaOp::SetPolyFillMode, {1}},
      {"stretch mode", 0x0107, Words({3}), TMetaOp::SetStretchBltMode, {3}},
      {"text align", 0x012E, Words({6}), TMetaOp::SetTextAlign, {6}},
      {"bk colour", 0x0201, Ints({0x00FF00}), TMetaOp::SetBkColor, {0x00FF00}},
      {"text colour", 0x0209, Ints({0x0000FF}), TMetaOp::SetTextColor, {0x0000FF}},
      {"move", 0x0214, Words({4, 3}), TMetaOp::MoveTo, {}, {{3, 4}}},
      {"line", 0x0213, Words({4, -3}), TMetaOp::LineTo, {}, {{-3, 4}}},
      {"rectangle", 0x041B, Words({40, 30, 2, 1}), TMetaOp::Rectangle, {}, {{1, 2}, {30, 40}}},
      {"ellipse", 0x0418, Words({40, 30, 2, 1}), TMetaOp::Ellipse, {}, {{1, 2}, {30, 40}}},
      {"round rect", 0x061C, Words({8, 6, 40, 30, 2, 1}), TMetaOp::RoundRect, {6, 8}, {{1, 2}, {30, 40}}},
      {"arc", 0x0817, Words({8, 7, 6, 5, 40, 30, 2, 1}), TMetaOp::Arc, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"pie", 0x081A, Words({8, 7, 6, 5, 40, 30, 2, 1}), TMetaOp::Pie, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"chord", 0x0830, Words({8, 7, 6, 5, 40, 30, 2, 1}), TMetaOp::Chord, {}, {{1, 2}, {30, 40}, {5, 6}, {7, 8}}},
      {"pixel", 0x041F, Cat({Ints({0xABCDEF}), Words({4, 3})}), TMetaOp::SetPixel, {0xABCDEF}, {{3, 4}}},
      {"polyline", 0x0325, Words({2, 1, 2, 3, 4}), TMetaOp::Polyline, {}, {{1, 2}, {3, 4}}},
      {"polygon", 0x0324, Words({3, 0, 0, 9, 0, 0, 9}), TMetaOp::PolyPolygon, {}, {{0, 0}, {9, 0}, {0, 9}}, {3}},
      {"polypolygon", 0x0538, Words({2, 1, 2, 1, 1, 2, 2, 3, 3}), TMetaOp::PolyPolygon, {},
       {{1, 1}, {2, 2}, {3, 3}}, {1, 2}},
      {"text", 0x0521, Cat({Words({3}), Bytes{'a', 'b', 'c', 0}, Words({6, 5})}), TMetaOp::TextOut, {0}, {{5, 6}}, {},
       "abc"},
      {"ext text", 0x0A32, Cat({Words({6, 5, 2, 4, 1, 2, 30, 40}), Bytes{'h', 'i'}, Words({7, 8})}), TMetaOp::TextOut,
       {4}, {{5, 6}, {1, 2}, {30, 40}}, {7, 8}, "hi"},
      {"pen", 0x02FA, Cat({Words({2, 3, 0}), Ints({0x112233})}), TMetaOp::CreatePen, {0, 2, 3, 0x112233}},
      {"brush", 0x02FC, Cat({Words({2}), Ints({0x0000FF}), Words({5})}), TMetaOp::CreateBrush, {0, 2, 0x0000FF, 5}},
      {"font", 0x02FB, Font, TMetaOp::CreateFont, {0, -16, 0, 900, 700, 1, 1, 0}, {}, {}, "Cour"},
      {"palette", 0x00F7, Words({0x300, 0}), TMetaOp::CreateOther, {0}},
      {"select", 0x012D, Words({1}), TMetaOp::SelectObject, {1}},
      {"delete", 0x01F0, Words({1}), TMetaOp::DeleteObject, {1}},
      {"pattern blit", 0x061D, Cat({Ints({0xF00021}), Words({4, 3, 2, 1})}), TMetaOp::Blit, {1, 2, 3, 4, 0, 0, 0, 0,
       0xF00021}},
      {"dib bitblt", 0x0940, Cat({Ints({0xCC0020}), Words({1, 0, 3, 2, 20, 10}), Dib}), TMetaOp::Blit,
       {10, 20, 2, 3, 0, 1, 2, 3, 0xCC0020}, {}, {}, {}, true},
      {"dib stretchblt", 0x0B41, Cat({Ints({0xCC0020}), Words({2, 1, 1, 0, 6, 4, 20, 10}), Dib}), TMetaOp::Blit,
       {10, 20, 4, 6, 0, 1, 1, 2, 0xCC0020}, {}, {}, {}, true},
      {"stretch dib", 0x0F43, Cat({Ints({0xCC0020}), Words({0, 2, 2, 1, 0, 8, 8, 20, 10}), Dib}), TMetaOp::Blit,
       {10, 20, 8, 8, 0, 0, 2, 2, 0xCC0020}, {}, {}, {}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const auto Content = graphics::ReadMetafile(TWMFBuilder().Add(C.Function, C.Params).Finish());
    ASSERT_EQ(Content.Records.size(), 1u);
    const TMetaRecord& R = Content.Records[0];
    EXPECT_EQ(R.Op, C.Op);
    EXPECT_EQ(R.Args, C.ExpectedArgs);
    EXPECT_EQ(R.Points, C.ExpectedPoints);
    EXPECT_EQ(R.Counts, C.ExpectedCounts);
    EXPECT_EQ(R.Text, C.ExpectedText);
    EXPECT_EQ(R.Image != nullptr, C.Image);
  }
}

TEST(PlaceableMetafile, ObjectsTakeTheLowestFreeSlot) {
  const Bytes Pen = Cat({Words({0, 1, 0}), Ints({0})});
  const auto Content = graphics::ReadMetafile(TWMFBuilder()
                                                  .Add(0x02FA, Pen)
                                                  .Add(0x02FA, Pen)
                                                  .Add(0x02FA, Pen)
                                                  .Add(0x01F0, Words({1}))
                                                  .Add(0x02FA, Pen)
                                                  .Add(0x02FA, Pen)
                                                  .Finish());
  std::vector<int32_t> Slots;
  for (const TMetaRecord& R : Content.Records)
    if (R.Op == TMetaOp::CreatePen) Slots.push_back(R.Args[0]);
  EXPECT_EQ(Slots, (Args{0, 1, 2, 1, 3}));
}

TEST(PlaceableMetafile, MalformedFilesRaiseInvalidGraphicWithWhatAndWhere) {
  Bytes BadSum = TWMFBuilder().Finish();
  BadSum[20] ^= 1;
  Bytes BadType = TWMFBuilder().Finish();
  PutAt(BadType, 22, 3, 2);
  struct TCase {
    const char* Name;
    Bytes File;
    std::string Text;
  };
  const TCase Cases[] = {
      {"short", Head(TWMFBuilder().Finish(), 30), "Invalid metafile header"},
      {"checksum", BadSum, "Invalid placeable metafile checksum"},
      {"empty box", TWMFBuilder({0, 0, 100, 0}).Finish(), "Invalid metafile dimensions"},
      {"no units", TWMFBuilder({0, 0, 100, 50}, 0).Finish(), "Invalid metafile dimensions"},
      {"meta header", BadType, "Invalid metafile header"},
      {"record cut", TWMFBuilder().Raw(Cat({Ints({10}), Words({0x041B, 1})})).Finish(false),
       "Metafile record at offset 40 is truncated"},
      {"record head cut", TWMFBuilder().Raw(Words({5, 0})).Finish(false), "Metafile record at offset 40 is truncated"},
      {"tiny size", TWMFBuilder().Raw(Cat({Ints({2}), Words({0x041B})})).Finish(),
       "Invalid metafile record size at offset 40"},
      {"short rectangle", TWMFBuilder().Add(0x041B, Words({1, 2})).Finish(),
       "Invalid metafile record (type 1051) at offset 40"},
      {"points beyond", TWMFBuilder().Add(0x0325, Words({9, 1, 2})).Finish(),
       "Invalid metafile record (type 805) at offset 40"},
      {"string beyond", TWMFBuilder().Add(0x0521, Words({40, 1, 2})).Finish(),
       "Invalid metafile record (type 1313) at offset 40"},
      {"bitmap cut", TWMFBuilder().Add(0x0940, Cat({Ints({0xCC0020}), Words({0, 0, 3, 2, 0, 0}), Ints({40, 2})})).Finish(),
       "Invalid bitmap in metafile: "},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ErrorOf(C.File).rfind(C.Text, 0), 0u) << ErrorOf(C.File);
  }
}

}  // namespace
