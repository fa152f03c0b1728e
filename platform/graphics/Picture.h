// TPicture: a holder of any graphic, loaded from a file by the class registered for its
// extension. The registry also knows each class's description, from which the open
// dialog's filter text is made, and which clipboard formats each class reads; the
// windowing layer registers the clipboard formats it offers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/base/Stream.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Clipboard.h"
#include "platform/graphics/Graphic.h"

namespace graphics {

// A graphic class as the registry knows it: its type and how to make an empty one.
struct TGraphicClass {
  std::type_index Type;
  std::function<std::unique_ptr<TGraphic>()> Create;
};

template <class T>
TGraphicClass GraphicClassOf() {
  return {typeid(T), [] { return std::unique_ptr<TGraphic>(std::make_unique<T>()); }};
}

// One registered file format.
struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass;
};

class TPicture : public base::TPersistent {
 public:
  ANIMORA_CLASS(TPicture)
  TPicture() = default;
  ~TPicture() override = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Another picture or a graphic: a copy of its graphic; none: empty.
  void Assign(const base::TPersistent* Source) override;

  // The held graphic, or none; still owned by the picture.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // A copy of Value (none empties the picture).
  void SetGraphic(const TGraphic* Value);
  // The graphic as a bitmap: a graphic of another class is replaced by an empty bitmap.
  TBitmap& Bitmap();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // By the file's extension: EInvalidGraphic "Unknown picture file extension (.ext)"
  // for one no class is registered for. A failed load keeps the graphic held before.
  void LoadFromFile(const std::string& FileName);
  // The held graphic's own format; an empty picture writes nothing.
  void SaveToFile(const std::string& FileName);
  // A graphic of the class registered for Format, read from Data: EInvalidGraphic
  // "Unsupported clipboard format" for an unknown format.
  void LoadFromClipboardFormat(TClipboardFormat Format, const TClipboardData& Data, gdi::HPALETTE Palette);
  // The held graphic's clipboard data; nothing for an empty picture.
  void SaveToClipboardFormat(TClipboardFormat& Format, TClipboardData& Data, gdi::HPALETTE& Palette);

  // Registering an extension again replaces its entry.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                 const TGraphicClass& GraphicClass);
  // CF_BITMAP is TBitmap's from the start.
  static void RegisterClipboardFormat(TClipboardFormat Format, const TGraphicClass& GraphicClass);
  static bool SupportsClipboardFormat(TClipboardFormat Format);
  // Drops every file and clipboard format of the class.
  static void UnregisterGraphicClass(const TGraphicClass& GraphicClass);
  // Newest first.
  static std::vector<TFileFormat> FileFormats();

  base::TNotifyEvent OnChange;
  base::TProgressEvent OnProgress;

 private:
  void Adopt(std::unique_ptr<TGraphic> Graphic);
  void Changed(base::TObject* Sender);
  std::unique_ptr<TGraphic> FGraphic;
};

// The open dialog's filter: "All (*.a;*.b)|*.a;*.b|A files (*.a)|*.a|B files (*.b)|*.b",
// newest registration first; with one format only "A files (*.a)|*.a".
std::string GraphicFilter();

}  // namespace graphics
