#include "platform/graphics/JPEGImage.h"

#include <algorithm>

#include "platform/base/Stream.h"
#include "platform/graphics/BmpCodec.h"
#include "platform/graphics/JPEGImageCodec.h"

namespace graphics {

TJPEGImage::TJPEGImage() : FBitmap(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  if (const auto* Other = dynamic_cast<const TJPEGImage*>(Source)) {
    FBitmap->Assign(Other->FBitmap.get());
    FData = Other->FData;
    FCompressionQuality = Other->FCompressionQuality;
    FGrayscale = Other->FGrayscale;
    FSmoothing = Other->FSmoothing;
    Changed(this);
    return;
  }
  if (dynamic_cast<const TGraphic*>(Source) == nullptr) return TGraphic::Assign(Source);
  FBitmap->Assign(Source);
  FData.clear();
  Changed(this);
}

void TJPEGImage::AssignTo(base::TPersistent* Dest) const {
  if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest)) return Bitmap->Assign(FBitmap.get());
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::SetWidth(int Value) {
  if (Value == Width()) return;
  FBitmap->SetWidth(Value);
  PictureChanged();
}

void TJPEGImage::SetHeight(int Value) {
  if (Value == Height()) return;
  FBitmap->SetHeight(Value);
  PictureChanged();
}

void TJPEGImage::LoadFromStream(base::TStream& Stream) {
  const int64_t Count = Stream.Size() - Stream.Position();
  std::vector<uint8_t> Data(static_cast<size_t>(std::max<int64_t>(Count, 0)));
  Stream.ReadBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  base::TMemoryStream Source(Data);
  const TDIBImage Image = ReadJPEG(Source, {.Smoothing = FSmoothing});
  base::TMemoryStream Bmp;
  WriteBMP(Bmp, Image);
  Bmp.SetPosition(0);
  FBitmap->LoadFromStream(Bmp);
  FData = std::move(Data);
  FGrayscale = Image.BitCount == 8;
  Changed(this);
}

void TJPEGImage::SaveToStream(base::TStream& Stream) {
  if (Empty()) return;
  if (FData.empty()) {
    // The encoder takes 24-bit rows: a copy of the picture in that format, as a BMP does.
    TBitmap Copy;
    Copy.Assign(FBitmap.get());
    Copy.SetPixelFormat(pf24bit);
    base::TMemoryStream Bmp;
    Copy.SaveToStream(Bmp);
    Bmp.SetPosition(0);
    FData = EncodeJPEG(ReadBMP(Bmp), FCompressionQuality, FGrayscale);
  }
  Stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TJPEGImage::Draw(TCanvas& ACanvas, const base::TRect& Rect) { FBitmap->Draw(ACanvas, Rect); }

void TJPEGImage::SetCompressionQuality(int Value) {
  Value = std::clamp(Value, 0, 100);
  if (Value == FCompressionQuality) return;
  FCompressionQuality = Value;
  PictureChanged();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  PictureChanged();
}

void TJPEGImage::SetSmoothing(bool Value) {
  if (Value == FSmoothing) return;
  FSmoothing = Value;
  Changed(this);
}

void TJPEGImage::PictureChanged() {
  FData.clear();
  Changed(this);
}

}  // namespace graphics
