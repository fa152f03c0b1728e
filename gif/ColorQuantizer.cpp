#include "gif/ColorQuantizer.h"

#include "gif/GIFException.h"
#include "gif/StreamHelpers.h"

namespace gif {

TOctreeNode::TOctreeNode(int32_t Level, int32_t DepthBits, int32_t& LeavesFound, TLevelLists& LevelLists)
    : Terminal(Level == DepthBits) {
  if (Terminal) {
    ++LeavesFound;
  } else {
    Next = LevelLists[static_cast<size_t>(Level)];
    LevelLists[static_cast<size_t>(Level)] = this;
  }
}

void CheckQuantizerLimits(int32_t Colors, int32_t DepthBits) {
  if (Colors < 1 || Colors > 256) RaiseGIFError("Invalid color count");
  if (DepthBits < 1 || DepthBits > 8) RaiseGIFError("Invalid color depth");
}

TColorQuantizer::TColorQuantizer(int32_t ColorLimit, int32_t DepthBits)
    : FColorLimit(ColorLimit), FDepthBits(DepthBits) {
  CheckQuantizerLimits(ColorLimit, DepthBits);
}

TColorQuantizer::~TColorQuantizer() = default;

void TColorQuantizer::InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue) {
  const uint32_t Color = 0x1000000u | static_cast<uint32_t>(Red << 16 | Green << 8 | Blue);
  TOctreeNode* Leaf = FLastLeaf != nullptr && FLastColor == Color ? FLastLeaf : nullptr;
  if (Leaf == nullptr) {
    std::unique_ptr<TOctreeNode>* Slot = &FTree;
    for (int32_t Level = 0;; ++Level) {
      if (!*Slot) *Slot = std::make_unique<TOctreeNode>(Level, FDepthBits, FLeavesFound, FLevelLists);
      TOctreeNode& Node = **Slot;
      if (Node.Terminal) break;
      const int Shift = 7 - Level;
      const size_t Index = static_cast<size_t>(((Red >> Shift) & 1) << 2 | ((Green >> Shift) & 1) << 1 | ((Blue >> Shift) & 1));
      Slot = &Node.Child[Index];
    }
    Leaf = Slot->get();
    FLastLeaf = Leaf;
    FLastColor = Color;
  }
  ++Leaf->PixelTotal;
  Leaf->SumRed += Red;
  Leaf->SumGreen += Green;
  Leaf->SumBlue += Blue;
}

void TColorQuantizer::MergeDeepestNode() {
  int32_t Level = FDepthBits - 1;
  while (Level > 0 && FLevelLists[static_cast<size_t>(Level)] == nullptr) --Level;
  TOctreeNode* Node = FLevelLists[static_cast<size_t>(Level)];
  FLevelLists[static_cast<size_t>(Level)] = Node->Next;
  Node->Next = nullptr;
  int32_t Merged = 0;
  // Every child is a leaf: a reducible child would sit in a deeper, non-empty list.
  for (std::unique_ptr<TOctreeNode>& Child : Node->Child) {
    if (!Child) continue;
    Node->PixelTotal += Child->PixelTotal;
    Node->SumRed += Child->SumRed;
    Node->SumGreen += Child->SumGreen;
    Node->SumBlue += Child->SumBlue;
    Child.reset();
    ++Merged;
  }
  Node->Terminal = true;
  FLeavesFound -= Merged - 1;
  FLastLeaf = nullptr;
}

void TColorQuantizer::FeedPixels(const uint8_t* Pixels, int32_t Count) {
  for (int32_t I = 0; I < Count; ++I, Pixels += 3) {
    InsertColor(Pixels[2], Pixels[1], Pixels[0]);
    while (FLeavesFound > FColorLimit) MergeDeepestNode();
  }
}

void TColorQuantizer::FeedBitmap(TDIBReader& Reader, int32_t Width, int32_t Height) {
  for (int32_t Y = 0; Y < Height; ++Y) FeedPixels(Reader.RowAddress(Y), Width);
}

namespace {

void CollectLeaves(const TOctreeNode& Node, std::vector<gdi::PALETTEENTRY>& Palette) {
  if (Node.Terminal) {
    const uint64_t N = Node.PixelTotal;
    if (N == 0) {
      Palette.push_back({0, 0, 0, 0});
    } else {
      Palette.push_back({static_cast<uint8_t>(Node.SumRed / N), static_cast<uint8_t>(Node.SumGreen / N),
                         static_cast<uint8_t>(Node.SumBlue / N), 0});
    }
    return;
  }
  for (const std::unique_ptr<TOctreeNode>& Child : Node.Child)
    if (Child) CollectLeaves(*Child, Palette);
}

}  // namespace

void TColorQuantizer::CollectLeafColors(std::vector<gdi::PALETTEENTRY>& Palette) const {
  if (FTree) CollectLeaves(*FTree, Palette);
}

gdi::HPALETTE QuantizedPalette(int32_t Colors, int32_t DepthBits, bool WithSystemColors,
                               const std::function<void(TColorQuantizer&)>& Feed) {
  CheckQuantizerLimits(Colors, DepthBits);
  gdi::LOGPALETTE Palette;
  size_t Start = 0;
  if (WithSystemColors) {
    const std::vector<gdi::PALETTEENTRY>& System = gdi::DefaultPaletteEntries();
    Colors = 236;
    Start = 10;
    Palette.palPalEntry.assign(256, gdi::PALETTEENTRY{});
    std::copy(System.begin(), System.begin() + 10, Palette.palPalEntry.begin());
    std::copy(System.end() - 10, System.end(), Palette.palPalEntry.end() - 10);
  } else {
    Palette.palPalEntry.assign(static_cast<size_t>(Colors), gdi::PALETTEENTRY{});
  }
  std::vector<gdi::PALETTEENTRY> Leaves;
  {
    TColorQuantizer Quantizer(Colors, DepthBits);
    Feed(Quantizer);
    Quantizer.CollectLeafColors(Leaves);
  }
  for (size_t I = 0; I < Leaves.size() && I < static_cast<size_t>(Colors); ++I)
    Palette.palPalEntry[Start + I] = {Leaves[I].peRed, Leaves[I].peGreen, Leaves[I].peBlue, 0};
  return CheckGDIHandle(gdi::CreatePalette(Palette));
}

gdi::HPALETTE CreateOptimizedPalette(TDIBReader& Reader, int32_t Width, int32_t Height, int32_t Colors,
                                     int32_t DepthBits, bool WithSystemColors) {
  return QuantizedPalette(Colors, DepthBits, WithSystemColors, [&](TColorQuantizer& Quantizer) {
    Quantizer.FeedBitmap(Reader, Width, Height);
  });
}

gdi::HPALETTE CreateOptimizedPalette(graphics::TBitmap& Bitmap, int32_t Colors, int32_t DepthBits,
                                     bool WithSystemColors) {
  CheckQuantizerLimits(Colors, DepthBits);
  TDIBReader Reader(Bitmap, graphics::pf24bit);
  return CreateOptimizedPalette(Reader, Bitmap.Width(), Bitmap.Height(), Colors, DepthBits, WithSystemColors);
}

}  // namespace gif
