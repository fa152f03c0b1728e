// aviinfo FILE: opens the first video stream of an AVI file as the editor's import does
// and prints "frames N" (the positions the import converts), "size W H" (of the stream's
// format) and "rate NUM DEN" (the stream's rate and scale as stored).
// aviinfo FILE --frame I --bmp OUT: writes frame I (from 0), decoded as the import
// decodes it, to OUT as a 24-bit BMP.
// Exit 0 on success, 1 with the reason on standard error, 2 for a usage error.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/avi/AVIVideoReader.h"
#include "platform/base/Stream.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/BmpCodec.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: aviinfo FILE [--frame I --bmp OUT]\n");
  return 2;
}

bool ParseIndex(const std::string& Text, int32_t& Index) {
  if (Text.empty() || Text.size() > 9 || Text.find_first_not_of("0123456789") != std::string::npos) return false;
  Index = std::stoi(Text);
  return true;
}

void PrintInfo(avi::TAVIVideoReader& Video) {
  const auto& Header = *reinterpret_cast<const gdi::BITMAPINFOHEADER*>(Video.Format().data());
  std::printf("frames %d\n", Video.Length());
  if (Video.Format().size() >= sizeof Header)
    std::printf("size %d %lld\n", Header.biWidth, std::llabs(static_cast<long long>(Header.biHeight)));
  std::printf("rate %u %u\n", Video.Info().dwRate, Video.Info().dwScale);
}

// A band of Rows stored rows of the packed DIB from stored row First, as a 24-bit bitmap.
void ConvertBand(const gdi::BITMAPINFOHEADER& Packed, int32_t First, int32_t Rows, graphics::TBitmap& Band) {
  const uint32_t Table = avi::ColorTableBytes(Packed);
  const int64_t RowBytes = graphics::TDIBImage::BMPRowBytes(Packed.biWidth, Packed.biBitCount);
  gdi::BITMAPINFOHEADER Info = Packed;
  Info.biHeight = Rows;
  Info.biSizeImage = static_cast<uint32_t>(RowBytes * Rows);
  gdi::BITMAPFILEHEADER File;
  File.bfOffBits = sizeof File + sizeof Info + Table;
  base::TMemoryStream Stream;
  Stream.WriteBuffer(&File, sizeof File);
  Stream.WriteBuffer(&Info, sizeof Info);
  const auto* Bytes = reinterpret_cast<const uint8_t*>(&Packed) + sizeof Packed;
  if (Table > 0) Stream.WriteBuffer(Bytes, Table);
  Stream.WriteBuffer(Bytes + Table + First * RowBytes, RowBytes * Rows);
  Stream.SetPosition(0);
  Band.LoadFromStream(Stream);
  Band.SetPixelFormat(graphics::pf24bit);
}

// Written a band of rows at a time, so that beside the decoded frame only one band is
// held, whatever the frame's size.
void SaveFrame(avi::TAVIVideoReader& Video, int32_t Index, const std::string& OutName) {
  if (Index >= Video.Length()) throw avi::EAVIError("The video has no frame " + std::to_string(Index));
  const gdi::BITMAPINFOHEADER& Packed = Video.Frame(Video.Start() + Index);
  const int32_t Width = Packed.biWidth, Height = Packed.biHeight;
  const int64_t OutRow = graphics::TDIBImage::BMPRowBytes(Width, 24);
  const int32_t BandRows = static_cast<int32_t>(std::max<int64_t>(1, (int64_t{4} << 20) / (OutRow + 4 * Width)));
  base::WriteFileAtomically(OutName, [&](base::TStream& Out) {
    gdi::BITMAPINFOHEADER Info;
    Info.biWidth = Width;
    Info.biHeight = Height;
    Info.biBitCount = 24;
    Info.biSizeImage = static_cast<uint32_t>(OutRow * Height);
    gdi::BITMAPFILEHEADER File;
    File.bfOffBits = sizeof File + sizeof Info;
    File.bfSize = File.bfOffBits + Info.biSizeImage;
    Out.WriteBuffer(&File, sizeof File);
    Out.WriteBuffer(&Info, sizeof Info);
    for (int32_t First = 0; First < Height; First += BandRows) {
      const int32_t Rows = std::min(BandRows, Height - First);
      graphics::TBitmap Band;
      ConvertBand(Packed, First, Rows, Band);
      // Stored rows run bottom-up; ScanLine(0) is the band's top row.
      for (int32_t Row = Rows - 1; Row >= 0; --Row) Out.WriteBuffer(Band.ScanLine(Row), OutRow);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  int32_t Index = 0;
  const bool Info = argc == 2;
  if (!Info && !(argc == 6 && std::string(argv[2]) == "--frame" && ParseIndex(argv[3], Index) &&
                 std::string(argv[4]) == "--bmp"))
    return Usage();
  try {
    avi::TAVIVideoReader Video(argv[1]);
    if (Info)
      PrintInfo(Video);
    else
      SaveFrame(Video, Index, argv[5]);
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "aviinfo: %s\n", Error.what());
    return 1;
  }
  return 0;
}
