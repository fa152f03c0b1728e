// aviinfo FILE: opens the first video stream of an AVI file as the editor's import does
// and prints "frames N" (the positions the import converts), "size W H" (of the stream's
// format) and "rate NUM DEN" (the stream's rate and scale as stored).
// aviinfo FILE --frame I --bmp OUT: writes frame I (from 0), decoded as the import
// decodes it, to OUT as a 24-bit BMP.
// Exit 0 on success, 1 with the reason on standard error, 2 for a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/avi/AVIVideoReader.h"
#include "platform/graphics/Bitmap.h"

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

void SaveFrame(avi::TAVIVideoReader& Video, int32_t Index, const std::string& OutName) {
  if (Index >= Video.Length()) throw avi::EAVIError("The video has no frame " + std::to_string(Index));
  base::TMemoryStream File;
  Video.WriteFrameBMP(Video.Start() + Index, File);
  File.SetPosition(0);
  graphics::TBitmap Bitmap;
  Bitmap.LoadFromStream(File);
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SaveToFile(OutName);
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
