// TGIFSubImage: one frame of a GIF image: the extensions that precede it, its image
// descriptor (kept in stream layout), an optional local colour table and one palette
// index per pixel, rows top to bottom with no padding.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gif/ColorMap.h"
#include "gif/Item.h"
#include "platform/base/Types.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Bitmap.h"

namespace gif {

class TGIFExtensionList;
class TGIFGraphicControlExtension;

class TGIFSubImage : public TGIFItem {
 public:
  ANIMORA_CLASS(TGIFSubImage)
  // Larger frames are refused before anything is allocated ("Image dimensions too large").
  static constexpr int64_t MaxFramePixels = int64_t{1} << 26;
  // A frame's right and bottom edges lie on a logical screen of 16-bit sides.
  static constexpr int MaxScreenSide = 65535;
  // "Frame extends beyond the largest logical screen (65535 pixels)" for a picture of
  // AWidth x AHeight at (ALeft, ATop) whose edges would pass that screen.
  static void CheckScreenFit(int64_t ALeft, int64_t ATop, int64_t AWidth, int64_t AHeight);
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
  // A frame, a bitmap (its pixels become the frame's; extensions and timing stay), any
  // other graphic (through a bitmap of it) or a picture's graphic.
  void Assign(const base::TPersistent* Source) override;
  // A TBitmap receives the frame's rendering.
  void AssignTo(base::TPersistent* Dest) const override;

  // The cached rendering (or the bitmap the pixels came from), rendered on first use;
  // none for an empty frame. Owned by the frame.
  graphics::TBitmap* GetBitmap();
  // Replaces the pixels by Value's (none only drops the cached bitmap).
  void SetBitmap(graphics::TBitmap* Value);
  bool HasBitmap() const { return FBitmap != nullptr; }
  void SetBitmapCached(bool Value);
  void CreateFrameBitmap();
  void ReleaseBitmap();
  // 1 bit per pixel, 1 = transparent; only while some pixel is transparent.
  gdi::HBITMAP Mask() const { return FMask; }
  bool MaskStale() const { return FMaskStale; }
  void ReleaseMask();
  // Renders again when the mask is stale; whether a mask exists.
  bool MaskPresent();

  // Without DoTile the frame goes to its own place in ARect.
  void Draw(graphics::TCanvas& ACanvas, const base::TRect& ARect, bool DoTransparent, bool DoTile);
  void StretchDraw(graphics::TCanvas& ACanvas, const base::TRect& ARect, bool DoTransparent, bool DoTile);
  // The frame's place when the logical screen is mapped onto ARect.
  base::TRect ScaleRect(const base::TRect& ARect) const;

  // Cuts away fully transparent border columns and rows (SubImageEdit.cpp).
  void Crop();
  // Keeps the W x H block at (X, Y) of the frame's own area, which must lie inside
  // it; Left and Top move by (X, Y).
  void CropTo(int X, int Y, int W, int H);
  // Makes pixels that show the colour of Previous's pixel at the same place transparent.
  void Merge(TGIFSubImage* Previous);

  // False once the frame is gone: a holder of the frame's address learns whether it may
  // still look for it.
  std::shared_ptr<const bool> Alive() const { return FAlive; }

  // The display palette: the cached one, or one built from the local table (or the
  // web palette when the image dithers); the frame owns what it caches.
  gdi::HPALETTE Palette();
  void SetPalette(gdi::HPALETTE Value);

 private:
  // A zero-filled buffer of Size pixels (none for 0); "Image dimensions too large" beyond
  // MaxFramePixels.
  static std::unique_ptr<uint8_t[]> NewPixels(int64_t Size);
  void AssignFromBitmap(graphics::TBitmap& Source);
  void AssignFromGraphic(graphics::TGraphic& Source);
  // Fills the local table and the pixels from Bitmap in Format.
  void ImportPixels(graphics::TBitmap& Bitmap, graphics::TPixelFormat Format);
  // Pixels where Mask is not black become a new black entry, Index; false when none
  // did or the table has no room. Mask is converted as it is read.
  bool TransparencyFromMask(graphics::TBitmap& Mask, uint8_t& Index);
  // The graphic control extension's transparency follows the new pixels.
  void ApplyTransparency(bool Transparent, uint8_t Index);
  // Progress of this frame through the owner's OnProgress.
  void FrameProgress(const std::string& Message, base::TProgressStage Stage, uint8_t Percent, bool RedrawNow);
  // The logical screen, at least as large as this frame, for scaling and tiling.
  int ScreenWidth() const;
  int ScreenHeight() const;

  std::array<uint8_t, 10> FImageDescriptor{};
  std::unique_ptr<uint8_t[]> FData;
  int32_t FPixelBytes = 0;
  std::unique_ptr<TGIFLocalColorMap> FColorMap;
  std::unique_ptr<TGIFExtensionList> FExtensions;
  bool FTransparent = false;
  TGIFGraphicControlExtension* FGraphicControlExtension = nullptr;
  gdi::HPALETTE FPalette = nullptr;
  std::unique_ptr<graphics::TBitmap> FBitmap;
  gdi::HBITMAP FMask = nullptr;
  bool FMaskStale = true;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace gif
