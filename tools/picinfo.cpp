// picinfo FILE: loads FILE through TPicture, whatever format the registry knows it by,
// and prints "picture WIDTH HEIGHT BITS crc CRC": BITS is the loaded bitmap's bits per
// pixel and CRC the CRC-32 of its pixels as 24-bit RGB, top row first, red, green, blue,
// without padding. On failure the error text goes to standard error and the exit code
// is 1.
#include <cstdio>
#include <exception>
#include <vector>

#include "gif/Library.h"
#include "platform/base/Crc32.h"
#include "platform/base/Exceptions.h"
#include "platform/gdi/Bitmap.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Picture.h"

using namespace graphics;

namespace {

// The picture as a bitmap: its own, a bitmap the graphic assigns itself to, or failing
// that the graphic drawn onto a 24-bit bitmap of its size.
void ToBitmap(TGraphic& Graphic, TBitmap& Bitmap) {
  try {
    Bitmap.Assign(&Graphic);
  } catch (const base::EConvertError&) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetWidth(Graphic.Width());
    Bitmap.SetHeight(Graphic.Height());
    Bitmap.Canvas().Draw(0, 0, &Graphic);
  }
}

int BitsPerPixel(TBitmap& Bitmap) {
  gdi::BITMAP Description;
  if (Bitmap.Empty() || gdi::GetObject(Bitmap.Handle(), sizeof Description, &Description) == 0) return 0;
  return Description.bmBitsPixel;
}

uint32_t RGBCrc(TBitmap& Bitmap) {
  Bitmap.SetPixelFormat(pf24bit);
  uint32_t Crc = base::Crc32Start;
  std::vector<uint8_t> Row(static_cast<size_t>(Bitmap.Width()) * 3);
  for (int Y = 0; Y < Bitmap.Height(); ++Y) {
    const uint8_t* Line = Bitmap.ScanLine(Y);
    for (size_t X = 0; X < Row.size(); X += 3) {
      Row[X] = Line[X + 2];
      Row[X + 1] = Line[X + 1];
      Row[X + 2] = Line[X];
    }
    Crc = base::Crc32Update(Crc, Row.data(), Row.size());
  }
  return base::Crc32Final(Crc);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: picinfo FILE\n");
    return 1;
  }
  gif::InitializeGIFLibrary();
  struct LibraryEnd {
    ~LibraryEnd() { gif::FinalizeGIFLibrary(); }
  } End;
  try {
    TPicture Picture;
    Picture.LoadFromFile(argv[1]);
    TBitmap Bitmap;
    if (Picture.Graphic() != nullptr) ToBitmap(*Picture.Graphic(), Bitmap);
    const int Bits = BitsPerPixel(Bitmap);
    std::printf("picture %d %d %d crc %08x\n", Bitmap.Width(), Bitmap.Height(), Bits, RGBCrc(Bitmap));
    return 0;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
}
