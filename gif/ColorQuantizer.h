// The octree quantizer: every pixel's colour is sorted into a tree with one level per
// bit of red, green and blue; whenever the tree holds more leaves than colours are
// wanted, the most recently created branch of the deepest level that has one is
// folded into a single leaf. The leaves' average colours make the palette.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gif/DIB.h"
#include "platform/base/Object.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

class TOctreeNode : public base::TObject {
 public:
  ANIMORA_CLASS(TOctreeNode)
  using TLevelLists = std::array<TOctreeNode*, 8>;

  // A node at Level DepthBits is a leaf and counts in LeavesFound; any other node goes
  // to the front of its level's list of reducible nodes.
  TOctreeNode(int32_t Level, int32_t DepthBits, int32_t& LeavesFound, TLevelLists& LevelLists);

  bool Terminal;
  // 64 bits, so that millions of pixels of one colour cannot overflow.
  uint64_t PixelTotal = 0;
  uint64_t SumRed = 0;
  uint64_t SumGreen = 0;
  uint64_t SumBlue = 0;
  TOctreeNode* Next = nullptr;
  // By index red bit x 4 + green bit x 2 + blue bit.
  std::array<std::unique_ptr<TOctreeNode>, 8> Child;
};

class TColorQuantizer : public base::TObject {
 public:
  ANIMORA_CLASS(TColorQuantizer)
  // ColorLimit must lie in 1..256 and DepthBits in 1..8, else GIFException
  // "Invalid color count" or "Invalid color depth".
  TColorQuantizer(int32_t ColorLimit, int32_t DepthBits);
  ~TColorQuantizer() override;

  // Adds Count pixels given as blue, green, red bytes, reducing the tree after each.
  void FeedPixels(const uint8_t* Pixels, int32_t Count);
  // Adds the Height rows of Width pixels of a 24-bit reader, from the top.
  void FeedBitmap(TDIBReader& Reader, int32_t Width, int32_t Height);
  // Appends the leaves' average colours, depth first with children in index order.
  void CollectLeafColors(std::vector<gdi::PALETTEENTRY>& Palette) const;

  int32_t LeavesFound() const { return FLeavesFound; }

 private:
  void InsertColor(uint8_t Red, uint8_t Green, uint8_t Blue);
  void MergeDeepestNode();

  std::unique_ptr<TOctreeNode> FTree;
  int32_t FLeavesFound = 0;
  TOctreeNode::TLevelLists FLevelLists{};
  int32_t FColorLimit;
  int32_t FDepthBits;
  // The leaf of the last colour inserted, until a merge may have freed it: runs of one
  // colour then skip the walk down the tree.
  TOctreeNode* FLastLeaf = nullptr;
  uint32_t FLastColor = 0;
};

// Refuses a colour count outside 1..256 or a depth outside 1..8 as TColorQuantizer does.
void CheckQuantizerLimits(int32_t Colors, int32_t DepthBits);

// A new palette (caller's) from an octree of Colors leaves that Feed fills; the limits
// are checked before Feed runs. With WithSystemColors, Colors becomes 236 and the
// palette has 256 entries: the first ten colours of the stock default palette, the
// quantized colours from entry 10 and its last ten colours; otherwise Colors entries.
// Entries the tree has no leaf for are black.
gdi::HPALETTE QuantizedPalette(int32_t Colors, int32_t DepthBits, bool WithSystemColors,
                               const std::function<void(TColorQuantizer&)>& Feed);

// QuantizedPalette of the pixels of a 24-bit reader of Width x Height pixels.
gdi::HPALETTE CreateOptimizedPalette(TDIBReader& Reader, int32_t Width, int32_t Height, int32_t Colors,
                                     int32_t DepthBits, bool WithSystemColors);
// The same through a 24-bit reader of its own, which converts Bitmap to pf24bit; the
// limits are refused before that.
gdi::HPALETTE CreateOptimizedPalette(graphics::TBitmap& Bitmap, int32_t Colors, int32_t DepthBits,
                                     bool WithSystemColors);

}  // namespace gif
