#include "editor/bitmaps/Fast256Convert.h"

#include <cstdint>
#include <vector>

namespace editor {

namespace {

constexpr int TrueColors = 1 << 24;

uint32_t KeyOf(const uint8_t* Pixel) { return uint32_t{Pixel[0]} << 16 | uint32_t{Pixel[1]} << 8 | Pixel[2]; }

}  // namespace

void MakeGrayPalette(TFast256& Dst, const TFastBMP& Src) {
  Dst.SetSize(Src.Width(), Src.Height());
  std::array<uint8_t, 768> Third;
  for (int Sum = 0; Sum < 768; ++Sum) Third[Sum] = static_cast<uint8_t>(Sum / 3);
  for (int32_t Y = 0; Y < Src.Height(); ++Y) {
    const uint8_t* In = Src.Row(Y);
    uint8_t* Out = Dst.Row(Y);
    for (int32_t X = 0; X < Src.Width(); ++X, In += 3) Out[X] = Third[In[0] + In[1] + In[2]];
  }
  for (int I = 0; I < 256; ++I) {
    const auto Grey = static_cast<uint8_t>(I);
    Dst.Colors()[I] = {Grey, Grey, Grey, 0};
  }
}

bool HasAtMost256Colors(const TFastBMP& Src) {
  std::vector<uint64_t> Seen(TrueColors / 64);
  int Count = 0;
  for (int32_t Y = 0; Y < Src.Height(); ++Y) {
    const uint8_t* In = Src.Row(Y);
    for (int32_t X = 0; X < Src.Width(); ++X, In += 3) {
      const uint32_t Key = KeyOf(In);
      uint64_t& Word = Seen[Key / 64];
      const uint64_t Bit = uint64_t{1} << (Key % 64);
      if (Word & Bit) continue;
      Word |= Bit;
      if (++Count > 256) return false;
    }
  }
  return true;
}

void MapExactColors(TFast256& Dst, const TFastBMP& Src) {
  constexpr uint16_t NotSeen = 0xFFFF;
  Dst.SetSize(Src.Width(), Src.Height());
  std::vector<uint16_t> Index(TrueColors, NotSeen);
  uint16_t Next = 0;
  for (int32_t Y = 0; Y < Src.Height(); ++Y) {
    const uint8_t* In = Src.Row(Y);
    uint8_t* Out = Dst.Row(Y);
    for (int32_t X = 0; X < Src.Width(); ++X, In += 3) {
      uint16_t& Entry = Index[KeyOf(In)];
      if (Entry == NotSeen) {
        Entry = Next++;
        if (Entry < 256) Dst.Colors()[Entry] = {In[0], In[1], In[2], 0};
      }
      Out[X] = static_cast<uint8_t>(Entry);
    }
  }
}

void ConvertTo256(TFast256& Dst, const TFastBMP& Src, TConversionMode Mode) {
  if (Mode == cmGray) return MakeGrayPalette(Dst, Src);
  if (HasAtMost256Colors(Src)) return MapExactColors(Dst, Src);
  const std::vector<TColorBox> Boxes = MedianCutBoxes(OccupiedCells(Src));
  SetBoxColors(Dst, Boxes);
  if (Mode == cmCut) return MapCutColors(Dst, Src, CellIndexes(Boxes, 0));
  std::vector<uint8_t> Indexes = CellIndexes(Boxes, 255);
  MapDitheredColors(Dst, Src, Indexes, static_cast<int>(Boxes.size()));
}

}  // namespace editor
