#include "platform/graphics/Font.h"

#include "platform/base/Rounding.h"

namespace graphics {

TFont::~TFont() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
}

void TFont::Assign(const base::TPersistent* Source) {
  const auto* Font = dynamic_cast<const TFont*>(Source);
  if (Font == nullptr) return TPersistent::Assign(Source);
  FName = Font->FName;
  FHeight = Font->FHeight;
  FStyle = Font->FStyle;
  FColor = Font->FColor;
  DataChanged();
  FEscapement = Font->FEscapement;
  FOrientation = Font->FOrientation;
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  DataChanged();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  DataChanged();
}

int TFont::Size() const { return -base::MulDiv(FHeight, 72, PixelsPerInch); }

void TFont::SetSize(int Value) { SetHeight(-base::MulDiv(Value, PixelsPerInch, 72)); }

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  DataChanged();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Notify();
}

gdi::HFONT TFont::Handle() {
  if (FHandle != nullptr) return FHandle;
  gdi::LOGFONT Description;
  Description.lfHeight = FHeight;
  Description.lfEscapement = FEscapement;
  Description.lfOrientation = FOrientation;
  Description.lfWeight = FStyle.Contains(fsBold) ? gdi::FW_BOLD : gdi::FW_NORMAL;
  Description.lfItalic = FStyle.Contains(fsItalic);
  Description.lfUnderline = FStyle.Contains(fsUnderline);
  Description.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  Description.SetFaceName(FName);
  FHandle = gdi::CreateFontIndirect(&Description);
  return FHandle;
}

void TFont::SetHandle(gdi::HFONT Value) {
  if (Value == FHandle) return;
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
  FHandle = Value;
  gdi::LOGFONT Description;
  if (Value != nullptr && gdi::GetObject(Value, sizeof Description, &Description) == sizeof Description) {
    if (!Description.FaceName().empty()) FName = Description.FaceName();
    FHeight = Description.lfHeight;
    FStyle = {};
    if (Description.lfWeight >= gdi::FW_BOLD) FStyle.Include(fsBold);
    if (Description.lfItalic) FStyle.Include(fsItalic);
    if (Description.lfUnderline) FStyle.Include(fsUnderline);
    if (Description.lfStrikeOut) FStyle.Include(fsStrikeOut);
    FEscapement = Description.lfEscapement;
    FOrientation = Description.lfOrientation;
  }
  Notify();
}

void TFont::DataChanged() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
  FHandle = nullptr;
  FEscapement = FOrientation = 0;
  Notify();
}

void TFont::Notify() {
  if (OnChange) OnChange(this);
}

}  // namespace graphics
