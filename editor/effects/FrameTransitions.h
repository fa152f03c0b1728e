// The four frame transitions drawn on real frames. They draw on bitmaps of the frames of
// the preview's copy of the project, each read undithered under the frame's own table,
// and hand each finished frame to the same frame of the project, which takes its pixels
// and keeps its timing, extensions and, while the table stays, its transparent index.
// A transition that fails part-way leaves the frames it already handed over.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <random>

#include "editor/effects/TransitionPlans.h"
#include "gif/GIFImage.h"

namespace editor {

class TTransitionFrames {
 public:
  TTransitionFrames(gif::TGIFImage& Copy, gif::TGIFImage& Project) : FCopy(Copy), FProject(Project) {}

  // The copy's frame as a bitmap, read on first use; "Frame N is empty" when it has none.
  graphics::TBitmap& Bitmap(int Frame);
  // Frame's picture in the colours of Key's table: a copy of that table, each pixel
  // taking its nearest colour; a shown pixel never takes Key's transparent entry.
  void UseColorsOf(int Frame, int Key);
  // Picture at (0, 0) over Frame.
  void DrawOver(int Frame, graphics::TBitmap& Picture);
  // Colour on colour, so that a squeezed copy keeps its colours.
  void CopyRect(int Frame, int Source, const TRectCopy& Copy);
  void CopyPixel(int Frame, int Source, int X, int Y);
  // The project's frame takes the copy's picture.
  void Store(int Frame);
  // Some frame of the project took a picture.
  bool Stored() const { return FStored; }

 private:
  gif::TGIFImage& FCopy;
  gif::TGIFImage& FProject;
  std::map<int, std::unique_ptr<graphics::TBitmap>> FBitmaps;
  // The transparent index of Frame's picture, -1 for none.
  int TransparentIndexOf(int Frame) const;

  // Frames whose pictures took another table, and the entry their transparent pixels
  // took in it (-1: none).
  std::map<int, int> FTransparentIndex;
  bool FStored = false;
};

// What every transition does to each frame of its run before its own drawing.
struct TTransitionRun {
  int First = 0;
  int Target = 0;
  // The step is the reference side div Divisor.
  int Divisor = 1;
  bool UsePalette = false;
  // Fall wall, rain and move apart draw the first frame over the others, lines the
  // target, as it was before the run; the run's first frame is never drawn over.
  bool CopyFrame = false;
};

void RunFallWall(TTransitionFrames& Frames, const TTransitionRun& Run, TFallDirection Direction, TFallMode Mode);
// Before each frame, Progress learns its index.
void RunRain(TTransitionFrames& Frames, const TTransitionRun& Run, std::mt19937& Random,
             const std::function<void(int Frame)>& Progress);
void RunMoveApart(TTransitionFrames& Frames, const TTransitionRun& Run, bool Vertical, bool Increase, bool Scale);
void RunLines(TTransitionFrames& Frames, const TTransitionRun& Run, bool Horizontal, int Lines);

}  // namespace editor
