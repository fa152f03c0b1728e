// Settings types of the GIF library: draw flags, colour reduction, dithering,
// compression, optimisation steps and painter priority.
#pragma once

#include <cstdint>

namespace gif {

using TGIFDrawFlags = uint16_t;
enum : TGIFDrawFlags {
  dfThreaded = 0x0001,
  dfTransparent = 0x0002,
  dfAnimate = 0x0004,
  dfRepeat = 0x0008,
  dfRepeatForever = 0x0010,
  dfCheckCanvas = 0x0020,
  dfUnbuffered = 0x0040,
  dfClearOnRepeat = 0x0080,
  dfTile = 0x0100,
  dfDither = 0x0200,
  dfAutoDither = 0x0400,
};

enum class TReductionMethod : uint8_t {
  rdNone,
  rdWindows20,
  rdWindows256,
  rdWindowsGray,
  rdMonochrome,
  rdGrayScale,
  rdNetscape,
  rdQuantize,
  rdOptimizedWindows,
  rdCustomPalette,
};
using enum TReductionMethod;

enum class TDitherKind : uint8_t {
  dkNone,
  dkFloydSteinberg,
  dkStucki,
  dkSierra,
  dkJaJuNi,
  dkSteveArche,
  dkBurkes,
};
using enum TDitherKind;

enum class TCompressionKind : uint8_t { ckLZW, ckRLE };
using enum TCompressionKind;

// The steps of TGIFImage::Optimize.
using TImageOptimizeFlags = uint8_t;
enum : TImageOptimizeFlags {
  ofCrop = 0x01,
  ofMerge = 0x02,
  ofCleanup = 0x04,
  ofColorTables = 0x08,
  ofReduceColors = 0x10,
};

enum class TThreadPriority : uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using enum TThreadPriority;

}  // namespace gif
