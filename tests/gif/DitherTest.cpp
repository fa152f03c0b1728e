#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "ColorReductionTestSupport.h"
#include "gif/BurkesDitherer.h"
#include "gif/DitherEngine.h"
#include "gif/FloydSteinbergDitherer.h"
#include "gif/JaJuNiDitherer.h"
#include "gif/SierraDitherer.h"
#include "gif/SteveArcheDitherer.h"
#include "gif/StuckiDitherer.h"

using namespace gif;
using namespace giftest;

namespace {

Picture Rows(std::initializer_list<std::vector<int>> Greys) {
  Picture P;
  for (const std::vector<int>& Row : Greys) {
    P.Width = static_cast<int>(Row.size());
    ++P.Height;
    for (int G : Row) P.Pixels.push_back({G, G, G});
  }
  return P;
}

std::vector<int> AskedReds(const StepLookup& Lookup) {
  std::vector<int> Result;
  for (const RGB& C : Lookup.Asked) Result.push_back(C.R);
  return Result;
}

// Produces exactly the colour asked for, except that a red of 16 gives black: only
// such pixels make an error.
class ExactLookup : public TColorLookup {
 public:
  ExactLookup() : TColorLookup(256) {}
  uint8_t Lookup(uint8_t Red, uint8_t Green, uint8_t Blue, uint8_t& R, uint8_t& G, uint8_t& B) override {
    Asked.push_back(Red);
    const bool Marked = Red == 16;
    R = Marked ? 0 : Red;
    G = Marked ? 0 : Green;
    B = Marked ? 0 : Blue;
    return 0;
  }
  std::vector<int> Asked;
};

using Maker = std::function<std::unique_ptr<TDitherEngine>(int, TColorLookup*)>;

template <class T>
Maker Make() {
  return [](int Width, TColorLookup* Lookup) { return std::make_unique<T>(Width, Lookup); };
}

// A kernel written out as weights for rows 0.. and offsets -3..3 along the direction
// of travel, with the divisor they add up to.
struct Kernel {
  const char* Name;
  Maker Make;
  int Divisor;
  std::vector<std::array<int, 7>> Weights;
};

const std::vector<Kernel>& Kernels() {
  static const std::vector<Kernel> All = {
      {"FloydSteinberg", Make<TFloydSteinbergDitherer>(), 16, {{0, 0, 0, 0, 7, 0, 0}, {0, 0, 3, 5, 1, 0, 0}}},
      {"Stucki",
       Make<TStuckiDitherer>(),
       42,
       {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}, {0, 1, 2, 4, 2, 1, 0}}},
      {"Sierra",
       Make<TSierraDitherer>(),
       32,
       {{0, 0, 0, 0, 5, 3, 0}, {0, 2, 4, 5, 4, 2, 0}, {0, 0, 2, 3, 2, 0, 0}}},
      {"JaJuNi",
       Make<TJaJuNiDitherer>(),
       48,
       {{0, 0, 0, 0, 7, 5, 0}, {0, 3, 5, 7, 5, 3, 0}, {0, 1, 3, 5, 3, 1, 0}}},
      {"Burkes", Make<TBurkesDitherer>(), 32, {{0, 0, 0, 0, 8, 4, 0}, {0, 2, 4, 8, 4, 2, 0}}},
      {"SteveArche",
       Make<TSteveArcheDitherer>(),
       200,
       {{0, 0, 0, 0, 0, 32, 0}, {12, 0, 26, 0, 30, 0, 16}, {0, 12, 0, 26, 0, 12, 0}, {5, 0, 12, 0, 12, 0, 5}}},
  };
  return All;
}

// Plain error diffusion over a whole picture: what every ditherer must ask its lookup
// for, in the order it visits the pixels.
std::vector<RGB> ModelWanted(const Kernel& K, const Picture& P) {
  std::vector<std::array<int, 3>> Error(P.Pixels.size(), {0, 0, 0});
  std::vector<RGB> Wanted;
  for (int Y = 0; Y < P.Height; ++Y) {
    const int D = Y % 2 == 0 ? 1 : -1;
    for (int I = 0; I < P.Width; ++I) {
      const int X = D > 0 ? I : P.Width - 1 - I;
      const RGB& In = P.At(X, Y);
      const int Input[3] = {In.R, In.G, In.B};
      int W[3];
      for (int C = 0; C < 3; ++C) {
        const int Acc = Error[static_cast<size_t>(Y * P.Width + X)][C];
        W[C] = std::clamp(Input[C] + (Acc + K.Divisor / 2) / K.Divisor, 0, 255);
      }
      Wanted.push_back({W[0], W[1], W[2]});
      for (int C = 0; C < 3; ++C) {
        const int E = W[C] - (W[C] >= 128 ? 255 : 0);
        for (size_t R = 0; R < K.Weights.size(); ++R)
          for (int O = -3; O <= 3; ++O) {
            const int TX = X + O * D, TY = Y + static_cast<int>(R);
            if (TX < 0 || TX >= P.Width || TY >= P.Height) continue;
            Error[static_cast<size_t>(TY * P.Width + TX)][C] += E * K.Weights[R][static_cast<size_t>(O + 3)];
          }
      }
    }
  }
  return Wanted;
}

}  // namespace

TEST(DitherEngine, SerpentineWalkGivesTheLookupsAnswers) {
  const Picture P = RandomPicture(5, 4, 11);
  StepLookup Lookup;
  TDitherEngine Ditherer(P.Width, &Lookup);
  EXPECT_EQ(Ditherer.Direction(), 1);
  EXPECT_EQ(Ditherer.Column(), 0);
  const std::vector<Visit> Visits = RunDitherer(Ditherer, P);
  ASSERT_EQ(Visits.size(), 20u);
  for (size_t I = 0; I < Visits.size(); ++I) {
    const int Y = static_cast<int>(I) / 5, K = static_cast<int>(I) % 5;
    EXPECT_EQ(Visits[I].Y, Y);
    EXPECT_EQ(Visits[I].X, Y % 2 == 0 ? K : 4 - K);
    const RGB& C = P.At(Visits[I].X, Y);
    EXPECT_EQ(Visits[I].Index, (C.R >= 128 ? 4 : 0) | (C.G >= 128 ? 2 : 0) | (C.B >= 128 ? 1 : 0));
    EXPECT_EQ(Lookup.Asked[I], C);
  }
}

TEST(DitherEngine, TurnRowReversesAndStartsAtTheFarEnd) {
  StepLookup Lookup;
  for (const Kernel& K : Kernels()) {
    const auto Ditherer = K.Make(6, &Lookup);
    ASSERT_EQ(Ditherer->Direction(), 1) << K.Name;
    ASSERT_EQ(Ditherer->Column(), 0) << K.Name;
    uint8_t R, G, B;
    Ditherer->Dither(10, 20, 30, R, G, B);
    EXPECT_EQ(Ditherer->Column(), 1) << K.Name;
    Ditherer->StepColumn();
    EXPECT_EQ(Ditherer->Column(), 2) << K.Name;
    Ditherer->TurnRow();
    EXPECT_EQ(Ditherer->Direction(), -1) << K.Name;
    EXPECT_EQ(Ditherer->Column(), 5) << K.Name;
    Ditherer->Dither(10, 20, 30, R, G, B);
    EXPECT_EQ(Ditherer->Column(), 4) << K.Name;
    Ditherer->TurnRow();
    EXPECT_EQ(Ditherer->Direction(), 1) << K.Name;
    EXPECT_EQ(Ditherer->Column(), 0) << K.Name;
  }
}

TEST(DitherEngine, WidthOneAlternatesWithoutMoving) {
  StepLookup Lookup;
  std::vector<Kernel> All = Kernels();
  All.push_back({"none", Make<TDitherEngine>(), 1, {}});
  for (const Kernel& K : All) {
    const auto Ditherer = K.Make(1, &Lookup);
    const std::vector<Visit> Visits = RunDitherer(*Ditherer, Rows({{200}, {60}, {100}, {255}}));
    ASSERT_EQ(Visits.size(), 4u) << K.Name;
    for (const Visit& V : Visits) EXPECT_EQ(V.X, 0) << K.Name;
    EXPECT_EQ(Ditherer->Direction(), 1) << K.Name;
  }
}

TEST(FloydSteinbergDitherer, HandComputedRows) {
  const struct {
    const char* Name;
    Picture In;
    std::vector<int> Wanted;  // in the order of the walk
  } Cases[] = {
      {"flat grey", Rows({{100, 100, 100}, {100, 100, 100}}), {100, 144, 52, 109, 129, 56}},
      // The exact middle pixel passes nothing on, but the pixels below it still get
      // the shares of its neighbours: 5 + 3, 1 + 3 and 5 sixteenths of 100.
      {"zero error", Rows({{100, 255, 100}, {0, 0, 0}}), {100, 255, 100, 31, 39, 48}},
      // 250 + 53 is clamped to 255, which is exact: no error from it reaches the
      // second row.
      {"clamped high", Rows({{120, 250}, {100, 100}}), {120, 255, 108, 185}},
      {"clamped low", Rows({{200, 5}}), {200, 0}},
  };
  for (const auto& C : Cases) {
    StepLookup Lookup;
    TFloydSteinbergDitherer Ditherer(C.In.Width, &Lookup);
    RunDitherer(Ditherer, C.In);
    EXPECT_EQ(AskedReds(Lookup), C.Wanted) << C.Name;
  }
}

TEST(FloydSteinbergDitherer, EachErrorReachesExactlyFourNeighbours) {
  // One pixel of error 16 in a field that is otherwise exact: 7/16 of it ahead, 3/16
  // below the pixel behind, 5/16 below and 1/16 below the pixel ahead, along the walk.
  const struct {
    int MarkedRow;
    std::vector<int> Wanted;  // in the order of the walk; rows alternate direction
  } Cases[] = {
      {0, {0, 0, 16, 7, 0, /**/ 0, 1, 5, 3, 0, /**/ 0, 0, 0, 0, 0}},
      {1, {0, 0, 0, 0, 0, /**/ 0, 0, 16, 7, 0, /**/ 0, 1, 5, 3, 0}},
  };
  for (const auto& C : Cases) {
    Picture P = Rows({{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}});
    P.Pixels[static_cast<size_t>(C.MarkedRow * 5 + 2)] = {16, 16, 16};
    ExactLookup Lookup;
    TFloydSteinbergDitherer Ditherer(P.Width, &Lookup);
    RunDitherer(Ditherer, P);
    EXPECT_EQ(Lookup.Asked, C.Wanted) << C.MarkedRow;
  }
}

TEST(FloydSteinbergDitherer, SkippedPixelsActAsExactOnes) {
  // A pixel skipped with StepColumn takes no error and passes none on, like a pixel
  // whose colour is exact; the error rows stay in step with the columns.
  Picture P = Rows({{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}});
  P.Pixels[1] = {16, 16, 16};
  P.Pixels[6] = {16, 16, 16};
  const std::vector<std::pair<int, int>> Skipped = {{2, 0}, {4, 0}, {3, 1}, {0, 1}};
  auto IsSkipped = [&](int X, int Y) {
    return std::find(Skipped.begin(), Skipped.end(), std::make_pair(X, Y)) != Skipped.end();
  };
  ExactLookup WithSkips, Without;
  TFloydSteinbergDitherer A(P.Width, &WithSkips), B(P.Width, &Without);
  std::vector<int> Expected;
  for (int Y = 0; Y < P.Height; ++Y) {
    while (A.Column() >= 0 && A.Column() < P.Width) {
      const int X = A.Column();
      uint8_t R, G, Bl;
      const auto Grey = static_cast<uint8_t>(P.At(X, Y).R);
      B.Dither(Grey, Grey, Grey, R, G, Bl);
      if (IsSkipped(X, Y)) {
        A.StepColumn();
      } else {
        A.Dither(Grey, Grey, Grey, R, G, Bl);
        Expected.push_back(Without.Asked.back());
      }
    }
    A.TurnRow();
    B.TurnRow();
  }
  EXPECT_EQ(WithSkips.Asked, Expected);
  // The skipped pixels did take up error in the run without skips.
  EXPECT_NE(Without.Asked, std::vector<int>(Without.Asked.size(), 0));
}

TEST(StuckiDitherer, HandComputedRow) {
  StepLookup Lookup;
  TStuckiDitherer Ditherer(4, &Lookup);
  RunDitherer(Ditherer, Rows({{100, 100, 100, 100}, {100, 100, 100, 100}}));
  ASSERT_EQ(Lookup.Asked.size(), 8u);
  const std::vector<int> Reds = AskedReds(Lookup);
  EXPECT_EQ(std::vector<int>(Reds.begin(), Reds.begin() + 5), (std::vector<int>{100, 119, 132, 89, 111}));
}

TEST(BurkesDitherer, ClampsBeforeTheLookup) {
  // 250 + (8 x 120 + 16) / 32 is clamped to 255, which is exact: the pixels below get
  // only the first pixel's shares.
  StepLookup Lookup;
  TBurkesDitherer Ditherer(2, &Lookup);
  RunDitherer(Ditherer, Rows({{120, 250}, {100, 100}}));
  EXPECT_EQ(AskedReds(Lookup), (std::vector<int>{120, 255, 115, 159}));
}

TEST(KernelDitherers, MatchPlainErrorDiffusion) {
  std::vector<Picture> Pictures;
  const struct { int Width, Height; unsigned Seed; } Sizes[] = {{1, 6, 1}, {2, 5, 2}, {3, 4, 3}, {7, 6, 4}, {16, 9, 5}};
  for (const auto& Size : Sizes) Pictures.push_back(RandomPicture(Size.Width, Size.Height, Size.Seed));
  // A small gradient: red rises along the rows, green down the picture, blue is flat.
  Picture Gradient{9, 5, {}};
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 9; ++X) Gradient.Pixels.push_back({X * 255 / 8, Y * 60, 100});
  Pictures.push_back(Gradient);
  for (const Kernel& K : Kernels())
    for (const Picture& P : Pictures) {
      StepLookup Lookup;
      const auto Ditherer = K.Make(P.Width, &Lookup);
      const std::vector<Visit> Visits = RunDitherer(*Ditherer, P);
      const std::vector<RGB> Wanted = ModelWanted(K, P);
      ASSERT_EQ(Lookup.Asked, Wanted) << K.Name << " " << P.Width << "x" << P.Height;
      for (size_t I = 0; I < Visits.size(); ++I) {
        const RGB& W = Wanted[I];
        EXPECT_EQ(Visits[I].Index, (W.R >= 128 ? 4 : 0) | (W.G >= 128 ? 2 : 0) | (W.B >= 128 ? 1 : 0)) << K.Name;
      }
    }
}

TEST(KernelDitherers, ErrorOfAFlatFieldIsSpreadInFull) {
  // Every pixel of a 40 x 40 field of grey 100 comes out black or white; with all the
  // error kept, the white share of the inner part stays near 100 / 255.
  const int N = 40;
  Picture P;
  P.Width = P.Height = N;
  P.Pixels.assign(static_cast<size_t>(N * N), {100, 100, 100});
  for (const Kernel& K : Kernels()) {
    StepLookup Lookup;
    const auto Ditherer = K.Make(N, &Lookup);
    int White = 0, Counted = 0;
    for (const Visit& V : RunDitherer(*Ditherer, P)) {
      if (V.X < 4 || V.X >= N - 4 || V.Y < 4 || V.Y >= N - 4) continue;
      ++Counted;
      White += V.Index == 7;
    }
    EXPECT_NEAR(255.0 * White / Counted, 100.0, 6.0) << K.Name;
  }
}
