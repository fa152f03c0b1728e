#include "platform/graphics/Metafile.h"

#include <algorithm>

#include "platform/base/Rounding.h"
#include "platform/base/Stream.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileReader.h"

namespace graphics {

namespace {

int ScreenPixelsPerInch(int Index) {
  gdi::HDC Screen = gdi::GetDC(nullptr);
  const int Value = gdi::GetDeviceCaps(Screen, Index);
  gdi::ReleaseDC(nullptr, Screen);
  return Value;
}

}  // namespace

TMetafile::TMetafile() {
  SetTransparent(true);
  SetModified(false);
}

void TMetafile::Assign(const base::TPersistent* Source) {
  if (Source == this) return;
  const auto* Other = dynamic_cast<const TMetafile*>(Source);
  if (Other == nullptr) return TGraphic::Assign(Source);
  FData = Other->FData;
  FContent = Other->FContent;
  FWidth = Other->FWidth;
  FHeight = Other->FHeight;
  Changed(this);
}

void TMetafile::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  Changed(this);
}

void TMetafile::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed(this);
}

void TMetafile::LoadFromStream(base::TStream& Stream) {
  const int64_t Count = Stream.Size() - Stream.Position();
  std::vector<uint8_t> Data(static_cast<size_t>(std::max<int64_t>(Count, 0)));
  Stream.ReadBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  TMetafileContent Content = ReadMetafile(Data);
  const base::TRect& Frame = Content.Frame;
  FWidth = base::MulDiv(Frame.Width(), ScreenPixelsPerInch(gdi::LOGPIXELSX), Content.UnitsPerInch);
  FHeight = base::MulDiv(Frame.Height(), ScreenPixelsPerInch(gdi::LOGPIXELSY), Content.UnitsPerInch);
  FContent = std::move(Content);
  FData = std::move(Data);
  Changed(this);
}

void TMetafile::SaveToStream(base::TStream& Stream) {
  Stream.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
}

void TMetafile::Draw(TCanvas& ACanvas, const base::TRect& Rect) {
  if (Empty()) return;
  PlayMetafile(ACanvas.Handle(), FContent, Rect);
}

}  // namespace graphics
