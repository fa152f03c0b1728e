#include "platform/graphics/Graphic.h"

#include "platform/base/Exceptions.h"

namespace graphics {

bool TGraphic::Equals(const TGraphic* Graphic) const { return Graphic == this; }

void TGraphic::Draw(TCanvas&, const base::TRect&) {}

void TGraphic::SetPalette(gdi::HPALETTE) {}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::SaveToClipboardFormat(TClipboardFormat&, TClipboardData&, gdi::HPALETTE&) {
  throw base::EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::LoadFromClipboardFormat(TClipboardFormat, const TClipboardData&, gdi::HPALETTE) {
  throw base::EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  base::TFileStream Stream(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  LoadFromStream(Stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  base::WriteFileAtomically(FileName, [this](base::TStream& Stream) { SaveToStream(Stream); });
}

void TGraphic::SetModified(bool Value) {
  if (Value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(base::TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::Progress(base::TObject* Sender, base::TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                        const base::TRect& R, const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

}  // namespace graphics
