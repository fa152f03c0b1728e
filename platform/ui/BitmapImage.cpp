#include "platform/ui/BitmapImage.h"

#include <cstring>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/DIBFormat.h"
#include "platform/gdi/DIBits.h"

namespace ui {

namespace {

using graphics::TBitmap;
using graphics::TPixelFormat;

QList<QRgb> ColorTable(TBitmap& Bitmap) {
  const gdi::HPALETTE Palette = Bitmap.Palette();
  QList<QRgb> Table;
  if (!Palette) return Table;
  std::vector<gdi::PALETTEENTRY> Entries(gdi::GetPaletteEntries(Palette, 0, 0, nullptr));
  gdi::GetPaletteEntries(Palette, 0, static_cast<uint32_t>(Entries.size()), Entries.data());
  for (const gdi::PALETTEENTRY& E : Entries) Table << qRgb(E.peRed, E.peGreen, E.peBlue);
  return Table;
}

// Any bitmap through the DIB transfer as 32-bit top-down rows.
QImage ThroughDIBits(TBitmap& Bitmap) {
  QImage Image(Bitmap.Width(), Bitmap.Height(), QImage::Format_RGB32);
  gdi::BITMAPINFO Info{};
  Info.bmiHeader.biWidth = Bitmap.Width();
  Info.bmiHeader.biHeight = -Bitmap.Height();
  Info.bmiHeader.biBitCount = 32;
  const gdi::HBITMAP Handle = Bitmap.Handle();
  const gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  const int Lines = gdi::GetDIBits(DC, Handle, 0, static_cast<uint32_t>(Bitmap.Height()), Image.bits(), &Info,
                                   gdi::DIB_RGB_COLORS);
  gdi::DeleteDC(DC);
  if (Lines == 0) return {};
  for (int Y = 0; Y < Image.height(); ++Y) {
    auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
    for (int X = 0; X < Image.width(); ++X) Row[X] |= 0xFF000000u;
  }
  return Image;
}

int RowBytes(int Width, int Bits) { return (Width * Bits + 7) / 8; }

void CopyRows(TBitmap& Bitmap, QImage& Image, int Bits) {
  const int Bytes = RowBytes(Image.width(), Bits);
  for (int Y = 0; Y < Image.height(); ++Y) std::memcpy(Image.scanLine(Y), Bitmap.ScanLine(Y), Bytes);
}

}  // namespace

QImage BitmapToQImage(TBitmap& Bitmap) {
  if (Bitmap.Empty() || Bitmap.Width() <= 0 || Bitmap.Height() <= 0) return {};
  const int W = Bitmap.Width();
  const int H = Bitmap.Height();
  QImage Image;
  switch (Bitmap.PixelFormat()) {
    case graphics::pf1bit:
      Image = QImage(W, H, QImage::Format_Mono);
      CopyRows(Bitmap, Image, 1);
      break;
    case graphics::pf4bit:
      Image = QImage(W, H, QImage::Format_Indexed8);
      for (int Y = 0; Y < H; ++Y) {
        const uint8_t* Source = Bitmap.ScanLine(Y);
        uint8_t* Target = Image.scanLine(Y);
        for (int X = 0; X < W; ++X) Target[X] = (X & 1) ? Source[X / 2] & 0x0F : Source[X / 2] >> 4;
      }
      break;
    case graphics::pf8bit:
      Image = QImage(W, H, QImage::Format_Indexed8);
      CopyRows(Bitmap, Image, 8);
      break;
    case graphics::pf15bit:
      Image = QImage(W, H, QImage::Format_RGB555);
      CopyRows(Bitmap, Image, 16);
      break;
    case graphics::pf16bit:
      Image = QImage(W, H, QImage::Format_RGB16);
      CopyRows(Bitmap, Image, 16);
      break;
    case graphics::pf24bit:
      Image = QImage(W, H, QImage::Format_BGR888);
      CopyRows(Bitmap, Image, 24);
      break;
    case graphics::pf32bit:
      Image = QImage(W, H, QImage::Format_RGB32);
      CopyRows(Bitmap, Image, 32);
      for (int Y = 0; Y < H; ++Y) {
        auto* Row = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < W; ++X) Row[X] |= 0xFF000000u;
      }
      break;
    case graphics::pfDevice:
    case graphics::pfCustom:
      return ThroughDIBits(Bitmap);
  }
  if (Image.format() == QImage::Format_Mono || Image.format() == QImage::Format_Indexed8) {
    QList<QRgb> Table = ColorTable(Bitmap);
    // Qt needs an entry for every value that occurs; values beyond the table show black.
    const int Needed = Image.format() == QImage::Format_Mono ? 2 : 256;
    while (Table.size() < Needed) Table << qRgb(0, 0, 0);
    Image.setColorTable(Table);
  }
  return Image;
}

void AssignQImage(TBitmap& Bitmap, const QImage& Source) {
  Bitmap.SetHandle(nullptr);
  if (Source.isNull()) return;
  QImage Image;
  TPixelFormat Format;
  int Bits;
  switch (Source.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      Image = Source.convertToFormat(QImage::Format_Mono);
      Format = graphics::pf1bit;
      Bits = 1;
      break;
    case QImage::Format_Indexed8:
      Image = Source;
      Format = graphics::pf8bit;
      Bits = 8;
      break;
    case QImage::Format_RGB555:
      Image = Source;
      Format = graphics::pf15bit;
      Bits = 16;
      break;
    case QImage::Format_RGB16:
      Image = Source;
      Format = graphics::pf16bit;
      Bits = 16;
      break;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
      Image = Source.convertToFormat(QImage::Format_BGR888);
      Format = graphics::pf24bit;
      Bits = 24;
      break;
    default:
      Image = Source.convertToFormat(Source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
      Format = graphics::pf32bit;
      Bits = 32;
  }
  Bitmap.SetPixelFormat(Format);
  Bitmap.SetWidth(Image.width());
  Bitmap.SetHeight(Image.height());
  if (Bits <= 8) {
    std::vector<gdi::RGBQUAD> Colors;
    for (QRgb C : Image.colorTable())
      Colors.push_back({static_cast<uint8_t>(qBlue(C)), static_cast<uint8_t>(qGreen(C)), static_cast<uint8_t>(qRed(C)), 0});
    if (Colors.size() > (size_t(1) << Bits)) Colors.resize(size_t(1) << Bits);
    if (!Colors.empty()) Bitmap.SetPalette(graphics::PaletteFromColors(Colors));
  }
  const int Bytes = RowBytes(Image.width(), Bits);
  const bool Opaque = Image.format() == QImage::Format_RGB32;
  for (int Y = 0; Y < Image.height(); ++Y) {
    uint8_t* Row = Bitmap.ScanLine(Y);
    std::memcpy(Row, Image.constScanLine(Y), Bytes);
    // An opaque 32-bit DIB keeps its fourth byte 0, where Qt keeps 0xFF.
    if (Opaque)
      for (int X = 3; X < Bytes; X += 4) Row[X] = 0;
  }
  Bitmap.Changed(&Bitmap);
}

}  // namespace ui
