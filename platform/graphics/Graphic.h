// TGraphic: the abstract picture of the graphics layer. It carries the change and
// progress notifications that every picture class shares.
#pragma once

#include <string>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/base/Stream.h"

namespace graphics {

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

 private:
  bool FModified = false;
  bool FPaletteModified = false;
};

}  // namespace graphics
