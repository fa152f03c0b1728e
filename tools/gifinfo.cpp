// gifinfo FILE: loads a GIF through TGIFImage and prints one line per item, so the
// library's reading can be compared with other decoders from outside.
// gifinfo --rewrite OUT FILE: loads FILE and saves it to OUT, so round trips can be
// checked from outside too.
// gifinfo --frame I --png OUT FILE: renders frame I (from 0) as the library renders it
// and saves it to OUT as PNG, for checking by eye.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdio>
#include <string>

#include "gif/AppExtNSLoop.h"
#include "gif/CommentExtension.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "platform/base/Crc32.h"
#include "platform/base/Stream.h"
#include "platform/ui/BitmapImage.h"

using namespace gif;

namespace {

void PrintFrame(int Index, TGIFSubImage& Frame) {
  const TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  const uint32_t Crc = base::Crc32(Frame.Data(), Frame.Data() != nullptr ? static_cast<size_t>(Frame.PixelBytes()) : 0);
  std::printf("frame %d left %d top %d width %d height %d interlaced %d local %d delay %d disposal %d transparent %d pixels %08x\n",
              Index, Frame.Left(), Frame.Top(), Frame.Width(), Frame.Height(), Frame.Interlaced() ? 1 : 0,
              Frame.ColorMap()->Count(), Control != nullptr ? Control->Delay() : -1,
              Control != nullptr ? static_cast<int>(Control->Disposal()) : -1,
              Control != nullptr && Control->Transparent() ? Control->TransparentColor() : -1, Crc);
  for (int E = 0; E < Frame.Extensions()->Count(); ++E) {
    TGIFExtension* Extension = Frame.Extensions()->Extensions(E);
    if (const auto* Loop = dynamic_cast<TGIFAppExtNSLoop*>(Extension)) {
      std::printf("loop %d %d\n", Index, Loop->Loops());
    } else if (const auto* Comment = dynamic_cast<TGIFCommentExtension*>(Extension)) {
      size_t Bytes = 0;
      for (int L = 0; L < Comment->Text().Count(); ++L) Bytes += Comment->Text().Strings(L).size();
      std::printf("comment %d %zu\n", Index, Bytes);
    }
  }
}

// Frame Index's rendering as PNG in OutName; false with the reason on standard error.
bool SaveFramePNG(TGIFImage& Image, const std::string& Index, const std::string& OutName) {
  size_t Used = 0;
  int Frame = -1;
  try {
    Frame = std::stoi(Index, &Used);
  } catch (const std::exception&) {
    Used = 0;
  }
  if (Used != Index.size() || Frame < 0 || Frame >= Image.Frames().Count()) {
    std::fprintf(stderr, "no frame %s\n", Index.c_str());
    return false;
  }
  graphics::TBitmap* Bitmap = Image.Frames().SubImages(Frame)->GetBitmap();
  if (Bitmap == nullptr) {
    std::fprintf(stderr, "frame %d is empty\n", Frame);
    return false;
  }
  QByteArray Encoded;
  QBuffer Buffer(&Encoded);
  Buffer.open(QIODevice::WriteOnly);
  if (!ui::BitmapToQImage(*Bitmap).save(&Buffer, "PNG")) {
    std::fprintf(stderr, "cannot encode frame %d as PNG\n", Frame);
    return false;
  }
  base::WriteFileAtomically(OutName, [&](base::TStream& Stream) { Stream.WriteBuffer(Encoded.constData(), Encoded.size()); });
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool Rewrite = argc == 4 && std::string(argv[1]) == "--rewrite";
  const bool Render = argc == 6 && std::string(argv[1]) == "--frame" && std::string(argv[3]) == "--png";
  if (argc != 2 && !Rewrite && !Render) {
    std::fprintf(stderr, "usage: gifinfo FILE\n       gifinfo --rewrite OUT FILE\n       gifinfo --frame I --png OUT FILE\n");
    return 2;
  }
  TGIFImage Image;
  Image.OnGIFWarning = [](base::TObject*, TGIFSeverity, const std::string& Message) {
    std::fprintf(stderr, "warning: %s\n", Message.c_str());
  };
  try {
    Image.LoadFromFile(argv[argc - 1]);
    if (Rewrite) {
      Image.SaveToFile(argv[2]);
      return 0;
    }
    if (Render) return SaveFramePNG(Image, argv[2], argv[4]) ? 0 : 1;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  std::printf("screen %d %d background %d aspect %d global %d\n", Image.Width(), Image.Height(),
              Image.Header().BackgroundColorIndex(), Image.Header().AspectRatio(), Image.GetGlobalColorMap()->Count());
  for (int I = 0; I < Image.Frames().Count(); ++I) PrintFrame(I, *Image.Frames().SubImages(I));
  return 0;
}
