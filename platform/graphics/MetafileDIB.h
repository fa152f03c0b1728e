// Device-independent bitmaps inside metafile records, decoded by the BMP reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/graphics/BmpCodec.h"

namespace graphics {

struct TMetafileDIB {
  std::shared_ptr<const TDIBImage> Image;  // rows bottom-up, as TDIBImage keeps them
  bool TopDown = false;                    // the rows were stored from the top
};

// The most pixels the bitmaps of one metafile may have together.
inline constexpr int64_t MaxMetafilePixels = MaxBMPPixels;

// A bitmap whose header with colour table (Info) and pixels (Bits) lie apart. Budget
// holds the pixels the file may still decode and is charged before anything is
// allocated. Malformed bitmaps and an exhausted budget raise EInvalidGraphic.
TMetafileDIB ReadMetafileDIB(const uint8_t* Info, size_t InfoSize, const uint8_t* Bits, size_t BitsSize,
                             int64_t& Budget);

// A bitmap stored as header, colour table and pixels in one block.
TMetafileDIB ReadPackedDIB(const uint8_t* Data, size_t Size, int64_t& Budget);

}  // namespace graphics
