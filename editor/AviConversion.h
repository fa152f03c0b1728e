// The pieces of AVI import and export that do not touch the windows: the frame delay of
// a stream's timing, and the frames of an animation composed onto its logical screen.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/GIFImage.h"
#include "gif/ScreenCompositor.h"
#include "platform/avi/AVIVideoReader.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/DIB.h"

namespace editor {

// Hundredths of a second per frame of a stream with this scale and rate: Scale x 100 /
// Rate rounded (halves up), or Scale / 100 for a rate of 0; at most 65535.
uint16_t AviFrameDelay(uint32_t Scale, uint32_t Rate);

// Which positions of the video become frames of their own, from its start on: the
// first, each that does not repeat the picture before it, and each whose delay the
// frame before it cannot take as well (delays stop at 65535). The others add their
// delay to the frame before them, so a picture that stays is kept once.
std::vector<bool> FramesOfTheirOwn(avi::TAVIVideoReader& Video, uint16_t Delay);

// "The AVI video is too large to import." when the frames of their own would hold more
// pixels together than an animation the editor opens may hold.
void CheckImportSize(avi::TAVIVideoReader& Video, const std::vector<bool>& OwnFrames);

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
  // Frame's area of the rows from the screen, the only part its drawing or disposal changes.
  void Refresh(const gif::TGIFSubImage& Frame);

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
