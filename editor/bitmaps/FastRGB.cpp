#include "editor/bitmaps/FastRGB.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DIBits.h"
#include "platform/gdi/RasterOp.h"
#include "platform/graphics/GDIError.h"

namespace editor {

namespace {

constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;

void PutLittleEndian(std::vector<uint8_t>& Out, uint32_t Value, int Size) {
  for (int I = 0; I < Size; ++I) Out.push_back(static_cast<uint8_t>(Value >> (8 * I)));
}

int32_t Clamp32(int64_t Value) {
  return static_cast<int32_t>(std::clamp<int64_t>(Value, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

TFastRGB::TFastRGB(uint16_t BitCount) {
  FInfo.bmiHeader.biBitCount = BitCount;
  FDC = graphics::GDICheck(gdi::CreateCompatibleDC(nullptr));
}

TFastRGB::~TFastRGB() {
  ReleaseSection();
  gdi::DeleteDC(FDC);
}

void TFastRGB::ReleaseSection() {
  if (!FSection) return;
  gdi::SelectObject(FDC, gdi::StockBitmap());
  gdi::DeleteObject(FSection);
  FSection = nullptr;
}

void TFastRGB::SetSize(int32_t W, int32_t H) {
  if (W <= 0 || H <= 0) W = H = 0;
  if (W == FWidth && H == FHeight) return;
  gdi::HBITMAP Section = nullptr;
  void* Bits = nullptr;
  if (W > 0) {
    gdi::BITMAPINFO Wanted = FInfo;
    Wanted.bmiHeader.biWidth = W;
    Wanted.bmiHeader.biHeight = H;
    Section = graphics::GDICheck(gdi::CreateDIBSection(FDC, &Wanted, gdi::DIB_RGB_COLORS, &Bits));
  }
  ReleaseSection();
  FSection = Section;
  if (FSection) gdi::SelectObject(FDC, FSection);
  FBits = static_cast<uint8_t*>(Bits);
  FWidth = W;
  FHeight = H;
  FInfo.bmiHeader.biWidth = W;
  FInfo.bmiHeader.biHeight = H;
  FRowInc = static_cast<int32_t>((int64_t{W} * FInfo.bmiHeader.biBitCount + 31) / 32 * 4);
  FGap = FRowInc - W * BytesPerPixel();
  FSize = int64_t{FRowInc} * H;
  FRows.resize(H);
  for (int32_t Y = 0; Y < H; ++Y) FRows[Y] = FBits + int64_t{Y} * FRowInc;
}

void TFastRGB::Draw(gdi::HDC Target, int32_t X, int32_t Y) const {
  DrawRect(Target, X, Y, FWidth, FHeight, 0, 0);
}

void TFastRGB::Stretch(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H) const {
  StretchRect(Target, X, Y, W, H, 0, 0, FWidth, FHeight);
}

void TFastRGB::DrawRect(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY) const {
  if (Empty()) return;
  gdi::StretchDIBits(Target, X, Y, W, H, SX, SY, W, H, FBits, &FInfo, gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
}

void TFastRGB::StretchRect(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY,
                           int32_t SW, int32_t SH) const {
  if (Empty()) return;
  gdi::SetStretchBltMode(Target, gdi::COLORONCOLOR);
  gdi::StretchDIBits(Target, X, Y, W, H, SX, SY, SW, SH, FBits, &FInfo, gdi::DIB_RGB_COLORS, gdi::SRCCOPY);
}

void TFastRGB::TileDraw(gdi::HDC Target, int32_t X, int32_t Y, int32_t W, int32_t H) const {
  if (Empty() || W <= 0 || H <= 0) return;
  gdi::HDC Work = graphics::GDICheck(gdi::CreateCompatibleDC(Target));
  gdi::HBITMAP Buffer = gdi::CreateCompatibleBitmap(Target, W, H);
  if (!Buffer) {
    gdi::DeleteDC(Work);
    graphics::GDIError();
  }
  gdi::HGDIOBJ Old = gdi::SelectObject(Work, Buffer);
  Draw(Work, 0, 0);
  // Doubling copies: a logarithmic number of blits, whatever the number of tiles.
  int64_t Filled = FWidth;
  for (; Filled < W; Filled *= 2) gdi::BitBlt(Work, Clamp32(Filled), 0, Clamp32(Filled), FHeight, Work, 0, 0, gdi::SRCCOPY);
  for (int64_t Rows = FHeight; Rows < H; Rows *= 2) gdi::BitBlt(Work, 0, Clamp32(Rows), W, Clamp32(Rows), Work, 0, 0, gdi::SRCCOPY);
  gdi::BitBlt(Target, X, Y, W, H, Work, 0, 0, gdi::SRCCOPY);
  gdi::SelectObject(Work, Old);
  gdi::DeleteObject(Buffer);
  gdi::DeleteDC(Work);
}

void TFastRGB::CheckSameClass(const TFastRGB& Other) const {
  if (Other.BytesPerPixel() != BytesPerPixel())
    throw base::EInvalidOperation("Fast bitmaps of different pixel sizes cannot exchange pixels");
}

void TFastRGB::CopyRect(TFastRGB& Dst, int32_t X, int32_t Y, int32_t W, int32_t H, int32_t SX, int32_t SY) const {
  CheckSameClass(Dst);
  int64_t x = X, y = Y, w = W, h = H, sx = SX, sy = SY;
  if (x < 0) sx -= x, w += x, x = 0;
  if (y < 0) sy -= y, h += y, y = 0;
  if (sx < 0) x -= sx, w += sx, sx = 0;
  if (sy < 0) y -= sy, h += sy, sy = 0;
  if (sx > FWidth - 1 || sy > FHeight - 1) return;
  w = std::min<int64_t>(w, FWidth - sx);
  h = std::min<int64_t>(h, FHeight - sy);
  w = std::min<int64_t>(w, Dst.FWidth - x);
  h = std::min<int64_t>(h, Dst.FHeight - y);
  if (h < 1 || w < 1) return;
  const int Pixel = BytesPerPixel();
  for (int64_t Row = 0; Row < h; ++Row)
    std::memmove(Dst.FRows[y + Row] + x * Pixel, FRows[sy + Row] + sx * Pixel, w * Pixel);
}

void TFastRGB::Tile(TFastRGB& Dst) const {
  CheckSameClass(Dst);
  if (Empty() || Dst.Empty()) return;
  CopyRect(Dst, 0, 0, FWidth, FHeight, 0, 0);
  int64_t Filled = FWidth;
  for (; Filled < Dst.FWidth; Filled *= 2) Dst.CopyRect(Dst, Clamp32(Filled), 0, Clamp32(2 * Filled), FHeight, 0, 0);
  for (int64_t Rows = FHeight; Rows < Dst.FHeight; Rows *= 2)
    Dst.CopyRect(Dst, 0, Clamp32(Rows), Clamp32(Filled), Clamp32(2 * Rows), 0, 0);
}

void TFastRGB::CopyFrom(const TFastRGB& Src) {
  CheckSameClass(Src);
  SetSize(Src.FWidth, Src.FHeight);
  std::copy_n(Src.FInfo.bmiColors, ColorCount(), FInfo.bmiColors);
  if (FSize > 0) std::memcpy(FBits, Src.FBits, FSize);
}

graphics::TDIBImage TFastRGB::ReadFile(const std::string& FileName) {
  base::TFileStream Stream(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  return graphics::ReadBMP(Stream);
}

void TFastRGB::TakePixels(const graphics::TDIBImage& Image) {
  SetSize(Image.Width, Image.Height);
  if (Empty()) return;
  if (FSection && BytesPerPixel() == 1) gdi::SetDIBColorTable(FDC, 0, 256, FInfo.bmiColors);
  const gdi::BITMAPINFO Source = graphics::BitmapInfoOf(Image);
  if (gdi::SetDIBits(FDC, FSection, 0, FHeight, Image.Bits.data(), &Source, gdi::DIB_RGB_COLORS) != FHeight)
    graphics::GDIError();
}

void TFastRGB::SaveToFile(const std::string& FileName) const {
  const uint32_t Offset = FileHeaderBytes + InfoHeaderBytes + 4 * std::max(ColorCount(), 1);
  if (FSize > std::numeric_limits<uint32_t>::max() - Offset)
    throw base::EInvalidGraphicOperation("The image is too large for a BMP file");
  std::vector<uint8_t> Head;
  Head.reserve(Offset);
  Head.push_back('B');
  Head.push_back('M');
  PutLittleEndian(Head, static_cast<uint32_t>(FSize) + Offset, 4);
  PutLittleEndian(Head, 0, 4);
  PutLittleEndian(Head, Offset, 4);
  const gdi::BITMAPINFOHEADER& Header = FInfo.bmiHeader;
  PutLittleEndian(Head, InfoHeaderBytes, 4);
  PutLittleEndian(Head, static_cast<uint32_t>(FWidth), 4);
  PutLittleEndian(Head, static_cast<uint32_t>(FHeight), 4);
  PutLittleEndian(Head, 1, 2);
  PutLittleEndian(Head, Header.biBitCount, 2);
  Head.resize(Offset - 4 * std::max(ColorCount(), 1), 0);
  for (int I = 0; I < ColorCount(); ++I) {
    const gdi::RGBQUAD& Entry = FInfo.bmiColors[I];
    Head.insert(Head.end(), {Entry.rgbBlue, Entry.rgbGreen, Entry.rgbRed, 0});
  }
  Head.resize(Offset, 0);
  base::WriteFileAtomically(FileName, [&](base::TStream& Stream) {
    Stream.WriteBuffer(Head.data(), static_cast<int64_t>(Head.size()));
    if (FSize > 0) Stream.WriteBuffer(FBits, FSize);
  });
}

}  // namespace editor
