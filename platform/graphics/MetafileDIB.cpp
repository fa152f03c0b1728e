#include "platform/graphics/MetafileDIB.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/ByteOrder.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"

namespace graphics {

namespace {

constexpr const char* SBadBitmap = "Invalid bitmap in metafile";

[[noreturn]] void Fail(const std::string& Why) { throw base::EInvalidGraphic(std::string(SBadBitmap) + ": " + Why); }

uint32_t Le(const uint8_t* P, int Size) { return static_cast<uint32_t>(base::LoadLittleEndian(P, Size)); }

struct THeader {
  uint32_t Size = 0;
  int64_t Width = 0;
  int64_t Height = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
};

THeader ReadHeader(const uint8_t* Info, size_t InfoSize) {
  THeader H;
  if (InfoSize < 12) Fail("header is truncated");
  H.Size = Le(Info, 4);
  if (H.Size == 12) {
    H.Width = Le(Info + 4, 2);
    H.Height = Le(Info + 6, 2);
    H.BitCount = static_cast<uint16_t>(Le(Info + 10, 2));
    return H;
  }
  if (H.Size < 40 || H.Size > InfoSize) Fail("header is truncated");
  H.Width = static_cast<int32_t>(Le(Info + 4, 4));
  H.Height = static_cast<int32_t>(Le(Info + 8, 4));
  H.BitCount = static_cast<uint16_t>(Le(Info + 14, 2));
  H.Compression = Le(Info + 16, 4);
  H.ColorsUsed = Le(Info + 32, 4);
  return H;
}

}  // namespace

TMetafileDIB ReadMetafileDIB(const uint8_t* Info, size_t InfoSize, const uint8_t* Bits, size_t BitsSize,
                             int64_t& Budget) {
  const THeader H = ReadHeader(Info, InfoSize);
  const int64_t Pixels = std::abs(H.Width) * std::abs(H.Height);
  if (Pixels > Budget) throw base::EInvalidGraphic("Metafile bitmaps are too large");
  Budget -= Pixels;

  gdi::BITMAPFILEHEADER File;
  File.bfOffBits = static_cast<uint32_t>(sizeof File + InfoSize);
  File.bfSize = static_cast<uint32_t>(File.bfOffBits + BitsSize);
  std::vector<uint8_t> Bmp(sizeof File);
  std::memcpy(Bmp.data(), &File, sizeof File);
  Bmp.insert(Bmp.end(), Info, Info + InfoSize);
  Bmp.insert(Bmp.end(), Bits, Bits + BitsSize);
  base::TMemoryStream Stream(std::move(Bmp));
  try {
    return {std::make_shared<const TDIBImage>(ReadBMP(Stream)), H.Height < 0};
  } catch (const base::EInvalidGraphic& E) {
    Fail(E.what());
  }
}

TMetafileDIB ReadPackedDIB(const uint8_t* Data, size_t Size, int64_t& Budget) {
  const THeader H = ReadHeader(Data, Size);
  const bool Core = H.Size == 12;
  const int64_t MaxColors = H.BitCount <= 8 ? int64_t(1) << H.BitCount : 0;
  const int64_t Colors = !Core && H.ColorsUsed != 0 ? H.ColorsUsed : MaxColors;
  if (Colors > 256) Fail("color table is too long");
  int64_t InfoSize = H.Size + Colors * (Core ? 3 : 4);
  if (H.Size == 40 && H.Compression == gdi::BI_BITFIELDS) InfoSize += 12;
  if (InfoSize > static_cast<int64_t>(Size)) Fail("color table is truncated");
  return ReadMetafileDIB(Data, static_cast<size_t>(InfoSize), Data + InfoSize, Size - static_cast<size_t>(InfoSize),
                         Budget);
}

}  // namespace graphics
