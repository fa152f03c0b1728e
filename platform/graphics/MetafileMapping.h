// How a metafile's logical coordinates reach the pixels of the picture it is played
// onto: the world transform, the mapping mode with its window and viewport, and the
// placement of the reference device's frame on the destination rectangle.
#pragma once

#include <array>
#include <cstdint>

#include "platform/base/Types.h"
#include "platform/graphics/MetafileRecords.h"

namespace graphics {

// x' = A x + C y + E, y' = B x + D y + F.
struct TAffine {
  double A = 1, B = 0, C = 0, D = 1, E = 0, F = 0;

  // This transform after First.
  TAffine After(const TAffine& First) const;
  double X(double PX, double PY) const { return A * PX + C * PY + E; }
  double Y(double PX, double PY) const { return B * PX + D * PY + F; }
  bool AxisAligned() const { return B == 0 && C == 0; }
  bool Mirrors() const { return A * D - B * C < 0; }
  static TAffine FromXform(const std::array<float, 6>& M) { return {M[0], M[1], M[2], M[3], M[4], M[5]}; }
};

class TMetaMapping {
 public:
  // Enhanced files start in MM_TEXT on their reference device, whose frame is placed on
  // Dest; placeable files map their window (first their bounding box) onto Dest and
  // keep that whatever mapping mode they ask for.
  TMetaMapping(const TMetafileContent& Content, const base::TRect& Dest);

  // Applies a mapping record; false for a record of another kind.
  bool Apply(const TMetaRecord& Record);

  // Logical coordinates to destination pixels.
  const TAffine& Total() const { return FTotal; }
  // The pixels of one logical unit along x and y (for pen widths and font sizes).
  double ScaleX() const;
  double ScaleY() const;

 private:
  void Update();
  TMetafileKind FKind;
  double FPixelsPerMMX = 1, FPixelsPerMMY = 1;
  int32_t FMode = MM_TEXT;
  double FWindowOrgX = 0, FWindowOrgY = 0, FWindowExtX = 1, FWindowExtY = 1;
  double FViewportOrgX = 0, FViewportOrgY = 0, FViewportExtX = 1, FViewportExtY = 1;
  TAffine FWorld;
  TAffine FDevice;  // reference device pixels to destination pixels
  TAffine FTotal;
};

}  // namespace graphics
