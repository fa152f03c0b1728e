// Median cut on the 32-level colour grid: boxes of occupied cells are halved along
// their longest side, the first longest one winning, until 256 boxes exist or no side
// is longer than one cell. Box k becomes colour-table entry k, its centre.
#include <algorithm>

#include "editor/bitmaps/Fast256Convert.h"

namespace editor {

namespace {

constexpr int MaxBoxes = 256;
// Larger than any squared distance of two colours.
constexpr int FarAway = 268435455;

template <class Visit>
void ForEachCell(const TColorBox& Box, Visit&& Each) {
  for (int R = Box.Lo[0]; R <= Box.Hi[0]; ++R)
    for (int G = Box.Lo[1]; G <= Box.Hi[1]; ++G)
      for (int B = Box.Lo[2]; B <= Box.Hi[2]; ++B) Each(R * 1024 + G * 32 + B, std::array<int, 3>{R, G, B});
}

}  // namespace

std::vector<uint8_t> OccupiedCells(const TFastBMP& Src) {
  std::vector<uint8_t> Occupied(ColorCells);
  for (int32_t Y = 0; Y < Src.Height(); ++Y) {
    const uint8_t* In = Src.Row(Y);
    for (int32_t X = 0; X < Src.Width(); ++X, In += 3) Occupied[CellOf(In[2], In[1], In[0])] = 1;
  }
  return Occupied;
}

void ShrinkColorBox(TColorBox& Box, const std::vector<uint8_t>& Occupied) {
  TColorBox Found{{31, 31, 31}, {0, 0, 0}};
  bool Any = false;
  ForEachCell(Box, [&](int Cell, const std::array<int, 3>& At) {
    if (!Occupied[Cell]) return;
    Any = true;
    for (int Axis = 0; Axis < 3; ++Axis) {
      Found.Lo[Axis] = std::min<uint8_t>(Found.Lo[Axis], At[Axis]);
      Found.Hi[Axis] = std::max<uint8_t>(Found.Hi[Axis], At[Axis]);
    }
  });
  if (Any) Box = Found;
}

std::vector<TColorBox> MedianCutBoxes(const std::vector<uint8_t>& Occupied) {
  std::vector<TColorBox> Boxes(1);
  ShrinkColorBox(Boxes[0], Occupied);
  while (Boxes.size() < MaxBoxes) {
    int Longest = 1;
    size_t Chosen = Boxes.size();
    int Axis = 0;
    for (size_t K = 0; K < Boxes.size(); ++K)
      for (int Side = 0; Side < 3; ++Side)
        if (Boxes[K].Hi[Side] - Boxes[K].Lo[Side] > Longest) {
          Longest = Boxes[K].Hi[Side] - Boxes[K].Lo[Side];
          Chosen = K;
          Axis = Side;
        }
    if (Chosen == Boxes.size()) break;
    TColorBox Upper = Boxes[Chosen];
    const auto Middle = static_cast<uint8_t>((Upper.Lo[Axis] + Upper.Hi[Axis]) / 2);
    Boxes[Chosen].Hi[Axis] = Middle;
    Upper.Lo[Axis] = Middle + 1;
    ShrinkColorBox(Upper, Occupied);
    ShrinkColorBox(Boxes[Chosen], Occupied);
    Boxes.push_back(Upper);
  }
  return Boxes;
}

std::vector<uint8_t> CellIndexes(const std::vector<TColorBox>& Boxes, uint8_t Unassigned) {
  std::vector<uint8_t> Indexes(ColorCells, Unassigned);
  for (size_t K = 0; K < Boxes.size(); ++K)
    ForEachCell(Boxes[K], [&](int Cell, const std::array<int, 3>&) { Indexes[Cell] = static_cast<uint8_t>(K); });
  return Indexes;
}

void SetBoxColors(TFast256& Dst, const std::vector<TColorBox>& Boxes) {
  for (size_t K = 0; K < Boxes.size(); ++K) {
    auto Centre = [&](int Axis) { return static_cast<uint8_t>((Boxes[K].Lo[Axis] + Boxes[K].Hi[Axis]) * 4); };
    Dst.Colors()[K] = {Centre(2), Centre(1), Centre(0), 0};
  }
}

void MapCutColors(TFast256& Dst, const TFastBMP& Src, const std::vector<uint8_t>& Indexes) {
  Dst.SetSize(Src.Width(), Src.Height());
  for (int32_t Y = 0; Y < Src.Height(); ++Y) {
    const uint8_t* In = Src.Row(Y);
    uint8_t* Out = Dst.Row(Y);
    for (int32_t X = 0; X < Src.Width(); ++X, In += 3) Out[X] = Indexes[CellOf(In[2], In[1], In[0])];
  }
}

void MapDitheredColors(TFast256& Dst, const TFastBMP& Src, std::vector<uint8_t>& Indexes, int BoxCount) {
  constexpr uint8_t Unassigned = 255;
  const int32_t Width = Src.Width();
  const int32_t Height = Src.Height();
  Dst.SetSize(Width, Height);
  if (Dst.Empty()) return;
  // Errors in sixteenths, red, green, blue; one spare entry at each end of a row.
  using TLine = std::vector<std::array<int32_t, 3>>;
  TLine Lines[2] = {TLine(Width + 2), TLine(Width + 2)};
  auto Load = [&](TLine& Line, int32_t Y) {
    std::fill(Line.begin(), Line.end(), std::array<int32_t, 3>{});
    const uint8_t* In = Src.Row(Y);
    for (int32_t X = 0; X < Width; ++X, In += 3) Line[X + 1] = {16 * In[2], 16 * In[1], 16 * In[0]};
  };
  auto Nearest = [&](const std::array<int, 3>& Value) {
    int Best = FarAway;
    int Found = 0;
    for (int K = BoxCount - 1; K >= 0; --K) {
      const gdi::RGBQUAD& Entry = Dst.Colors()[K];
      const int DR = Value[0] - Entry.rgbRed, DG = Value[1] - Entry.rgbGreen, DB = Value[2] - Entry.rgbBlue;
      const int Distance = DR * DR + DG * DG + DB * DB;
      if (Distance < Best) {
        Best = Distance;
        Found = K;
      }
    }
    return static_cast<uint8_t>(Found);
  };
  Load(Lines[0], 0);
  for (int32_t I = 1; I <= Height; ++I) {
    TLine& Next = Lines[I % 2];
    TLine& Current = Lines[(I + 1) % 2];
    if (I < Height) Load(Next, I);
    const int32_t OutRow = I - 1;
    const int Direction = OutRow % 2 == 0 ? 1 : -1;
    uint8_t* Out = Dst.Row(OutRow);
    for (int32_t Step = 0, X = Direction > 0 ? 0 : Width - 1; Step < Width; ++Step, X += Direction) {
      const int32_t At = X + 1;
      std::array<int, 3> Value;
      for (int Channel = 0; Channel < 3; ++Channel) Value[Channel] = std::clamp(Current[At][Channel] / 16, 0, 255);
      uint8_t& Cell = Indexes[CellOf(Value[0], Value[1], Value[2])];
      if (Cell == Unassigned) Cell = Nearest(Value);
      const uint8_t Index = Cell;
      Out[X] = Index;
      const gdi::RGBQUAD& Entry = Dst.Colors()[Index];
      const std::array<int, 3> Chosen = {Entry.rgbRed, Entry.rgbGreen, Entry.rgbBlue};
      for (int Channel = 0; Channel < 3; ++Channel) {
        const int Error = Value[Channel] - Chosen[Channel];
        if (Error == 0) continue;
        Current[At + Direction][Channel] += 7 * Error;
        Next[At - Direction][Channel] += 3 * Error;
        Next[At][Channel] += 5 * Error;
        Next[At + Direction][Channel] += Error;
      }
    }
  }
}

}  // namespace editor
