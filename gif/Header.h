// The GIF header: signature and version, the logical screen descriptor and the
// global colour table; and the trailer that ends a stream.
#pragma once

#include <cstdint>
#include <memory>

#include "gif/ColorMap.h"
#include "gif/Item.h"

namespace gif {

class TGIFHeader : public TGIFItem {
 public:
  ANIMORA_CLASS(TGIFHeader)
  explicit TGIFHeader(TGIFImage* AImage);
  ~TGIFHeader() override;

  uint16_t ScreenWidth() const { return FScreenWidth; }
  uint16_t ScreenHeight() const { return FScreenHeight; }
  void SetScreenWidth(uint16_t Value) { FScreenWidth = Value; }
  void SetScreenHeight(uint16_t Value) { FScreenHeight = Value; }
  uint8_t PackedFields() const { return FPackedFields; }
  uint8_t BackgroundColorIndex() const { return FBackgroundColorIndex; }
  void SetBackgroundColorIndex(uint8_t Value) { FBackgroundColorIndex = Value; }
  uint8_t AspectRatio() const { return FAspectRatio; }
  void SetAspectRatio(uint8_t Value) { FAspectRatio = Value; }
  TGIFGlobalColorMap* ColorMap() const { return FColorMap.get(); }

  void Clear();
  void Assign(const base::TPersistent* Source) override;
  base::TColor GetBackgroundColor();
  int GetBitsPerPixel() const { return FColorMap->BitsPerPixel(); }
  int GetColorResolution() const { return GetBitsPerPixel() - 1; }
  // Packed fields from the global table as it is written (WrittenTables.h) and the
  // frames' tables.
  void PrepareFlags() { PrepareFlags(WrittenColors()); }

  TGIFVersion RequiredVersion() const override;
  void SaveToStream(base::TStream& Stream) override;
  // "Invalid GIF signature" unless "GIF" (any case) starts the data or 4 bytes later.
  void LoadFromStream(base::TStream& Stream) override;

 private:
  int WrittenColors() const;
  void PrepareFlags(int WrittenColors);

  uint16_t FScreenWidth = 0;
  uint16_t FScreenHeight = 0;
  uint8_t FPackedFields = 0;
  uint8_t FBackgroundColorIndex = 0;
  uint8_t FAspectRatio = 0;
  std::unique_ptr<TGIFGlobalColorMap> FColorMap;
};

class TGIFTrailer : public TGIFItem {
 public:
  ANIMORA_CLASS(TGIFTrailer)
  using TGIFItem::TGIFItem;
  void SaveToStream(base::TStream& Stream) override;
  // Warns "Invalid Image trailer" when the byte read is not ';'.
  void LoadFromStream(base::TStream& Stream) override;
};

}  // namespace gif
