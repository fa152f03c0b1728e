#include "platform/gdi/TextRun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gdi/Paint.h"

namespace gdi {
namespace {

// The run in its own coordinates: u along the baseline from the origin, v down from
// the cell's top.
struct RunImage {
  int32_t Left = 0;
  int32_t Right = 0;
  int32_t Advance = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Ink;  // (Right - Left) x Height

  bool Covered(int32_t U, int32_t V) const {
    return U >= Left && U < Right && V >= 0 && V < Height &&
           Ink[static_cast<size_t>(V) * static_cast<size_t>(Right - Left) + static_cast<size_t>(U - Left)] != 0;
  }
  void Mark(int32_t U, int32_t V) {
    if (U >= Left && U < Right && V >= 0 && V < Height)
      Ink[static_cast<size_t>(V) * static_cast<size_t>(Right - Left) + static_cast<size_t>(U - Left)] = 1;
  }
  void Bar(int32_t From, int32_t To, int32_t Top, int32_t Thickness) {
    for (int32_t V = Top; V < Top + std::max(Thickness, 1); ++V)
      for (int32_t U = From; U < To; ++U) Mark(U, V);
  }
};

struct Placed {
  GlyphMask Mask;
  int32_t At = 0;
};

// Only the columns From to To - 1 of the run are kept: those that can reach the bitmap.
RunImage Compose(const LOGFONT& Font, const FontMetrics& Metrics, GlyphRasterizer& Glyphs, const TextRun& Run,
                 int32_t From, int32_t To) {
  std::vector<Placed> Pieces;
  int32_t Advance = 0;
  if (Run.Dx == nullptr) {
    Pieces.push_back({Glyphs.Render(Font, Run.Text), 0});
    Advance = Glyphs.Advance(Font, Run.Text);
  } else {
    const std::vector<std::string_view> Points = CodePoints(Run.Text);
    for (size_t I = 0; I < Points.size(); ++I) {
      Pieces.push_back({Glyphs.Render(Font, Points[I]), Advance});
      Advance += Run.Dx[I];
    }
  }
  RunImage Image;
  Image.Advance = Advance;
  Image.Height = Metrics.Height();
  Image.Left = std::min(0, Advance);
  Image.Right = std::max(0, Advance);
  if (Run.Underline) {
    Image.Left = std::min(Image.Left, Run.Underline->first);
    Image.Right = std::max(Image.Right, Run.Underline->second);
  }
  for (const Placed& P : Pieces) {
    if (P.Mask.Width <= 0) continue;
    Image.Left = std::min(Image.Left, P.At + P.Mask.Left);
    Image.Right = std::max(Image.Right, P.At + P.Mask.Left + P.Mask.Width);
  }
  Image.Left = std::max(Image.Left, From);
  Image.Right = std::max(Image.Left, std::min(Image.Right, To));
  Image.Ink.assign(static_cast<size_t>(Image.Right - Image.Left) * static_cast<size_t>(std::max(Image.Height, 0)), 0);
  for (const Placed& P : Pieces)
    for (int32_t V = 0; V < std::min(P.Mask.Height, Image.Height); ++V)
      for (int32_t C = 0; C < P.Mask.Width; ++C)
        if (P.Mask.Coverage[static_cast<size_t>(V) * static_cast<size_t>(P.Mask.Width) + static_cast<size_t>(C)] != 0)
          Image.Mark(P.At + P.Mask.Left + C, V);
  const int32_t Start = std::min(0, Advance), End = std::max(0, Advance);
  if (Font.lfUnderline) Image.Bar(Start, End, Metrics.Ascent + Metrics.UnderlinePosition, Metrics.UnderlineThickness);
  if (Font.lfStrikeOut) Image.Bar(Start, End, Metrics.Ascent - Metrics.StrikeoutPosition, Metrics.StrikeoutThickness);
  if (Run.Underline)
    Image.Bar(Run.Underline->first, Run.Underline->second, Metrics.Ascent + Metrics.UnderlinePosition,
              Metrics.UnderlineThickness);
  return Image;
}

// Cosine and sine of an angle in tenths of a degree; exact at the right angles.
std::pair<double, double> Turn(int32_t Tenths) {
  const int32_t A = ((Tenths % 3600) + 3600) % 3600;
  switch (A) {
    case 0:
      return {1, 0};
    case 900:
      return {0, 1};
    case 1800:
      return {-1, 0};
    case 2700:
      return {0, -1};
    default: {
      const double R = A * std::numbers::pi / 1800;
      return {std::cos(R), std::sin(R)};
    }
  }
}

}  // namespace

std::vector<std::string_view> CodePoints(std::string_view Text) {
  std::vector<std::string_view> Result;
  size_t I = 0;
  while (I < Text.size()) {
    const auto Lead = static_cast<uint8_t>(Text[I]);
    size_t Length = Lead < 0x80 ? 1 : (Lead >> 5) == 6 ? 2 : (Lead >> 4) == 14 ? 3 : (Lead >> 3) == 30 ? 4 : 1;
    if (I + Length > Text.size()) Length = 1;
    for (size_t K = 1; K < Length; ++K)
      if ((static_cast<uint8_t>(Text[I + K]) & 0xC0) != 0x80) Length = 1;
    Result.push_back(Text.substr(I, Length));
    I += Length;
  }
  return Result;
}

int32_t RunAdvance(const DCObject& DC, GlyphRasterizer& Glyphs, const TextRun& Run) {
  if (Run.Dx == nullptr) return Glyphs.Advance(DC.Font->Description, Run.Text);
  int32_t Advance = 0;
  const size_t Count = CodePoints(Run.Text).size();
  for (size_t I = 0; I < Count; ++I) Advance += Run.Dx[I];
  return Advance;
}

void PaintTextRun(const DCObject& DC, GlyphRasterizer& Glyphs, const TextRun& Run) {
  const LOGFONT& Font = DC.Font->Description;
  const FontMetrics Metrics = Glyphs.Metrics(Font);
  if (Metrics.Height() <= 0) return;
  const int32_t Advance = RunAdvance(DC, Glyphs, Run);
  // The reference point's place in the run.
  const uint32_t Horizontal = Run.Align & TA_CENTER, Vertical = Run.Align & TA_BASELINE;
  const int32_t ShiftU = Horizontal == TA_CENTER ? Advance / 2 : Horizontal == TA_RIGHT ? Advance : 0;
  const int32_t ShiftV = Vertical == TA_BASELINE ? Metrics.Ascent : Vertical == TA_BOTTOM ? Metrics.Height() : 0;
  const auto [Cos, Sin] = Turn(Run.Escapement);
  // The run's columns that the bitmap's corners span.
  double Low = 1e300, High = -1e300;
  const DIBFormat& F = DC.Bitmap->Format;
  for (const double X : {0.0, static_cast<double>(F.Width)})
    for (const double Y : {0.0, static_cast<double>(F.Height)}) {
      const double U = (X - Run.X) * Cos - (Y - Run.Y) * Sin + ShiftU;
      Low = std::min(Low, U), High = std::max(High, U);
    }
  const auto From = static_cast<int32_t>(std::clamp(std::floor(Low) - 1, -2e9, 2e9));
  const auto To = static_cast<int32_t>(std::clamp(std::ceil(High) + 1, -2e9, 2e9));
  const RunImage Image = Compose(Font, Metrics, Glyphs, Run, From, To);
  // Bounds of the turned image on the bitmap.
  double MinX = 1e300, MinY = 1e300, MaxX = -1e300, MaxY = -1e300;
  for (const double U : {double(Image.Left - ShiftU), double(Image.Right - ShiftU)})
    for (const double V : {double(-ShiftV), double(Image.Height - ShiftV)}) {
      const double X = Run.X + U * Cos + V * Sin, Y = Run.Y - U * Sin + V * Cos;
      MinX = std::min(MinX, X), MaxX = std::max(MaxX, X), MinY = std::min(MinY, Y), MaxY = std::max(MaxY, Y);
    }
  PixelSet Glyph = PixelsOf(DC), Cell = PixelsOf(DC);
  double Left = std::max(std::floor(MinX), 0.0), Top = std::max(std::floor(MinY), 0.0);
  double Right = std::min(std::ceil(MaxX), double(Glyph.ClipWidth()));
  double Bottom = std::min(std::ceil(MaxY), double(Glyph.ClipHeight()));
  if (Run.Clip != nullptr) {
    Left = std::max(Left, double(Run.Clip->Left)), Top = std::max(Top, double(Run.Clip->Top));
    Right = std::min(Right, double(Run.Clip->Right)), Bottom = std::min(Bottom, double(Run.Clip->Bottom));
  }
  for (int32_t Y = static_cast<int32_t>(Top); Y < Bottom; ++Y) {
    for (int32_t X = static_cast<int32_t>(Left); X < Right; ++X) {
      const double RX = X + 0.5 - Run.X, RY = Y + 0.5 - Run.Y;
      const auto U = static_cast<int32_t>(std::floor(RX * Cos - RY * Sin)) + ShiftU;
      const auto V = static_cast<int32_t>(std::floor(RX * Sin + RY * Cos)) + ShiftV;
      if (Image.Covered(U, V)) {
        Glyph.AddPixel(X, Y);
      } else if (Run.Opaque && U >= std::min(0, Image.Advance) && U < std::max(0, Image.Advance) && V >= 0 &&
                 V < Image.Height) {
        Cell.AddPixel(X, Y);
      }
    }
  }
  Ink Text;
  Text.Color = DC.TextColor;
  Paint(DC, Glyph, Text);
  if (!Run.Opaque) return;
  Ink Background;
  Background.Color = DC.BkColor;
  Paint(DC, Cell, Background);
}

}  // namespace gdi
