#include <array>

#include "platform/base/Exceptions.h"
#include "platform/graphics/BmpCodec.h"

namespace graphics {

namespace {

[[noreturn]] void Refuse(const char* Message) { throw base::EInvalidGraphicOperation(Message); }

void CheckImage(const TDIBImage& Image) {
  const uint16_t Bits = Image.BitCount;
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 16 && Bits != 24 && Bits != 32)
    Refuse("Unsupported bitmap format");
  if (Image.Width < 1 || Image.Height < 1 || int64_t(Image.Width) * Image.Height > MaxBMPPixels)
    Refuse("Invalid bitmap dimensions");
  const bool NoMasks = Image.RedMask == 0 && Image.GreenMask == 0 && Image.BlueMask == 0;
  const bool Is565 = Bits == 16 && Image.RedMask == 0xF800 && Image.GreenMask == 0x07E0 && Image.BlueMask == 0x001F;
  if (!NoMasks && !Is565) Refuse("Invalid bitmap color masks");
  const size_t Colors = Image.Colors.size();
  if (Bits <= 8 ? Colors < 1 || Colors > (size_t(1) << Bits) : Colors != 0) Refuse("Invalid bitmap color table");
  if (Image.Bits.size() != static_cast<size_t>(Image.RowBytes() * Image.Height))
    Refuse("Bitmap pixel data does not match its size");
}

}  // namespace

void WriteBMP(base::TStream& Stream, const TDIBImage& Image) {
  CheckImage(Image);
  const bool Bitfields = Image.RedMask != 0;
  const std::array<uint32_t, 3> Masks{Image.RedMask, Image.GreenMask, Image.BlueMask};
  const uint32_t MasksSize = Bitfields ? sizeof Masks : 0;
  const auto TableSize = static_cast<uint32_t>(Image.Colors.size() * sizeof(gdi::RGBQUAD));
  const auto BitsSize = static_cast<uint32_t>(Image.Bits.size());

  gdi::BITMAPFILEHEADER File;
  File.bfOffBits = sizeof(gdi::BITMAPFILEHEADER) + sizeof(gdi::BITMAPINFOHEADER) + MasksSize + TableSize;
  File.bfSize = File.bfOffBits + BitsSize;
  gdi::BITMAPINFOHEADER Info;
  Info.biWidth = Image.Width;
  Info.biHeight = Image.Height;
  Info.biBitCount = Image.BitCount;
  Info.biCompression = Bitfields ? gdi::BI_BITFIELDS : gdi::BI_RGB;
  Info.biSizeImage = BitsSize;
  Info.biClrUsed = static_cast<uint32_t>(Image.Colors.size());

  Stream.WriteBuffer(&File, sizeof File);
  Stream.WriteBuffer(&Info, sizeof Info);
  Stream.WriteBuffer(Masks.data(), MasksSize);
  Stream.WriteBuffer(Image.Colors.data(), TableSize);
  Stream.WriteBuffer(Image.Bits.data(), BitsSize);
}

}  // namespace graphics
