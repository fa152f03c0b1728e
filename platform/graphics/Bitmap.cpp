#include "platform/graphics/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Exceptions.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/Halftone.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/Transfer.h"
#include "platform/graphics/BitmapDC.h"
#include "platform/graphics/BmpCodec.h"
#include "platform/graphics/GDIError.h"
#include "platform/graphics/TransparentDraw.h"

namespace graphics {
namespace {

constexpr uint32_t Masks565[3] = {0xF800, 0x07E0, 0x001F};

int IndexedBits(TPixelFormat Format) {
  switch (Format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    default: return 0;
  }
}

bool SameMasks(const uint32_t (&A)[3], const uint32_t (&B)[3]) { return std::memcmp(A, B, sizeof A) == 0; }

TPixelFormat FormatOfSection(const gdi::DIBFormat& F) {
  switch (F.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (SameMasks(F.Masks, gdi::DefaultMasks16)) return pf15bit;
      return SameMasks(F.Masks, Masks565) ? pf16bit : pfCustom;
    case 24: return pf24bit;
    case 32: return SameMasks(F.Masks, gdi::DefaultMasks32) ? pf32bit : pfCustom;
    default: return pfCustom;
  }
}

std::vector<gdi::RGBQUAD> DefaultTable(int Bits) {
  if (Bits == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
  if (Bits == 4) return ColorsOfPalette(SystemPalette16());
  std::vector<gdi::RGBQUAD> Colors;
  for (const gdi::PALETTEENTRY& E : gdi::HalftonePaletteEntries()) Colors.push_back({E.peBlue, E.peGreen, E.peRed, 0});
  return Colors;
}

bool BlackAndWhite(const std::vector<gdi::RGBQUAD>& Colors) { return Colors == DefaultTable(1); }

// Every pixel of From into To by colour, from the top-left corner as far as both reach.
void CopyPixels(const gdi::Surface& From, const gdi::Surface& To) {
  gdi::TransferRequest T;
  T.Source = &From;
  T.Destination = &To;
  T.DstWidth = T.SrcWidth = std::min(From.Width, To.Width);
  T.DstHeight = T.SrcHeight = std::min(From.Height, To.Height);
  gdi::Transfer(T);
}

gdi::HBITMAP NewSection(int32_t Width, int32_t Height, int Bits, const uint32_t* Masks,
                        const std::vector<gdi::RGBQUAD>& Colors, bool TopDown = false) {
  gdi::BITMAPINFO Info{};
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = TopDown ? -Height : Height;
  Info.bmiHeader.biBitCount = static_cast<uint16_t>(Bits);
  Info.bmiHeader.biClrUsed = static_cast<uint32_t>(Colors.size());
  if (Masks != nullptr) {
    Info.bmiHeader.biCompression = gdi::BI_BITFIELDS;
    std::memcpy(static_cast<void*>(Info.bmiColors), Masks, 3 * sizeof(uint32_t));
  } else {
    std::copy(Colors.begin(), Colors.end(), Info.bmiColors);
  }
  return GDICheck(gdi::CreateDIBSection(nullptr, &Info, gdi::DIB_RGB_COLORS, nullptr));
}

gdi::HBITMAP NewScreenBitmap(int32_t Width, int32_t Height) {
  gdi::HDC Screen = GDICheck(gdi::GetDC(nullptr));
  gdi::HBITMAP Bitmap = gdi::CreateCompatibleBitmap(Screen, Width, Height);
  gdi::ReleaseDC(nullptr, Screen);
  return GDICheck(Bitmap);
}

// A bitmap of the same layout and colours as Model, of another size.
gdi::HBITMAP NewLike(const gdi::BitmapObject& Model, int32_t Width, int32_t Height) {
  const gdi::DIBFormat& F = Model.Format;
  if (!Model.Section)
    return Model.Monochrome() ? GDICheck(gdi::CreateBitmap(Width, Height, 1, 1, nullptr))
                              : NewScreenBitmap(Width, Height);
  const bool Fields = F.Compression == gdi::BI_BITFIELDS;
  return NewSection(Width, Height, F.BitCount, Fields ? F.Masks : nullptr, F.Colors, F.TopDown);
}

// Deletes a new bitmap unless it is handed on.
class TNewBitmap {
 public:
  explicit TNewBitmap(gdi::HBITMAP Bitmap) : FBitmap(Bitmap) {}
  ~TNewBitmap() {
    if (FBitmap != nullptr) gdi::DeleteObject(FBitmap);
  }
  TNewBitmap(const TNewBitmap&) = delete;
  TNewBitmap& operator=(const TNewBitmap&) = delete;
  gdi::HBITMAP Get() const { return FBitmap; }
  gdi::HBITMAP Release() { return std::exchange(FBitmap, nullptr); }
  void Reset(gdi::HBITMAP Bitmap) {
    if (FBitmap != nullptr) gdi::DeleteObject(FBitmap);
    FBitmap = Bitmap;
  }

 private:
  gdi::HBITMAP FBitmap;
};

}  // namespace

void TBitmapCanvas::CreateHandle() {
  gdi::HDC DC = GDICheck(gdi::CreateCompatibleDC(nullptr));
  if (FBitmap.FHandle != nullptr) {
    FOldBitmap = gdi::SelectObject(DC, FBitmap.FHandle);
    if (FOldBitmap == nullptr) {
      gdi::DeleteDC(DC);
      GDIError();
    }
  }
  if (gdi::HPALETTE Palette = FBitmap.Palette()) {
    FOldPalette = gdi::SelectPalette(DC, Palette, true);
    gdi::RealizePalette(DC);
  }
  FHandle = DC;
}

void TBitmapCanvas::FreeContext() {
  if (FHandle == nullptr) return;
  if (FOldBitmap != nullptr) gdi::SelectObject(FHandle, FOldBitmap);
  if (FOldPalette != nullptr) gdi::SelectPalette(FHandle, FOldPalette, true);
  gdi::DeleteDC(FHandle);
  FHandle = nullptr;
  FOldBitmap = nullptr;
  FOldPalette = nullptr;
}

TBitmap::TBitmap() : FCanvas(std::make_unique<TBitmapCanvas>(*this)) {
  FCanvas->OnChange = [this](base::TObject*) { Changed(this); };
}

TBitmap::~TBitmap() {
  FCanvas.reset();
  FreeMask();
  if (FHandle != nullptr) gdi::DeleteObject(FHandle);
  if (FPalette != nullptr) gdi::DeleteObject(FPalette);
}

TBitmap::TKind TBitmap::Kind() const {
  if (FHandle == nullptr) return FEmptyKind;
  if (!FHandle->Section) return {pfDevice, FHandle->Monochrome()};
  return {FormatOfSection(FHandle->Format), false};
}

TPixelFormat TBitmap::PixelFormat() const { return Kind().Format; }

TBitmapHandleType TBitmap::HandleType() const { return Kind().Format == pfDevice ? bmDDB : bmDIB; }

bool TBitmap::Monochrome() const {
  const TKind K = Kind();
  return K.Mono || K.Format == pf1bit;
}

std::vector<gdi::RGBQUAD> TBitmap::TableFor(TPixelFormat Format) const {
  const int Bits = IndexedBits(Format);
  if (Bits == 0) return {};
  std::vector<gdi::RGBQUAD> Current = ColorsOfPalette(FPalette);
  if (FPalette == nullptr && FHandle != nullptr && FHandle->Section && FHandle->Format.BitCount <= 8)
    Current = FHandle->Format.Colors;
  if (!Current.empty() && Current.size() <= (size_t{1} << Bits)) return Current;
  return DefaultTable(Bits);
}

void TBitmap::Replace(gdi::HBITMAP Bitmap) {
  FCanvas->FreeContext();
  FreeMask();
  if (FHandle != nullptr && FHandle != Bitmap) gdi::DeleteObject(FHandle);
  FHandle = Bitmap;
  if (Bitmap == nullptr) return;
  FWidth = Bitmap->Format.Width;
  FHeight = Bitmap->Format.Height;
  if (!Bitmap->Section || Bitmap->Format.BitCount > 8) return;
  if (FPalette != nullptr && ColorsOfPalette(FPalette) == Bitmap->Format.Colors) return;
  if (FPalette != nullptr) gdi::DeleteObject(FPalette);
  FPalette = PaletteFromColors(Bitmap->Format.Colors);
}

gdi::HBITMAP TBitmap::NewBitmap(TKind Target, int W, int H) const {
  const std::vector<gdi::RGBQUAD> Colors = TableFor(Target.Format);
  switch (Target.Format) {
    case pfDevice: return Target.Mono ? GDICheck(gdi::CreateBitmap(W, H, 1, 1, nullptr)) : NewScreenBitmap(W, H);
    case pf15bit: return NewSection(W, H, 16, nullptr, Colors);
    case pf16bit: return NewSection(W, H, 16, Masks565, Colors);
    case pf24bit: return NewSection(W, H, 24, nullptr, Colors);
    case pf32bit: return NewSection(W, H, 32, nullptr, Colors);
    default: return NewSection(W, H, IndexedBits(Target.Format), nullptr, Colors);
  }
}

void TBitmap::Convert(TKind Target) {
  if (FHandle == nullptr) {
    FEmptyKind = Target;
    return;
  }
  TNewBitmap New(NewBitmap(Target, FWidth, FHeight));
  CopyPixels(FHandle->View(), New.Get()->View());
  Replace(New.Release());
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == pfCustom) throw base::EInvalidGraphic("Invalid pixel format");
  const TKind Old = Kind();
  if (Value == Old.Format) return;
  TKind Target{Value, false};
  if (Value == pfDevice) Target.Mono = Old.Format == pf1bit && BlackAndWhite(TableFor(pf1bit));
  Convert(Target);
  if (FHandle != nullptr) SetPaletteModified(FPalette != nullptr);
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  if (Value == bmDDB) return SetPixelFormat(pfDevice);
  SetPixelFormat(Kind().Mono ? pf1bit : pf24bit);
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (!Value) {
    Convert({pfDevice, false});
  } else if (HandleType() == bmDDB) {
    Convert({pfDevice, true});
  } else {
    Convert({pf1bit, false});
  }
  Changed(this);
}

void TBitmap::Resize(int W, int H) {
  W = std::max(W, 0);
  H = std::max(H, 0);
  if (W == FWidth && H == FHeight) return;
  if (W == 0 || H == 0) {
    if (FHandle != nullptr) {
      FEmptyKind = Kind();
      Replace(nullptr);
    }
    FWidth = W;
    FHeight = H;
    Changed(this);
    return;
  }
  TNewBitmap New(FHandle != nullptr ? NewLike(*FHandle, W, H) : NewBitmap(FEmptyKind, W, H));
  if (gdi::HBRUSH Brush = FCanvas->Brush().Handle()) {
    const TBitmapDC DC(New.Get());
    gdi::FillRect(DC.Handle(), base::Rect(0, 0, W, H), Brush);
  }
  if (FHandle != nullptr) CopyPixels(FHandle->View(), New.Get()->View());
  Replace(New.Release());
  Changed(this);
}

void TBitmap::SetWidth(int Value) { Resize(Value, FHeight); }

void TBitmap::SetHeight(int Value) { Resize(FWidth, Value); }

void TBitmap::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  const auto* Bitmap = dynamic_cast<const TBitmap*>(Source);
  if (Source != nullptr && Bitmap == nullptr) return TGraphic::Assign(Source);
  TNewBitmap New(nullptr);
  if (Bitmap != nullptr && Bitmap->FHandle != nullptr) {
    New.Reset(NewLike(*Bitmap->FHandle, Bitmap->FWidth, Bitmap->FHeight));
    CopyPixels(Bitmap->FHandle->View(), New.Get()->View());
  }
  FCanvas->FreeContext();
  if (FPalette != nullptr) gdi::DeleteObject(FPalette);
  FPalette = Bitmap != nullptr ? CopyPalette(Bitmap->FPalette) : nullptr;
  Replace(New.Release());
  if (FHandle == nullptr) {
    FWidth = Bitmap != nullptr ? Bitmap->FWidth : 0;
    FHeight = Bitmap != nullptr ? Bitmap->FHeight : 0;
    FEmptyKind = Bitmap != nullptr ? Bitmap->Kind() : TKind{};
  }
  if (Bitmap != nullptr) {
    FTransparent = Bitmap->FTransparent;
    FTransparentColor = Bitmap->FTransparentColor;
    FTransparentMode = Bitmap->FTransparentMode;
  }
  Changed(this);
}

void TBitmap::LoadFromStream(base::TStream& Stream) {
  if (Stream.Position() >= Stream.Size()) {
    Replace(nullptr);
    FWidth = FHeight = 0;
    Changed(this);
    return;
  }
  const TDIBImage Image = ReadBMP(Stream);
  const bool Is565 = Image.BitCount == 16 && Image.GreenMask == Masks565[1];
  TNewBitmap New(NewSection(Image.Width, Image.Height, Image.BitCount, Is565 ? Masks565 : nullptr, Image.Colors));
  std::copy(Image.Bits.begin(), Image.Bits.end(), New.Get()->Bits());
  FCanvas->FreeContext();
  if (FPalette != nullptr) gdi::DeleteObject(FPalette);
  FPalette = nullptr;
  Replace(New.Release());
  Changed(this);
}

void TBitmap::SaveToStream(base::TStream& Stream) {
  if (Empty()) return;
  TDIBImage Image;
  Image.Width = FWidth;
  Image.Height = FHeight;
  const gdi::DIBFormat& F = FHandle->Format;
  const TKind K = Kind();
  gdi::Surface To;
  switch (K.Format) {
    case pf1bit:
    case pf4bit:
    case pf8bit:
      Image.BitCount = static_cast<uint16_t>(F.BitCount);
      Image.Colors = F.Colors;
      break;
    case pf15bit:
      Image.BitCount = 16;
      std::copy_n(gdi::DefaultMasks16, 3, To.Masks);
      break;
    case pf16bit:
      Image.BitCount = 16;
      Image.RedMask = Masks565[0];
      Image.GreenMask = Masks565[1];
      Image.BlueMask = Masks565[2];
      std::copy_n(Masks565, 3, To.Masks);
      break;
    case pfDevice:
      Image.BitCount = K.Mono ? 1 : 24;
      if (K.Mono) Image.Colors = DefaultTable(1);
      break;
    case pf24bit: Image.BitCount = 24; break;
    default: Image.BitCount = 32; break;
  }
  if (Image.BitCount >= 24) std::copy_n(gdi::DefaultMasks32, 3, To.Masks);
  Image.Bits.resize(static_cast<size_t>(Image.RowBytes() * Image.Height));
  To.Width = Image.Width;
  To.Height = Image.Height;
  To.BitCount = Image.BitCount;
  To.Bits = Image.Bits.data();
  To.Stride = static_cast<int32_t>(Image.RowBytes());
  To.Colors = Image.Colors.data();
  To.ColorCount = static_cast<uint32_t>(Image.Colors.size());
  CopyPixels(FHandle->View(), To);
  WriteBMP(Stream, Image);
}

void TBitmap::Draw(TCanvas& ACanvas, const base::TRect& Rect) {
  if (Empty()) return;
  gdi::HDC Dest = ACanvas.Handle();
  gdi::HDC Source = FCanvas->Handle();
  gdi::HPALETTE OldPalette = nullptr;
  if (gdi::HPALETTE Own = Palette()) {
    OldPalette = gdi::SelectPalette(Dest, Own, true);
    gdi::RealizePalette(Dest);
  }
  // A monochrome picture shows black and white whatever colours the target uses.
  const bool Mono = FHandle->Monochrome();
  const gdi::COLORREF OldText = Mono ? gdi::SetTextColor(Dest, gdi::RGB(0, 0, 0)) : 0;
  const gdi::COLORREF OldBk = Mono ? gdi::SetBkColor(Dest, gdi::RGB(255, 255, 255)) : 0;
  const int OldMode = gdi::SetStretchBltMode(Dest, gdi::COLORONCOLOR);
  struct TRestore {
    gdi::HDC DC;
    gdi::HPALETTE Palette;
    bool Mono;
    gdi::COLORREF Text, Bk;
    int Mode;
    ~TRestore() {
      gdi::SetStretchBltMode(DC, Mode);
      if (Mono) {
        gdi::SetTextColor(DC, Text);
        gdi::SetBkColor(DC, Bk);
      }
      if (Palette != nullptr) gdi::SelectPalette(DC, Palette, true);
    }
  } Restore{Dest, OldPalette, Mono, OldText, OldBk, OldMode};
  if (Transparent()) {
    TransparentStretchBlt(Dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Source, 0, 0, FWidth, FHeight,
                          MaskHandle());
  } else {
    gdi::StretchBlt(Dest, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Source, 0, 0, FWidth, FHeight,
                    ACanvas.CopyMode());
  }
}

void TBitmap::SaveToClipboardFormat(TClipboardFormat& Format, TClipboardData& Data, gdi::HPALETTE& Palette) {
  Format = CF_BITMAP;
  Data = TClipboardData();
  Palette = CopyPalette(this->Palette());
  if (FHandle == nullptr) return;
  TNewBitmap Copy(NewLike(*FHandle, FWidth, FHeight));
  CopyPixels(FHandle->View(), Copy.Get()->View());
  Data.Bitmap = Copy.Release();
}

void TBitmap::LoadFromClipboardFormat(TClipboardFormat Format, const TClipboardData& Data, gdi::HPALETTE Palette) {
  if (Format != CF_BITMAP || Data.Bitmap == nullptr) throw base::EInvalidGraphic("Unsupported clipboard format");
  TBitmap Given;
  Given.SetHandle(Data.Bitmap);
  try {
    Assign(&Given);
  } catch (...) {
    Given.ReleaseHandle();
    throw;
  }
  Given.ReleaseHandle();
  if (Palette != nullptr && !(FHandle->Section && FHandle->Format.BitCount <= 8)) SetPalette(CopyPalette(Palette));
}

gdi::HBITMAP TBitmap::Handle() {
  FCanvas->FreeContext();
  return FHandle;
}

void TBitmap::SetHandle(gdi::HBITMAP Value) {
  if (Value == FHandle) return;
  if (Value == nullptr) {
    FEmptyKind = Kind();
    FWidth = FHeight = 0;
  }
  Replace(Value);
  Changed(this);
}

gdi::HBITMAP TBitmap::ReleaseHandle() {
  FEmptyKind = Kind();
  FCanvas->FreeContext();
  FreeMask();
  FWidth = FHeight = 0;
  return std::exchange(FHandle, nullptr);
}

gdi::HPALETTE TBitmap::Palette() {
  if (FPalette == nullptr && FHandle != nullptr && FHandle->Section && FHandle->Format.BitCount <= 8)
    FPalette = PaletteFromColors(FHandle->Format.Colors);
  return FPalette;
}

void TBitmap::SetPalette(gdi::HPALETTE Value) {
  if (Value == FPalette) return;
  FCanvas->FreeContext();
  if (FPalette != nullptr) gdi::DeleteObject(FPalette);
  FPalette = Value;
  if (FHandle != nullptr && FHandle->Section && FHandle->Format.BitCount <= 8) {
    if (FPalette == nullptr) {
      FPalette = PaletteFromColors(FHandle->Format.Colors);
    } else {
      std::vector<gdi::RGBQUAD> Colors = ColorsOfPalette(FPalette);
      Colors.resize(std::min(Colors.size(), size_t{1} << FHandle->Format.BitCount));
      FHandle->Format.Colors = Colors;
    }
  }
  SetPaletteModified(true);
  Changed(this);
}

gdi::HPALETTE TBitmap::ReleasePalette() {
  FCanvas->FreeContext();
  return std::exchange(FPalette, nullptr);
}

uint8_t* TBitmap::ScanLine(int Row) {
  if (FHandle == nullptr || Row < 0 || Row >= FHeight)
    throw base::EInvalidGraphicOperation("Scan line index out of range");
  if (!FHandle->Section) SetHandleType(bmDIB);
  const gdi::DIBFormat& F = FHandle->Format;
  return FHandle->Bits() + static_cast<int64_t>(F.TopDown ? Row : F.Height - 1 - Row) * F.Stride;
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed || FHandle == nullptr) return FTransparentColor;
  return FCanvas->Pixels(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  SetTransparentColor(Value == tmAuto ? clDefault : TransparentColor());
}

gdi::HBITMAP TBitmap::MaskHandle() {
  if (FMaskHandle != nullptr || FHandle == nullptr) return FMaskHandle;
  const gdi::COLORREF Key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
  TNewBitmap Mask(GDICheck(gdi::CreateBitmap(FWidth, FHeight, 1, 1, nullptr)));
  // Colour to monochrome sets the bits of the source DC's background colour; between
  // monochrome bitmaps the bits pass as they are.
  uint32_t Rop = gdi::SRCCOPY;
  if (FHandle->Monochrome() && Key != gdi::RGB(255, 255, 255)) Rop = Key == 0 ? gdi::NOTSRCCOPY : gdi::BLACKNESS;
  {
    const TBitmapDC Source(FHandle);
    const TBitmapDC Target(Mask.Get());
    const gdi::COLORREF OldBk = gdi::SetBkColor(Source.Handle(), Key);
    gdi::BitBlt(Target.Handle(), 0, 0, FWidth, FHeight, Source.Handle(), 0, 0, Rop);
    gdi::SetBkColor(Source.Handle(), OldBk);
  }
  FMaskHandle = Mask.Release();
  return FMaskHandle;
}

void TBitmap::FreeMask() {
  if (FMaskHandle != nullptr) gdi::DeleteObject(FMaskHandle);
  FMaskHandle = nullptr;
}

void TBitmap::Changed(base::TObject* Sender) {
  FreeMask();
  TGraphic::Changed(Sender);
}

}  // namespace graphics
