// TBitmap: a picture held as one platform bitmap, either a device-independent section
// in a chosen pixel format or a device bitmap (the screen's 24-bit format, or
// monochrome), with its palette, transparency mask and canvas.
//
// Pixel formats: pfDevice is a device bitmap (monochrome, or the screen's 24 bits);
// pf1bit, pf4bit and pf8bit are indexed sections, pf15bit and pf16bit 16-bit sections
// (5-5-5 and 5-6-5), pf24bit and pf32bit true-colour sections; pfCustom is only
// reported, for an adopted section of another layout. Changing the format converts
// every pixel by colour (a monochrome device bitmap counts as black and white). An
// indexed target takes its colour table from the bitmap's palette when that has no
// more entries than the format holds, and otherwise from the format's default table:
// black and white for pf1bit, the 16 VGA colours for pf4bit, the halftone palette for
// pf8bit. A true-colour or device target keeps the palette, so a round trip through
// pf24bit gives an indexed bitmap back its own table.
//
// Palette ownership: the bitmap owns the palette it holds and deletes it. An indexed
// section always gives one, made from its colour table when none is held; SetPalette
// gives the palette to the bitmap and, for an indexed section, makes it the colour
// table with the stored pixel values kept; ReleasePalette hands it to the caller. A
// loaded indexed bitmap's palette has as many entries as the file's colour table.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"
#include "platform/graphics/Palettes.h"

namespace graphics {

enum class TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
using enum TPixelFormat;

enum class TBitmapHandleType : uint8_t { bmDIB, bmDDB };
using enum TBitmapHandleType;

enum class TTransparentMode : uint8_t { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmap;

// The canvas of a bitmap: a memory DC holding the bitmap and its palette, made when
// first needed and freed whenever the bitmap replaces its handle.
class TBitmapCanvas : public TCanvas {
 public:
  ANIMORA_CLASS(TBitmapCanvas)
  explicit TBitmapCanvas(TBitmap& Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap& FBitmap;
  gdi::HGDIOBJ FOldBitmap = nullptr;
  gdi::HPALETTE FOldPalette = nullptr;
};

class TBitmap : public TGraphic {
 public:
  ANIMORA_CLASS(TBitmap)
  TBitmap();
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // A TBitmap: a deep copy with its palette and transparency; none: empty; another
  // graphic: its own AssignTo (as a rule "Cannot assign a ... to a TBitmap").
  void Assign(const base::TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Resizing keeps the overlapping pixels and fills the rest with the canvas's brush.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // A BMP file; an empty bitmap writes nothing, and a stream at its end loads an empty one.
  void LoadFromStream(base::TStream& Stream) override;
  void SaveToStream(base::TStream& Stream) override;

  void Draw(TCanvas& ACanvas, const base::TRect& Rect) override;

  // CF_BITMAP with copies of the bitmap and its palette (none for an empty bitmap).
  void SaveToClipboardFormat(TClipboardFormat& Format, TClipboardData& Data, gdi::HPALETTE& Palette) override;
  // A copy of a CF_BITMAP bitmap, with a copy of Palette when one is given.
  void LoadFromClipboardFormat(TClipboardFormat Format, const TClipboardData& Data, gdi::HPALETTE Palette) override;

  TBitmapCanvas& Canvas() { return *FCanvas; }

  // The bitmap, free of the canvas so the caller may select it; still owned here.
  gdi::HBITMAP Handle();
  // Takes Value over (0 empties the bitmap).
  void SetHandle(gdi::HBITMAP Value);
  // Hands the bitmap to the caller; this TBitmap becomes empty, keeping its format.
  gdi::HBITMAP ReleaseHandle();
  TBitmapHandleType HandleType() const;
  void SetHandleType(TBitmapHandleType Value);

  TPixelFormat PixelFormat() const;
  // pfCustom raises EInvalidGraphic "Invalid pixel format".
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const;
  // True: a 1-bit bitmap of the same handle type; false: a device bitmap of the screen.
  void SetMonochrome(bool Value);

  gdi::HPALETTE Palette() override;
  void SetPalette(gdi::HPALETTE Value) override;
  gdi::HPALETTE ReleasePalette();

  // Row 0 is the top row; a device bitmap becomes a section first. Outside the rows:
  // EInvalidGraphicOperation "Scan line index out of range".
  uint8_t* ScanLine(int Row);

  // tmAuto: the colour of the bottom-left pixel. Setting clDefault means tmAuto, any
  // other colour tmFixed.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);
  // A monochrome bitmap of this size, 1 where the pixel has the transparent colour;
  // owned by the bitmap and rebuilt after every change.
  gdi::HBITMAP MaskHandle();

  void Changed(base::TObject* Sender) override;

 private:
  friend class TBitmapCanvas;

  struct TKind {
    TPixelFormat Format = pfDevice;
    bool Mono = false;  // a monochrome device bitmap
  };
  TKind Kind() const;
  std::vector<gdi::RGBQUAD> TableFor(TPixelFormat Format) const;
  // A new bitmap of Target's kind; its pixels are zero.
  gdi::HBITMAP NewBitmap(TKind Target, int W, int H) const;
  void Convert(TKind Kind);
  void Resize(int W, int H);
  // Makes Bitmap (may be none) this picture's pixels; an indexed section keeps the
  // held palette only when it matches its colour table.
  void Replace(gdi::HBITMAP Bitmap);
  void FreeMask();

  std::unique_ptr<TBitmapCanvas> FCanvas;
  gdi::HBITMAP FHandle = nullptr;
  gdi::HPALETTE FPalette = nullptr;
  gdi::HBITMAP FMaskHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TKind FEmptyKind;  // the kind a new picture gets while there is none
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

}  // namespace graphics
