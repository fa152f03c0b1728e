// Frames and bitmaps built for the frame-bitmap tests, and a recorder of progress.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Object.h"
#include "platform/gdi/Pixel.h"
#include "platform/graphics/Bitmap.h"

namespace frametest {

using base::TColor;
using graphics::TBitmap;

inline TColor RGB(uint8_t R, uint8_t G, uint8_t B) { return R | G << 8 | B << 16; }

// A frame of Image at (Left, Top) with a local table of Colors; pixel (X, Y) is
// Index(X, Y). Owned by the image.
template <class F>
gif::TGIFSubImage* AddFrame(gif::TGIFImage& Image, int Left, int Top, int W, int H, const std::vector<TColor>& Colors,
                            F Index) {
  auto* Frame = new gif::TGIFSubImage(&Image);
  Frame->SetBounds(static_cast<uint16_t>(Left), static_cast<uint16_t>(Top), static_cast<uint16_t>(W),
                   static_cast<uint16_t>(H));
  for (TColor C : Colors) Frame->ColorMap()->Add(C);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>(Index(X, Y));
  Image.AddFrame(Frame);
  return Frame;
}

// Makes the frame transparent at Index through a new graphic control extension.
inline gif::TGIFGraphicControlExtension* MakeTransparent(gif::TGIFSubImage& Frame, uint8_t Index) {
  auto* Control = Frame.GraphicControlExtension();
  if (Control == nullptr) {
    auto Made = std::make_unique<gif::TGIFGraphicControlExtension>(&Frame);
    Control = Made.get();
    Frame.SetGraphicControlExtension(Control);
    Frame.Extensions()->Add(std::move(Made));
  }
  Control->SetTransparent(true);
  Control->SetTransparentColor(Index);
  return Control;
}

// An indexed bitmap of the format with the palette Colors; pixel (X, Y) is Index(X, Y).
template <class F>
void MakeIndexed(TBitmap& B, graphics::TPixelFormat Format, int W, int H, const std::vector<TColor>& Colors,
                 F Index) {
  std::vector<gdi::RGBQUAD> Table;
  for (TColor C : Colors)
    Table.push_back({static_cast<uint8_t>(C >> 16), static_cast<uint8_t>(C >> 8), static_cast<uint8_t>(C), 0});
  B.SetPixelFormat(Format);
  B.SetWidth(W);
  B.SetHeight(H);
  B.SetPalette(graphics::PaletteFromColors(Table));
  const int Bits = Format == graphics::pf1bit ? 1 : Format == graphics::pf4bit ? 4 : 8;
  for (int Y = 0; Y < H; ++Y) {
    uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < W; ++X) {
      const int V = Index(X, Y);
      const int Bit = X * Bits;
      Row[Bit / 8] = static_cast<uint8_t>((Row[Bit / 8] & ~(((1 << Bits) - 1) << (8 - Bits - Bit % 8))) |
                                          V << (8 - Bits - Bit % 8));
    }
  }
  B.Changed(&B);
}

// A true-colour bitmap whose pixel (X, Y) is Color(X, Y).
template <class F>
void MakeTrueColor(TBitmap& B, graphics::TPixelFormat Format, int W, int H, F Color) {
  B.SetPixelFormat(Format);
  B.SetWidth(W);
  B.SetHeight(H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.Canvas().SetPixels(X, Y, Color(X, Y));
}

// Whether pixel (X, Y) of a monochrome mask is set.
inline bool MaskBit(gdi::HBITMAP Mask, int X, int Y) {
  gdi::HDC DC = gdi::CreateCompatibleDC(nullptr);
  gdi::HGDIOBJ Old = gdi::SelectObject(DC, Mask);
  const gdi::COLORREF Color = gdi::GetPixel(DC, X, Y);
  gdi::SelectObject(DC, Old);
  gdi::DeleteDC(DC);
  return (Color & 0xFFFFFF) != 0;
}

struct ProgressStep {
  base::TObject* Sender;
  base::TProgressStage Stage;
  int Percent;
  std::string Message;
};

// Attaches itself to an image's OnProgress and keeps every stage.
struct ProgressLog {
  explicit ProgressLog(gif::TGIFImage& Image) {
    Image.OnProgress = [this](base::TObject* Sender, base::TProgressStage Stage, uint8_t Percent, bool,
                              const base::TRect&, const std::string& Message) {
      Steps.push_back({Sender, Stage, Percent, Message});
      if (AbortAt >= 0 && static_cast<int>(Steps.size()) == AbortAt) base::Abort();
    };
  }
  std::vector<ProgressStep> Steps;
  int AbortAt = -1;
};

}  // namespace frametest
