// TGIFImage as a graphic of the picture system: its rendering, palette, drawing of a
// still picture, assignment to bitmaps and the clipboard exchange.
#include <new>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/Library.h"
#include "platform/graphics/Palettes.h"

namespace gif {

graphics::TBitmap* TGIFImage::GetBitmap() {
  if (FFrames->Count() == 0) return nullptr;
  if (FBitmap) return FBitmap.get();
  auto Bitmap = std::make_unique<graphics::TBitmap>();
  TGIFSubImage* First = FFrames->SubImages(0);
  if (First->Width() == Width() && First->Height() == Height()) {
    Bitmap->Assign(First->GetBitmap());
  } else {
    Bitmap->SetPalette(graphics::CopyPalette(GetPalette()));
    Bitmap->SetHeight(Height());
    Bitmap->SetWidth(Width());
    First->Draw(Bitmap->Canvas(), base::Rect(0, 0, Width(), Height()), false, false);
  }
  Bitmap->OnChange = [this](base::TObject*) { Changed(this); };
  FBitmap = std::move(Bitmap);
  return FBitmap.get();
}

void TGIFImage::AssignTo(base::TPersistent* Dest) const {
  if (auto* Bitmap = dynamic_cast<graphics::TBitmap*>(Dest)) {
    Bitmap->Assign(const_cast<TGIFImage*>(this)->GetBitmap());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TGIFImage::SaveToClipboardFormat(graphics::TClipboardFormat& Format, graphics::TClipboardData& Data,
                                      gdi::HPALETTE& Palette) {
  if (FFrames->Count() == 0) return;
  GetBitmap()->SaveToClipboardFormat(Format, Data, Palette);
  base::TMemoryStream Stream;
  SaveToStream(Stream);
  std::vector<uint8_t> Block;
  try {
    Block.resize(static_cast<size_t>(Stream.Size()));
  } catch (const std::bad_alloc&) {
    return;
  }
  Stream.SetPosition(0);
  Stream.ReadBuffer(Block.data(), static_cast<int64_t>(Block.size()));
  graphics::TClipboardData Gif;
  Gif.Bytes = std::move(Block);
  if (!graphics::SetClipboardData(GIFClipboardFormat(), std::move(Gif))) {
    // The caller gets nothing to free after the failure.
    if (Data.Bitmap != nullptr) gdi::DeleteObject(Data.Bitmap);
    if (Palette != nullptr) gdi::DeleteObject(Palette);
    Data = {};
    Palette = nullptr;
    RaiseGIFError("Failed to store GIF on clipboard");
  }
}

void TGIFImage::LoadFromClipboardFormat(graphics::TClipboardFormat Format, const graphics::TClipboardData& Data,
                                        gdi::HPALETTE Palette) {
  graphics::TClipboardData Held = Data;
  const bool NoData = Held.Bitmap == nullptr && Held.Bytes.empty();
  if (NoData) {
    if (auto FromClipboard = graphics::GetClipboardData(Format)) Held = std::move(*FromClipboard);
  }
  if (Format == GIFClipboardFormat() && !Held.Bytes.empty()) {
    base::TMemoryStream Stream(Held.Bytes);
    LoadFromStream(Stream);
    return;
  }
  if (Format == graphics::CF_BITMAP && Held.Bitmap != nullptr) {
    graphics::TBitmap Bitmap;
    Bitmap.LoadFromClipboardFormat(Format, Held, Palette);
    Assign(&Bitmap);
    return;
  }
  RaiseGIFError("Unsupported clipboard format");
}

}  // namespace gif
