// Rotations of fast bitmaps about a centre (CX, CY) in source pixels, by Angle degrees.
// Each destination pixel is mapped back to the source once, stepping 16.16 fixed-point
// positions (64-bit, so sides of any size are safe); a destination larger than the
// source is centred on it. Src and Dst must be of one class.
#pragma once

#include <cstdint>

#include "editor/bitmaps/FastRGB.h"

namespace editor {

// Destination pixels whose source lies outside Src keep their values.
void Rotate(const TFastRGB& Src, TFastRGB& Dst, int32_t CX, int32_t CY, double Angle);
// Every destination pixel is written; positions outside Src wrap around it (tiled).
void RotateWrap(const TFastRGB& Src, TFastRGB& Dst, int32_t CX, int32_t CY, double Angle);

}  // namespace editor
