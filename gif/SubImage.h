// TGIFSubImage: one frame of a GIF image: the extensions that precede it, its image
// descriptor (kept in stream layout), an optional local colour table and one palette
// index per pixel, rows top to bottom with no padding.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "gif/ColorMap.h"
#include "gif/Item.h"
#include "platform/base/Types.h"
#include "platform/gdi/Palette.h"

namespace gif {

class TGIFExtensionList;
class TGIFGraphicControlExtension;

class TGIFSubImage : public TGIFItem {
 public:
  ANIMORA_CLASS(TGIFSubImage)
  // Larger frames are refused before anything is allocated ("Image dimensions too large").
  static constexpr int64_t MaxFramePixels = int64_t{1} << 26;
  explicit TGIFSubImage(TGIFImage* AGIFImage);
  ~TGIFSubImage() override;

  // Bounds parts: 1 Left, 2 Top, 3 Width, 4 Height; other indexes read 0 and write nothing.
  uint16_t GetBoundsPart(int Index) const;
  void SetBoundsPart(int Index, uint16_t Value);
  void SetBounds(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight);
  uint16_t Left() const { return GetBoundsPart(1); }
  uint16_t Top() const { return GetBoundsPart(2); }
  uint16_t Width() const { return GetBoundsPart(3); }
  uint16_t Height() const { return GetBoundsPart(4); }
  void SetLeft(uint16_t Value) { SetBoundsPart(1, Value); }
  void SetTop(uint16_t Value) { SetBoundsPart(2, Value); }
  void SetWidth(uint16_t Value) { SetBoundsPart(3, Value); }
  void SetHeight(uint16_t Value) { SetBoundsPart(4, Value); }
  base::TRect BoundsRect() const;

  bool Interlaced() const { return (PackedFields() & 0x40) != 0; }
  uint8_t PackedFields() const { return FImageDescriptor[9]; }
  int BitsPerPixel() const { return FColorMap->BitsPerPixel(); }
  int ColorResolution() const { return BitsPerPixel() - 1; }
  bool Empty() const;

  TGIFLocalColorMap* ColorMap() const { return FColorMap.get(); }
  // The table the pixel indexes refer to: the local one when it has entries, else
  // the image's global one when that has entries, else the empty local one.
  TGIFColorMap* ActiveColorMap() const;
  TGIFExtensionList* Extensions() const { return FExtensions.get(); }

  uint8_t* Data() const { return FData.get(); }
  int32_t PixelBytes() const { return FPixelBytes; }
  // "Invalid pixel coordinates" outside the frame; "Image is empty" without pixels.
  uint8_t* Scanline(int Y);
  uint8_t Pixels(int X, int Y);
  void AllocatePixels();
  void ReleasePixels();
  void EnsurePixels();

  // Follows the transparency flag of the graphic control extension.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  TGIFGraphicControlExtension* GraphicControlExtension() const { return FGraphicControlExtension; }
  void SetGraphicControlExtension(TGIFGraphicControlExtension* Value) { FGraphicControlExtension = Value; }

  void Clear();
  TGIFVersion RequiredVersion() const override;
  void LoadFromStream(base::TStream& Stream) override;
  void SaveToStream(base::TStream& Stream) override;
  void Assign(const base::TPersistent* Source) override;

  // The display palette: the cached one, or one built from the local table (or the
  // web palette when the image dithers); the frame owns what it caches.
  gdi::HPALETTE Palette();
  void SetPalette(gdi::HPALETTE Value);

 private:
  std::array<uint8_t, 10> FImageDescriptor{};
  std::unique_ptr<uint8_t[]> FData;
  int32_t FPixelBytes = 0;
  std::unique_ptr<TGIFLocalColorMap> FColorMap;
  std::unique_ptr<TGIFExtensionList> FExtensions;
  bool FTransparent = false;
  TGIFGraphicControlExtension* FGraphicControlExtension = nullptr;
  gdi::HPALETTE FPalette = nullptr;
};

}  // namespace gif
