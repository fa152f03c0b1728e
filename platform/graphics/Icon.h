// TIcon: an icon file (.ico). It shows one of the file's images, the largest and of
// those the deepest, as a platform icon: drawn as (target AND mask) XOR colour, so the
// picture underneath stays where the mask is set. Icons are transparent; their size is
// the image's and cannot be changed. Saving writes the file as it was loaded.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/Icon.h"
#include "platform/graphics/Graphic.h"

namespace graphics {

class TIcon : public TGraphic {
 public:
  ANIMORA_CLASS(TIcon)
  TIcon();
  ~TIcon() override;
  TIcon(const TIcon&) = delete;
  TIcon& operator=(const TIcon&) = delete;

  // A TIcon: a copy; others as the stock assignment.
  void Assign(const base::TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Reads the icon file from the stream's position to its end; a malformed file raises
  // EInvalidGraphic and keeps the icon held before.
  void LoadFromStream(base::TStream& Stream) override;
  void SaveToStream(base::TStream& Stream) override;

  void Draw(TCanvas& ACanvas, const base::TRect& Rect) override;

  // The platform icon of the chosen image (its mask: 1 where transparent), owned by
  // the icon; none while it is empty.
  gdi::HICON Handle() const { return FHandle; }

 private:
  void Clear();
  gdi::HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint8_t> FData;
};


}  // namespace graphics
