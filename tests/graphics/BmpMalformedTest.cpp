// Malformed files: each raises EInvalidGraphic with the text of what is wrong, and
// none allocates according to sizes it has not checked.
#include <functional>

#include "platform/base/Exceptions.h"
#include "tests/graphics/AllocationWatch.h"
#include "tests/graphics/BmpTestSupport.h"

using namespace bmptest;

namespace {

// 3 x 2 pixels at 8 bits with 4 colours.
Bytes Good8() { return BuildBMP({.W = 3, .H = 2, .Bits = 8, .ColorsUsed = 4}, Bytes(16, 0x40), Bytes(8, 3)); }

Bytes With(Bytes File, size_t At, uint32_t Value, int Size = 4) {
  PutLE(File, At, Value, Size);
  return File;
}

Bytes Cut(Bytes File, size_t Size) {
  File.resize(Size);
  return File;
}

Bytes Masked(std::array<uint32_t, 4> Masks, uint32_t HeaderSize = 40) {
  return BuildBMP({.HeaderSize = HeaderSize, .W = 2, .H = 2, .Bits = 16, .Compression = gdi::BI_BITFIELDS,
                   .Masks = Masks},
                  {}, Bytes(8, 0x55));
}

Bytes Rle8(const Bytes& Code, int32_t H = 2) {
  return BuildBMP({.W = 3, .H = H, .Bits = 8, .Compression = gdi::BI_RLE8, .ColorsUsed = 4}, Bytes(16, 0x40), Code);
}

// A one-row file with the 12-byte core header and a full table of 3-byte entries.
Bytes Core(uint16_t Bits, uint16_t W) {
  const size_t Table = Bits <= 8 ? 3u << Bits : 0;
  Bytes B;
  PutLE(B, 0, 0x4D42, 2);
  PutLE(B, InfoSize, 12, 4);
  PutLE(B, 18, W, 2);
  PutLE(B, 20, 1, 2);
  PutLE(B, 22, 1, 2);
  PutLE(B, 24, Bits, 2);
  PutLE(B, OffBits, 26 + Table, 4);
  B.resize(26 + Table + graphics::TDIBImage::BMPRowBytes(W, Bits));
  return B;
}

const char* const Header = "Invalid bitmap header";
const char* const Dimensions = "Invalid bitmap dimensions";
const char* const Unsupported = "Unsupported bitmap format";
const char* const Table = "Invalid bitmap color table";
const char* const MaskText = "Invalid bitmap color masks";
const char* const Truncated = "Bitmap pixel data is truncated";

struct TBadFile {
  const char* Name;
  std::function<Bytes()> Make;
  const char* Message;
};

const TBadFile BadFiles[] = {
    {"Signature", [] { return With(Good8(), 1, 'X', 1); }, "Not a bitmap file"},
    {"ShorterThanFileHeader", [] { return Cut(Good8(), 10); }, "Not a bitmap file"},
    {"HeaderSize41", [] { return With(Good8(), InfoSize, 41); }, Header},
    {"HeaderSizeHuge", [] { return With(Good8(), InfoSize, 0xFFFFFFF0); }, Header},
    {"HeaderCut", [] { return Cut(Good8(), 40); }, Header},
    {"Planes", [] { return With(Good8(), Planes, 2, 2); }, Header},
    {"MasksCut", [] { return Cut(Masked({0xF800, 0x07E0, 0x001F, 0}), 60); }, Header},
    {"OffsetBeyondFile", [] { return With(Good8(), OffBits, 200); }, Header},
    {"OffsetInsideTable", [] { return With(Good8(), OffBits, 60); }, Header},
    {"ZeroWidth", [] { return With(Good8(), Width, 0); }, Dimensions},
    {"NegativeWidth", [] { return With(Good8(), Width, static_cast<uint32_t>(-3)); }, Dimensions},
    {"ZeroHeight", [] { return With(Good8(), Height, 0); }, Dimensions},
    {"MinimumHeight", [] { return With(Good8(), Height, 0x80000000); }, Dimensions},
    {"HugeWidthAndHeight", [] { return With(With(Good8(), Width, 0x7FFFFFFF), Height, 0x7FFFFFFF); }, Dimensions},
    {"JustOverThePixelLimit", [] { return With(With(Good8(), Width, 16385), Height, 16384); }, Dimensions},
    {"CoreZeroWidth", [] { return Core(8, 0); }, Dimensions},
    {"BitCount2", [] { return With(Good8(), BitCount, 2, 2); }, Unsupported},
    {"BitCount64", [] { return With(Good8(), BitCount, 64, 2); }, Unsupported},
    {"JpegCompression", [] { return With(Good8(), Compression, 4); }, Unsupported},
    {"AlphaBitfieldsCompression", [] { return With(Good8(), Compression, 6); }, Unsupported},
    {"Rle8At4Bits", [] { return With(Rle8({0, 1}), BitCount, 4, 2); }, Unsupported},
    {"Rle4At8Bits", [] { return With(Rle8({0, 1}), Compression, gdi::BI_RLE4); }, Unsupported},
    {"BitfieldsAt24Bits", [] { return With(Masked({0xFF0000, 0xFF00, 0xFF, 0}), BitCount, 24, 2); }, Unsupported},
    {"TopDownRle", [] { return Rle8({0, 1}, -2); }, Unsupported},
    {"CoreAt16Bits", [] { return Core(16, 1); }, Unsupported},
    {"ColorsAbove256", [] { return With(Good8(), ClrUsed, 257); }, Table},
    {"ColorsAbove2PowBits", [] { return With(With(Good8(), BitCount, 1, 2), ClrUsed, 3); }, Table},
    {"ColorsAbove256At24Bits", [] { return With(With(Good8(), BitCount, 24, 2), ClrUsed, 300); }, Table},
    {"TableBeyondFile", [] { return With(Good8(), ClrUsed, 0); }, Table},
    {"RedMaskZero", [] { return Masked({0, 0x07E0, 0x001F, 0}); }, MaskText},
    {"MaskWithAGap", [] { return Masked({0xF00F, 0x07E0, 0x0010, 0}); }, MaskText},
    {"MasksOverlap", [] { return Masked({0xF800, 0x0FE0, 0x001F, 0}); }, MaskText},
    {"MaskBeyondThePixel", [] { return Masked({0x1F0000, 0x07E0, 0x001F, 0}); }, MaskText},
    {"AlphaOverlapsRed", [] { return Masked({0xF800, 0x07E0, 0x001F, 0x8000}, 124); }, MaskText},
    {"PixelsTruncated", [] { return Cut(Good8(), Good8().size() - 1); }, Truncated},
    {"RleWithoutEnd", [] { return Rle8({3, 1, 0, 0}); }, Truncated},
    {"RleAbsoluteRunCut", [] { return Rle8({0, 5, 1, 2}); }, Truncated},
    {"RleDeltaCut", [] { return Rle8({0, 2, 1}); }, Truncated},
};

TEST(BmpMalformed, BaseFilesAreValid) {
  EXPECT_EQ(Read(Good8()).Colors.size(), 4u);
  EXPECT_EQ(Read(Masked({0xF800, 0x07E0, 0x001F, 0})).GreenMask, 0x07E0u);
  EXPECT_EQ(Read(Rle8({3, 1, 0, 0, 0, 1})).Bits, Bytes({1, 1, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Read(Core(8, 1)).Colors.size(), 256u) << "a core table of 2^8 entries";
}

class BmpMalformed : public ::testing::TestWithParam<TBadFile> {};

TEST_P(BmpMalformed, RaisesInvalidGraphic) {
  try {
    Read(GetParam().Make());
    ADD_FAILURE() << "no exception";
  } catch (const base::EInvalidGraphic& E) {
    EXPECT_EQ(E.Message(), GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BmpMalformed, ::testing::ValuesIn(BadFiles),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// Headers that claim the largest allowed images over a few bytes of pixels.
TEST(BmpMalformed, HugeClaimsFailBeforeAllocating) {
  for (const uint16_t Bits : {8, 24, 32}) {
    Bytes File = With(With(With(Good8(), BitCount, Bits, 2), Width, 16384), Height, static_cast<uint32_t>(-16384));
    if (Bits > 8) PutLE(File, ClrUsed, 0, 4);
    {
      const TAllocationWatch Watch;
      EXPECT_THROW(Read(File), base::EInvalidGraphic);
    }
    EXPECT_LT(TAllocationWatch::Largest(), 64u * 1024) << Bits << " bits";
  }
}

}  // namespace
