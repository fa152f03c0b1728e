// GIF "run-length" encoder: a valid LZW code stream that any GIF decoder reads,
// made only of single-pixel codes and codes for runs of one colour. Right after a
// clear code, writing pixel p and then the codes FirstFree, FirstFree + 1, ...
// makes a decoder define them as runs of 2, 3, ... copies of p; while the table
// holds such run codes up to RunTableMax, code FirstFree + n - 2 writes n copies.
// The encoder tracks the decoder's code width from the number of codes written
// since the last clear and clears before the table would fill.
#pragma once

#include <cstdint>

#include "gif/GIFEncoder.h"

namespace gif {

class TRLEEncoder final : public TGIFEncoder {
 public:
  ANIMORA_CLASS(TRLEEncoder)

 protected:
  void Clear() override;
  void Compress() override;

 private:
  void EmitPlain(int32_t Code);
  void ResetClearLimit();
  void MaxClearLimit() { ClearLimit = MaxRunCodes; }
  // Codes needed to write Count pixels as runs 1, 2, 3, ... after a clear code
  // when N run codes fit in the table.
  static int64_t TriangleCost(int64_t Count, int64_t N);
  static int64_t IntSqrt(int64_t X);
  void FlushFromClear(int64_t Count);
  void FlushClearOrRepeat(int64_t Count);
  void FlushWithTable(int64_t Count);
  void FlushRun(int64_t Count);

  int32_t MaxRunCodes = 0;  // codes available for run codes
  int32_t BumpStart = 0;
  int32_t ClearStart = 0;
  int32_t RunPixel = -1;  // pixel of the current run
  int32_t RunTableMax = 0;  // longest run the decoder's table holds a code for
  int32_t RunTablePixel = -1;  // the pixel those run codes repeat
  int32_t OutCount = 0;  // codes written since the last clear code
  int32_t ClearLimit = 0;
  int32_t BumpLimit = 0;
};

}  // namespace gif
