#include "gif/SubImage.h"

#include <algorithm>
#include <cstring>

#include "gif/Extension.h"
#include "gif/FixedPalettes.h"
#include "gif/GIFImage.h"
#include "gif/ImageData.h"
#include "gif/StreamHelpers.h"
#include "gif/WrittenTables.h"
#include "platform/graphics/Picture.h"

namespace gif {

TGIFSubImage::TGIFSubImage(TGIFImage* AGIFImage)
    : TGIFItem(AGIFImage),
      FColorMap(std::make_unique<TGIFLocalColorMap>(this)),
      FExtensions(std::make_unique<TGIFExtensionList>(AGIFImage)) {
  FImageDescriptor[0] = ',';
}

TGIFSubImage::~TGIFSubImage() {
  *FAlive = false;
  if (FImage != nullptr) FImage->Frames().Remove(this);
  Clear();
  FExtensions.reset();
  FColorMap.reset();
  SetPalette(nullptr);
}

uint16_t TGIFSubImage::GetBoundsPart(int Index) const {
  if (Index < 1 || Index > 4) return 0;
  const size_t At = static_cast<size_t>(1 + (Index - 1) * 2);
  return static_cast<uint16_t>(FImageDescriptor[At] | FImageDescriptor[At + 1] << 8);
}

void TGIFSubImage::SetBoundsPart(int Index, uint16_t Value) {
  if (Index < 1 || Index > 4) return;
  uint16_t Parts[4] = {Left(), Top(), Width(), Height()};
  Parts[Index - 1] = Value;
  SetBounds(Parts[0], Parts[1], Parts[2], Parts[3]);
}

void TGIFSubImage::CheckScreenFit(int64_t ALeft, int64_t ATop, int64_t AWidth, int64_t AHeight) {
  if (ALeft + AWidth > MaxScreenSide || ATop + AHeight > MaxScreenSide)
    RaiseGIFError("Frame extends beyond the largest logical screen (65535 pixels)");
}

void TGIFSubImage::SetBounds(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight) {
  // Everything that can fail comes first, so a refused change leaves the frame as it was.
  CheckScreenFit(ALeft, ATop, AWidth, AHeight);
  const bool SizeChanged = AWidth != Width() || AHeight != Height();
  std::unique_ptr<uint8_t[]> NewData;
  const int64_t NewSize = static_cast<int64_t>(AWidth) * AHeight;
  if (SizeChanged) NewData = NewPixels(NewSize);
  const uint16_t Parts[4] = {ALeft, ATop, AWidth, AHeight};
  for (int I = 0; I < 4; ++I) {
    FImageDescriptor[static_cast<size_t>(1 + I * 2)] = static_cast<uint8_t>(Parts[I]);
    FImageDescriptor[static_cast<size_t>(2 + I * 2)] = static_cast<uint8_t>(Parts[I] >> 8);
  }
  if (SizeChanged) {
    ReleaseBitmap();
    ReleaseMask();
    FData = std::move(NewData);
    FPixelBytes = static_cast<int32_t>(NewSize);
  }
  if (FImage == nullptr) return;
  bool Exceeded = false;
  if (FImage->Width() < ALeft + AWidth) {
    if (FImage->Width() > 0) {
      Exceeded = true;
      ReportWarning(this, sevWarning, "Image width too small for contained frames");
    }
    FImage->SetWidth(ALeft + AWidth);
  }
  if (FImage->Height() < ATop + AHeight) {
    if (FImage->Height() > 0) {
      Exceeded = true;
      ReportWarning(this, sevWarning, "Image height too small for contained frames");
    }
    FImage->SetHeight(ATop + AHeight);
  }
  if (Exceeded) ReportWarning(this, sevWarning, "Image exceeds Logical Screen size");
}

base::TRect TGIFSubImage::BoundsRect() const { return base::Bounds(Left(), Top(), Width(), Height()); }

bool TGIFSubImage::Empty() const { return !FData || FPixelBytes == 0 || Height() == 0 || Width() == 0; }

TGIFColorMap* TGIFSubImage::ActiveColorMap() const {
  if (FColorMap->Count() > 0) return FColorMap.get();
  if (FImage != nullptr && FImage->GetGlobalColorMap()->Count() > 0) return FImage->GetGlobalColorMap();
  return FColorMap.get();
}

uint8_t* TGIFSubImage::Scanline(int Y) {
  if (Y < 0 || Y > Height() - 1) RaiseGIFError("Invalid pixel coordinates");
  EnsurePixels();
  return FData.get() + static_cast<size_t>(Y) * Width();
}

uint8_t TGIFSubImage::Pixels(int X, int Y) {
  if (X < 0 || X > Width() - 1) RaiseGIFError("Invalid pixel coordinates");
  return Scanline(Y)[X];
}

std::unique_ptr<uint8_t[]> TGIFSubImage::NewPixels(int64_t Size) {
  if (Size > MaxFramePixels) RaiseGIFError("Image dimensions too large");
  if (Size <= 0) return nullptr;
  return std::make_unique<uint8_t[]>(static_cast<size_t>(Size));
}

void TGIFSubImage::AllocatePixels() {
  FData.reset();
  const int64_t Size = static_cast<int64_t>(Width()) * Height();
  FData = NewPixels(Size);
  FPixelBytes = static_cast<int32_t>(Size);
}

void TGIFSubImage::ReleasePixels() {
  FData.reset();
  FPixelBytes = 0;
}

void TGIFSubImage::EnsurePixels() {
  if (!FData) AllocatePixels();
  if (FPixelBytes == 0) RaiseGIFError("Image is empty");
}

void TGIFSubImage::Clear() {
  FExtensions->Clear();
  FColorMap->Clear();
  ReleasePixels();
  // Set directly: through SetBounds, a frame beyond the logical screen would grow
  // the screen, which fails when another frame is wider, even in a destructor.
  std::fill(FImageDescriptor.begin() + 5, FImageDescriptor.begin() + 9, 0);
  FTransparent = false;
  FGraphicControlExtension = nullptr;
  ReleaseBitmap();
  ReleaseMask();
}

TGIFVersion TGIFSubImage::RequiredVersion() const {
  if (FColorMap->Optimized()) return ver89a;
  TGIFVersion Result = ver87a;
  for (int I = 0; I < FExtensions->Count() && Result != ver89a; ++I)
    Result = std::max(Result, FExtensions->Items(I)->RequiredVersion());
  return Result;
}

void TGIFSubImage::LoadFromStream(base::TStream& Stream) {
  Clear();
  FExtensions->LoadFromStream(Stream, this);
  uint8_t Byte = 0;
  if (!TryReadByte(Stream, Byte)) return;
  Stream.Seek(-1, base::TSeekOrigin::soCurrent);
  if (Byte == ';' || Byte == 0) return;
  ReadExactly(Stream, FImageDescriptor.data(), FImageDescriptor.size());
  if (Width() == 0 || Height() == 0) {
    const uint16_t ScreenWidth = FImage != nullptr ? static_cast<uint16_t>(FImage->Width()) : 0;
    const uint16_t ScreenHeight = FImage != nullptr ? static_cast<uint16_t>(FImage->Height()) : 0;
    FImageDescriptor[5] = static_cast<uint8_t>(ScreenWidth);
    FImageDescriptor[6] = static_cast<uint8_t>(ScreenWidth >> 8);
    FImageDescriptor[7] = static_cast<uint8_t>(ScreenHeight);
    FImageDescriptor[8] = static_cast<uint8_t>(ScreenHeight >> 8);
    ReportWarning(this, sevWarning, "Image exceeds Logical Screen size");
  }
  const int64_t Pixels = static_cast<int64_t>(Width()) * Height();
  if (Pixels > MaxFramePixels) RaiseGIFError("Image dimensions too large");
  if (FImage != nullptr && Pixels > FImage->Frames().PixelAllowance())
    RaiseGIFError("Image too large: too many pixels in all frames");
  if (PackedFields() & 0x80) FColorMap->LoadFromStream(Stream, 2 << (PackedFields() & 7));
  DecodeImageData(*this, Stream);
  if (GIFLibraryDefaults().RenderOnLoad) GetBitmap();
}

void TGIFSubImage::SaveToStream(base::TStream& Stream) {
  FExtensions->SaveToStream(Stream);
  if (Empty()) return;
  uint8_t& Packed = FImageDescriptor[9];
  const int32_t LocalColors = WrittenLocalCount(*this);
  if (LocalColors > 0)
    Packed = static_cast<uint8_t>((FColorMap->Optimized() ? 0xA0 : 0x80) | ((BitsForColors(LocalColors) - 1) & 7));
  else
    Packed &= 0x58;
  Stream.WriteBuffer(FImageDescriptor.data(), FImageDescriptor.size());
  FColorMap->SaveToStream(Stream, LocalColors);
  EncodeImageData(*this, Stream, (Packed & 0x40) != 0);
}

void TGIFSubImage::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    Clear();
    return;
  }
  const auto* Other = dynamic_cast<const TGIFSubImage*>(Source);
  if (Other == nullptr) {
    // Converting may change the source's format, as the colour reduction does.
    auto* Writable = const_cast<base::TPersistent*>(Source);
    if (auto* Bitmap = dynamic_cast<graphics::TBitmap*>(Writable)) {
      AssignFromBitmap(*Bitmap);
    } else if (auto* Graphic = dynamic_cast<graphics::TGraphic*>(Writable)) {
      AssignFromGraphic(*Graphic);
    } else if (const auto* Picture = dynamic_cast<const graphics::TPicture*>(Source)) {
      Assign(Picture->Graphic());
    } else {
      TGIFItem::Assign(Source);
    }
    return;
  }
  Clear();
  if (Other->Empty()) return;
  FImageDescriptor = Other->FImageDescriptor;
  FTransparent = Other->FTransparent;
  AllocatePixels();
  if (FData && Other->FData) std::memcpy(FData.get(), Other->FData.get(), static_cast<size_t>(FPixelBytes));
  FColorMap->Assign(Other->FColorMap.get());
  FExtensions->AddCopies(*Other->FExtensions, this);
  if (Other->FBitmap) {
    auto Bitmap = std::make_unique<graphics::TBitmap>();
    Bitmap->Assign(Other->FBitmap.get());
    FBitmap = std::move(Bitmap);
  }
}

gdi::HPALETTE TGIFSubImage::Palette() {
  if (FBitmap && !FBitmap->Empty()) {
    if (gdi::HPALETTE Held = FBitmap->Palette()) return Held;
  }
  if (FPalette != nullptr) return FPalette;
  if (FImage != nullptr && FImage->DoDither()) {
    FPalette = WebPalette();
    return FPalette;
  }
  if (FColorMap->Count() > 0) {
    FPalette = FColorMap->MakePalette();
    return FPalette;
  }
  return FImage != nullptr ? FImage->GetPalette() : nullptr;
}

void TGIFSubImage::SetPalette(gdi::HPALETTE Value) {
  if (Value != FPalette) {
    if (FPalette != nullptr) gdi::DeleteObject(FPalette);
    FPalette = Value;
  } else if (Value != nullptr) {
    return;
  }
  // Setting none is how a table change arrives: whatever was rendered from the old
  // table is gone, whether or not a palette was cached.
  if (!FBitmap) return;
  ReleaseBitmap();
  if (FImage != nullptr) {
    FImage->SetPaletteModified(true);
    FImage->Changed(this);
  }
}

}  // namespace gif
