// The pieces of AVI import and export that do not touch the windows: the frame delay of
// a stream's timing, and the frames of an animation composed onto its logical screen.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/ScreenCompositor.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/DIB.h"

namespace editor {

// Hundredths of a second per frame of a stream with this scale and rate: Scale x 100 /
// Rate rounded (halves up), or Scale / 100 for a rate of 0; at most 65535.
uint16_t AviFrameDelay(uint32_t Scale, uint32_t Rate);

// The frames of an image composed in turn onto its logical screen by the GIF library's
// compositor, as a player shows them, and the screen in one colour table: each frame is
// drawn as its rendering shows it (dithered when the image dithers), transparent pixels
// keep what lies below, a frame's disposal acts before the next frame is drawn, and
// every colour takes the nearest entry.
class TAviScreen {
 public:
  TAviScreen(int Width, int Height, std::vector<gdi::RGBQUAD> Colors, gdi::COLORREF Background);
  ~TAviScreen();
  TAviScreen(const TAviScreen&) = delete;
  TAviScreen& operator=(const TAviScreen&) = delete;

  void Draw(gif::TGIFSubImage& Frame);
  // The screen as 8-bit rows, bottom-up, each padded to 4 bytes.
  const std::vector<uint8_t>& Rows() const { return FRows; }
  const std::vector<gdi::RGBQUAD>& Colors() const { return FColors; }

 private:
  const int FWidth;
  const int FHeight;
  const int64_t FRowBytes;
  const std::vector<gdi::RGBQUAD> FColors;
  std::unique_ptr<gif::TScreenCompositor> FScreen;
  std::unique_ptr<gdi::NearestCache> FNearest;
  std::vector<uint8_t> FRows;
  // The frame drawn last, whose disposal comes before the next one.
  const gif::TGIFSubImage* FShown = nullptr;
};

// The entries of a palette as a DIB colour table.
std::vector<gdi::RGBQUAD> ColorTableOf(gdi::HPALETTE Palette);

}  // namespace editor
