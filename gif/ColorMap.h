// GIF colour tables: at most 256 RGB triplets in stream order. The global table
// belongs to the header and serves every frame without a local table; a local table
// belongs to one frame. Both can sort themselves by how often the pixels use each
// entry (Optimize), which GIF calls a "sorted" table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gif/GIFException.h"
#include "platform/base/Persistent.h"
#include "platform/base/Stream.h"
#include "platform/base/Types.h"
#include "platform/gdi/DIB.h"
#include "platform/gdi/Palette.h"

namespace gif {

class TGIFHeader;
class TGIFSubImage;

struct TUsageCount {
  int32_t Count = 0;
  int32_t Index = 0;
};
using TColormapHistogram = std::array<TUsageCount, 256>;
using TColormapReverse = std::array<uint8_t, 256>;

class TGIFColorMap : public base::TPersistent {
 public:
  ANIMORA_CLASS(TGIFColorMap)

  void Clear();
  void SetCapacity(int Size);
  // "Color table overflow" at 256 entries.
  int Add(base::TColor Color);
  int AddUnique(base::TColor Color);
  // The last match, or on an optimised table the first (the most used); -1 for none.
  int IndexOfColor(base::TColor Color) const;
  void Delete(int Index);
  // A bad index warns "Invalid color index" and gives entry 0.
  base::TColor Colors(int Index);
  void SetColors(int Index, base::TColor Value);

  int Count() const { return FCount; }
  int Capacity() const { return FCapacity; }
  bool Optimized() const { return FOptimized; }
  void SetOptimized(bool Value) { FOptimized = Value; }
  int BitsPerPixel() const;
  // The triplets, Count() x 3 bytes: red, green, blue.
  const uint8_t* Data() const { return FData.get(); }

  // At least Entries entries, black beyond the table's own, and black up to a power of
  // two; nothing when that makes none.
  void SaveToStream(base::TStream& Stream, int Entries = 0) const;
  void LoadFromStream(base::TStream& Stream, int Count);
  gdi::HPALETTE MakePalette() const;
  void LoadFromPalette(gdi::HPALETTE Palette);
  void LoadFromRGBQuads(const gdi::RGBQUAD* Entries, int Count);
  // Source holds at least Count triplets and may be this table's own data.
  void SetTriplets(const uint8_t* Source, int Count);
  void Assign(const base::TPersistent* Source) override;
  // Sorts by use and drops unused entries; false for tables of one entry or none.
  bool Optimize();

  virtual void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) = 0;
  virtual void CountColorUse(TColormapHistogram& Histogram) = 0;
  virtual void RemapPixels(const TColormapReverse& Map) = 0;
  virtual bool TryOptimize() = 0;
  virtual void NotifyChanged() = 0;

 protected:
  static base::TColor TripletToColor(const uint8_t* Triplet);
  static void ColorToTriplet(base::TColor Color, uint8_t* Triplet);
  // Derived destructors call this: the table is cleared and its owner told.
  void ReleaseTable();

 private:
  std::unique_ptr<uint8_t[]> FData;
  int32_t FCapacity = 0;
  int32_t FCount = 0;
  bool FOptimized = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  ANIMORA_CLASS(TGIFGlobalColorMap)
  explicit TGIFGlobalColorMap(TGIFHeader* AHeader) : FHeader(AHeader) {}
  ~TGIFGlobalColorMap() override { ReleaseTable(); }

  TGIFHeader* Header() const { return FHeader; }
  void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) override;
  void CountColorUse(TColormapHistogram& Histogram) override;
  void RemapPixels(const TColormapReverse& Map) override;
  bool TryOptimize() override;
  void NotifyChanged() override;

 private:
  TGIFHeader* FHeader;
};

class TGIFLocalColorMap : public TGIFColorMap {
 public:
  ANIMORA_CLASS(TGIFLocalColorMap)
  explicit TGIFLocalColorMap(TGIFSubImage* ASubImage) : FSubImage(ASubImage) {}
  ~TGIFLocalColorMap() override { ReleaseTable(); }

  TGIFSubImage* SubImage() const { return FSubImage; }
  void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) override;
  void CountColorUse(TColormapHistogram& Histogram) override;
  void RemapPixels(const TColormapReverse& Map) override;
  bool TryOptimize() override;
  void NotifyChanged() override;

 private:
  TGIFSubImage* FSubImage;
};

}  // namespace gif
