#include "platform/graphics/Pen.h"

#include "platform/gdi/Rop2.h"

namespace graphics {

int Rop2Of(TPenMode Mode) {
  static constexpr int Modes[] = {gdi::R2_BLACK,       gdi::R2_WHITE,      gdi::R2_NOP,         gdi::R2_NOT,
                                  gdi::R2_COPYPEN,     gdi::R2_NOTCOPYPEN, gdi::R2_MERGEPENNOT, gdi::R2_MASKPENNOT,
                                  gdi::R2_MERGENOTPEN, gdi::R2_MASKNOTPEN, gdi::R2_MERGEPEN,    gdi::R2_NOTMERGEPEN,
                                  gdi::R2_MASKPEN,     gdi::R2_NOTMASKPEN, gdi::R2_XORPEN,      gdi::R2_NOTXORPEN};
  return Modes[static_cast<size_t>(Mode)];
}

TPen::~TPen() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
}

void TPen::Assign(const base::TPersistent* Source) {
  const auto* Pen = dynamic_cast<const TPen*>(Source);
  if (Pen == nullptr) return TPersistent::Assign(Source);
  FColor = Pen->FColor;
  FWidth = Pen->FWidth;
  FStyle = Pen->FStyle;
  FMode = Pen->FMode;
  Changed();
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  if (OnChange) OnChange(this);
}

gdi::HPEN TPen::Handle() {
  if (FHandle == nullptr) FHandle = gdi::CreatePen(static_cast<int>(FStyle), FWidth, ColorToRGB(FColor));
  return FHandle;
}

void TPen::Changed() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
  FHandle = nullptr;
  if (OnChange) OnChange(this);
}

}  // namespace graphics
