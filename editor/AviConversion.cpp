#include "editor/AviConversion.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/Exceptions.h"
#include "platform/gdi/ColorMatch.h"
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

TScreenComposer::TScreenComposer(int Width, int Height, std::vector<gdi::RGBQUAD> Colors, gdi::COLORREF Background)
    : FWidth(Width), FHeight(Height), FRowBytes((int64_t{Width} + 3) / 4 * 4), FColors(std::move(Colors)) {
  if (FColors.empty()) throw base::EInvalidOperation("The animation has no colours.");
  FBackground = static_cast<uint8_t>(
      gdi::NearestIndex(FColors.data(), static_cast<uint32_t>(FColors.size()), gdi::XRGBOf(Background)));
  FRows.assign(static_cast<size_t>(FRowBytes * FHeight), FBackground);
}

void TScreenComposer::Dispose() {
  if (FDisposal == gif::TFrameDisposal::fdPrevious) {
    FRows = FSaved;
  } else if (FDisposal == gif::TFrameDisposal::fdBackground) {
    for (int Y = std::max(FArea.Top, 0); Y < std::min(FArea.Bottom, FHeight); ++Y)
      std::fill_n(FRows.begin() + (FHeight - 1 - Y) * FRowBytes + FArea.Left,
                  std::max(0, std::min(FArea.Right, FWidth) - FArea.Left), FBackground);
  }
  FDisposal = gif::TFrameDisposal::fdNoneSpecified;
}

void TScreenComposer::Draw(gif::TGIFSubImage& Frame) {
  Dispose();
  const gif::TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  if (Control && Control->Disposal() == gif::TFrameDisposal::fdPrevious) FSaved = FRows;
  graphics::TBitmap* Bitmap = Frame.GetBitmap();
  if (!Bitmap) return;
  if (Bitmap->PixelFormat() != graphics::pf8bit) throw base::EInvalidOperation("A frame is not an 8-bit picture.");
  // The frame's own table onto the screen's.
  const std::vector<gdi::RGBQUAD> Own = ColorTableOf(Bitmap->Palette());
  uint8_t Translate[256] = {};
  for (size_t I = 0; I < Own.size(); ++I)
    Translate[I] = static_cast<uint8_t>(
        gdi::NearestIndex(FColors.data(), static_cast<uint32_t>(FColors.size()), gdi::XRGBOf(Own[I])));
  const bool Transparent = Control && Control->Transparent() && Frame.Data();
  const int Width = std::min<int>(Frame.Width(), FWidth - Frame.Left());
  for (int Y = 0; Y < Frame.Height() && Frame.Top() + Y < FHeight; ++Y) {
    const uint8_t* Source = Bitmap->ScanLine(Y);
    const uint8_t* Indexes = Transparent ? Frame.Data() + int64_t{Y} * Frame.Width() : nullptr;
    uint8_t* Target = FRows.data() + (FHeight - 1 - (Frame.Top() + Y)) * FRowBytes + Frame.Left();
    for (int X = 0; X < Width; ++X)
      if (!Indexes || Indexes[X] != Control->TransparentColor()) Target[X] = Translate[Source[X]];
  }
  if (Control) {
    FDisposal = Control->Disposal();
    FArea = Frame.BoundsRect();
  }
}

}  // namespace editor
