// The plain-text extension (label 0x01): a text grid over the logical screen and the
// text itself as lines, one per data sub-block.
#pragma once

#include <array>
#include <cstdint>

#include "gif/Extension.h"
#include "platform/base/Strings.h"

namespace gif {

class TGIFTextExtension : public TGIFExtension {
 public:
  ANIMORA_CLASS(TGIFTextExtension)
  static const TGIFExtensionClass& Class();
  using TGIFExtension::TGIFExtension;

  uint8_t BlockLabel() const override { return 0x01; }
  base::TStrings& Text() { return FText; }
  const base::TStrings& Text() const { return FText; }

  uint16_t GridLeft() const { return Word(1); }
  uint16_t GridTop() const { return Word(3); }
  uint16_t GridWidth() const { return Word(5); }
  uint16_t GridHeight() const { return Word(7); }
  uint8_t CellWidth() const { return FHeader[9]; }
  uint8_t CellHeight() const { return FHeader[10]; }
  uint8_t TextForegroundIndex() const { return FHeader[11]; }
  uint8_t TextBackgroundIndex() const { return FHeader[12]; }

  // A line of text of at least one byte.
  bool HasData() const override;
  void LoadFromStream(base::TStream& Stream) override;

 protected:
  void WriteBody(base::TStream& Stream) override;

 private:
  uint16_t Word(size_t At) const { return static_cast<uint16_t>(FHeader[At] | FHeader[At + 1] << 8); }

  // Block size, grid left, top, width, height (little-endian words), cell width and
  // height, foreground and background index: kept as they stand in the stream.
  std::array<uint8_t, 13> FHeader{12};
  base::TStringList FText;
};

}  // namespace gif
