// gifinfo FILE: loads a GIF through TGIFImage and prints one line per item, so the
// library's reading can be compared with other decoders from outside.
// gifinfo --rewrite OUT FILE: loads FILE and saves it to OUT, so round trips can be
// checked from outside too.
#include <cstdio>
#include <string>

#include "gif/AppExtNSLoop.h"
#include "gif/CommentExtension.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "platform/base/Crc32.h"

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

}  // namespace

int main(int argc, char** argv) {
  const bool Rewrite = argc == 4 && std::string(argv[1]) == "--rewrite";
  if (argc != 2 && !Rewrite) {
    std::fprintf(stderr, "usage: gifinfo FILE\n       gifinfo --rewrite OUT FILE\n");
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
  } catch (const std::exception& E) {
    std::fprintf(stderr, "%s\n", E.what());
    return 1;
  }
  std::printf("screen %d %d background %d aspect %d global %d\n", Image.Width(), Image.Height(),
              Image.Header().BackgroundColorIndex(), Image.Header().AspectRatio(), Image.GetGlobalColorMap()->Count());
  for (int I = 0; I < Image.Frames().Count(); ++I) PrintFrame(I, *Image.Frames().SubImages(I));
  return 0;
}
