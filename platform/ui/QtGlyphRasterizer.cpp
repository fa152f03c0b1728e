#include "platform/ui/QtGlyphRasterizer.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/ui/FontFaces.h"

namespace ui {
namespace {

// Pixel sizes beyond this are drawn at it: a text mask grows with the square.
constexpr int LargestPixelSize = 1000;
constexpr int DefaultPixelSize = 12;
// Larger runs (of absurd lengths) are not drawn rather than allocating without bound.
constexpr int64_t LargestMask = int64_t{1} << 26;

QString TextOf(std::string_view Text) { return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())); }

}  // namespace

QFont QtGlyphRasterizer::Resolve(const gdi::LOGFONT& Font) {
  QFont F(QString::fromStdString(InstalledFace(Font.FaceName())));
  F.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  F.setHintingPreference(QFont::PreferFullHinting);
  F.setWeight(static_cast<QFont::Weight>(std::clamp(Font.lfWeight == 0 ? 400 : Font.lfWeight, 1, 1000)));
  F.setItalic(Font.lfItalic != 0);
  if (Font.lfHeight < 0) {
    F.setPixelSize(std::clamp(-Font.lfHeight, 1, LargestPixelSize));
  } else if (Font.lfHeight > 0) {
    // A cell height: the em size whose ascent and descent add up to it.
    F.setPixelSize(LargestPixelSize);
    const QFontMetricsF Reference(F);
    const double Cell = Reference.ascent() + Reference.descent();
    const double Em = Cell > 0 ? Font.lfHeight * LargestPixelSize / Cell : Font.lfHeight;
    F.setPixelSize(std::clamp(static_cast<int>(std::lround(Em)), 1, LargestPixelSize));
  } else {
    F.setPixelSize(DefaultPixelSize);
  }
  if (Font.lfWidth > 0) {
    const int Average = QFontMetrics(F).averageCharWidth();
    if (Average > 0) F.setStretch(std::clamp(Font.lfWidth * 100 / Average, 1, 4000));
  }
  return F;
}

QFont QtGlyphRasterizer::FontFor(const gdi::LOGFONT& Font) {
  std::lock_guard Guard(Lock);
  if (!Cached || std::memcmp(&CachedFor, &Font, sizeof Font) != 0) {
    CachedFont = Resolve(Font);
    CachedFor = Font;
    Cached = true;
  }
  return CachedFont;
}

gdi::FontMetrics QtGlyphRasterizer::Metrics(const gdi::LOGFONT& Font) {
  const QFont F = FontFor(Font);
  std::lock_guard Guard(Lock);
  const QFontMetrics M(F);
  gdi::FontMetrics Result;
  Result.Ascent = M.ascent();
  Result.Descent = M.descent();
  Result.InternalLeading = std::max(0, M.ascent() + M.descent() - F.pixelSize());
  Result.ExternalLeading = std::max(0, M.leading());
  Result.AveCharWidth = M.averageCharWidth();
  Result.MaxCharWidth = M.maxWidth();
  Result.UnderlinePosition = M.underlinePos();
  Result.UnderlineThickness = std::max(1, M.lineWidth());
  Result.StrikeoutPosition = M.strikeOutPos();
  Result.StrikeoutThickness = std::max(1, M.lineWidth());
  return Result;
}

int32_t QtGlyphRasterizer::Advance(const gdi::LOGFONT& Font, std::string_view Text) {
  const QFont F = FontFor(Font);
  std::lock_guard Guard(Lock);
  return QFontMetrics(F).horizontalAdvance(TextOf(Text));
}

gdi::GlyphMask QtGlyphRasterizer::Render(const gdi::LOGFONT& Font, std::string_view Text) {
  const QFont F = FontFor(Font);
  std::lock_guard Guard(Lock);
  const QString S = TextOf(Text);
  const QFontMetrics M(F);
  const QRect Ink = M.boundingRect(S);
  gdi::GlyphMask Mask;
  Mask.Left = std::min(0, Ink.left());
  Mask.Width = std::max(M.horizontalAdvance(S), Ink.right() + 1) - Mask.Left;
  Mask.Height = M.ascent() + M.descent();
  if (Mask.Width <= 0 || Mask.Height <= 0 || S.isEmpty() || int64_t{Mask.Width} * Mask.Height > LargestMask) {
    Mask.Width = 0;
    return Mask;
  }
  QImage Image(Mask.Width, Mask.Height, QImage::Format_ARGB32_Premultiplied);
  Image.fill(Qt::transparent);
  {
    QPainter Painter(&Image);
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setRenderHint(QPainter::TextAntialiasing, false);
    Painter.setFont(F);
    Painter.setPen(Qt::white);
    Painter.drawText(QPoint(-Mask.Left, M.ascent()), S);
  }
  Mask.Coverage.resize(static_cast<size_t>(Mask.Width) * static_cast<size_t>(Mask.Height));
  for (int Y = 0; Y < Mask.Height; ++Y) {
    const auto* Row = reinterpret_cast<const QRgb*>(Image.constScanLine(Y));
    for (int X = 0; X < Mask.Width; ++X)
      Mask.Coverage[static_cast<size_t>(Y) * static_cast<size_t>(Mask.Width) + static_cast<size_t>(X)] =
          qAlpha(Row[X]) >= 128;
  }
  return Mask;
}

void InstallQtGlyphRasterizer() {
  // Never destroyed: its fonts must not outlive the application's font database.
  static QtGlyphRasterizer* const Rasterizer = new QtGlyphRasterizer;
  gdi::SetGlyphRasterizer(Rasterizer);
}

}  // namespace ui
