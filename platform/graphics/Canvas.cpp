#include "platform/graphics/Canvas.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/Pixel.h"
#include "platform/graphics/CanvasTools.h"
#include "platform/graphics/Graphic.h"

namespace graphics {

TBrush::~TBrush() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
}

void TBrush::Assign(const base::TPersistent* Source) {
  const auto* Brush = dynamic_cast<const TBrush*>(Source);
  if (Brush == nullptr) return TPersistent::Assign(Source);
  FColor = Brush->FColor;
  FStyle = Brush->FStyle;
  Changed();
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

gdi::HBRUSH TBrush::Handle() {
  if (FStyle == bsClear) return nullptr;
  if (FHandle == nullptr)
    FHandle = FStyle == bsSolid ? gdi::CreateSolidBrush(ColorToRGB(FColor))
                                : gdi::CreateHatchBrush(static_cast<int>(FStyle) - static_cast<int>(bsHorizontal),
                                                        ColorToRGB(FColor));
  return FHandle;
}

void TBrush::Changed() {
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
  FHandle = nullptr;
  if (OnChange) OnChange(this);
}

TCanvas::TCanvas() = default;

gdi::HDC TCanvas::Handle() {
  if (FHandle == nullptr) CreateHandle();
  return FHandle;
}

base::TRect TCanvas::ClipRect() {
  const auto* Bitmap = static_cast<gdi::HBITMAP>(gdi::GetCurrentObject(Handle(), gdi::OBJ_BITMAP));
  if (Bitmap == nullptr || Bitmap->Stock) return {};
  return base::Rect(0, 0, Bitmap->Format.Width, Bitmap->Format.Height);
}

TColor TCanvas::Pixels(int X, int Y) {
  return static_cast<TColor>(gdi::GetPixel(Handle(), X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  gdi::SetPixel(Handle(), X, Y, ColorToRGB(Value));
  Changed();
}

void TCanvas::FillRect(const base::TRect& Rect) {
  gdi::HBRUSH Brush = FBrush.Handle();
  if (Brush == nullptr) return;
  Changing();
  const TCanvasTools Tools(*this, TCanvasTools::UseBrush);
  gdi::FillRect(Handle(), Rect, Brush);
  Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  StretchDraw(base::Bounds(X, Y, Graphic->Width(), Graphic->Height()), Graphic);
}

void TCanvas::StretchDraw(const base::TRect& Rect, TGraphic* Graphic) {
  if (Graphic == nullptr || Graphic->Empty()) return;
  Changing();
  Graphic->Draw(*this, Rect);
  Changed();
}

void TCanvas::CopyRect(const base::TRect& Dest, TCanvas& Canvas, const base::TRect& Source) {
  Changing();
  gdi::HDC SourceDC = Canvas.Handle();
  gdi::StretchBlt(Handle(), Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), SourceDC, Source.Left, Source.Top,
                  Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace graphics
