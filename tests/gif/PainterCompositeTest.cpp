// The pictures a painter shows after each frame, compared with the library's
// compositor of the disposal rules.
#include <gtest/gtest.h>

#include <vector>

#include "gif/ScreenCompositor.h"
#include "tests/gif/PainterTestSupport.h"

namespace {

using namespace paintertest;
using namespace gif;

constexpr int ScreenW = 8, ScreenH = 6;
constexpr TColor TargetColor = 0x123456;

// A frame at (L, T) of W x H in colour I with delay 2, disposal D; index 0 is
// transparent in every third pixel.
TFrameSpec F(int L, int T, int W, int H, uint8_t I, int D) {
  return {.Left = L, .Top = T, .Width = W, .Height = H, .Index = I, .Delay = 2, .Disposal = D, .Transparent = 0};
}

struct TSequence {
  const char* Name;
  std::vector<TFrameSpec> Frames;
};

const std::vector<TSequence>& Sequences() {
  static const std::vector<TSequence> All = {
      {"every disposal",
       {F(0, 0, 8, 6, 1, 1), F(1, 1, 4, 3, 2, 2), F(3, 2, 4, 4, 3, 0), F(0, 3, 5, 3, 4, 3), F(2, 0, 3, 3, 5, 3),
        F(4, 1, 4, 5, 6, 5), F(0, 0, 3, 2, 7, 2), F(5, 4, 3, 2, 1, 3), F(1, 2, 2, 2, 2, 0), F(0, 0, 8, 6, 3, 2)}},
      {"keeping only", {F(0, 0, 5, 5, 1, 0), F(2, 1, 6, 5, 2, 1), F(1, 3, 4, 3, 3, 4), F(0, 0, 2, 6, 4, 7)}},
      {"previous first", {F(1, 1, 6, 4, 5, 3), F(0, 2, 4, 4, 6, 2), F(3, 0, 5, 3, 7, 0), F(2, 2, 3, 3, 1, 3)}},
  };
  return All;
}

enum class TMode { PaintSynchronous, PaintThreaded, DrawBuffered, DrawUnbufferedThreaded };

const char* NameOf(TMode Mode) {
  switch (Mode) {
    case TMode::PaintSynchronous: return "synchronous paint";
    case TMode::PaintThreaded: return "threaded paint";
    case TMode::DrawBuffered: return "synchronous buffered draw";
    case TMode::DrawUnbufferedThreaded: return "threaded unbuffered draw";
  }
  return "";
}

TEST(PainterComposite, EachFrameShowsTheComposedScreen) {
  TClockScope Scope;
  const base::TRect Rect = base::Bounds(3, 2, ScreenW, ScreenH);
  for (const TSequence& S : Sequences()) {
    for (TMode Mode : {TMode::PaintSynchronous, TMode::PaintThreaded, TMode::DrawBuffered,
                       TMode::DrawUnbufferedThreaded}) {
      for (bool Transparent : {false, true}) {
        for (bool Backdrop : {false, true}) {
          SCOPED_TRACE(std::string(S.Name) + ", " + NameOf(Mode) + (Transparent ? ", transparent" : ", opaque") +
                       (Backdrop ? ", backdrop colour" : ", background index"));
          auto Image = MakeImage(ScreenW, ScreenH, S.Frames);
          Image->Header().SetBackgroundColorIndex(7);
          TColor Fill = TableColors()[7];
          if (Backdrop) {
            Fill = 0x00A0B0;
            Image->SetBackdropColor(Fill);
          }
          auto Target = MakeTarget(ScreenW + 6, ScreenH + 4, TargetColor);
          std::vector<std::vector<TColor>> Seen;
          TEventLog Log;
          Log.Attach(*Image);
          Log.OnEvent = [&](TGIFPainter&, const std::string& Event) {
            if (!Event.starts_with("after")) return;
            std::vector<TColor> Pixels;
            for (int Y = Rect.Top; Y < Rect.Bottom; ++Y)
              for (int X = Rect.Left; X < Rect.Right; ++X) Pixels.push_back(Target->Canvas().Pixels(X, Y));
            Seen.push_back(Pixels);
          };
          const TGIFDrawFlags Flags = dfAnimate | (Transparent ? dfTransparent : 0);
          switch (Mode) {
            case TMode::PaintSynchronous: Play(*Image, Target->Canvas(), Rect, Flags); break;
            case TMode::PaintThreaded: Play(*Image, Target->Canvas(), Rect, Flags | dfThreaded); break;
            case TMode::DrawBuffered:
              Image->SetDrawFlags(Flags);
              Image->Draw(Target->Canvas(), Rect);
              break;
            case TMode::DrawUnbufferedThreaded:
              Image->SetDrawFlags(Flags | dfThreaded | dfUnbuffered);
              Image->Draw(Target->Canvas(), Rect);
              PumpUntilIdle(*Image);
              break;
          }
          TScreenCompositor Expected(ScreenW, ScreenH, TargetColor, Fill, Transparent);
          ASSERT_EQ(Seen.size(), S.Frames.size());
          for (size_t I = 0; I < S.Frames.size(); ++I) {
            SCOPED_TRACE("frame " + std::to_string(I));
            EXPECT_EQ(Seen[I], Expected.Show(*Image->Frames().SubImages(static_cast<int>(I))));
          }
          // Nothing outside the rectangle changes.
          for (int Y = 0; Y < Target->Height(); ++Y) {
            for (int X = 0; X < Target->Width(); ++X) {
              const bool Inside = X >= Rect.Left && X < Rect.Right && Y >= Rect.Top && Y < Rect.Bottom;
              if (!Inside) {
                ASSERT_EQ(Target->Canvas().Pixels(X, Y), TargetColor) << X << "," << Y;
              }
            }
          }
        }
      }
    }
  }
}

TEST(PainterComposite, ClearingOnRepeatRestoresTheFirstFrameAreaBeforeEachPass) {
  TClockScope Scope;
  const base::TRect Rect = base::Bounds(1, 3, ScreenW, ScreenH);
  std::vector<TFrameSpec> Frames = {F(1, 0, 6, 6, 2, 1), F(0, 1, 8, 3, 3, 1), F(2, 2, 3, 3, 4, 1)};
  Frames[0].Loops = 2;
  for (bool Threaded : {false, true}) {
    for (bool Transparent : {false, true}) {
      SCOPED_TRACE(std::string(Threaded ? "threaded" : "synchronous") + (Transparent ? ", transparent" : ", opaque"));
      auto Image = MakeImage(ScreenW, ScreenH, Frames);
      Image->SetBackdropColor(0x00A0B0);
      auto Target = MakeTarget(ScreenW + 2, ScreenH + 4, TargetColor);
      std::vector<std::vector<TColor>> Seen;
      Image->OnAfterFramePaint = [&](base::TObject*) {
        std::vector<TColor> Pixels;
        for (int Y = Rect.Top; Y < Rect.Bottom; ++Y)
          for (int X = Rect.Left; X < Rect.Right; ++X) Pixels.push_back(Target->Canvas().Pixels(X, Y));
        Seen.push_back(Pixels);
      };
      const TGIFDrawFlags Flags = dfAnimate | dfRepeat | dfClearOnRepeat | (Transparent ? dfTransparent : 0) |
                                  (Threaded ? dfThreaded : 0);
      Play(*Image, Target->Canvas(), Rect, Flags);
      TScreenCompositor Expected(ScreenW, ScreenH, TargetColor, 0x00A0B0, Transparent);
      ASSERT_EQ(Seen.size(), 6u);
      for (size_t I = 0; I < Seen.size(); ++I) {
        SCOPED_TRACE("shown frame " + std::to_string(I));
        const TGIFSubImage& Frame = *Image->Frames().SubImages(static_cast<int>(I % 3));
        if (I % 3 == 0) Expected.Restore(Frame);
        EXPECT_EQ(Seen[I], Expected.Show(Frame));
      }
    }
  }
}

}  // namespace
