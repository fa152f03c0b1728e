// TPen: the canvas's tool for lines and outlines, with the binary raster operation
// (Mode) the canvas draws lines and shapes with.
#pragma once

#include <cstdint>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/gdi/Pen.h"
#include "platform/graphics/Colors.h"

namespace graphics {

// In the order of the platform's pen styles.
enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;

enum class TPenMode : uint8_t {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
using enum TPenMode;

// The binary raster operation (gdi/Rop2.h) of a pen mode.
int Rop2Of(TPenMode Mode);

class TPen : public base::TPersistent {
 public:
  ANIMORA_CLASS(TPen)
  TPen() = default;
  ~TPen() override;
  TPen(const TPen&) = delete;
  TPen& operator=(const TPen&) = delete;

  void Assign(const base::TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  // Made on demand, remade after a change; the mode is not part of it.
  gdi::HPEN Handle();

  base::TNotifyEvent OnChange;

 private:
  void Changed();
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  gdi::HPEN FHandle = nullptr;
};

}  // namespace graphics
