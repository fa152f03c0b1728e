// The colour-table merger, the optimisation pass and the crop of frames to what
// changes, each checked against the pictures the library's compositor shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "gif/ColorMapOptimizer.h"
#include "gif/FrameSizeOptimizer.h"
#include "gif/GIFImage.h"
#include "gif/LZWEncoder.h"
#include "gif/ScreenCompositor.h"
#include "platform/base/Stream.h"
#include "tests/gif/GIFTestSupport.h"

namespace {

using base::TColor;
using namespace gif;

struct TFrame {
  int Left, Top, Width, Height;
  std::vector<uint8_t> Pixels;  // Width x Height; empty: filled with Index
  uint8_t Index = 0;
  int Delay = -1;  // -1: no graphic control extension
  int Disposal = 0;
  int Transparent = -1;
  std::vector<TColor> Local;  // a local table when not empty
};

std::unique_ptr<TGIFImage> Build(int Width, int Height, const std::vector<TColor>& Global,
                                 const std::vector<TFrame>& Frames) {
  auto Image = std::make_unique<TGIFImage>();
  Image->Header().SetScreenWidth(static_cast<uint16_t>(Width));
  Image->Header().SetScreenHeight(static_cast<uint16_t>(Height));
  for (TColor C : Global) Image->GetGlobalColorMap()->Add(C);
  for (const TFrame& F : Frames) {
    auto* Frame = new TGIFSubImage(Image.get());
    Frame->SetBounds(static_cast<uint16_t>(F.Left), static_cast<uint16_t>(F.Top), static_cast<uint16_t>(F.Width),
                     static_cast<uint16_t>(F.Height));
    for (TColor C : F.Local) Frame->ColorMap()->Add(C);
    for (int I = 0; I < F.Width * F.Height; ++I)
      Frame->Data()[I] = F.Pixels.empty() ? F.Index : F.Pixels[static_cast<size_t>(I)];
    if (F.Delay >= 0) giftest::AddGraphicControl(Frame, F.Delay, F.Disposal, F.Transparent);
    Image->AddFrame(Frame);
  }
  return Image;
}

std::vector<std::vector<TColor>> Pictures(const TGIFImage& Image) {
  TScreenCompositor Screen(Image.Width(), Image.Height(), base::clNone, base::clNone, true);
  std::vector<std::vector<TColor>> Result;
  for (int I = 0; I < Image.Frames().Count(); ++I) Result.push_back(Screen.Show(*Image.Frames().SubImages(I)));
  return Result;
}

int DelayOf(const TGIFSubImage& Frame) {
  return Frame.GraphicControlExtension() ? Frame.GraphicControlExtension()->Delay() : 0;
}

std::unique_ptr<TGIFImage> ReadBack(TGIFImage& Image) {
  base::TMemoryStream Stream;
  Image.SaveToStream(Stream);
  Stream.SetPosition(0);
  auto Copy = std::make_unique<TGIFImage>();
  Copy->LoadFromStream(Stream);
  return Copy;
}

// A small deterministic generator of animations with every disposal, transparency,
// local and global tables, and frames that repeat much of the picture before them.
class TRandom {
 public:
  explicit TRandom(uint32_t Seed) : FState(Seed) {}
  int Below(int N) {
    FState = FState * 1664525u + 1013904223u;
    return static_cast<int>((FState >> 8) % static_cast<uint32_t>(N));
  }

 private:
  uint32_t FState;
};

std::unique_ptr<TGIFImage> RandomAnimation(uint32_t Seed) {
  TRandom R(Seed);
  const int W = 12 + R.Below(10), H = 10 + R.Below(10);
  std::vector<TColor> Global;
  for (int I = 0; I < 8; ++I) Global.push_back(static_cast<TColor>(R.Below(0x1000000)));
  std::vector<TFrame> Frames;
  const int Count = 3 + R.Below(6);
  for (int F = 0; F < Count; ++F) {
    TFrame Frame;
    Frame.Left = F == 0 ? 0 : R.Below(W / 2);
    Frame.Top = F == 0 ? 0 : R.Below(H / 2);
    Frame.Width = F == 0 ? W : 1 + R.Below(W - Frame.Left);
    Frame.Height = F == 0 ? H : 1 + R.Below(H - Frame.Top);
    if (R.Below(3) == 0)
      for (int I = 0; I < 6; ++I) Frame.Local.push_back(R.Below(2) ? Global[static_cast<size_t>(I)] : R.Below(0x1000000));
    const int Colors = Frame.Local.empty() ? 8 : 6;
    const uint8_t Base = static_cast<uint8_t>(R.Below(Colors));
    for (int I = 0; I < Frame.Width * Frame.Height; ++I)
      Frame.Pixels.push_back(R.Below(4) == 0 ? static_cast<uint8_t>(R.Below(Colors)) : Base);
    if (R.Below(5) > 0) {
      Frame.Delay = R.Below(3) * 5;
      Frame.Disposal = R.Below(4);
      if (R.Below(2)) Frame.Transparent = R.Below(Colors);
      if (Frame.Transparent >= 0 && R.Below(6) == 0) std::fill(Frame.Pixels.begin(), Frame.Pixels.end(), static_cast<uint8_t>(Frame.Transparent));
    }
    Frames.push_back(Frame);
  }
  return Build(W, H, Global, Frames);
}

TEST(MergeColorTables, KeepsEveryPictureWhenTheColoursFit) {
  for (uint32_t Seed = 1; Seed <= 60; ++Seed) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    auto Image = RandomAnimation(Seed);
    const auto Before = Pictures(*Image);
    Image->MergeColorTables();
    for (int I = 0; I < Image->Frames().Count(); ++I) EXPECT_EQ(Image->Frames().SubImages(I)->ColorMap()->Count(), 0);
    EXPECT_EQ(Pictures(*Image), Before);
    EXPECT_EQ(Pictures(*ReadBack(*Image)), Before);
  }
}

TEST(MergeColorTables, SharedColoursAreKeptOnceWithTheirUsesAdded) {
  // Frame 0 uses red 3 times and green once, frame 1 green 4 times and blue once.
  auto Image = Build(5, 1, {}, {{0, 0, 4, 1, {0, 0, 0, 1}, 0, 0, 0, -1, {0x0000FF, 0x00FF00, 0x777777}},
                                {0, 0, 5, 1, {0, 0, 0, 0, 1}, 0, 0, 0, -1, {0x00FF00, 0xFF0000}}});
  Image->MergeColorTables();
  const TGIFColorMap& Global = *Image->GetGlobalColorMap();
  ASSERT_EQ(Global.Count(), 3);
  EXPECT_TRUE(Global.Optimized());
  TGIFGlobalColorMap& Table = *Image->GetGlobalColorMap();
  EXPECT_EQ(Table.Colors(0), 0x00FF00);
  EXPECT_EQ(Table.Colors(1), 0x0000FF);
  EXPECT_EQ(Table.Colors(2), 0xFF0000);
}

TEST(MergeColorTables, ColoursBeyondTheLimitTakeTheNearestComponentSum) {
  for (bool Transparent : {false, true}) {
    SCOPED_TRACE(Transparent ? "transparent" : "opaque");
    // 300 colours in 300 frames of 1 pixel; colour k is used 1000 - k times (as
    // extra pixels), so the first ones are kept.
    std::vector<TFrame> Frames;
    for (int K = 0; K < 300; ++K) {
      TFrame F{0, 0, 1000 - K, 1, {}, 0, -1, 0, -1, {static_cast<TColor>(K * 3 + 0x010000 * (K % 7))}};
      if (Transparent && K == 0) {
        F.Local.push_back(0x123456);
        F.Pixels.assign(static_cast<size_t>(F.Width), 0);
        F.Pixels.back() = 1;
        F.Delay = 0;
        F.Transparent = 1;
      }
      Frames.push_back(F);
    }
    auto Image = Build(1000, 1, {}, Frames);
    Image->MergeColorTables();
    TGIFGlobalColorMap& Table = *Image->GetGlobalColorMap();
    ASSERT_EQ(Table.Count(), 256);
    if (Transparent) {
      EXPECT_EQ(Table.Colors(255), GIFLibraryDefaults().TransparentFill);
      EXPECT_EQ(Image->Frames().SubImages(0)->GraphicControlExtension()->TransparentColor(), 255);
      EXPECT_EQ(Image->Frames().SubImages(0)->Data()[999], 255);
    }
    // Every dropped colour shows the kept colour of the nearest component sum.
    const int Kept = Transparent ? 255 : 256;
    for (int K = Kept; K < 300; ++K) {
      const TColor Original = static_cast<TColor>(K * 3 + 0x010000 * (K % 7));
      const auto Sum = [](TColor C) { return (C & 0xFF) + (C >> 8 & 0xFF) + (C >> 16 & 0xFF); };
      int Best = 765, BestIndex = 0;
      for (int E = 0; E < Kept; ++E)
        if (std::abs(Sum(Table.Colors(E)) - Sum(Original)) < Best) {
          Best = std::abs(Sum(Table.Colors(E)) - Sum(Original));
          BestIndex = E;
        }
      EXPECT_EQ(Image->Frames().SubImages(K)->Data()[0], BestIndex) << K;
    }
  }
}

TEST(MergeColorTables, RepairsBadIndexesAndDropsUnusedTransparency) {
  auto Image = Build(3, 1, {0x111111, 0x222222, 0x333333, 0x444444},
                     {{0, 0, 3, 1, {1, 9, 9}, 0, 0, 0, -1, {}}, {0, 0, 3, 1, {1, 2, 2}, 0, 5, 0, 3, {}}});
  Image->Header().SetBackgroundColorIndex(2);
  giftest::WarningLog Log(*Image);
  Image->MergeColorTables();
  EXPECT_EQ(Log.Messages(), std::vector<std::string>(2, "Color not in color table"));
  const TGIFSubImage& Second = *Image->Frames().SubImages(1);
  EXPECT_FALSE(Second.Transparent());
  EXPECT_EQ(Second.GraphicControlExtension()->TransparentColor(), 0);
  TGIFGlobalColorMap& Table = *Image->GetGlobalColorMap();
  // 0x111111 twice (the repaired pixels), 0x222222 twice, 0x333333 twice; 0x444444 unused.
  EXPECT_EQ(Table.Count(), 3);
  EXPECT_EQ(Table.Colors(Image->Header().BackgroundColorIndex()), 0x333333);
}

TEST(MergeColorTables, TheBackgroundColourStaysWhileThereIsRoom) {
  struct TCase {
    const char* Name;
    int Transparent;
    uint8_t Background;
    int Entries;
  };
  // A frame over half the screen uses 0x111111 and 0x222222 (0x111111 transparent in
  // one case); no pixel uses 0x777777.
  for (const TCase& Case : {TCase{"opaque", -1, 2, 3}, TCase{"transparent", 0, 2, 3}, TCase{"background used", -1, 0, 2}}) {
    SCOPED_TRACE(Case.Name);
    auto Image = Build(4, 1, {0x111111, 0x222222, 0x777777},
                       {{0, 0, 2, 1, {0, 1}, 0, 0, 0, Case.Transparent, {}}});
    Image->Header().SetBackgroundColorIndex(Case.Background);
    const TColor Background = Image->GetGlobalColorMap()->Colors(Case.Background);
    Image->MergeColorTables();
    TGIFGlobalColorMap& Table = *Image->GetGlobalColorMap();
    ASSERT_LT(Image->Header().BackgroundColorIndex(), Table.Count());
    EXPECT_EQ(Table.Colors(Image->Header().BackgroundColorIndex()), Background);
    EXPECT_EQ(Table.Count(), Case.Entries);
  }
  // 256 used colours leave no room: the background takes the nearest of them.
  std::vector<TFrame> Frames;
  for (int K = 0; K < 256; ++K) Frames.push_back({0, 0, 1, 1, {}, 0, -1, 0, -1, {static_cast<TColor>(K * 0x010101)}});
  auto Full = Build(2, 1, {0x0000FE}, Frames);
  Full->MergeColorTables();
  ASSERT_EQ(Full->GetGlobalColorMap()->Count(), 256);
  EXPECT_EQ(Full->GetGlobalColorMap()->Colors(Full->Header().BackgroundColorIndex()), 0x555555);
}

TEST(MergeColorTables, LeavesAnImageWithoutUsedColoursAlone) {
  auto Image = Build(2, 1, {0x111111, 0x222222}, {{0, 0, 2, 1, {0, 0}, 0, 0, 0, 0, {}}});
  Image->MergeColorTables();
  EXPECT_EQ(Image->GetGlobalColorMap()->Count(), 2);
  EXPECT_TRUE(Image->Frames().SubImages(0)->Transparent());
  TGIFImage Empty;
  Empty.MergeColorTables();
  EXPECT_EQ(Empty.GetGlobalColorMap()->Count(), 0);
}

TEST(MergeColorTables, FramesWithoutATableGetValidIndexes) {
  auto Image = Build(2, 1, {}, {{0, 0, 2, 1, {0, 1}, 0, -1, 0, -1, {0x0000FF, 0x00FF00}},
                                {0, 0, 2, 1, {7, 7}, 0, -1, 0, -1, {}}});
  Image->MergeColorTables();
  const auto Copy = ReadBack(*Image);
  EXPECT_EQ(Copy->Frames().SubImages(1)->Data()[0], 0);
}

TEST(Optimize, KeepsWhatTheAnimationShows) {
  const TImageOptimizeFlags All = ofCrop | ofMerge | ofCleanup | ofColorTables | ofReduceColors;
  for (TImageOptimizeFlags Flags : {TImageOptimizeFlags{ofCrop}, TImageOptimizeFlags{ofMerge},
                                    TImageOptimizeFlags{ofCleanup}, TImageOptimizeFlags{ofColorTables}, All}) {
    for (uint32_t Seed = 1; Seed <= 80; ++Seed) {
      SCOPED_TRACE("flags " + std::to_string(Flags) + ", seed " + std::to_string(Seed));
      auto Image = RandomAnimation(Seed);
      const auto Before = Timeline(*Image);
      Image->Optimize(Flags, rdNone, dkNone, 8);
      ASSERT_GE(Image->Frames().Count(), 1);
      EXPECT_EQ(Timeline(*Image), Before);
      EXPECT_EQ(Timeline(*ReadBack(*Image)), Before);
    }
  }
}

// A file whose first frame's transparent index, 200, lies beyond its four-entry global
// table (other encoders write such files); the second frame repeats most of the first.
std::unique_ptr<TGIFImage> TransparentBeyondTheTable() {
  base::TMemoryStream File;
  const auto Put = [&File](std::initializer_list<uint8_t> Values) {
    for (const uint8_t V : Values) File.WriteBuffer(&V, 1);
  };
  File.WriteBuffer("GIF89a", 6);
  Put({4, 0, 1, 0, 0x81, 0, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
  const uint8_t First[] = {0, 1, 200, 2}, Second[] = {0, 1, 3, 2};
  Put({0x21, 0xF9, 4, 1, 10, 0, 200, 0, ',', 0, 0, 0, 0, 4, 0, 1, 0, 0});
  TLZWEncoder().Encode(File, 8, 256, First, false, 1, 4);
  Put({',', 0, 0, 0, 0, 4, 0, 1, 0, 0});
  TLZWEncoder().Encode(File, 8, 256, Second, false, 1, 4);
  Put({';'});
  File.SetPosition(0);
  auto Image = std::make_unique<TGIFImage>();
  Image->LoadFromStream(File);
  return Image;
}

TEST(Optimize, MergeBorrowsOnlyATransparentIndexInsideTheTable) {
  auto Image = TransparentBeyondTheTable();
  giftest::WarningLog Log(*Image);
  const auto Before = Timeline(*Image);
  Image->Optimize(ofMerge, rdNone, dkNone, 8);
  const TGIFSubImage& Second = *Image->Frames().SubImages(1);
  ASSERT_TRUE(Second.Transparent());
  EXPECT_LT(Second.GraphicControlExtension()->TransparentColor(), Image->GetGlobalColorMap()->Count());
  EXPECT_EQ(Log.Messages(), std::vector<std::string>{});
  EXPECT_EQ(Timeline(*Image), Before);
  EXPECT_EQ(Timeline(*ReadBack(*Image)), Before);
}

TEST(Optimize, CleanupDropsWhatCarriesNothing) {
  auto Image = Build(2, 1, {0x000000, 0xFFFFFF},
                     {{0, 0, 2, 1, {0, 1}, 0, 0, 1, -1, {}}, {0, 0, 2, 1, {1, 0}, 0, 4, 1, -1, {}},
                      {0, 0, 2, 1, {1, 1}, 0, 0, 2, -1, {}}});
  Image->Frames().SubImages(0)->Extensions()->Add(std::make_unique<TGIFAppExtNSLoop>(Image->Frames().SubImages(0)));
  Image->Frames().SubImages(1)->Extensions()->Add(std::make_unique<TGIFAppExtNSLoop>(Image->Frames().SubImages(1)));
  Image->Frames().SubImages(1)->Extensions()->Add(std::make_unique<TGIFCommentExtension>(Image->Frames().SubImages(1)));
  std::vector<int> Stages;
  Image->OnProgress = [&](base::TObject*, base::TProgressStage Stage, uint8_t, bool, const base::TRect&,
                          const std::string& Message) {
    EXPECT_EQ(Message, "Optimizing...");
    Stages.push_back(static_cast<int>(Stage));
  };
  Image->Optimize(ofCleanup, rdNone, dkNone, 8);
  // Frame 0 keeps its loop and loses its plain extension; frame 1 keeps its delay; frame 2
  // keeps its disposal.
  ASSERT_EQ(Image->Frames().Count(), 3);
  const TGIFExtensionList& First = *Image->Frames().SubImages(0)->Extensions();
  ASSERT_EQ(First.Count(), 1);
  EXPECT_NE(dynamic_cast<const TGIFAppExtNSLoop*>(First.Extensions(0)), nullptr);
  ASSERT_EQ(Image->Frames().SubImages(1)->Extensions()->Count(), 1);
  EXPECT_EQ(DelayOf(*Image->Frames().SubImages(1)), 4);
  EXPECT_NE(Image->Frames().SubImages(2)->GraphicControlExtension(), nullptr);
  EXPECT_EQ(Stages.front(), static_cast<int>(base::psStarting));
  EXPECT_EQ(Stages.back(), static_cast<int>(base::psEnding));

  TGIFImage Empty;
  bool Reported = false;
  Empty.OnProgress = [&](base::TObject*, base::TProgressStage, uint8_t, bool, const base::TRect&,
                         const std::string&) { Reported = true; };
  Empty.Optimize(ofCleanup, rdNone, dkNone, 8);
  EXPECT_FALSE(Reported);
}

TEST(Optimize, AnEmptiedFrameGivesItsDelayToTheFrameBefore) {
  auto Image = Build(2, 1, {0x000000, 0xFFFFFF},
                     {{0, 0, 2, 1, {0, 1}, 0, -1, 0, -1, {}}, {0, 0, 2, 1, {1, 1}, 0, 7, 1, 1, {}},
                      {0, 0, 2, 1, {1, 1}, 0, 65530, 1, 1, {}}});
  Image->Optimize(ofCrop, rdNone, dkNone, 8);
  ASSERT_EQ(Image->Frames().Count(), 1);
  EXPECT_EQ(DelayOf(*Image->Frames().SubImages(0)), 65535);
  // A frame that restores the background keeps its whole area.
  auto Restoring = Build(2, 1, {0x000000, 0xFFFFFF},
                         {{0, 0, 2, 1, {0, 1}, 0, -1, 0, -1, {}}, {0, 0, 2, 1, {1, 0}, 0, 7, 2, 1, {}}});
  Restoring->Optimize(ofCrop | ofCleanup, rdNone, dkNone, 8);
  ASSERT_EQ(Restoring->Frames().Count(), 2);
  EXPECT_EQ(Restoring->Frames().SubImages(1)->Width(), 2);
}

TEST(Optimize, ReduceColorsRefusesACustomPaletteWithoutCleanup) {
  auto Image = Build(1, 1, {0x000000}, {{0, 0, 1, 1, {0}, 0, -1, 0, -1, {}}});
  EXPECT_THROW(Image->Optimize(ofReduceColors, rdCustomPalette, dkNone, 8), GIFException);
  EXPECT_NO_THROW(Image->Optimize(ofReduceColors | ofCleanup, rdCustomPalette, dkNone, 8));
}

TEST(ScreenCompositor, ShowsWhatAWholeScreenShowsAcrossTileBorders) {
  // Frames that cross the compositor's tiles and the screen's edges, with every
  // disposal and transparency, against a plain full-screen composition.
  for (uint32_t Seed = 1; Seed <= 30; ++Seed) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    TRandom R(Seed);
    const int W = 60 + R.Below(150), H = 60 + R.Below(100);
    const std::vector<TColor> Global = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    std::vector<TFrame> Frames;
    for (int F = 0; F < 12; ++F) {
      TFrame Frame{R.Below(W), R.Below(H), 1 + R.Below(W), 1 + R.Below(H), {}, 0, -1, 0, -1, {}};
      for (int I = 0; I < Frame.Width * Frame.Height; ++I) Frame.Pixels.push_back(static_cast<uint8_t>(R.Below(6)));
      Frame.Delay = 1;
      Frame.Disposal = R.Below(4);
      if (R.Below(2)) Frame.Transparent = R.Below(6);
      Frames.push_back(Frame);
    }
    auto Image = Build(W, H, Global, Frames);
    for (bool Transparent : {false, true}) {
      const TColor Initial = 0x123456, Fill = 0x654321;
      std::vector<TColor> Plain(static_cast<size_t>(W) * H, Initial);
      TScreenCompositor Screen(W, H, Initial, Fill, Transparent);
      for (int I = 0; I < Image->Frames().Count(); ++I) {
        const TGIFSubImage& Frame = *Image->Frames().SubImages(I);
        const TFrame& Made = Frames[static_cast<size_t>(I)];
        const std::vector<TColor> Before = Plain;
        for (int Y = 0; Y < Made.Height && Made.Top + Y < H; ++Y)
          for (int X = 0; X < Made.Width && Made.Left + X < W; ++X) {
            const uint8_t P = Made.Pixels[static_cast<size_t>(Y * Made.Width + X)];
            if (Transparent && P == Made.Transparent) continue;
            Plain[static_cast<size_t>((Made.Top + Y) * W + Made.Left + X)] = Global[P];
          }
        ASSERT_EQ(Screen.Show(Frame), Plain) << "frame " << I << (Transparent ? " transparent" : " opaque");
        if (Made.Disposal == 3) Plain = Before;
        if (Made.Disposal == 2)
          for (int Y = Made.Top; Y < std::min(H, Made.Top + Made.Height); ++Y)
            for (int X = Made.Left; X < std::min(W, Made.Left + Made.Width); ++X)
              Plain[static_cast<size_t>(Y * W + X)] = Transparent ? Initial : Fill;
      }
    }
  }
}

TEST(OptimizeFrameSize, CropsToWhatChanges) {
  std::vector<uint8_t> Plain(40 * 30, 0), Changed = Plain;
  Changed[20 * 40 + 10] = 1;
  auto Image = Build(40, 30, {0x000000, 0xFFFFFF},
                     {{0, 0, 40, 30, Plain, 0, 3, 1, -1, {}}, {0, 0, 40, 30, Changed, 0, 4, 1, -1, {}},
                      {0, 0, 40, 30, Changed, 0, 5, 1, -1, {}}});
  const auto Before = Timeline(*Image);
  EXPECT_EQ(OptimizeFrameSize(*Image), 1);
  const TGIFSubImage& Second = *Image->Frames().SubImages(1);
  EXPECT_EQ(Second.BoundsRect(), base::Bounds(10, 20, 1, 1));
  EXPECT_EQ(Second.Data()[0], 1);
  EXPECT_EQ(DelayOf(Second), 4);
  // The third frame changes nothing and keeps its whole area.
  EXPECT_EQ(Image->Frames().SubImages(2)->Width(), 40);
  EXPECT_EQ(Timeline(*Image), Before);
}

TEST(OptimizeFrameSize, KeepsWhatTheAnimationShows) {
  for (uint32_t Seed = 1; Seed <= 80; ++Seed) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    auto Image = RandomAnimation(Seed);
    std::vector<int> Disposals;
    for (int I = 0; I < Image->Frames().Count(); ++I) {
      const TGIFSubImage& Frame = *Image->Frames().SubImages(I);
      Disposals.push_back(Frame.GraphicControlExtension() ? static_cast<int>(Frame.GraphicControlExtension()->Disposal()) : -1);
    }
    const auto Before = Timeline(*Image);
    OptimizeFrameSize(*Image);
    EXPECT_EQ(Timeline(*Image), Before);
    for (int I = 0; I < Image->Frames().Count(); ++I) {
      const TGIFSubImage& Frame = *Image->Frames().SubImages(I);
      EXPECT_EQ(Frame.GraphicControlExtension() ? static_cast<int>(Frame.GraphicControlExtension()->Disposal()) : -1,
                Disposals[static_cast<size_t>(I)]);
    }
  }
}

}  // namespace
