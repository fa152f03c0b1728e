// The loop extension ("NETSCAPE2.0", also read from "ANIMEXTS1.0" blocks): how often
// an animation repeats, and an optional buffering size.
#pragma once

#include <cstdint>

#include "gif/ApplicationExtension.h"

namespace gif {

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  ANIMORA_CLASS(TGIFAppExtNSLoop)
  static const TGIFExtensionClass& Class();
  // "NETSCAPE" "2.0", both numbers 0. One that is read keeps the identifier it had.
  explicit TGIFAppExtNSLoop(TGIFSubImage* ASubImage);

  // 0 repeats forever.
  uint16_t Loops() const { return FLoops; }
  void SetLoops(uint16_t Value) { FLoops = Value; }
  uint32_t BufferingSize() const { return FBufferingSize; }
  void SetBufferingSize(uint32_t Value) { FBufferingSize = Value; }

 protected:
  // The loop sub-block, the buffering sub-block when its size is not 0, then 0.
  void WriteAppData(base::TStream& Stream) override;
  // Sub-blocks of kind 1 (loops) and 2 (buffering size) too short for their numbers
  // raise "Invalid GIF data"; other kinds are passed over. The data ending where a
  // size byte should be ends the sub-blocks quietly.
  void ReadAppData(base::TStream& Stream) override;

 private:
  uint16_t FLoops = 0;
  uint32_t FBufferingSize = 0;
};

}  // namespace gif
