#include "gif/ImageData.h"

#include <memory>

#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "gif/RLEEncoder.h"

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
  // The code size and the bound on the indexes follow the table the pixels refer
  // to; without any table the indexes can only be checked against the widest one.
  const TGIFColorMap* Table = Frame.ActiveColorMap();
  int32_t Bits = Table->BitsPerPixel();
  int32_t ColorCount = Table->Count();
  if (ColorCount == 0) {
    Bits = Frame.Image() != nullptr ? Frame.Image()->BitsPerPixel() : 0;
    ColorCount = 1 << Bits;
  }
  std::unique_ptr<TGIFEncoder> Encoder;
  if (Frame.Image() != nullptr && Frame.Image()->Compression() == ckRLE)
    Encoder = std::make_unique<TRLEEncoder>();
  else
    Encoder = std::make_unique<TLZWEncoder>();
  Encoder->Encode(Stream, Bits, ColorCount, Frame.Data(), Interlaced, Frame.Height(), Frame.Width());
}

}  // namespace gif
