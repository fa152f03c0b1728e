// A frame's bitmap side: rendering, conversion from bitmaps and other graphics,
// transparency from masks, and drawing.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "gif/ColorReduction.h"
#include "gif/DIB.h"
#include "gif/Extension.h"
#include "gif/FrameRenderer.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "gif/MaskedBlit.h"
#include "gif/StreamHelpers.h"
#include "gif/SubImage.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Rounding.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Icon.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/Metafile.h"

namespace gif {
namespace {

using graphics::TBitmap;

constexpr const char* Rendering = "Rendering...";
constexpr const char* Converting = "Converting...";

base::TColor RGBColor(uint8_t R, uint8_t G, uint8_t B) { return R | G << 8 | B << 16; }

// The eight colours met last and their indexes, searched backwards from the last hit.
class TColorRing {
 public:
  int Find(base::TColor Color) {
    for (int Step = 0; Step < FFilled; ++Step) {
      const int Slot = (FLast - Step + 8) % 8;
      if (FColors[Slot] == Color) {
        FLast = Slot;
        return FIndexes[Slot];
      }
    }
    return -1;
  }
  void Store(base::TColor Color, int Index) {
    FLast = (FLast + 1) % 8;
    FColors[FLast] = Color;
    FIndexes[FLast] = Index;
    FFilled = std::min(FFilled + 1, 8);
  }

 private:
  std::array<base::TColor, 8> FColors{};
  std::array<int, 8> FIndexes{};
  int FLast = 7;
  int FFilled = 0;
};

// A copy of a monochrome bitmap, so converting the copy leaves the original alone.
gdi::HBITMAP CopyOfMonochrome(gdi::HBITMAP Mask) {
  gdi::BITMAP Info;
  if (gdi::GetObject(Mask, sizeof Info, &Info) == 0) return nullptr;
  gdi::HBITMAP Copy = CheckGDIHandle(gdi::CreateBitmap(Info.bmWidth, Info.bmHeight, 1, 1, nullptr));
  gdi::HDC From = gdi::CreateCompatibleDC(nullptr);
  gdi::HDC To = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ OldFrom = gdi::SelectObject(From, Mask);
  gdi::HGDIOBJ OldTo = gdi::SelectObject(To, Copy);
  const bool Done = gdi::BitBlt(To, 0, 0, Info.bmWidth, Info.bmHeight, From, 0, 0, gdi::SRCCOPY);
  gdi::SelectObject(From, OldFrom);
  gdi::SelectObject(To, OldTo);
  gdi::DeleteDC(From);
  gdi::DeleteDC(To);
  if (!Done) {
    gdi::DeleteObject(Copy);
    CheckGDIHandleObject(nullptr);
  }
  return Copy;
}

void DrawOnto(TBitmap& Target, graphics::TGraphic& Source) {
  Target.SetPixelFormat(graphics::pf24bit);
  Target.SetHeight(Source.Height());
  Target.SetWidth(Source.Width());
  Target.Canvas().Draw(0, 0, &Source);
}

// A 24-bit picture of the metafile on a solid background.
void DrawOnBackground(TBitmap& Target, graphics::TMetafile& Source, base::TColor Background) {
  Target.SetPixelFormat(graphics::pf24bit);
  Target.SetHeight(Source.Height());
  Target.SetWidth(Source.Width());
  Target.Canvas().Brush().SetColor(Background);
  Target.Canvas().Brush().SetStyle(graphics::bsSolid);
  Target.Canvas().FillRect(Target.Canvas().ClipRect());
  Target.Canvas().Draw(0, 0, &Source);
}

}  // namespace

void TGIFSubImage::FrameProgress(const std::string& Message, base::TProgressStage Stage, uint8_t Percent,
                                 bool RedrawNow) {
  if (FImage != nullptr) FImage->Progress(this, Stage, Percent, RedrawNow, {}, Message);
}

graphics::TBitmap* TGIFSubImage::GetBitmap() {
  if (FBitmap || Empty()) return FBitmap.get();
  FrameProgress(Rendering, base::psStarting, 0, false);
  const auto Ending = [this](uint8_t Percent) {
    FrameProgress(Rendering, base::psEnding, Percent, FImage != nullptr && FImage->PaletteModified());
  };
  try {
    const bool BuildMask = FMaskStale && FTransparent && FGraphicControlExtension != nullptr;
    FMaskStale = false;
    const int Transparent = BuildMask ? FGraphicControlExtension->TransparentColor() : -1;
    const int Rows = Height();
    TFrameRendering Result =
        RenderFrame(*this, FImage != nullptr && FImage->DoDither(), Transparent, [this, Rows](int Row) {
          FrameProgress(Rendering, base::psRunning, static_cast<uint8_t>(base::MulDiv(Row, 100, Rows)), false);
        });
    if (BuildMask) {
      if (FMask != nullptr) gdi::DeleteObject(FMask);
      FMask = Result.Mask;
    }
    FBitmap = std::move(Result.Bitmap);
  } catch (const base::EAbort&) {
    Ending(0);
    return FBitmap.get();
  } catch (...) {
    Ending(0);
    throw;
  }
  Ending(100);
  if (FImage != nullptr && FImage->PaletteModified()) FImage->Changed(this);
  return FBitmap.get();
}

void TGIFSubImage::SetBitmap(graphics::TBitmap* Value) {
  // The frame's own bitmap stays alive while its pixels are read.
  std::unique_ptr<graphics::TBitmap> Own = std::move(FBitmap);
  if (Value != nullptr) Assign(Value);
}

void TGIFSubImage::SetBitmapCached(bool Value) {
  if (Value == HasBitmap()) return;
  if (Value)
    GetBitmap();
  else
    ReleaseBitmap();
}

void TGIFSubImage::CreateFrameBitmap() { FBitmap = std::make_unique<graphics::TBitmap>(); }

void TGIFSubImage::ReleaseBitmap() { FBitmap.reset(); }

void TGIFSubImage::ReleaseMask() {
  if (FMask != nullptr) gdi::DeleteObject(FMask);
  FMask = nullptr;
  FMaskStale = true;
}

bool TGIFSubImage::MaskPresent() {
  if (FMaskStale && FTransparent) {
    ReleaseBitmap();
    GetBitmap();
  }
  return FMask != nullptr;
}

void TGIFSubImage::AssignTo(base::TPersistent* Dest) const {
  if (auto* Bitmap = dynamic_cast<graphics::TBitmap*>(Dest)) {
    Bitmap->Assign(const_cast<TGIFSubImage*>(this)->GetBitmap());
    return;
  }
  TGIFItem::AssignTo(Dest);
}

void TGIFSubImage::ApplyTransparency(bool Transparent, uint8_t Index) {
  ReleaseMask();
  if (FGraphicControlExtension == nullptr) {
    if (!Transparent) return;
    auto Control = std::make_unique<TGIFGraphicControlExtension>(this);
    FGraphicControlExtension = Control.get();
    FExtensions->Add(std::move(Control));
  }
  FGraphicControlExtension->SetTransparent(Transparent);
  if (Transparent) FGraphicControlExtension->SetTransparentColor(Index);
}

void TGIFSubImage::ImportPixels(graphics::TBitmap& Bitmap, graphics::TPixelFormat Format) {
  const int W = Width(), H = Height();
  TDIBReader Reader(Bitmap, Format);
  if (Format != graphics::pf24bit) FColorMap->LoadFromPalette(Bitmap.Palette());
  TColorRing Ring;
  for (int Y = 0; Y < H; ++Y) {
    if (Y % 32 == 0) FrameProgress(Converting, base::psRunning, static_cast<uint8_t>(base::MulDiv(Y, 100, H)), false);
    const uint8_t* Row = Reader.RowAddress(Y);
    uint8_t* Out = Scanline(Y);
    switch (Format) {
      case graphics::pf1bit:
        for (int X = 0; X < W; ++X) Out[X] = (Row[X >> 3] >> (7 - (X & 7))) & 1;
        break;
      case graphics::pf4bit:
        for (int X = 0; X < W; ++X) Out[X] = (X & 1) ? Row[X >> 1] & 0x0F : Row[X >> 1] >> 4;
        break;
      case graphics::pf8bit: std::memcpy(Out, Row, static_cast<size_t>(W)); break;
      default:
        for (int X = 0; X < W; ++X) {
          const uint8_t* Pixel = Row + 3 * X;
          const base::TColor Color = RGBColor(Pixel[2], Pixel[1], Pixel[0]);
          int Index = Ring.Find(Color);
          if (Index < 0) {
            Index = FColorMap->AddUnique(Color);
            Ring.Store(Color, Index);
          }
          Out[X] = static_cast<uint8_t>(Index);
        }
        break;
    }
  }
}

void TGIFSubImage::AssignFromBitmap(graphics::TBitmap& Source) {
  // Refused before anything changes: the frame's edges must stay on a 16-bit screen.
  if (!Source.Empty()) CheckScreenFit(Left(), Top(), Source.Width(), Source.Height());
  // The frame keeps its extensions, with its timing; only its pixels are replaced.
  // Its own bitmap as the source stays alive until the conversion is done.
  std::unique_ptr<graphics::TBitmap> Own = std::move(FBitmap);
  ReleaseMask();
  FColorMap->Clear();
  ReleasePixels();
  std::fill(FImageDescriptor.begin() + 5, FImageDescriptor.begin() + 9, 0);
  if (Source.Empty()) {
    ApplyTransparency(false, 0);
    return;
  }
  if (Source.Width() > 0xFFFF || Source.Height() > 0xFFFF) RaiseGIFError("Image dimensions too large");
  SetBoundsPart(3, static_cast<uint16_t>(Source.Width()));
  SetBoundsPart(4, static_cast<uint16_t>(Source.Height()));
  graphics::TPixelFormat Format = Source.PixelFormat();
  std::unique_ptr<graphics::TBitmap> Copy;
  if (Format == graphics::pf1bit || Format == graphics::pf4bit || Format == graphics::pf8bit) {
    Copy = std::make_unique<graphics::TBitmap>();
    Copy->Assign(&Source);
  } else {
    TGIFImage* Owner = FImage;
    Copy = ReduceBitmapColors(Source, Owner != nullptr ? Owner->ReductionMethod() : GIFLibraryDefaults().ReductionMethod,
                              Owner != nullptr ? Owner->DitherKind() : GIFLibraryDefaults().DitherKind,
                              Owner != nullptr ? Owner->QuantizeBits() : GIFLibraryDefaults().QuantizeBits, nullptr);
    Format = Copy->PixelFormat();
  }
  AllocatePixels();
  FrameProgress(Converting, base::psStarting, 0, false);
  try {
    if (Format != graphics::pf1bit && Format != graphics::pf4bit && Format != graphics::pf8bit)
      Format = graphics::pf24bit;
    // A reduction that gave nothing leaves the pixels at index 0.
    if (!Copy->Empty()) ImportPixels(*Copy, Format);
    FBitmap = std::move(Copy);
    bool Transparent = false;
    uint8_t Index = 0;
    if (Source.Transparent()) {
      graphics::TBitmap Mask;
      Mask.SetHandle(CopyOfMonochrome(Source.MaskHandle()));
      Transparent = TransparencyFromMask(Mask, Index);
    }
    ApplyTransparency(Transparent, Index);
  } catch (...) {
    FrameProgress(Converting, base::psEnding, 0, FImage != nullptr && FImage->PaletteModified());
    throw;
  }
  FrameProgress(Converting, base::psEnding, 100, FImage != nullptr && FImage->PaletteModified());
}

bool TGIFSubImage::TransparencyFromMask(graphics::TBitmap& Mask, uint8_t& Index) {
  if (Mask.Empty() || Empty()) return false;
  FColorMap->TryOptimize();
  if (FColorMap->Count() == 0 || FColorMap->Count() == 256) return false;
  const int T = FColorMap->Add(0);
  // Read as true colour: any pixel that is not black is transparent.
  TDIBReader Reader(Mask, graphics::pf24bit);
  const int W = std::min<int>(Width(), Mask.Width());
  const int H = std::min<int>(Height(), Mask.Height());
  bool Any = false;
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Row = Reader.RowAddress(Y);
    uint8_t* Out = Scanline(Y);
    for (int X = 0; X < W; ++X)
      if ((Row[3 * X] | Row[3 * X + 1] | Row[3 * X + 2]) != 0) {
        Out[X] = static_cast<uint8_t>(T);
        Any = true;
      }
  }
  if (!Any) {
    FColorMap->Delete(T);
    return false;
  }
  Index = static_cast<uint8_t>(T);
  return true;
}

void TGIFSubImage::AssignFromGraphic(graphics::TGraphic& Source) {
  if (Source.Empty()) {
    graphics::TBitmap Nothing;
    AssignFromBitmap(Nothing);
    return;
  }
  auto* Icon = dynamic_cast<graphics::TIcon*>(&Source);
  auto* Metafile = dynamic_cast<graphics::TMetafile*>(&Source);
  graphics::TBitmap B;
  if (Icon != nullptr || Metafile != nullptr) {
    try {
      DrawOnto(B, Source);
    } catch (const base::Exception&) {
      B.Assign(&Source);
    }
  } else {
    try {
      B.Assign(&Source);
    } catch (const base::Exception&) {
      DrawOnto(B, Source);
    }
  }
  AssignFromBitmap(B);
  bool Transparent = false;
  uint8_t Index = 0;
  if (Icon != nullptr) {
    gdi::ICONINFO Info;
    if (gdi::GetIconInfo(Icon->Handle(), &Info)) {
      graphics::TBitmap Mask;
      Mask.SetHandle(Info.hbmMask);
      if (Info.hbmColor != nullptr) gdi::DeleteObject(Info.hbmColor);
      Transparent = TransparencyFromMask(Mask, Index);
    }
  } else if (Metafile != nullptr) {
    graphics::TBitmap White, Black;
    DrawOnBackground(White, *Metafile, graphics::clWhite);
    DrawOnBackground(Black, *Metafile, graphics::clBlack);
    const base::TRect All = base::Rect(0, 0, White.Width(), White.Height());
    White.Canvas().SetCopyMode(graphics::cmSrcInvert);
    White.Canvas().CopyRect(All, Black.Canvas(), All);
    Transparent = TransparencyFromMask(White, Index);
  } else {
    return;
  }
  if (Transparent) ApplyTransparency(true, Index);
}

int TGIFSubImage::ScreenWidth() const {
  const int Screen = FImage != nullptr ? FImage->Width() : 0;
  return std::max(Screen, Left() + Width());
}

int TGIFSubImage::ScreenHeight() const {
  const int Screen = FImage != nullptr ? FImage->Height() : 0;
  return std::max(Screen, Top() + Height());
}

base::TRect TGIFSubImage::ScaleRect(const base::TRect& ARect) const {
  const int SW = ScreenWidth(), SH = ScreenHeight();
  if (SW == 0 || SH == 0) return base::Rect(ARect.Left, ARect.Top, ARect.Left, ARect.Top);
  const int W = ARect.Width(), H = ARect.Height();
  return base::Rect(ARect.Left + base::MulDiv(Left(), W, SW), ARect.Top + base::MulDiv(Top(), H, SH),
                    ARect.Left + base::MulDiv(Left() + Width(), W, SW),
                    ARect.Top + base::MulDiv(Top() + Height(), H, SH));
}

void TGIFSubImage::Draw(graphics::TCanvas& ACanvas, const base::TRect& ARect, bool DoTransparent, bool DoTile) {
  StretchDraw(ACanvas, DoTile ? ARect : ScaleRect(ARect), DoTransparent, DoTile);
}

void TGIFSubImage::StretchDraw(graphics::TCanvas& ACanvas, const base::TRect& ARect, bool DoTransparent,
                               bool DoTile) {
  if (Empty()) return;
  std::vector<base::TRect> Targets;
  if (DoTile) {
    const int SW = ScreenWidth(), SH = ScreenHeight();
    for (int X = ARect.Left + Left(); X < ARect.Right; X += SW)
      for (int Y = ARect.Top + Top(); Y < ARect.Bottom; Y += SH) Targets.push_back(base::Bounds(X, Y, Width(), Height()));
  } else {
    Targets.push_back(ARect);
  }
  if (DoTransparent && FTransparent && MaskPresent()) {
    graphics::TBitmap* Bitmap = GetBitmap();
    if (Bitmap == nullptr) return;
    gdi::HDC MaskDC = CheckGDIHandle(gdi::CreateCompatibleDC(nullptr));
    gdi::HGDIOBJ OldMask = gdi::SelectObject(MaskDC, FMask);
    try {
      gdi::HDC Source = Bitmap->Canvas().Handle();
      const base::TRect Whole = base::Rect(0, 0, Bitmap->Width(), Bitmap->Height());
      for (const base::TRect& Target : Targets) MaskedBlit(ACanvas.Handle(), Target, Source, Whole, MaskDC);
    } catch (...) {
      gdi::SelectObject(MaskDC, OldMask);
      gdi::DeleteDC(MaskDC);
      throw;
    }
    gdi::SelectObject(MaskDC, OldMask);
    gdi::DeleteDC(MaskDC);
    ACanvas.Changed();
    return;
  }
  graphics::TBitmap* Bitmap = GetBitmap();
  if (Bitmap == nullptr) return;
  for (const base::TRect& Target : Targets) ACanvas.StretchDraw(Target, Bitmap);
}

}  // namespace gif
