#include "editor/controls/FastIMG.h"

#include <QMouseEvent>
#include <algorithm>
#include <filesystem>

#include "editor/bitmaps/FastBMP.h"
#include "platform/base/Rounding.h"
#include "platform/graphics/Colors.h"

namespace editor {

base::TRect FitRect(int W, int H, int ImageW, int ImageH) {
  const float IW = float(std::max(ImageW, 1));
  const float IH = float(std::max(ImageH, 1));
  const float FX = float(W) / IW;
  const float FY = float(H) / IH;
  if (FX > FY) {
    const auto X = static_cast<int>(base::Round((W - FY * IW) / 2));
    return base::Rect(X, 0, X + static_cast<int>(base::Round(FY * IW)), H);
  }
  const auto Y = static_cast<int>(base::Round((H - FX * IH) / 2));
  return base::Rect(0, Y, W, Y + static_cast<int>(base::Round(FX * IH)));
}

TFastIMG::TFastIMG(QWidget* Parent) : ui::TWindowCanvas(Parent), FColor(graphics::clBtnFace) {
  resize(100, 100);
}

// The control's own image goes with FOwned; a caller's is only forgotten.
TFastIMG::~TFastIMG() = default;

void TFastIMG::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (FAutoSize && FImage) TakeImageSize();
}

void TFastIMG::SetBilinearResize(bool Value) {
  FBilinearResize = Value;
  Repaint();
}

void TFastIMG::SetDrawStyle(TDrawStyle Value) {
  FDrawStyle = Value;
  Repaint();
}

void TFastIMG::SetConvert_256(TConversionMode Value) {
  FConvert256 = Value;
  Repaint();
}

void TFastIMG::SetColor(base::TColor Value) {
  FColor = Value;
  Repaint();
}

void TFastIMG::SetFileName(const std::string& Value) {
  if (Value.empty()) Attach(nullptr);
  FFileName = Value;
  if (!FFileName.empty()) LoadImage(FFileName);
  Repaint();
}

void TFastIMG::Attach(TFastRGB* Image) {
  if (FOwned && FOwned.get() != Image) FOwned.reset();
  FImage = Image;
  if (!FImage) return;
  FDataType = dynamic_cast<TFast256*>(FImage) ? dtFast256 : dtFastBMP;
  if (FAutoSize) TakeImageSize();
}

void TFastIMG::SetImage(TFastRGB* Image) {
  Attach(Image);
  Repaint();
}

void TFastIMG::SetImage(std::unique_ptr<TFastRGB> Image) {
  TFastRGB* Taken = Image.get();
  Attach(Taken);
  FOwned = std::move(Image);
  Repaint();
}

void TFastIMG::LoadImage(const std::string& Name) {
  std::error_code Error;
  if (!std::filesystem::exists(Name, Error)) return;
  if (!FImage) {
    if (FDataType == dtFast256)
      FOwned = std::make_unique<TFast256>();
    else
      FOwned = std::make_unique<TFastBMP>();
    FImage = FOwned.get();
  }
  if (auto* Indexed = dynamic_cast<TFast256*>(FImage))
    Indexed->LoadFromFile(Name, FConvert256);
  else
    static_cast<TFastBMP*>(FImage)->LoadFromFile(Name);
  if (FAutoSize) TakeImageSize();
  Repaint();
}

void TFastIMG::TakeImageSize() { resize(FImage->Width(), FImage->Height()); }

void TFastIMG::FillAround(const base::TRect& Picture) {
  const int W = width(), H = height();
  graphics::TCanvas& Target = Canvas();
  Target.Brush().SetColor(FColor);
  const int Top = std::clamp(Picture.Top, 0, H), Bottom = std::clamp(Picture.Bottom, 0, H);
  const base::TRect Bands[] = {base::Rect(0, 0, W, Top), base::Rect(0, Bottom, W, H),
                               base::Rect(0, Top, std::clamp(Picture.Left, 0, W), Bottom),
                               base::Rect(std::clamp(Picture.Right, 0, W), Top, W, Bottom)};
  for (const base::TRect& Band : Bands)
    if (Band.Right > Band.Left && Band.Bottom > Band.Top) Target.FillRect(Band);
}

void TFastIMG::DrawScaled(const base::TRect& Target) {
  gdi::HDC DC = Canvas().Handle();
  if (!FBilinearResize) {
    FImage->Stretch(DC, Target.Left, Target.Top, Target.Width(), Target.Height());
    return;
  }
  std::unique_ptr<TFastRGB> Scaled = FImage->NewLike();
  Scaled->SetSize(Target.Width(), Target.Height());
  FImage->SmoothResize(*Scaled);
  Scaled->Draw(DC, Target.Left, Target.Top);
}

void TFastIMG::Repaint() {
  const int W = width(), H = height();
  Surface().SetWidth(W);
  Surface().SetHeight(H);
  if (W <= 0 || H <= 0) return;
  if (!FImage || FImage->Empty()) {
    FillAround(base::Rect(0, 0, 0, 0));
    Invalidate();
    return;
  }
  const int IW = FImage->Width(), IH = FImage->Height();
  gdi::HDC DC = Canvas().Handle();
  switch (FDrawStyle) {
    case dsDraw:
      if (IW < W || IH < H) FillAround(base::Rect(0, 0, IW, IH));
      FImage->Draw(DC, 0, 0);
      break;
    case dsStretch:
      DrawScaled(base::Rect(0, 0, W, H));
      break;
    case dsResize: {
      const base::TRect Picture = FitRect(W, H, IW, IH);
      if (Picture.Left != 0 || Picture.Top != 0) FillAround(Picture);
      DrawScaled(Picture);
      break;
    }
    case dsTile:
      FImage->TileDraw(DC, 0, 0, W, H);
      break;
    case dsCenter: {
      const int X = (W - IW) / 2, Y = (H - IH) / 2;
      if (IW < W || IH < H) FillAround(base::Rect(X, Y, X + IW, Y + IH));
      FImage->Draw(DC, X, Y);
      break;
    }
  }
  Invalidate();
}

void TFastIMG::resizeEvent(QResizeEvent* Event) {
  ui::TWindowCanvas::resizeEvent(Event);
  Repaint();
}

void TFastIMG::mousePressEvent(QMouseEvent* Event) {
  FPressed = Event->button() == Qt::LeftButton;
  if (OnMouseDown) OnMouseDown(this, Event);
}

void TFastIMG::mouseMoveEvent(QMouseEvent* Event) {
  if (OnMouseMove) OnMouseMove(this, Event);
}

void TFastIMG::mouseReleaseEvent(QMouseEvent* Event) {
  if (OnMouseUp) OnMouseUp(this, Event);
  const bool Clicked = FPressed && Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint());
  FPressed = false;
  if (Clicked && OnClick) OnClick(this);
}

void TFastIMG::mouseDoubleClickEvent(QMouseEvent* Event) {
  if (Event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

}  // namespace editor
