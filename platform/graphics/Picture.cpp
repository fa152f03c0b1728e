#include "platform/graphics/Picture.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "platform/base/Exceptions.h"
#include "platform/graphics/Icon.h"
#include "platform/graphics/JPEGImage.h"
#include "platform/graphics/Metafile.h"

namespace graphics {
namespace {

struct TClipboardEntry {
  TClipboardFormat Format;
  TGraphicClass GraphicClass;
};

struct TRegistry {
  std::vector<TFileFormat> Files;  // oldest first
  std::vector<TClipboardEntry> Clipboard;
};

TRegistry& Registry() {
  // The pictures this layer reads itself; other libraries register theirs when they start.
  static TRegistry Formats{{{"bmp", "Bitmaps", GraphicClassOf<TBitmap>()},
                            {"ico", "Icons", GraphicClassOf<TIcon>()},
                            {"emf", "Enhanced Metafiles", GraphicClassOf<TMetafile>()},
                            {"wmf", "Metafiles", GraphicClassOf<TMetafile>()},
                            {"jpg", "JPEG Image File", GraphicClassOf<TJPEGImage>()},
                            {"jpeg", "JPEG Image File", GraphicClassOf<TJPEGImage>()}},
                           {{CF_BITMAP, GraphicClassOf<TBitmap>()}}};
  return Formats;
}

std::string Lower(std::string Text) {
  std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return std::tolower(C); });
  return Text;
}

std::optional<TGraphicClass> ClassForExtension(const std::string& Extension) {
  const auto& Files = Registry().Files;
  const auto Found = std::find_if(Files.begin(), Files.end(), [&](const TFileFormat& F) { return F.Extension == Extension; });
  if (Found == Files.end()) return std::nullopt;
  return Found->GraphicClass;
}

std::optional<TGraphicClass> ClassOfType(std::type_index Type) {
  for (const TFileFormat& F : Registry().Files)
    if (F.GraphicClass.Type == Type) return F.GraphicClass;
  for (const TClipboardEntry& C : Registry().Clipboard)
    if (C.GraphicClass.Type == Type) return C.GraphicClass;
  return std::nullopt;
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  const TGraphicClass& GraphicClass) {
  auto& Files = Registry().Files;
  const std::string Ext = Lower(Extension);
  std::erase_if(Files, [&](const TFileFormat& F) { return F.Extension == Ext; });
  Files.push_back({Ext, Description, GraphicClass});
}

void TPicture::RegisterClipboardFormat(TClipboardFormat Format, const TGraphicClass& GraphicClass) {
  auto& Clipboard = Registry().Clipboard;
  std::erase_if(Clipboard, [&](const TClipboardEntry& C) { return C.Format == Format; });
  Clipboard.push_back({Format, GraphicClass});
}

bool TPicture::SupportsClipboardFormat(TClipboardFormat Format) {
  const auto& Clipboard = Registry().Clipboard;
  return std::any_of(Clipboard.begin(), Clipboard.end(), [&](const TClipboardEntry& C) { return C.Format == Format; });
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& GraphicClass) {
  std::erase_if(Registry().Files, [&](const TFileFormat& F) { return F.GraphicClass.Type == GraphicClass.Type; });
  std::erase_if(Registry().Clipboard,
                [&](const TClipboardEntry& C) { return C.GraphicClass.Type == GraphicClass.Type; });
}

std::vector<TFileFormat> TPicture::FileFormats() {
  const auto& Files = Registry().Files;
  return {Files.rbegin(), Files.rend()};
}

std::string GraphicFilter() {
  const std::vector<TFileFormat> Formats = TPicture::FileFormats();
  std::string Masks;
  std::string Entries;
  for (const TFileFormat& F : Formats) {
    const std::string Mask = "*." + F.Extension;
    Masks += (Masks.empty() ? "" : ";") + Mask;
    Entries += (Entries.empty() ? "" : "|") + F.Description + " (" + Mask + ")|" + Mask;
  }
  if (Formats.size() < 2) return Entries;
  return "All (" + Masks + ")|" + Masks + "|" + Entries;
}

void TPicture::Assign(const base::TPersistent* Source) {
  if (Source == nullptr) return SetGraphic(nullptr);
  if (const auto* Picture = dynamic_cast<const TPicture*>(Source)) return SetGraphic(Picture->Graphic());
  if (const auto* Graphic = dynamic_cast<const TGraphic*>(Source)) return SetGraphic(Graphic);
  TPersistent::Assign(Source);
}

void TPicture::SetGraphic(const TGraphic* Value) {
  if (Value == FGraphic.get() && Value != nullptr) return;
  if (Value == nullptr) {
    Adopt(nullptr);
    return;
  }
  const std::optional<TGraphicClass> Class = ClassOfType(typeid(*Value));
  if (!Class) AssignError(Value);
  std::unique_ptr<TGraphic> Copy = Class->Create();
  Copy->Assign(Value);
  Adopt(std::move(Copy));
}

TBitmap& TPicture::Bitmap() {
  if (dynamic_cast<TBitmap*>(FGraphic.get()) == nullptr) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap&>(*FGraphic);
}

void TPicture::LoadFromFile(const std::string& FileName) {
  std::string Extension = std::filesystem::path(FileName).extension().string();
  if (!Extension.empty()) Extension.erase(0, 1);
  Extension = Lower(Extension);
  const std::optional<TGraphicClass> Class = ClassForExtension(Extension);
  if (!Class) throw base::EInvalidGraphic("Unknown picture file extension (." + Extension + ")");
  std::unique_ptr<TGraphic> Graphic = Class->Create();
  Graphic->OnProgress = OnProgress;
  Graphic->LoadFromFile(FileName);
  Adopt(std::move(Graphic));
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}

void TPicture::LoadFromClipboardFormat(TClipboardFormat Format, const TClipboardData& Data, gdi::HPALETTE Palette) {
  const auto& Clipboard = Registry().Clipboard;
  const auto Found =
      std::find_if(Clipboard.begin(), Clipboard.end(), [&](const TClipboardEntry& C) { return C.Format == Format; });
  if (Found == Clipboard.end()) throw base::EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> Graphic = Found->GraphicClass.Create();
  Graphic->LoadFromClipboardFormat(Format, Data, Palette);
  Adopt(std::move(Graphic));
}

void TPicture::SaveToClipboardFormat(TClipboardFormat& Format, TClipboardData& Data, gdi::HPALETTE& Palette) {
  if (FGraphic) FGraphic->SaveToClipboardFormat(Format, Data, Palette);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic) {
    FGraphic->OnChange = [this](base::TObject*) { Changed(this); };
    FGraphic->OnProgress = [this](base::TObject* Sender, base::TProgressStage Stage, uint8_t Percent, bool Redraw,
                                  const base::TRect& R, const std::string& Msg) {
      if (OnProgress) OnProgress(Sender, Stage, Percent, Redraw, R, Msg);
    };
  }
  Changed(this);
}

void TPicture::Changed(base::TObject* Sender) {
  if (OnChange) OnChange(Sender);
}

}  // namespace graphics
