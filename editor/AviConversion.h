// The pieces of AVI import and export that do not touch the windows: the frame delay of
// a stream's timing, and the frames of an animation composed onto its logical screen.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/GIFImage.h"
#include "platform/avi/AVIVideoReader.h"
#include "platform/gdi/Color.h"
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

// The frames of an image drawn in turn onto its logical screen in one colour table, as
// a player shows them: each frame's pixels take the nearest entry, transparent pixels
// keep what lies below, and a frame's disposal acts before the next frame is drawn.
class TScreenComposer {
 public:
  TScreenComposer(int Width, int Height, std::vector<gdi::RGBQUAD> Colors, gdi::COLORREF Background);

  void Draw(gif::TGIFSubImage& Frame);
  // The screen as 8-bit rows, bottom-up, each padded to 4 bytes.
  const std::vector<uint8_t>& Rows() const { return FRows; }
  const std::vector<gdi::RGBQUAD>& Colors() const { return FColors; }

 private:
  void Dispose();

  const int FWidth;
  const int FHeight;
  const int64_t FRowBytes;
  const std::vector<gdi::RGBQUAD> FColors;
  uint8_t FBackground = 0;
  std::vector<uint8_t> FRows;
  std::vector<uint8_t> FSaved;
  gif::TFrameDisposal FDisposal = gif::TFrameDisposal::fdNoneSpecified;
  base::TRect FArea;
};

// The entries of a palette as a DIB colour table.
std::vector<gdi::RGBQUAD> ColorTableOf(gdi::HPALETTE Palette);

}  // namespace editor
