// A metafile as a list of drawing records common to the enhanced (EMF) and the
// placeable Windows (WMF) formats. Readers turn a file's records into these; the
// player draws them. Coordinates are the file's logical units.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/BmpCodec.h"

namespace graphics {

// What each record holds in Args, Points, Counts and Text.
enum class TMetaOp : uint8_t {
  SetMapMode,         // Args: mode (MM_*)
  SetWindowOrg,       // Args: x, y
  SetWindowExt,       // Args: cx, cy
  SetViewportOrg,     // Args: x, y
  SetViewportExt,     // Args: cx, cy
  OffsetWindowOrg,    // Args: dx, dy
  OffsetViewportOrg,  // Args: dx, dy
  ScaleWindowExt,     // Args: x numerator, x denominator, y numerator, y denominator
  ScaleViewportExt,   // as ScaleWindowExt
  SetWorldTransform,  // Xform
  ModifyWorldTransform,  // Xform; Args: mode (MWT_*)
  SaveDC,
  RestoreDC,  // Args: the saved state, negative counting back from the newest
  SetBkMode,  // Args: the value, for this and the modes and colours below
  SetBkColor,
  SetTextColor,
  SetTextAlign,
  SetROP2,
  SetPolyFillMode,
  SetStretchBltMode,
  CreatePen,    // Args: slot, style, width (0: one pixel whatever the scale), colour
  CreateBrush,  // Args: slot, style (BS_*), colour, hatch
  CreateFont,   // Args: slot, height, width, escapement, weight, italic, underline, strike-out; Text: face
  CreateOther,  // Args: slot, taken by an object nothing draws with (palette, region, pattern brush)
  SelectObject,  // Args: slot, or StockObjectFlag | a stock object
  DeleteObject,  // Args: slot
  MoveTo,        // Points: the point
  LineTo,        // Points: the end point
  Polyline,      // Points
  PolylineTo,    // Points, after the current position, which moves to the last
  PolyBezier,    // Points: start, then three per curve
  PolyBezierTo,  // Points: three per curve, after the current position
  PolyPolyline,  // Points; Counts: the points of each line
  PolyPolygon,   // Points; Counts: the points of each polygon
  Rectangle,     // Points: two corners
  Ellipse,       // Points: two corners of its box
  RoundRect,     // Points: two corners; Args: corner ellipse width, height
  Arc,           // Points: two corners of the box, start point, end point
  ArcTo,         // as Arc, joined to the current position
  Chord,         // as Arc
  Pie,           // as Arc
  SetPixel,      // Points: the point; Args: colour
  TextOut,       // Points: reference point (then the corners of the clip or opaque box);
                 // Args: options (ETO_*); Text: UTF-8; Counts: advances, when given
  Blit,          // Args: x, y, cx, cy of the destination, x, y (from the top), cx, cy of
                 // the source, raster operation; Image: the source (none: a pattern blit)
};

inline constexpr uint32_t StockObjectFlag = 0x80000000;

// ExtTextOut options kept from the files.
enum : int32_t { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };
// Mapping modes and world-transform modes of the files.
enum : int32_t {
  MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
  MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8,
};
enum : int32_t { MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4 };

struct TMetaRecord {
  TMetaOp Op = TMetaOp::SaveDC;
  std::vector<int32_t> Args;
  std::vector<base::TPoint> Points;
  std::vector<int32_t> Counts;
  std::string Text;
  // eM11, eM12, eM21, eM22, eDx, eDy: x' = x eM11 + y eM21 + eDx, y' = x eM12 + y eM22 + eDy.
  std::array<float, 6> Xform{1, 0, 0, 1, 0, 0};
  std::shared_ptr<const TDIBImage> Image;
};

enum class TMetafileKind : uint8_t { Enhanced, Placeable };

// A parsed metafile: its frame and the records that draw it.
struct TMetafileContent {
  TMetafileKind Kind = TMetafileKind::Enhanced;
  // Enhanced: the picture frame in 0.01 mm; placeable: the bounding box in logical units.
  base::TRect Frame;
  // Enhanced: 2540 (0.01 mm per inch); placeable: logical units per inch.
  int32_t UnitsPerInch = 2540;
  // Enhanced only: the reference device in pixels and millimetres.
  base::TPoint DevicePixels{1, 1};
  base::TPoint DeviceMillimeters{1, 1};
  std::vector<TMetaRecord> Records;
};

}  // namespace graphics
