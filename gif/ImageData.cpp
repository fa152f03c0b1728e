#include "gif/ImageData.h"

#include <algorithm>
#include <memory>

#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"
#include "gif/StreamHelpers.h"
#include "gif/WrittenTables.h"

namespace gif {

void DecodeImageData(TGIFSubImage& Frame, base::TStream& Stream) {
  Frame.AllocatePixels();
  TDecodeTarget Target;
  Target.Pixels = Frame.Data();
  Target.Width = Frame.Width();
  Target.Height = Frame.Height();
  Target.Interlaced = Frame.Interlaced();
  if (Frame.Transparent() && Frame.GraphicControlExtension() != nullptr)
    Target.FillIndex = Frame.GraphicControlExtension()->TransparentColor();
  Target.Warning = [&Frame](const std::string& Message) { Frame.ReportWarning(&Frame, sevWarning, Message); };
  DecodeImageData(Target, Stream);
}

void EncodeImageData(TGIFSubImage& Frame, base::TStream& Stream, bool Interlaced) {
  // The code size and the bound on the indexes follow the table the pixels refer to,
  // as it is written: padded to cover the frame's indexes (gif/WrittenTables.h).
  const int32_t ColorCount = std::max(Frame.ActiveColorMap()->Count(), IndexesUsed(Frame));
  const int32_t Bits = BitsForColors(ColorCount);
  std::unique_ptr<TGIFEncoder> Encoder;
  if (Frame.Image() != nullptr && Frame.Image()->Compression() == ckRLE)
    Encoder = std::make_unique<TRLEEncoder>();
  else
    Encoder = std::make_unique<TLZWEncoder>();
  Encoder->Encode(Stream, Bits, ColorCount, Frame.Data(), Interlaced, Frame.Height(), Frame.Width());
}

}  // namespace gif
