// The transitions on real frames: what each frame of the project shows afterwards,
// its colour table with "Use last frame palette", squeezed copies, and its timing.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include "editor/effects/FrameTransitions.h"
#include "gif/GraphicControlExtension.h"

using namespace editor;

namespace {

constexpr base::TColor Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, White = 0xFFFFFF, Black = 0;
constexpr base::TColor DarkRed = 0x0000C0;
const std::vector<base::TColor> Shared = {Red, Green, Blue, White};

// A frame with its own colour table, each pixel's index from Index(x, y), delay 25.
void AddFrame(gif::TGIFImage& Image, int W, int H, std::vector<base::TColor> Colors,
              const std::function<int(int, int)>& Index) {
  auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
  Frame->SetBounds(0, 0, static_cast<uint16_t>(W), static_cast<uint16_t>(H));
  for (base::TColor Color : Colors) Frame->ColorMap()->Add(Color);
  Frame->AllocatePixels();
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>(Index(X, Y));
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
  Control->SetDelay(25);
  Frame->Extensions()->Add(std::move(Control));
  Image.Frames().Add(std::move(Frame));
}

base::TColor ColorAt(gif::TGIFImage& Image, int Frame, int X, int Y) {
  gif::TGIFSubImage* Sub = Image.Frames().SubImages(Frame);
  return Sub->ActiveColorMap()->Colors(Sub->Pixels(X, Y));
}

// The project and the preview's copy of it.
struct Project {
  explicit Project(int W, int H) : W(W), H(H) {
    Image.Header().SetScreenWidth(static_cast<uint16_t>(W));
    Image.Header().SetScreenHeight(static_cast<uint16_t>(H));
  }
  TTransitionFrames& Frames() {
    Copy = std::make_unique<gif::TGIFImage>();
    Copy->Assign(&Image);
    Transition = std::make_unique<TTransitionFrames>(*Copy, Image);
    return *Transition;
  }
  int W, H;
  gif::TGIFImage Image;
  std::unique_ptr<gif::TGIFImage> Copy;
  std::unique_ptr<TTransitionFrames> Transition;
};

// Three 100 x 60 frames: red, green, and a target blue above, white below.
std::unique_ptr<Project> ThreeFrames() {
  auto Made = std::make_unique<Project>(100, 60);
  Project& P = *Made;
  AddFrame(P.Image, 100, 60, Shared, [](int, int) { return 0; });
  AddFrame(P.Image, 100, 60, Shared, [](int, int) { return 1; });
  AddFrame(P.Image, 100, 60, Shared, [](int, int Y) { return Y < 30 ? 2 : 3; });
  return Made;
}

TEST(FrameTransitions, PlainFallWallSlidesTheTargetsFarEdgeIn) {
  const auto Owned = ThreeFrames();
  Project& P = *Owned;
  RunFallWall(P.Frames(), {0, 2, 2, false, false}, fdUpToDown, fmPlain);
  // Frame 0's band is empty; frame 1 shows the target's rows 30-59 in rows 0-29.
  EXPECT_EQ(ColorAt(P.Image, 0, 50, 10), Red);
  EXPECT_EQ(ColorAt(P.Image, 1, 50, 0), White);
  EXPECT_EQ(ColorAt(P.Image, 1, 50, 29), White);
  EXPECT_EQ(ColorAt(P.Image, 1, 50, 30), Green);
  EXPECT_EQ(ColorAt(P.Image, 2, 50, 50), White);
  // Timing stays.
  for (int Frame = 0; Frame < 3; ++Frame)
    EXPECT_EQ(P.Image.Frames().SubImages(Frame)->GraphicControlExtension()->Delay(), 25);
}

TEST(FrameTransitions, ADitheringCopyGivesUnditheredFramesAndKeepsTransparency) {
  const auto Owned = ThreeFrames();
  Project& P = *Owned;
  for (int Frame = 0; Frame < 3; ++Frame) {
    gif::TGIFSubImage* Sub = P.Image.Frames().SubImages(Frame);
    Sub->GraphicControlExtension()->SetTransparent(true);
    Sub->GraphicControlExtension()->SetTransparentColor(3);
    Sub->SetTransparent(true);
  }
  TTransitionFrames& Frames = P.Frames();
  P.Copy->SetDrawFlags(gif::dfDither);
  ASSERT_TRUE(P.Copy->DoDither());
  RunFallWall(Frames, {0, 2, 2, false, false}, fdUpToDown, fmPlain);
  for (int Frame = 0; Frame < 2; ++Frame) {
    gif::TGIFSubImage* Sub = P.Image.Frames().SubImages(Frame);
    EXPECT_EQ(Sub->ActiveColorMap()->Count(), 4) << Frame;
    EXPECT_TRUE(Sub->Transparent()) << Frame;
    EXPECT_EQ(Sub->GraphicControlExtension()->TransparentColor(), 3) << Frame;
  }
  // Frame 1 shows the target's white rows, in the table's own white.
  EXPECT_EQ(P.Image.Frames().SubImages(1)->Pixels(50, 0), 3);
  EXPECT_EQ(ColorAt(P.Image, 1, 50, 30), Green);
}

TEST(FrameTransitions, LastFramePaletteGivesEachFrameTheTargetsColours) {
  Project P(10, 10);
  AddFrame(P.Image, 10, 10, {Red, Black}, [](int, int) { return 0; });
  AddFrame(P.Image, 10, 10, {Green, Red}, [](int, int) { return 1; });
  AddFrame(P.Image, 10, 10, {DarkRed, White}, [](int, int Y) { return Y < 5 ? 1 : 0; });
  RunFallWall(P.Frames(), {0, 2, 2, true, false}, fdUpToDown, fmUnfold);
  for (int Frame = 0; Frame < 2; ++Frame) {
    gif::TGIFColorMap* Map = P.Image.Frames().SubImages(Frame)->ActiveColorMap();
    ASSERT_EQ(Map->Count(), 2) << Frame;
    EXPECT_EQ(Map->Colors(0), DarkRed);
    EXPECT_EQ(Map->Colors(1), White);
  }
  // Red becomes its nearest colour of the new table, not whatever its old index names.
  EXPECT_EQ(ColorAt(P.Image, 0, 5, 5), DarkRed);
  EXPECT_EQ(ColorAt(P.Image, 1, 5, 9), DarkRed);
  // Frame 1 uncovers the target's rows 0-4 in place.
  EXPECT_EQ(ColorAt(P.Image, 1, 5, 4), White);
}

void MakeTransparent(gif::TGIFImage& Image, int Frame, uint8_t Index) {
  gif::TGIFSubImage* Sub = Image.Frames().SubImages(Frame);
  Sub->GraphicControlExtension()->SetTransparent(true);
  Sub->GraphicControlExtension()->SetTransparentColor(Index);
  Sub->SetTransparent(true);
}

TEST(FrameTransitions, LastFramePaletteKeepsTheTransparentPixelsTransparent) {
  struct Case {
    const char* Name;
    std::vector<base::TColor> Target;
    // The target's transparent index, -1 for none.
    int TargetTransparent;
    uint8_t Expected;
  };
  const Case Cases[] = {{"an opaque target gives one more entry", {DarkRed, White}, -1, 2},
                        {"a transparent target lends its own", {DarkRed, Blue, White}, 1, 1}};
  for (const Case& C : Cases) {
    // Left half red, right half transparent (the table's green).
    Project P(10, 10);
    for (int Frame = 0; Frame < 2; ++Frame) {
      AddFrame(P.Image, 10, 10, {Red, Black, Green}, [](int X, int) { return X < 5 ? 0 : 2; });
      MakeTransparent(P.Image, Frame, 2);
    }
    AddFrame(P.Image, 10, 10, C.Target, [&](int, int Y) { return Y < 5 ? (C.TargetTransparent == 1 ? 2 : 1) : 0; });
    if (C.TargetTransparent >= 0) MakeTransparent(P.Image, 2, static_cast<uint8_t>(C.TargetTransparent));
    RunFallWall(P.Frames(), {0, 2, 2, true, false}, fdUpToDown, fmUnfold);
    for (int Frame = 0; Frame < 2; ++Frame) {
      gif::TGIFSubImage* Sub = P.Image.Frames().SubImages(Frame);
      gif::TGIFColorMap* Map = Sub->ActiveColorMap();
      for (int Index = 0; Index < static_cast<int>(C.Target.size()); ++Index)
        EXPECT_EQ(Map->Colors(Index), C.Target[static_cast<size_t>(Index)]) << C.Name << " " << Frame;
      ASSERT_TRUE(Sub->Transparent()) << C.Name << " " << Frame;
      EXPECT_EQ(Sub->GraphicControlExtension()->TransparentColor(), C.Expected) << C.Name;
      EXPECT_EQ(Sub->GraphicControlExtension()->Delay(), 25);
      EXPECT_EQ(Sub->Pixels(7, 7), C.Expected) << C.Name << " " << Frame;
      EXPECT_EQ(ColorAt(P.Image, Frame, 2, 7), DarkRed) << C.Name << " " << Frame;
    }
    // Frame 1 uncovered the target's opaque white rows 0-4 over its transparent half.
    EXPECT_EQ(ColorAt(P.Image, 1, 7, 2), White) << C.Name;
    EXPECT_NE(P.Image.Frames().SubImages(1)->Pixels(7, 2), C.Expected) << C.Name;
    EXPECT_EQ(P.Image.Frames().SubImages(0)->Pixels(7, 2), C.Expected) << C.Name;
  }
}

TEST(FrameTransitions, LastFramePaletteKeepsShownPixelsOffTheTargetsTransparentEntry) {
  // The frames' red is nearest to the target's transparent red: it must stay shown.
  Project P(10, 10);
  for (int Frame = 0; Frame < 2; ++Frame) {
    AddFrame(P.Image, 10, 10, {Red, Black, Green}, [](int X, int) { return X < 5 ? 0 : 2; });
    MakeTransparent(P.Image, Frame, 2);
  }
  AddFrame(P.Image, 10, 10, {Red, DarkRed, White}, [](int, int Y) { return Y < 5 ? 0 : 2; });
  MakeTransparent(P.Image, 2, 0);
  RunFallWall(P.Frames(), {0, 2, 2, true, false}, fdUpToDown, fmUnfold);
  for (int Frame = 0; Frame < 2; ++Frame) {
    gif::TGIFSubImage* Sub = P.Image.Frames().SubImages(Frame);
    ASSERT_TRUE(Sub->Transparent()) << Frame;
    EXPECT_EQ(Sub->GraphicControlExtension()->TransparentColor(), 0) << Frame;
    EXPECT_EQ(Sub->Pixels(7, 7), 0) << Frame;
    EXPECT_EQ(Sub->Pixels(2, 7), 1) << Frame;
  }
  // Frame 1 uncovered the target's transparent rows 0-4: they stay transparent.
  EXPECT_EQ(P.Image.Frames().SubImages(1)->Pixels(2, 2), 0);
}

TEST(FrameTransitions, SqueezedCopiesKeepColoursInsteadOfMixingIndexes) {
  // One-pixel stripes of indexes 1, 2, 3, 0: ANDing neighbours would give index 0 only.
  Project P(8, 8);
  AddFrame(P.Image, 8, 8, Shared, [](int, int) { return 3; });
  AddFrame(P.Image, 8, 8, Shared, [](int, int) { return 3; });
  AddFrame(P.Image, 8, 8, Shared, [](int X, int) { return (X + 1) % 4; });
  RunFallWall(P.Frames(), {0, 2, 2, false, false}, fdLeftToRight, fmScale);
  std::set<base::TColor> Seen;
  for (int X = 0; X < 4; ++X) Seen.insert(ColorAt(P.Image, 1, X, 3));
  EXPECT_EQ(Seen.size(), 2u);
  EXPECT_EQ(ColorAt(P.Image, 1, 4, 3), White);
}

TEST(FrameTransitions, MoveApartDiminishCoversTheFirstFrameAndLinesCutBands) {
  const auto Owned = ThreeFrames();
  Project& P = *Owned;
  RunMoveApart(P.Frames(), {0, 2, 2, false, false}, false, false, false);
  EXPECT_EQ(ColorAt(P.Image, 0, 0, 0), Blue);
  EXPECT_EQ(ColorAt(P.Image, 0, 99, 59), White);
  // Frame 1: the band (25, 0, 75, 60) of the target.
  EXPECT_EQ(ColorAt(P.Image, 1, 24, 10), Green);
  EXPECT_EQ(ColorAt(P.Image, 1, 25, 10), Blue);
  EXPECT_EQ(ColorAt(P.Image, 1, 75, 40), Green);

  const auto OwnedLines = ThreeFrames();
  Project& L = *OwnedLines;
  // Two row bands of frame 0 over frame 1, which first became the target.
  RunLines(L.Frames(), {0, 2, 2, false, true}, true, 2);
  EXPECT_EQ(ColorAt(L.Image, 0, 10, 10), Red);
  EXPECT_EQ(ColorAt(L.Image, 1, 49, 10), Blue);  // even band starts at 50
  EXPECT_EQ(ColorAt(L.Image, 1, 50, 10), Red);
  EXPECT_EQ(ColorAt(L.Image, 1, 49, 40), Red);  // odd band ends at 50
  EXPECT_EQ(ColorAt(L.Image, 1, 50, 40), White);
}

TEST(FrameTransitions, RainStrewsTheTargetsPixels) {
  Project P(10, 10);
  AddFrame(P.Image, 10, 10, Shared, [](int, int) { return 0; });
  AddFrame(P.Image, 10, 10, Shared, [](int, int) { return 0; });
  AddFrame(P.Image, 10, 10, Shared, [](int, int) { return 2; });
  std::mt19937 Random(11);
  std::vector<int> Reported;
  RunRain(P.Frames(), {0, 2, 1, false, false}, Random, [&](int Frame) { Reported.push_back(Frame); });
  EXPECT_EQ(Reported, (std::vector<int>{0, 1}));
  auto BlueCount = [&](int Frame) {
    int Count = 0;
    for (int Y = 0; Y < 10; ++Y)
      for (int X = 0; X < 10; ++X) Count += ColorAt(P.Image, Frame, X, Y) == Blue;
    return Count;
  };
  // 51 and 101 draws on 100 pixels: some land twice.
  EXPECT_GT(BlueCount(0), 25);
  EXPECT_LE(BlueCount(0), 51);
  EXPECT_GT(BlueCount(1), BlueCount(0));
}

TEST(FrameTransitions, AnEmptyFrameStopsTheRunAndKeepsWhatWasStored) {
  const auto Owned = ThreeFrames();
  Project& P = *Owned;
  TTransitionFrames& Frames = P.Frames();
  EXPECT_THROW(Frames.Bitmap(5), base::Exception);
}

}  // namespace
