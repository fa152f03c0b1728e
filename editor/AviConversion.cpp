#include "editor/AviConversion.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/base/Exceptions.h"
#include "platform/gdi/Palette.h"

namespace editor {

uint16_t AviFrameDelay(uint32_t Scale, uint32_t Rate) {
  const uint64_t Delay = Rate != 0 ? (uint64_t{Scale} * 100 + Rate / 2) / Rate : Scale / 100;
  return static_cast<uint16_t>(std::min<uint64_t>(Delay, UINT16_MAX));
}

std::vector<bool> FramesOfTheirOwn(avi::TAVIVideoReader& Video, uint16_t Delay) {
  std::vector<bool> Own(static_cast<size_t>(std::max(Video.Length(), 0)), true);
  uint32_t Held = Delay;  // the delay of the last frame of its own so far
  for (int32_t I = 1; I < Video.Length(); ++I) {
    if (Video.Repeats(Video.Start() + I) && Held + Delay <= UINT16_MAX) {
      Own[static_cast<size_t>(I)] = false;
      Held += Delay;
    } else {
      Held = Delay;
    }
  }
  return Own;
}

void CheckImportSize(avi::TAVIVideoReader& Video, const std::vector<bool>& OwnFrames) {
  const auto& Header = *reinterpret_cast<const gdi::BITMAPINFOHEADER*>(Video.Format().data());
  const int64_t Pixels = int64_t{Header.biWidth} * std::abs(int64_t{Header.biHeight});
  const auto Frames = static_cast<int64_t>(std::count(OwnFrames.begin(), OwnFrames.end(), true));
  if (Frames * Pixels > gif::TGIFImageList::MaxImagePixels)
    throw avi::EAVIError("The AVI video is too large to import.");
}

std::vector<gdi::RGBQUAD> ColorTableOf(gdi::HPALETTE Palette) {
  std::vector<gdi::PALETTEENTRY> Entries(256);
  Entries.resize(gdi::GetPaletteEntries(Palette, 0, 256, Entries.data()));
  std::vector<gdi::RGBQUAD> Colors;
  for (const gdi::PALETTEENTRY& Entry : Entries) Colors.push_back({Entry.peBlue, Entry.peGreen, Entry.peRed, 0});
  return Colors;
}

TAviScreen::TAviScreen(int Width, int Height, std::vector<gdi::RGBQUAD> Colors, gdi::COLORREF Background)
    : FWidth(Width), FHeight(Height), FRowBytes((int64_t{Width} + 3) / 4 * 4), FColors(std::move(Colors)) {
  if (FColors.empty()) throw base::EInvalidOperation("The animation has no colours.");
  const base::TColor Ground = Background & 0xFFFFFF;
  FScreen = std::make_unique<gif::TScreenCompositor>(Width, Height, Ground, Ground, true);
  FNearest = std::make_unique<gdi::NearestCache>(FColors.data(), static_cast<uint32_t>(FColors.size()));
  FRows.assign(static_cast<size_t>(FRowBytes * FHeight), static_cast<uint8_t>(FNearest->Find(gdi::XRGBOf(Ground))));
}

TAviScreen::~TAviScreen() = default;

void TAviScreen::Refresh(const gif::TGIFSubImage& Frame) {
  const base::TRect Area = Frame.BoundsRect();
  const int Left = std::max(Area.Left, 0), Right = std::min(Area.Right, FWidth);
  for (int Y = std::max(Area.Top, 0); Y < std::min(Area.Bottom, FHeight); ++Y) {
    uint8_t* Target = FRows.data() + (FHeight - 1 - Y) * FRowBytes;
    for (int X = Left; X < Right; ++X) Target[X] = static_cast<uint8_t>(FNearest->Find(gdi::XRGBOf(FScreen->At(X, Y))));
  }
}

void TAviScreen::Draw(gif::TGIFSubImage& Frame) {
  if (FShown) {
    const gif::TGIFSubImage& Previous = *std::exchange(FShown, nullptr);
    FScreen->Dispose(Previous);
    Refresh(Previous);
  }
  graphics::TBitmap* Bitmap = Frame.GetBitmap();
  if (!Bitmap) return;
  if (Bitmap->PixelFormat() != graphics::pf8bit) throw base::EInvalidOperation("A frame is not an 8-bit picture.");
  // Indexes past the rendering's own table show the screen table's first entry.
  const std::vector<gdi::RGBQUAD> Own = ColorTableOf(Bitmap->Palette());
  gif::TFramePicture Picture;
  for (size_t I = 0; I < Picture.Colors.size(); ++I) {
    const gdi::RGBQUAD& Quad = I < Own.size() ? Own[I] : FColors[0];
    Picture.Colors[I] = gdi::ColorRefOf(gdi::XRGBOf(Quad));
  }
  Picture.Row = [Bitmap](int Y) { return static_cast<const uint8_t*>(Bitmap->ScanLine(Y)); };
  FScreen->Draw(Frame, Picture);
  FShown = &Frame;
  Refresh(Frame);
}

}  // namespace editor
