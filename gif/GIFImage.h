// TGIFImage: the GIF document, a graphic of the picture system. It owns the header
// with the global colour table and the frames, reads and writes GIF streams, and
// reports warnings and progress through its events. Umbrella header of the library.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gif/AppExtNSLoop.h"
#include "gif/ApplicationExtension.h"
#include "gif/ColorMap.h"
#include "gif/CommentExtension.h"
#include "gif/Extension.h"
#include "gif/ExtensionRegistry.h"
#include "gif/FramePixels.h"
#include "gif/GIFException.h"
#include "gif/GIFTypes.h"
#include "gif/GraphicControlExtension.h"
#include "gif/Header.h"
#include "gif/List.h"
#include "gif/Painter.h"
#include "gif/SubImage.h"
#include "gif/TextExtension.h"
#include "platform/base/Types.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Graphic.h"

namespace gif {

// Settings every new image copies when it is created (all but the last three, which
// are read where they are used).
struct TGIFLibraryDefaults {
  TGIFDrawFlags DrawFlags = dfThreaded | dfTransparent | dfAnimate | dfRepeat | dfDither | dfAutoDither;
  TReductionMethod ReductionMethod = rdQuantize;
  int32_t QuantizeBits = 8;
  TDitherKind DitherKind = dkNone;
  TCompressionKind Compression = ckLZW;
  TThreadPriority PainterPriority = tpNormal;
  int32_t PlaySpeed = 100;
  base::TColor TransparentFill = 0x010101;
  bool ScreenNeedsDither = false;
  bool RenderOnLoad = false;
  bool OptimizeOnWrite = false;
};

// The process-wide record.
TGIFLibraryDefaults& GIFLibraryDefaults();

using TGIFWarning = std::function<void(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message)>;

class TGIFImage : public graphics::TGraphic {
 public:
  ANIMORA_CLASS(TGIFImage)
  TGIFImage();
  ~TGIFImage() override;

  TGIFImageList& Frames() { return *FFrames; }
  const TGIFImageList& Frames() const { return *FFrames; }
  TGIFHeader& Header() { return *FHeader; }
  TGIFGlobalColorMap* GetGlobalColorMap() const { return FHeader->ColorMap(); }

  void Clear();
  void LoadFromStream(base::TStream& Stream) override;
  void SaveToStream(base::TStream& Stream) override;
  void Assign(const base::TPersistent* Source) override;
  // A TBitmap receives GetBitmap's rendering.
  void AssignTo(base::TPersistent* Dest) const override;
  // Appends a frame: a TGIFSubImage of this image is taken over as it is, one of
  // another image is copied, any other graphic is converted into a new frame.
  int AddFrame(base::TPersistent* Source);

  bool Empty() const override { return FFrames->Count() == 0; }
  int Width() const override { return FHeader->ScreenWidth(); }
  int Height() const override { return FHeader->ScreenHeight(); }
  // "Image width too small for contained frames" when a frame would not fit.
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  gdi::HPALETTE GetPalette();
  gdi::HPALETTE Palette() override { return GetPalette(); }
  void SetPalette(gdi::HPALETTE Value) override;

  // The logical screen with frame 0 on it, cached; none without frames (ImageGraphic.cpp).
  graphics::TBitmap* GetBitmap();
  // Frame 0 of a still picture, with the image's transparency and tiling flags; of an
  // animation (dfAnimate) the cached bitmap a buffered painter keeps current, or the
  // painter already playing there, or a new one (ImagePainting.cpp). Nested calls do
  // nothing.
  void Draw(graphics::TCanvas& ACanvas, const base::TRect& Rect) override;
  // The bitmap format with a rendering, and the whole stream under "GIF Image".
  void SaveToClipboardFormat(graphics::TClipboardFormat& Format, graphics::TClipboardData& Data,
                             gdi::HPALETTE& Palette) override;
  void LoadFromClipboardFormat(graphics::TClipboardFormat Format, const graphics::TClipboardData& Data,
                               gdi::HPALETTE Palette) override;

  TGIFVersion RequiredVersion() const;
  int ColorResolution() const;
  int BitsPerPixel() const;
  base::TColor BackgroundColor() { return FHeader->GetBackgroundColor(); }
  bool DoDither() const;
  void FlushRenderings();

  // One global table for all frames, ordered by use (ColorMapOptimizer.cpp).
  void MergeColorTables();
  // Makes the animation smaller without changing what it shows, step by step as Flags
  // select (ImageOptimize.cpp). Dither and Bits are not used.
  void Optimize(TImageOptimizeFlags Flags, TReductionMethod Method, TDitherKind Dither, int Bits);

  TGIFDrawFlags DrawFlags() const { return FDrawFlags; }
  void SetDrawFlags(TGIFDrawFlags Value);
  TReductionMethod ReductionMethod() const { return FReductionMethod; }
  void SetReductionMethod(TReductionMethod Value) { FReductionMethod = Value; }
  int32_t QuantizeBits() const { return FQuantizeBits; }
  // "Invalid Bits Per Pixel value" outside 3..8.
  void SetQuantizeBits(int32_t Value);
  TDitherKind DitherKind() const { return FDitherKind; }
  void SetDitherKind(TDitherKind Value) { FDitherKind = Value; }
  TCompressionKind Compression() const { return FCompression; }
  void SetCompression(TCompressionKind Value) { FCompression = Value; }
  TThreadPriority PainterPriority() const { return FPainterPriority; }
  void SetPainterPriority(TThreadPriority Value) { FPainterPriority = Value; }
  int32_t PlaySpeed() const { return FPlaySpeed; }
  // Clamped to 0..1000 percent.
  void SetPlaySpeed(int32_t Value);
  base::TColor BackdropColor() const { return FBackdropColor; }
  void SetBackdropColor(base::TColor Value) { FBackdropColor = Value; }

  virtual void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message);

  TGIFWarning OnGIFWarning;

  // Playing (ImagePainting.cpp). Paint makes a painter onto ACanvas in Rect: a threaded
  // one comes back suspended for the caller to start; a synchronous one plays to its
  // end here and none comes back. PainterRef (may be none) holds the painter meanwhile.
  TGIFPainter* Paint(TGIFPainter** PainterRef, graphics::TCanvas& ACanvas, TGIFDrawFlags DrawFlags,
                     const base::TRect& Rect);
  // Stops ActivePainter and waits for it (running the hand-offs); frees the cached bitmap.
  void HaltPainter();
  // Stops every painter and waits for the threaded ones; frees the cached bitmap.
  void StopAllPainters();
  TGIFPainterList& Painters() { return FPainters; }
  TGIFPainter* ActivePainter() { return FPainters.ActivePainter(); }

  // Copied into every painter this image starts; they run on the GUI thread.
  base::TNotifyEvent OnPlayStart;
  base::TNotifyEvent OnFramePaint;
  base::TNotifyEvent OnAfterFramePaint;
  base::TNotifyEvent OnPlayLoop;
  base::TNotifyEvent OnPlayEnd;

 private:
  // Progress of a whole operation: starting, running through Body, and an ending
  // stage that is always sent (100 % after success, 0 % when an exception passes).
  void WithProgress(const std::string& Message, bool RedrawAtEnd, const std::function<void()>& Body);
  // The painters stop first, so that none draws on a freed bitmap or plays frames that
  // change or go (ImagePainting.cpp).
  void ReleaseBitmap();
  // Whether Object is this image's rendering or one of its frames' bitmaps.
  bool OwnsBitmap(const base::TPersistent* Object) const;
  std::unique_ptr<TGIFPainter> MakePainter(TGIFPainter** PainterRef, graphics::TCanvas& ACanvas,
                                           TGIFDrawFlags DrawFlags, const base::TRect& Rect);
  // Plays a synchronous painter to its end and frees it; raises what ended its play.
  void PlaySynchronously(std::unique_ptr<TGIFPainter> Painter);
  void DrawCachedBitmap(graphics::TCanvas& ACanvas, const base::TRect& Rect);
  void DrawPlaying(graphics::TCanvas& ACanvas, const base::TRect& Rect);

  std::unique_ptr<TGIFHeader> FHeader;
  std::unique_ptr<TGIFImageList> FFrames;
  gdi::HPALETTE FPalette = nullptr;
  TGIFDrawFlags FDrawFlags;
  TReductionMethod FReductionMethod;
  int32_t FQuantizeBits;
  TDitherKind FDitherKind;
  TCompressionKind FCompression;
  TThreadPriority FPainterPriority;
  int32_t FPlaySpeed;
  base::TColor FBackdropColor = base::clNone;
  bool FInGetPalette = false;
  bool FInDraw = false;
  std::unique_ptr<graphics::TBitmap> FBitmap;
  TGIFPainterList FPainters;
};

}  // namespace gif
