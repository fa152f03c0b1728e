// JPEG files to and from one plain in-memory image (TDIBImage), over libjpeg's
// release-6 interface. libjpeg's failures never leave this unit as anything but
// EInvalidGraphic; its error manager jumps back only over libjpeg's own frames.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Stream.h"
#include "platform/graphics/BmpCodec.h"

namespace graphics {

struct TJPEGReadOptions {
  // Block smoothing of images whose coefficients are incomplete (progressive display).
  bool Smoothing = true;
  // Larger images are refused before their pixels are allocated.
  int64_t MaxPixels = MaxBMPPixels;
};

// Decodes the JPEG data from Stream's position to its end: a greyscale file becomes an
// 8-bit image with a 256-entry grey table, every other one a 24-bit image (CMYK and
// YCCK converted to RGB). Rows bottom-up, as TDIBImage keeps them.
TDIBImage ReadJPEG(base::TStream& Stream, const TJPEGReadOptions& Options = {});

// The JPEG file of a 24-bit Image at Quality 0 to 100 (0 counts as 1), baseline, in
// colour or, with Grayscale, as one grey component.
std::vector<uint8_t> EncodeJPEG(const TDIBImage& Image, int Quality, bool Grayscale);

}  // namespace graphics
