// TScreenCompositor: the logical screen as a viewer shows it after each frame, by the
// disposal rules: 2 gives the frame's area back to the fill colour (or, with
// transparency, to what lay there before anything was drawn), 3 to what was there
// before the frame, every other value keeps the frame. Pixels beyond the screen are
// clipped. The crop of frames to what changes, the tests and the benchmarks share it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/Types.h"

namespace gif {

class TGIFImage;
class TGIFSubImage;

class TScreenCompositor {
 public:
  static constexpr int64_t MaxScreenPixels = int64_t{1} << 26;

  // "Image dimensions too large" beyond MaxScreenPixels. Without Transparent every
  // pixel of a frame is drawn, its transparent index as its colour.
  TScreenCompositor(int Width, int Height, base::TColor Initial, base::TColor Fill, bool Transparent);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  const std::vector<base::TColor>& Screen() const { return FScreen; }
  base::TColor At(int X, int Y) const { return FScreen[static_cast<size_t>(Y) * FWidth + X]; }

  // The colour each index of Frame shows, clNone for its transparent index (with
  // transparency). An index beyond the frame's table gets a value of its own that no
  // colour has.
  std::array<base::TColor, 256> FrameColors(const TGIFSubImage& Frame) const;
  // Draws Frame and gives the screen as it shows it; then applies its disposal.
  std::vector<base::TColor> Show(const TGIFSubImage& Frame);
  // Frame's area as it was before anything was drawn (or the fill colour).
  void Restore(const TGIFSubImage& Frame);

 private:
  // The part of Frame's rectangle on the screen, in screen coordinates.
  base::TRect Clipped(const TGIFSubImage& Frame) const;

  int FWidth;
  int FHeight;
  std::vector<base::TColor> FScreen;
  std::vector<base::TColor> FBackup;
  base::TColor FFill;
  bool FTransparent;
};

// One picture a viewer sees and how long it stays, in hundredths of a second.
struct TShownPicture {
  std::vector<base::TColor> Screen;
  int Delay = 0;
  friend bool operator==(const TShownPicture&, const TShownPicture&) = default;
};

// What a viewer sees over one pass of Image: each frame's picture with its delay,
// runs of the same picture joined, pixels never drawn as clNone. Two images that
// show the same have the same timeline.
std::vector<TShownPicture> Timeline(const TGIFImage& Image);

}  // namespace gif
