// How many entries a colour table is written with. Other encoders write pixels and
// transparent indexes beyond their tables (or no table at all), which the library
// reads as they are; on saving, such a table is padded with black entries up to the
// largest index its frames hold, so every index keeps its value and has a colour.
#pragma once

#include <cstdint>

namespace gif {

class TGIFImage;
class TGIFSubImage;

// One more than the largest pixel index of the frame, or than its transparent index;
// 0 for an empty frame.
int32_t IndexesUsed(const TGIFSubImage& Frame);
// The entries the frame's local table is written with; 0 when it has none.
int32_t WrittenLocalCount(const TGIFSubImage& Frame);
// The entries the global table is written with: enough for every frame without local
// entries; 0 when there is no table and no such frame.
int32_t WrittenGlobalCount(const TGIFImage& Image);

}  // namespace gif
