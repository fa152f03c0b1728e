// Output side of GIF image data: the bytes of the LZW code stream are cut into
// data sub-blocks, each a length byte (1-255) followed by that many bytes. Full
// sub-blocks carry 255 bytes; only the last one is shorter.
#pragma once

#include <cstdint>

#include "platform/base/Stream.h"

namespace gif {

// An output adapter over a target stream that it does not own. Reading, seeking,
// resizing and (unless a descendant says otherwise) writing raise
// base::Exception "Invalid stream operation".
class TGIFStream : public base::TStream {
 public:
  ANIMORA_CLASS(TGIFStream)
  explicit TGIFStream(base::TStream& ATarget) : Target(&ATarget) {}

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, base::TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;

 protected:
  base::TStream* Target;
};

// Collects written bytes into sub-blocks and passes each full one to the target.
class TGIFWriter final : public TGIFStream {
 public:
  ANIMORA_CLASS(TGIFWriter)
  explicit TGIFWriter(base::TStream& ATarget) : TGIFStream(ATarget) {}
  // Flushes what is left; a failing target is ignored here, so call Flush first
  // wherever its errors matter.
  ~TGIFWriter() override;
  TGIFWriter(const TGIFWriter&) = delete;
  TGIFWriter& operator=(const TGIFWriter&) = delete;

  int64_t Write(const void* Data, int64_t Count) override;
  // Writes the collected bytes as one sub-block; nothing when there are none.
  void Flush();

 private:
  uint8_t Buffer[256];  // byte 0: the length
  int32_t Position = 1;  // next free byte
  bool Dirty = false;  // bytes wait to be flushed
};

}  // namespace gif
