// TGIFItem: one item of a GIF stream (header, frame, extension, trailer), owned by a
// list or by the image, which reads and writes itself and reports warnings upward.
#pragma once

#include <string>

#include "gif/GIFException.h"
#include "platform/base/Persistent.h"
#include "platform/base/Stream.h"

namespace gif {

class TGIFImage;

class TGIFItem : public base::TPersistent {
 public:
  ANIMORA_CLASS(TGIFItem)
  explicit TGIFItem(TGIFImage* AImage) : FImage(AImage) {}

  // The owning image; none for an item made on its own.
  TGIFImage* Image() const { return FImage; }

  virtual TGIFVersion RequiredVersion() const { return ver87a; }
  // Passes the warning to the owning image's OnGIFWarning.
  virtual void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message);
  virtual void SaveToStream(base::TStream& Stream) = 0;
  virtual void LoadFromStream(base::TStream& Stream) = 0;
  void SaveToFile(const std::string& FileName);
  void LoadFromFile(const std::string& FileName);

 protected:
  TGIFImage* FImage;
};

}  // namespace gif
