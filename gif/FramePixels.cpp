#include "gif/FramePixels.h"

#include <cstring>
#include <vector>

#include "gif/ColorMap.h"
#include "platform/gdi/Palette.h"

namespace gif {

namespace {

bool UnderTable(graphics::TBitmap& Bitmap, const TGIFColorMap& Map) {
  if (Bitmap.PixelFormat() != graphics::pf8bit || Map.Count() == 0) return false;
  gdi::HPALETTE Palette = Bitmap.Palette();
  if (Palette == nullptr) return false;
  std::vector<gdi::PALETTEENTRY> Entries(256);
  const uint32_t Count = gdi::GetPaletteEntries(Palette, 0, 256, Entries.data());
  if (Count != static_cast<uint32_t>(Map.Count())) return false;
  const uint8_t* Triplet = Map.Data();
  for (uint32_t I = 0; I < Count; ++I, Triplet += 3)
    if (Entries[I].peRed != Triplet[0] || Entries[I].peGreen != Triplet[1] || Entries[I].peBlue != Triplet[2])
      return false;
  return true;
}

}  // namespace

std::unique_ptr<graphics::TBitmap> ReadFrameBitmap(TGIFSubImage& Frame) {
  if (Frame.Empty()) return nullptr;
  auto Bitmap = std::make_unique<graphics::TBitmap>();
  const TGIFColorMap& Map = *Frame.ActiveColorMap();
  if (Map.Count() == 0) {
    // Nothing to keep the indexes under: the frame's own rendering is all there is.
    Bitmap->Assign(Frame.GetBitmap());
    return Bitmap;
  }
  Bitmap->SetPixelFormat(graphics::pf8bit);
  Bitmap->SetWidth(Frame.Width());
  Bitmap->SetHeight(Frame.Height());
  // Exactly the table's entries, so drawing finds its colours among them only.
  Bitmap->SetPalette(Map.MakePalette());
  for (int Y = 0; Y < Frame.Height(); ++Y) std::memcpy(Bitmap->ScanLine(Y), Frame.Scanline(Y), Frame.Width());
  Bitmap->Changed(Bitmap.get());
  return Bitmap;
}

void StoreFrameBitmap(TGIFSubImage& Frame, graphics::TBitmap& Bitmap) {
  if (Bitmap.Empty() || !UnderTable(Bitmap, *Frame.ActiveColorMap())) {
    Frame.Assign(&Bitmap);
    return;
  }
  const int Width = Bitmap.Width();
  const int Height = Bitmap.Height();
  // A size off the largest screen is refused before the frame changes.
  TGIFSubImage::CheckScreenFit(Frame.Left(), Frame.Top(), Width, Height);
  if (Width != Frame.Width() || Height != Frame.Height())
    Frame.SetBounds(Frame.Left(), Frame.Top(), static_cast<uint16_t>(Width), static_cast<uint16_t>(Height));
  for (int Y = 0; Y < Height; ++Y) std::memcpy(Frame.Scanline(Y), Bitmap.ScanLine(Y), static_cast<size_t>(Width));
  // Renderings of the old pixels are gone.
  Frame.ReleaseBitmap();
  Frame.ReleaseMask();
}

}  // namespace gif
