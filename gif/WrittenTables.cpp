#include "gif/WrittenTables.h"

#include <algorithm>

#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"

namespace gif {

int32_t IndexesUsed(const TGIFSubImage& Frame) {
  if (Frame.Empty()) return 0;
  const uint8_t* Pixels = Frame.Data();
  int32_t Used = *std::max_element(Pixels, Pixels + Frame.PixelBytes()) + 1;
  if (Frame.Transparent() && Frame.GraphicControlExtension() != nullptr)
    Used = std::max<int32_t>(Used, Frame.GraphicControlExtension()->TransparentColor() + 1);
  return Used;
}

int32_t WrittenLocalCount(const TGIFSubImage& Frame) {
  const int32_t Count = Frame.ColorMap()->Count();
  return Count > 0 ? std::max(Count, IndexesUsed(Frame)) : 0;
}

int32_t WrittenGlobalCount(const TGIFImage& Image) {
  int32_t Count = Image.GetGlobalColorMap()->Count();
  for (int I = 0; I < Image.Frames().Count(); ++I) {
    const TGIFSubImage& Frame = *Image.Frames().SubImages(I);
    if (Frame.ColorMap()->Count() == 0) Count = std::max(Count, IndexesUsed(Frame));
  }
  return Count;
}

}  // namespace gif
