#include "gif/Interlace.h"

#include <cstring>

namespace gif {

int32_t InterlacedRowIndex(int32_t Row, int32_t Height) {
  int32_t Before = 0;
  for (const TInterlacePass& Pass : InterlacePasses) {
    if (Row % Pass.Step == Pass.Start) return Before + Row / Pass.Step;
    if (Pass.Start < Height) Before += (Height - Pass.Start + Pass.Step - 1) / Pass.Step;
  }
  return Row;  // not reached: every row belongs to one pass
}

TDeinterlacer::TDeinterlacer(uint8_t* APixels, int32_t AWidth, int32_t AHeight)
    : Pixels(APixels), Width(AWidth), Height(AHeight), Saved(static_cast<size_t>(AWidth)),
      Placed(static_cast<size_t>(AHeight)) {}

void TDeinterlacer::Apply() noexcept {
  const auto RowAt = [this](int32_t Row) { return Pixels + static_cast<size_t>(Row) * Width; };
  // Display row R receives stored row InterlacedRowIndex(R); follow each cycle of
  // that permutation once, keeping its first row aside.
  for (int32_t First = 0; First < Height; ++First) {
    if (Placed[First]) continue;
    Placed[First] = true;
    int32_t Source = InterlacedRowIndex(First, Height);
    if (Source == First) continue;
    std::memcpy(Saved.data(), RowAt(First), Saved.size());
    int32_t Row = First;
    while (Source != First) {
      std::memcpy(RowAt(Row), RowAt(Source), Saved.size());
      Row = Source;
      Placed[Row] = true;
      Source = InterlacedRowIndex(Row, Height);
    }
    std::memcpy(RowAt(Row), Saved.data(), Saved.size());
  }
}

}  // namespace gif
