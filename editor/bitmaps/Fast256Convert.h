// The steps of the 24- to 8-bit conversion, apart for their tests. Colours are grouped
// in 15-bit cells (R div 8, G div 8, B div 8), cell index R/8 x 1024 + G/8 x 32 + B/8.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editor/bitmaps/Fast256.h"
#include "editor/bitmaps/FastBMP.h"

namespace editor {

inline constexpr int ColorCells = 32768;

inline int CellOf(uint8_t Red, uint8_t Green, uint8_t Blue) { return (Red >> 3) * 1024 + (Green >> 3) * 32 + (Blue >> 3); }

// Index (R + G + B) div 3 under a table of 256 greys.
void MakeGrayPalette(TFast256& Dst, const TFastBMP& Src);
// True when Src holds 256 distinct colours or fewer (counted exactly).
bool HasAtMost256Colors(const TFastBMP& Src);
// Each distinct colour its own entry, in order of first appearance; Src must pass
// HasAtMost256Colors.
void MapExactColors(TFast256& Dst, const TFastBMP& Src);

// Inclusive cell bounds on the axes red, green and blue, 0..31.
struct TColorBox {
  std::array<uint8_t, 3> Lo = {0, 0, 0};
  std::array<uint8_t, 3> Hi = {31, 31, 31};
  friend bool operator==(const TColorBox&, const TColorBox&) = default;
};

// Occupied cells (1) of Src.
std::vector<uint8_t> OccupiedCells(const TFastBMP& Src);
// Box shrunk to the occupied cells inside it; a box with none stays as it is.
void ShrinkColorBox(TColorBox& Box, const std::vector<uint8_t>& Occupied);
// At most 256 boxes, cut at the middle of the longest side until no side is longer than 1.
std::vector<TColorBox> MedianCutBoxes(const std::vector<uint8_t>& Occupied);
// Every cell inside box k gets k; cells outside every box get Unassigned.
std::vector<uint8_t> CellIndexes(const std::vector<TColorBox>& Boxes, uint8_t Unassigned);
// The box centres as the colour table's first entries.
void SetBoxColors(TFast256& Dst, const std::vector<TColorBox>& Boxes);

// Each pixel the index of its cell's box.
void MapCutColors(TFast256& Dst, const TFastBMP& Src, const std::vector<uint8_t>& Indexes);
// Floyd-Steinberg on a serpentine scan; cells with no box take their nearest entry
// among the boxes' colours, found once per cell.
void MapDitheredColors(TFast256& Dst, const TFastBMP& Src, std::vector<uint8_t>& Indexes, int BoxCount);

}  // namespace editor
