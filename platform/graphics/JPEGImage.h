// TJPEGImage: a JPEG picture. It keeps the file it was loaded from, so saving an
// unchanged picture writes the same bytes, and its decoded pixels as a bitmap (24 bits,
// or 8 bits with a grey palette for a greyscale file). A picture assigned from a
// bitmap, or whose saving settings change, is encoded afresh when saved.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"

namespace graphics {

class TJPEGImage : public TGraphic {
 public:
  ANIMORA_CLASS(TJPEGImage)
  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  // A TJPEGImage: a copy with its settings; another graphic: its picture, as a bitmap
  // assigns it.
  void Assign(const base::TPersistent* Source) override;
  // A TBitmap receives a copy of the decoded picture.
  void AssignTo(base::TPersistent* Dest) const override;

  bool Empty() const override { return FBitmap->Empty(); }
  int Width() const override { return FBitmap->Width(); }
  int Height() const override { return FBitmap->Height(); }
  // Resizes the picture (which is then encoded afresh).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Reads the JPEG data from the stream's position to its end; bad data raises
  // EInvalidGraphic and keeps the picture held before.
  void LoadFromStream(base::TStream& Stream) override;
  // An empty picture writes nothing.
  void SaveToStream(base::TStream& Stream) override;

  void Draw(TCanvas& ACanvas, const base::TRect& Rect) override;
  gdi::HPALETTE Palette() override { return FBitmap->Palette(); }

  // The quality a picture is encoded with, 0 to 100 (values beyond are clamped).
  int CompressionQuality() const { return FCompressionQuality; }
  void SetCompressionQuality(int Value);
  // Encoding as one grey component; a loaded greyscale file reports true.
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  // Block smoothing when decoding (it shows only on files whose coefficients are
  // incomplete); it does not change what is written.
  bool Smoothing() const { return FSmoothing; }
  void SetSmoothing(bool Value);

  // The decoded picture, owned by the image.
  TBitmap& Bitmap() { return *FBitmap; }

 private:
  void PictureChanged();
  std::unique_ptr<TBitmap> FBitmap;
  std::vector<uint8_t> FData;  // the file as loaded; empty once the picture differs from it
  int FCompressionQuality = 90;
  bool FGrayscale = false;
  bool FSmoothing = true;
};


}  // namespace graphics
