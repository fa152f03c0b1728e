// The graphic control extension (label 0xF9): a frame's delay, disposal, user-input
// flag and transparent colour.
#pragma once

#include <array>
#include <cstdint>

#include "gif/Extension.h"

namespace gif {

// What happens to a frame's area before the next frame is drawn. Values 4-7 have no
// names but are kept as read.
enum class TFrameDisposal : uint8_t { fdNoneSpecified, fdDoNotDispose, fdBackground, fdPrevious };
using enum TFrameDisposal;

class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  ANIMORA_CLASS(TGIFGraphicControlExtension)
  static const TGIFExtensionClass& Class();
  // Becomes the frame's graphic control extension unless the frame has one already.
  explicit TGIFGraphicControlExtension(TGIFSubImage* ASubImage);
  // Clears the frame's transparent flag when this one is transparent, and unlinks it
  // from the frame.
  ~TGIFGraphicControlExtension() override;

  uint8_t BlockLabel() const override { return 0xF9; }

  // Also sets the frame's transparent flag to Value.
  bool Transparent() const { return (PackedFlags() & 0x01) != 0; }
  void SetTransparent(bool Value);
  uint8_t TransparentColor() const { return FRecord[4]; }
  // An index outside the frame's non-empty colour table warns "Invalid color index"
  // and stores 0.
  void SetTransparentColor(uint8_t Value);
  // Hundredths of a second.
  uint16_t Delay() const { return static_cast<uint16_t>(FRecord[2] | FRecord[3] << 8); }
  void SetDelay(uint16_t Value);
  bool UserInput() const { return (PackedFlags() & 0x02) != 0; }
  void SetUserInput(bool Value);
  // Three bits; a larger value keeps only its low three bits.
  TFrameDisposal Disposal() const { return static_cast<TFrameDisposal>((PackedFlags() >> 2) & 0x07); }
  void SetDisposal(TFrameDisposal Value);

  // A body shorter than 6 bytes warns "Premature end of data" and keeps what came.
  void LoadFromStream(base::TStream& Stream) override;

 protected:
  void WriteBody(base::TStream& Stream) override;

 private:
  uint8_t PackedFlags() const { return FRecord[1]; }
  void SetFlag(uint8_t Mask, bool Value);

  // Block size, packed flags, delay (little-endian), transparent index, terminator:
  // kept as they stand in the stream.
  std::array<uint8_t, 6> FRecord{4, 0, 0, 0, 0, 0};
};

}  // namespace gif
