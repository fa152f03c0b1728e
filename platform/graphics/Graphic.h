// TGraphic: the abstract picture of the graphics layer. It carries the change and
// progress notifications that every picture class shares.
#pragma once

#include <string>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/base/Stream.h"
#include "platform/base/Types.h"
#include "platform/gdi/Palette.h"
#include "platform/graphics/Clipboard.h"

namespace graphics {

class TCanvas;

class TGraphic : public base::TPersistent {
 public:
  ANIMORA_CLASS(TGraphic)

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual void LoadFromStream(base::TStream& Stream) = 0;
  virtual void SaveToStream(base::TStream& Stream) = 0;
  virtual bool Equals(const TGraphic* Graphic) const;

  // Paints the graphic onto Rect of ACanvas, scaled to fit; the canvas calls it for
  // Draw and StretchDraw. A graphic that cannot paint itself leaves the canvas alone.
  virtual void Draw(TCanvas& ACanvas, const base::TRect& Rect);
  // The palette the graphic draws with, still owned by the graphic; none by default.
  virtual gdi::HPALETTE Palette() { return nullptr; }
  // A graphic with a palette takes Value over; others ignore it.
  virtual void SetPalette(gdi::HPALETTE Value);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);

  // The graphic as clipboard data: the format it offers, the data and a palette, both
  // the caller's. A graphic that cannot go to the clipboard raises EInvalidGraphic
  // "Unsupported clipboard format", as does loading from a format it does not read.
  virtual void SaveToClipboardFormat(TClipboardFormat& Format, TClipboardData& Data, gdi::HPALETTE& Palette);
  // Data and Palette stay the caller's.
  virtual void LoadFromClipboardFormat(TClipboardFormat Format, const TClipboardData& Data, gdi::HPALETTE Palette);

  void LoadFromFile(const std::string& FileName);
  // Written beside the target and renamed over it.
  void SaveToFile(const std::string& FileName);

  bool Modified() const { return FModified; }
  void SetModified(bool Value);
  bool PaletteModified() const { return FPaletteModified; }
  void SetPaletteModified(bool Value) { FPaletteModified = Value; }

  // Marks the graphic modified and fires OnChange.
  virtual void Changed(base::TObject* Sender);
  void Progress(base::TObject* Sender, base::TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                const base::TRect& R, const std::string& Msg);

  base::TNotifyEvent OnChange;
  base::TProgressEvent OnProgress;

 protected:
  bool FTransparent = false;

 private:
  bool FModified = false;
  bool FPaletteModified = false;
};

}  // namespace graphics
