// Icon (.ico) files: the directory of images and the decoding of one image with its
// mask, independent of any picture class.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/BmpCodec.h"

namespace graphics {

// One directory entry, with its size and depth as the image's own header gives them.
struct TIconEntry {
  int32_t Width = 0;
  int32_t Height = 0;
  int BitCount = 0;  // bits per pixel; for PNG entries channels times sample depth
  bool PNG = false;
  uint32_t Offset = 0;
  uint32_t Size = 0;
};

// An image: the colour image as stored (1, 4, 8, 16, 24 or 32 bits; PNG entries become
// 32 bits with alpha) and its mask, 1 bit per pixel of the same size with a black and a
// white entry, 1 where the pixel is transparent: the AND mask, or for a 32-bit image
// with an alpha channel, alpha below 128. Pixels that alpha makes transparent are
// black in the colour image, so that (target AND mask) XOR colour leaves them alone.
struct TIconImage {
  TDIBImage Color;
  TDIBImage Mask;
};

// Sides beyond this are refused; the directory itself holds sizes up to 256.
inline constexpr int MaxIconSide = 1024;

// The entries of an icon file (type 1, at least one image), each checked to lie inside
// File with a header of a supported kind. EInvalidGraphic otherwise.
std::vector<TIconEntry> ReadIconDirectory(const std::vector<uint8_t>& File);

// The entry to show: the largest, and of those the deepest (the first on a tie).
size_t ChooseIconEntry(const std::vector<TIconEntry>& Entries);

// Decodes one entry of File; EInvalidGraphic for malformed data.
TIconImage DecodeIconImage(const std::vector<uint8_t>& File, const TIconEntry& Entry);

}  // namespace graphics
