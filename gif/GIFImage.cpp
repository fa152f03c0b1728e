#include "gif/GIFImage.h"

#include "gif/FixedPalettes.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Rounding.h"

namespace gif {

TGIFLibraryDefaults& GIFLibraryDefaults() {
  static TGIFLibraryDefaults Defaults;
  return Defaults;
}

TGIFImage::TGIFImage()
    : FHeader(std::make_unique<TGIFHeader>(this)),
      FFrames(std::make_unique<TGIFImageList>(this)),
      FDrawFlags(GIFLibraryDefaults().DrawFlags),
      FReductionMethod(GIFLibraryDefaults().ReductionMethod),
      FQuantizeBits(GIFLibraryDefaults().QuantizeBits),
      FDitherKind(GIFLibraryDefaults().DitherKind),
      FCompression(GIFLibraryDefaults().Compression),
      FPainterPriority(GIFLibraryDefaults().PainterPriority),
      FPlaySpeed(GIFLibraryDefaults().PlaySpeed) {
  Clear();
}

TGIFImage::~TGIFImage() {
  Clear();
  FFrames.reset();
  FHeader.reset();
  SetPalette(nullptr);
}

void TGIFImage::Clear() {
  ReleaseBitmap();
  FFrames->Clear();
  FHeader->ColorMap()->Clear();
  FHeader->SetScreenWidth(0);
  FHeader->SetScreenHeight(0);
  FHeader->PrepareFlags();
  SetPalette(nullptr);
}

void TGIFImage::WithProgress(const std::string& Message, bool RedrawAtEnd, const std::function<void()>& Body) {
  Progress(this, base::psStarting, 0, false, {}, Message);
  try {
    Body();
  } catch (...) {
    Progress(this, base::psEnding, 0, RedrawAtEnd, {}, Message);
    throw;
  }
  Progress(this, base::psEnding, 100, RedrawAtEnd, {}, Message);
}

void TGIFImage::LoadFromStream(base::TStream& Stream) {
  WithProgress("Loading...", true, [&] {
    Clear();
    const int64_t Start = Stream.Position();
    try {
      FHeader->LoadFromStream(Stream);
      FFrames->LoadFromStream(Stream, this);
      TGIFTrailer(this).LoadFromStream(Stream);
    } catch (...) {
      Stream.SetPosition(Start);
      throw;
    }
  });
}

void TGIFImage::SaveToStream(base::TStream& Stream) {
  WithProgress("Saving...", true, [&] {
    FHeader->SaveToStream(Stream);
    FFrames->SaveToStream(Stream);
    TGIFTrailer(this).SaveToStream(Stream);
  });
}

void TGIFImage::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    Clear();
    return;
  }
  if (const auto* Other = dynamic_cast<const TGIFImage*>(Source)) {
    Clear();
    OnProgress = Other->OnProgress;
    OnGIFWarning = Other->OnGIFWarning;
    WithProgress("Copying...", false, [&] {
      FHeader->Assign(Other->FHeader.get());
      FPainterPriority = Other->FPainterPriority;
      FBackdropColor = Other->FBackdropColor;
      FDrawFlags = Other->FDrawFlags;
      FReductionMethod = Other->FReductionMethod;
      FDitherKind = Other->FDitherKind;
      const int Count = Other->FFrames->Count();
      for (int I = 0; I < Count; ++I) {
        auto Frame = std::make_unique<TGIFSubImage>(this);
        Frame->Assign(Other->FFrames->SubImages(I));
        AddFrame(Frame.release());
        Progress(this, base::psRunning, base::PercentOf(I + 1, Count), false, {}, "Copying...");
      }
    });
    OnProgress = nullptr;
    OnGIFWarning = nullptr;
    return;
  }
  // A rendering of this image dies with Clear: convert a copy of it.
  graphics::TBitmap Own;
  if (OwnsBitmap(Source)) {
    Own.Assign(Source);
    Source = &Own;
  }
  Clear();
  auto Frame = std::make_unique<TGIFSubImage>(this);
  try {
    Frame->Assign(Source);
  } catch (const base::EConvertError&) {
    Frame.reset();
    TGraphic::Assign(Source);
    return;
  }
  AddFrame(Frame.release());
}

bool TGIFImage::OwnsBitmap(const base::TPersistent* Object) const {
  if (Object == nullptr) return false;
  if (Object == FBitmap.get()) return true;
  for (int I = 0; I < FFrames->Count(); ++I)
    if (FFrames->SubImages(I)->HasBitmap() && FFrames->SubImages(I)->GetBitmap() == Object) return true;
  return false;
}

int TGIFImage::AddFrame(base::TPersistent* Source) {
  std::unique_ptr<TGIFSubImage> Frame;
  auto* SubImage = dynamic_cast<TGIFSubImage*>(Source);
  if (SubImage != nullptr && SubImage->Image() == this && FFrames->IndexOf(SubImage) < 0) {
    Frame.reset(SubImage);
  } else if (SubImage != nullptr) {
    // A frame that another image owns, or one already in this list, is copied: two
    // owners would free it twice.
    Frame = std::make_unique<TGIFSubImage>(this);
    Frame->Assign(SubImage);
  } else if (dynamic_cast<graphics::TGraphic*>(Source) != nullptr) {
    Frame = std::make_unique<TGIFSubImage>(this);
    Frame->Assign(Source);
  } else {
    RaiseGIFError("Object type not supported for operation");
  }
  const int Index = FFrames->Add(std::move(Frame));
  ReleaseBitmap();
  Changed(this);
  return Index;
}

void TGIFImage::SetWidth(int Value) {
  if (Value < 0 || Value > TGIFSubImage::MaxScreenSide) RaiseGIFError("Image width must be between 0 and 65535");
  for (int I = 0; I < FFrames->Count(); ++I) {
    const TGIFSubImage* Frame = FFrames->SubImages(I);
    if (Frame->Left() + Frame->Width() > Value) RaiseGIFError("Image width too small for contained frames");
  }
  if (Value != Width()) {
    FHeader->SetScreenWidth(static_cast<uint16_t>(Value));
    ReleaseBitmap();
    Changed(this);
  }
}

void TGIFImage::SetHeight(int Value) {
  if (Value < 0 || Value > TGIFSubImage::MaxScreenSide) RaiseGIFError("Image height must be between 0 and 65535");
  for (int I = 0; I < FFrames->Count(); ++I) {
    const TGIFSubImage* Frame = FFrames->SubImages(I);
    if (Frame->Top() + Frame->Height() > Value) RaiseGIFError("Image height too small for contained frames");
  }
  if (Value != Height()) {
    FHeader->SetScreenHeight(static_cast<uint16_t>(Value));
    ReleaseBitmap();
    Changed(this);
  }
}

gdi::HPALETTE TGIFImage::GetPalette() {
  if (FInGetPalette) RaiseGIFError("No global or local color table defined");
  FInGetPalette = true;
  struct Guard {
    bool& Flag;
    ~Guard() { Flag = false; }
  } Reset{FInGetPalette};
  if (FBitmap && !FBitmap->Empty()) {
    if (gdi::HPALETTE Held = FBitmap->Palette()) return Held;
  }
  if (FPalette != nullptr) return FPalette;
  if (DoDither()) {
    FPalette = WebPalette();
    return FPalette;
  }
  if (FHeader->ColorMap()->Count() > 0) {
    FPalette = FHeader->ColorMap()->MakePalette();
    return FPalette;
  }
  return FFrames->Count() > 0 ? FFrames->SubImages(0)->Palette() : nullptr;
}

void TGIFImage::SetPalette(gdi::HPALETTE Value) {
  if (Value != FPalette) {
    if (FPalette != nullptr) gdi::DeleteObject(FPalette);
    FPalette = Value;
  } else if (Value != nullptr) {
    return;
  }
  // None is how a change of the global table arrives: every rendering made from the
  // old table goes, also when no palette had been cached. A dying image has none.
  if (!FFrames) return;
  bool Dropped = false;
  for (int I = 0; I < FFrames->Count(); ++I) {
    TGIFSubImage* Frame = FFrames->SubImages(I);
    if (Frame->HasBitmap() && Frame->ColorMap()->Count() == 0) {
      Frame->ReleaseBitmap();
      Dropped = true;
    }
  }
  if (FBitmap) {
    ReleaseBitmap();
    Dropped = true;
  }
  if (Dropped) {
    SetPaletteModified(true);
    Changed(this);
  }
}

TGIFVersion TGIFImage::RequiredVersion() const {
  TGIFVersion Result = verUnknown;
  for (int I = 0; I < FFrames->Count() && Result != ver89a; ++I)
    Result = std::max(Result, FFrames->SubImages(I)->RequiredVersion());
  return Result;
}

int TGIFImage::ColorResolution() const {
  int Result = FHeader->GetColorResolution();
  for (int I = 0; I < FFrames->Count(); ++I) Result = std::max(Result, FFrames->SubImages(I)->ColorResolution());
  return Result;
}

int TGIFImage::BitsPerPixel() const {
  int Result = FHeader->GetBitsPerPixel();
  for (int I = 0; I < FFrames->Count(); ++I) Result = std::max(Result, FFrames->SubImages(I)->BitsPerPixel());
  return Result;
}

bool TGIFImage::DoDither() const {
  if ((FDrawFlags & dfDither) == 0) return false;
  if ((FDrawFlags & dfAutoDither) == 0) return true;
  return GIFLibraryDefaults().ScreenNeedsDither;
}

void TGIFImage::FlushRenderings() {
  ReleaseBitmap();
  SetPalette(nullptr);
  for (int I = 0; I < FFrames->Count(); ++I) {
    FFrames->SubImages(I)->ReleaseBitmap();
    FFrames->SubImages(I)->SetPalette(nullptr);
  }
  if (FHeader->ColorMap()->Count() == 0 && FFrames->Count() == 1) {
    TGIFSubImage* Frame = FFrames->SubImages(0);
    FHeader->ColorMap()->Assign(Frame->ColorMap());
    Frame->ColorMap()->Clear();
  }
}

void TGIFImage::SetDrawFlags(TGIFDrawFlags Value) {
  if (Value == FDrawFlags) return;
  FDrawFlags = Value;
  FlushRenderings();
  Changed(this);
}

void TGIFImage::SetQuantizeBits(int32_t Value) {
  if (Value < 3 || Value > 8) RaiseGIFError("Invalid Bits Per Pixel value");
  FQuantizeBits = Value;
}

void TGIFImage::SetPlaySpeed(int32_t Value) {
  Value = std::clamp(Value, 0, 1000);
  if (Value == FPlaySpeed) return;
  FPlaySpeed = Value;
  std::lock_guard Guard(FPainters.Lock());
  if (TGIFPainter* Active = FPainters.ActivePainter()) Active->SetSpeed(Value);
}

void TGIFImage::ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (OnGIFWarning) OnGIFWarning(Sender, Severity, Message);
}

}  // namespace gif
