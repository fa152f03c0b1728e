#include "gif/GraphicControlExtension.h"

#include "gif/ColorMap.h"
#include "gif/StreamHelpers.h"
#include "gif/SubImage.h"

namespace gif {

const TGIFExtensionClass& TGIFGraphicControlExtension::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFGraphicControlExtension",
                                             &CreateExtension<TGIFGraphicControlExtension>};
  return Descriptor;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* ASubImage) : TGIFExtension(ASubImage) {
  if (FSubImage != nullptr && FSubImage->GraphicControlExtension() == nullptr)
    FSubImage->SetGraphicControlExtension(this);
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  if (FSubImage == nullptr) return;
  if (Transparent()) FSubImage->SetTransparent(false);
  if (FSubImage->GraphicControlExtension() == this) FSubImage->SetGraphicControlExtension(nullptr);
}

void TGIFGraphicControlExtension::SetFlag(uint8_t Mask, bool Value) {
  FRecord[1] = static_cast<uint8_t>(Value ? FRecord[1] | Mask : FRecord[1] & ~Mask);
}

void TGIFGraphicControlExtension::SetTransparent(bool Value) {
  SetFlag(0x01, Value);
  if (FSubImage != nullptr) FSubImage->SetTransparent(Value);
}

void TGIFGraphicControlExtension::SetTransparentColor(uint8_t Value) {
  const TGIFColorMap* Table = FSubImage != nullptr ? FSubImage->ActiveColorMap() : nullptr;
  if (Table != nullptr && Table->Count() > 0 && Value >= Table->Count()) {
    ReportWarning(this, sevWarning, "Invalid color index");
    Value = 0;
  }
  FRecord[4] = Value;
}

void TGIFGraphicControlExtension::SetDelay(uint16_t Value) {
  FRecord[2] = static_cast<uint8_t>(Value);
  FRecord[3] = static_cast<uint8_t>(Value >> 8);
}

void TGIFGraphicControlExtension::SetUserInput(bool Value) { SetFlag(0x02, Value); }

void TGIFGraphicControlExtension::SetDisposal(TFrameDisposal Value) {
  FRecord[1] = static_cast<uint8_t>((FRecord[1] & 0xE3) | ((static_cast<uint8_t>(Value) << 2) & 0x1C));
}

void TGIFGraphicControlExtension::WriteBody(base::TStream& Stream) {
  Stream.WriteBuffer(FRecord.data(), FRecord.size());
}

void TGIFGraphicControlExtension::LoadFromStream(base::TStream& Stream) {
  TGIFExtension::LoadFromStream(Stream);
  if (Stream.Read(FRecord.data(), FRecord.size()) != static_cast<int64_t>(FRecord.size()))
    ReportWarning(this, sevWarning, "Premature end of data");
  else if (Transparent() && FSubImage != nullptr)
    FSubImage->SetTransparent(true);
}

}  // namespace gif
