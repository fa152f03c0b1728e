// The colour-table merger: every colour table of an image (the global one and each
// frame's local one) becomes one global table of at most 256 entries, ordered by use,
// and every frame's indexes are rewritten to it. Colours that do not fit take the kept
// colour of the nearest component sum; transparency keeps one entry of its own, and so
// does the background colour while there is room.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

namespace gif {

class TGIFColorMap;
class TGIFImage;
class TGIFSubImage;

// The use counts of one colour table, and the frames counted against it.
class THistogram : public base::TObject {
 public:
  ANIMORA_CLASS(THistogram)

  struct TEntry {
    // -1 once dropped as unused; sums of merged duplicates need more than 32 bits.
    int64_t Uses = 0;
    int32_t OldIndex = 0;
    int32_t NewIndex = 256;
    // Red in the low byte; compared as one value.
    uint32_t Color = 0;
    // The entry that took over a duplicate's uses.
    TEntry* Link = nullptr;
  };

  explicit THistogram(TGIFColorMap& Map);

  // Counts Frame's pixels; true when it has transparent pixels. An index beyond the
  // table becomes 0 with the warning "Color not in color table".
  bool CountFrame(TGIFSubImage& Frame);
  // Sorts by use and cuts the unused entries; how many remain.
  int DropUnused();
  void RemapFrames(bool KeepTransparentEntry, uint8_t NewTransparentIndex);

  TGIFColorMap* ColorMap() const { return FColorMap; }
  int Count() const { return FCount; }
  std::vector<TEntry*>& List() { return FList; }
  const std::vector<TGIFSubImage*>& CountedFrames() const { return FCountedFrames; }

 private:
  TGIFColorMap* FColorMap;
  int FCount;
  std::vector<TGIFSubImage*> FCountedFrames;
  std::vector<TEntry> FEntries;
  std::vector<TEntry*> FList;
};

class TColorMapOptimizer : public base::TObject {
 public:
  ANIMORA_CLASS(TColorMapOptimizer)
  explicit TColorMapOptimizer(TGIFImage& Image) : FImage(Image) {}

  // An image without a used colour keeps its tables and pixels.
  void Run();

  int KeptCount() const { return FKeptCount; }
  bool KeepTransparentEntry() const { return FKeepTransparentEntry; }
  uint8_t NewTransparentIndex() const { return FNewTransparentIndex; }

 private:
  void Collect();
  // False when no histogram holds a used colour.
  bool ChooseColors();
  void StoreTable();
  // Frames that had no table at all take entry 0, and the transparent entry where
  // they are transparent.
  void RemapTablelessFrames();
  // The merged entry of the background colour.
  uint8_t NewBackgroundIndex(uint32_t Color) const;

  TGIFImage& FImage;
  std::vector<std::unique_ptr<THistogram>> FHistograms;
  std::vector<THistogram::TEntry*> FAllEntries;
  std::vector<TGIFSubImage*> FTablelessFrames;
  // The header's background colour, when its index is in the global table.
  std::optional<uint32_t> FBackground;
  std::array<uint8_t, 768> FNewTable{};
  int FKeptCount = 0;
  bool FKeepTransparentEntry = false;
  uint8_t FNewTransparentIndex = 0;
};

}  // namespace gif
