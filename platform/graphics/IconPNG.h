// PNG images inside icon files, decoded with libpng.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/graphics/BmpCodec.h"

namespace graphics {

inline constexpr uint8_t PNGSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The PNG of Size bytes at Data as a 32-bit image (blue, green, red, alpha; rows
// bottom-up). Wider or taller images than MaxSide and malformed data raise
// EInvalidGraphic; libpng's error handler jumps back only over libpng's own frames.
TDIBImage DecodePNG(const uint8_t* Data, size_t Size, int MaxSide);

}  // namespace graphics
