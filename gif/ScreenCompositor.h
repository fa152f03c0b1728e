// TScreenCompositor: the logical screen as a viewer shows it after each frame, by the
// disposal rules: 2 gives the frame's area back to the fill colour (or, with
// transparency, to what lay there before anything was drawn), 3 to what was there
// before the frame, every other value keeps the frame. Pixels beyond the screen are
// clipped. The screen is held in tiles made when a frame first reaches them, and a
// frame that restores the previous picture keeps only its own area, so drawing and
// disposing cost what the frames cover, not the screen. The crop of frames to what
// changes, the AVI export, the tests and the benchmarks share it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Types.h"

namespace gif {

class TGIFImage;
class TGIFSubImage;

// A picture drawn for a frame in place of its own indexes (its rendering, dithered
// perhaps): row Y of the picture's indexes, Y counted in the frame, and the colour of
// each index. The frame's own indexes still tell which pixels are transparent.
struct TFramePicture {
  std::function<const uint8_t*(int Y)> Row;
  std::array<base::TColor, 256> Colors{};
};

class TScreenCompositor {
 public:
  static constexpr int64_t MaxScreenPixels = int64_t{1} << 26;

  // "Image dimensions too large" beyond MaxScreenPixels. Without Transparent every
  // pixel of a frame is drawn, its transparent index as its colour.
  TScreenCompositor(int Width, int Height, base::TColor Initial, base::TColor Fill, bool Transparent);
  ~TScreenCompositor();
  TScreenCompositor(const TScreenCompositor&) = delete;
  TScreenCompositor& operator=(const TScreenCompositor&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  base::TColor At(int X, int Y) const;
  // The whole screen, rows top to bottom.
  std::vector<base::TColor> Screen() const;

  // The colour each index of Frame shows, clNone for its transparent index (with
  // transparency). An index beyond the frame's table gets a value of its own that no
  // colour has.
  std::array<base::TColor, 256> FrameColors(const TGIFSubImage& Frame) const;
  // Draws Frame (or Picture in its place); Dispose then applies its disposal.
  void Draw(const TGIFSubImage& Frame);
  void Draw(const TGIFSubImage& Frame, const TFramePicture& Picture);
  // Applies the disposal of Frame, the frame drawn last.
  void Dispose(const TGIFSubImage& Frame);
  // Draws Frame and gives the screen as it shows it; then applies its disposal.
  std::vector<base::TColor> Show(const TGIFSubImage& Frame);
  // Frame's area as it was before anything was drawn (or the fill colour).
  void Restore(const TGIFSubImage& Frame);

 private:
  static constexpr int TileSide = 64;

  // The part of Frame's rectangle on the screen, in screen coordinates.
  base::TRect Clipped(const TGIFSubImage& Frame) const;
  // The pixels of row Y from X on, up to the end of their tile (at most Count), made
  // when the tile is new.
  base::TColor* Span(int X, int Y);
  // Calls Each(X, Y, Pixels, Count) for every run of Area's pixels within one tile.
  template <class Visit>
  void ForEachSpan(const base::TRect& Area, Visit Each);
  // Picture: none for the frame's own indexes.
  void Paint(const TGIFSubImage& Frame, const TFramePicture* Picture);

  int FWidth;
  int FHeight;
  int FTilesAcross;
  std::vector<std::unique_ptr<base::TColor[]>> FTiles;
  base::TColor FInitial;
  base::TColor FFill;
  bool FTransparent;
  // What lay beneath the last frame drawn, when it restores the previous picture.
  base::TRect FSavedArea{};
  std::vector<base::TColor> FSaved;
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
