#include "plexor/ExchangeImage.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Stream.h"

namespace plexor {

namespace {

using graphics::TDIBImage;

uint8_t* Row(TDIBImage& Image, int Y) { return Image.Bits.data() + (Image.Height - 1 - Y) * Image.RowBytes(); }
const uint8_t* Row(const TDIBImage& Image, int Y) {
  return Image.Bits.data() + (Image.Height - 1 - Y) * Image.RowBytes();
}

unsigned GetPixel(const uint8_t* Line, int X, int Bits) {
  const int Bit = X * Bits;
  return (Line[Bit / 8] >> (8 - Bits - Bit % 8)) & ((1u << Bits) - 1);
}

void SetPixel(uint8_t* Line, int X, int Bits, unsigned Value) {
  const int Bit = X * Bits;
  const int Shift = 8 - Bits - Bit % 8;
  const unsigned Mask = ((1u << Bits) - 1) << Shift;
  Line[Bit / 8] = static_cast<uint8_t>((Line[Bit / 8] & ~Mask) | ((Value << Shift) & Mask));
}

}  // namespace

TDIBImage DIBFromQImage(const QImage& Source) {
  TDIBImage Result;
  Result.Width = Source.width();
  Result.Height = Source.height();
  QImage Image;
  if (Source.format() == QImage::Format_Indexed8) {
    Image = Source;
    Result.BitCount = 8;
    for (QRgb C : Image.colorTable())
      Result.Colors.push_back({static_cast<uint8_t>(qBlue(C)), static_cast<uint8_t>(qGreen(C)), static_cast<uint8_t>(qRed(C)), 0});
    if (Result.Colors.empty()) Result.Colors.push_back({});
  } else {
    Image = Source.convertToFormat(QImage::Format_BGR888);
    Result.BitCount = 24;
  }
  Result.Bits.assign(static_cast<size_t>(Result.RowBytes() * Result.Height), 0);
  const size_t Bytes = static_cast<size_t>(Result.Width) * (Result.BitCount / 8);
  for (int Y = 0; Y < Result.Height; ++Y) std::memcpy(Row(Result, Y), Image.constScanLine(Y), Bytes);
  return Result;
}

QImage QImageFromDIB(const TDIBImage& Image) {
  base::TMemoryStream Stream;
  graphics::WriteBMP(Stream, Image);
  const std::vector<uint8_t>& Bytes = Stream.Bytes();
  return QImage::fromData(Bytes.data(), static_cast<int>(Bytes.size()), "BMP");
}

TDIBImage CropDIB(const TDIBImage& Image, base::TRect Rect) {
  Rect.Left = std::clamp(Rect.Left, 0, Image.Width);
  Rect.Right = std::clamp(Rect.Right, Rect.Left, Image.Width);
  Rect.Top = std::clamp(Rect.Top, 0, Image.Height);
  Rect.Bottom = std::clamp(Rect.Bottom, Rect.Top, Image.Height);
  TDIBImage Result = Image;
  Result.Width = Rect.Width();
  Result.Height = Rect.Height();
  Result.Bits.assign(static_cast<size_t>(Result.RowBytes() * Result.Height), 0);
  const int Bits = Image.BitCount;
  for (int Y = 0; Y < Result.Height; ++Y) {
    const uint8_t* From = Row(Image, Rect.Top + Y);
    uint8_t* To = Row(Result, Y);
    if (Bits >= 8)
      std::memcpy(To, From + static_cast<size_t>(Rect.Left) * (Bits / 8), static_cast<size_t>(Result.Width) * (Bits / 8));
    else
      for (int X = 0; X < Result.Width; ++X) SetPixel(To, X, Bits, GetPixel(From, Rect.Left + X, Bits));
  }
  return Result;
}

TDIBImage ReadBMPFile(const std::string& FileName) {
  base::TFileStream Stream(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  return graphics::ReadBMP(Stream);
}

void WriteBMPFile(const std::string& FileName, const TDIBImage& Image) {
  base::WriteFileAtomically(FileName, [&](base::TStream& Stream) { graphics::WriteBMP(Stream, Image); });
}

std::string ExchangeFileName(const std::string& StartDir) { return StartDir + "/gif.dat"; }

}  // namespace plexor
