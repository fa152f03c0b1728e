#include "platform/graphics/Icon.h"

#include <algorithm>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/Object.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/GDIError.h"
#include "platform/graphics/IconCodec.h"

namespace graphics {

namespace {

// A bitmap the caller owns; freed here unless released.
struct TOwnedBitmap {
  gdi::HBITMAP Handle = nullptr;
  ~TOwnedBitmap() {
    if (Handle != nullptr) gdi::DeleteObject(Handle);
  }
};

// A DIB section holding Image's pixels.
gdi::HBITMAP SectionOf(const TDIBImage& Image) {
  const gdi::BITMAPINFO Info = BitmapInfoOf(Image);
  void* Bits = nullptr;
  gdi::HBITMAP Section = GDICheck(gdi::CreateDIBSection(nullptr, &Info, gdi::DIB_RGB_COLORS, &Bits));
  std::copy(Image.Bits.begin(), Image.Bits.end(), static_cast<uint8_t*>(Bits));
  return Section;
}

// A monochrome device bitmap of a 1-bit image: rows from the top, padded to 16 bits.
gdi::HBITMAP MonochromeOf(const TDIBImage& Mask) {
  const size_t From = static_cast<size_t>(Mask.RowBytes());
  const size_t To = static_cast<size_t>((Mask.Width + 15) / 16 * 2);
  std::vector<uint8_t> Rows(To * Mask.Height);
  for (int32_t Y = 0; Y < Mask.Height; ++Y)
    std::copy_n(Mask.Bits.begin() + (Mask.Height - 1 - Y) * From, To, Rows.begin() + Y * To);
  return GDICheck(gdi::CreateBitmap(Mask.Width, Mask.Height, 1, 1, Rows.data()));
}

}  // namespace

TIcon::TIcon() {
  SetTransparent(true);
  SetModified(false);
}

TIcon::~TIcon() { Clear(); }

void TIcon::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  const auto* Other = dynamic_cast<const TIcon*>(Source);
  if (Other == nullptr) return TGraphic::Assign(Source);
  if (!Other->Empty()) {
    base::TMemoryStream Stream(Other->FData);
    return LoadFromStream(Stream);
  }
  Clear();
  Changed(this);
}

void TIcon::SetWidth(int) { throw base::EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::SetHeight(int) { throw base::EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::LoadFromStream(base::TStream& Stream) {
  const int64_t Count = Stream.Size() - Stream.Position();
  std::vector<uint8_t> Data(static_cast<size_t>(std::max<int64_t>(Count, 0)));
  Stream.ReadBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  const std::vector<TIconEntry> Entries = ReadIconDirectory(Data);
  const TIconImage Image = DecodeIconImage(Data, Entries[ChooseIconEntry(Entries)]);

  const TOwnedBitmap Color{SectionOf(Image.Color)};
  const TOwnedBitmap Mask{MonochromeOf(Image.Mask)};
  gdi::ICONINFO Info;
  Info.hbmColor = Color.Handle;
  Info.hbmMask = Mask.Handle;
  gdi::HICON Handle = GDICheck(gdi::CreateIconIndirect(&Info));

  Clear();
  FHandle = Handle;
  FWidth = Image.Color.Width;
  FHeight = Image.Color.Height;
  FData = std::move(Data);
  Changed(this);
}

void TIcon::SaveToStream(base::TStream& Stream) {
  Stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TIcon::Draw(TCanvas& ACanvas, const base::TRect& Rect) {
  if (Empty() || Rect.Width() == 0 || Rect.Height() == 0) return;
  gdi::DrawIconEx(ACanvas.Handle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr,
                  gdi::DI_NORMAL);
}

void TIcon::Clear() {
  if (FHandle != nullptr) gdi::DestroyIcon(FHandle);
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FData.clear();
}

}  // namespace graphics
